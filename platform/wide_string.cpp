// SPDX-License-Identifier: MIT
#include "platform/wide_string.h"
#include "platform/native_path.h"

#include <algorithm>
#include <vector>

namespace {

// Far wider than any field the program lines up. A wider one would ask for
// gigabytes of padding, or wrap around to a small width.
constexpr size_t kMaxWidth = 1024;

} // namespace

std::wstring Format(const std::wstring& format, std::initializer_list<FormatArg> args)
{
    const std::vector<FormatArg> values(args);
    size_t next = 0;
    std::wstring out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        size_t j = i + 1;
        if (format[j] == L'%') {
            out += L'%';
            i = j;
            continue;
        }
        const bool zeroPad = format[j] == L'0';
        size_t width = 0;
        while (j < format.size() && format[j] >= L'0' && format[j] <= L'9')
            width = std::min(width * 10 + static_cast<size_t>(format[j++] - L'0'), kMaxWidth + 1);
        if (j == format.size() || (format[j] != L'd' && format[j] != L's') || width > kMaxWidth) {
            out.append(format, i, j - i); // not a conversion: copied as it stands
            i = j - 1;
            continue;
        }
        const FormatArg* value = next < values.size() ? &values[next++] : nullptr;
        std::wstring text;
        if (format[j] == L'd' && value && std::holds_alternative<int>(*value)) {
            const long long n = std::get<int>(*value);
            std::wstring digits = std::to_wstring(n < 0 ? -n : n);
            const size_t signWidth = n < 0 ? 1 : 0;
            if (zeroPad && digits.size() + signWidth < width)
                digits.insert(0, width - digits.size() - signWidth, L'0');
            text = (n < 0 ? L"-" : L"") + digits;
        } else if (format[j] == L's' && value && std::holds_alternative<std::wstring>(*value)) {
            text = std::get<std::wstring>(*value);
        }
        if (text.size() < width)
            text.insert(0, width - text.size(), L' ');
        out += text;
        i = j;
    }
    return out;
}

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
