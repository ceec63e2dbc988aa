// SPDX-License-Identifier: MIT
#include "text/wide_string.h"
#include "text/utf8_path.h"

#include <algorithm>
#include <vector>

int ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    if (from.empty())
        return 0;
    int count = 0;
    std::wstring out;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != std::wstring::npos; pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out += to;
        ++count;
    }
    if (count == 0)
        return 0;
    out.append(text, pos, std::wstring::npos);
    text.swap(out);
    return count;
}

std::string ToUtf8(const std::wstring& text)
{
    // Text never holds the code points that stand for the raw bytes of file
    // names, so the encoding of file names is UTF-8 for it.
    return ToNativePath(text);
}
