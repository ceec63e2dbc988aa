// SPDX-License-Identifier: MIT
#include "reading/book_writer.h"
#include "platform/narrow_to_wide.h"
#include "platform/native_path.h"
#include "platform/wide_string.h"
#include "reading/book_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace {

constexpr std::size_t kMaxRecords = 0xFFFF; // what the 16-bit record count can say

std::string AtLine(int lineNumber)
{
    return "line " + std::to_string(lineNumber) + ": ";
}

// One source line in Windows-1252. The check is made line by line so that an
// error names the line that holds the fault, not the start of its block.
bool ConvertLine(const std::string& line, int lineNumber, std::string& out, std::string& error)
{
    out.clear();
    const std::wstring wide = FromNativePath(line);
    for (std::size_t i = 0, length = 1; i < wide.size(); i += length) {
        const wchar_t wc = wide[i];
        const char32_t character = CharacterAt(wide, i, length);
        if (IsNonUtf8Byte(wc)) {
            error = AtLine(lineNumber) + "the text is not valid UTF-8";
            return false;
        }
        // The reader ends a reading at its first NUL.
        if (wc == 0) {
            error = AtLine(lineNumber) + "the line holds a NUL character";
            return false;
        }
        std::string narrow;
        if (!WideToNarrow(wide.substr(i, length), narrow)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
            error = AtLine(lineNumber) + "\"" + ToUtf8(wide.substr(i, length)) + "\" (" + code +
                ") cannot be written in Windows-1252, the only text a book can hold";
            return false;
        }
        out += narrow;
    }
    return true;
}

bool FinishRecord(std::vector<std::string>& lines, int firstLine, std::vector<std::string>& records, std::string& error)
{
    if (lines.empty())
        return true;
    if (records.size() == kMaxRecords) {
        error = AtLine(firstLine) + "a book holds at most 65535 records";
        return false;
    }
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        if (lines[i] != ".")
            joined += lines[i];
    }
    lines.clear();
    // The reader takes the text and its NUL from the record's first megabyte.
    if (joined.size() >= CBookFile::kMaxRecordLength) {
        error = AtLine(firstLine) + "the block holds " + std::to_string(joined.size()) +
            " characters; the reader shows at most " + std::to_string(CBookFile::kMaxRecordLength - 1) + " of one";
        return false;
    }
    records.push_back(std::move(joined));
    return true;
}

// The line that starts at `pos`, without its LF or CR LF; moves `pos` past it.
std::string NextLine(const std::string& source, size_t& pos)
{
    size_t eol = source.find('\n', pos);
    if (eol == std::string::npos)
        eol = source.size();
    std::string line = source.substr(pos, eol - pos);
    pos = eol + 1;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace

bool ParseBookSource(const std::string& source, std::vector<std::string>& records, std::string& error)
{
    records.clear();
    if (source.size() > kMaxBookSourceSize) {
        error = "the source is larger than " + std::to_string(kMaxBookSourceSize >> 20) + " MiB (" +
            std::to_string(kMaxBookSourceSize) + " bytes), more than a book of 366 of the longest readings needs";
        return false;
    }
    std::vector<std::string> lines;
    int lineNumber = 0;
    int blockStart = 0;
    bool inHeader = true;
    // Editors on Windows start UTF-8 files with a byte order mark.
    for (size_t pos = source.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; pos < source.size();) {
        const std::string line = NextLine(source, pos);
        ++lineNumber;
        if (inHeader && !line.empty() && line[0] == '#')
            continue;
        inHeader = false;
        if (line.find_first_not_of(" \t") == std::string::npos) {
            if (!FinishRecord(lines, blockStart, records, error))
                return false;
            continue;
        }
        if (lines.empty())
            blockStart = lineNumber;
        std::string narrow;
        if (!ConvertLine(line, lineNumber, narrow, error))
            return false;
        lines.push_back(narrow);
    }
    if (!FinishRecord(lines, blockStart, records, error))
        return false;
    if (records.empty()) {
        error = "the source holds no readings";
        return false;
    }
    return true;
}

std::string BuildBook(const std::string& name, const std::vector<std::string>& records)
{
    const std::size_t count = records.size();
    // Two bytes of padding after the table, as Palm databases have.
    std::string out(RecordEntryOffset(count) + 2, '\0');
    out.replace(0, std::min<std::size_t>(name.size(), kBookNameSize - 1), name, 0, kBookNameSize - 1);
    out.replace(kBookTypeOffset, 8, "TEXtVlmr");
    PutBigEndian(out, kRecordCountOffset, static_cast<std::uint32_t>(count), 2);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = RecordEntryOffset(i);
        PutBigEndian(out, entry, static_cast<std::uint32_t>(out.size()), 4);
        PutBigEndian(out, entry + 4, static_cast<std::uint32_t>(i + 1), 4); // unique id
        out += records[i];
        out += '\0';
    }
    return out;
}
