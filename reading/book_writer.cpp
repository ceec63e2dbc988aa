// SPDX-License-Identifier: MIT
#include "reading/book_writer.h"
#include "reading/book_format.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"
#include "text/windows_1252.h"

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
        if (!WideToWindows1252(wide.substr(i, length), narrow)) {
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

} // namespace

bool BookSourceParser::Fail(const std::string& error)
{
    m_error = error;
    return false;
}

bool BookSourceParser::AddText(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        const std::size_t room = kMaxLineBytes + 1 - std::min(m_line.size(), kMaxLineBytes + 1);
        m_line.append(text.substr(0, std::min(eol, room)));
        if (eol == std::string_view::npos)
            return true;
        if (!AddLine(m_line))
            return false;
        m_line.clear();
        text.remove_prefix(eol + 1);
    }
    return true;
}

bool BookSourceParser::AddLine(std::string_view line)
{
    ++m_lineNumber;
    // Editors on Windows start UTF-8 files with a byte order mark.
    if (m_lineNumber == 1 && line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (m_inHeader && !line.empty() && line[0] == '#')
        return true;
    m_inHeader = false;
    if (line.find_first_not_of(" \t") == std::string_view::npos)
        return FinishBlock();
    if (line.size() > kMaxLineBytes)
        return Fail(AtLine(m_lineNumber) + "the line is longer than the longest reading, " +
            std::to_string(CBookFile::kMaxRecordLength - 1) + " characters");
    std::string narrow;
    if (!ConvertLine(std::string(line), m_lineNumber, narrow, m_error))
        return false;
    if (narrow == ".")
        narrow.clear();
    if (!m_inBlock)
        m_blockStart = m_lineNumber;
    // A block too long to be a record is counted to its end, for the error,
    // but no longer kept.
    m_blockLength += (m_inBlock ? 1 : 0) + narrow.size();
    if (m_blockLength < CBookFile::kMaxRecordLength) {
        if (m_inBlock)
            m_block += '\n';
        m_block += narrow;
    } else {
        m_block.clear();
    }
    m_inBlock = true;
    return true;
}

bool BookSourceParser::FinishBlock()
{
    if (!m_inBlock)
        return true;
    if (m_recordCount == kMaxRecords)
        return Fail(AtLine(m_blockStart) + "a book holds at most 65535 records");
    // The reader takes the text and its NUL from the record's first megabyte.
    if (m_blockLength >= CBookFile::kMaxRecordLength)
        return Fail(AtLine(m_blockStart) + "the block holds " + std::to_string(m_blockLength) +
            " characters; the reader shows at most " + std::to_string(CBookFile::kMaxRecordLength - 1) + " of one");
    if (!m_sink(m_block))
        return false;
    ++m_recordCount;
    m_block.clear();
    m_blockLength = 0;
    m_inBlock = false;
    return true;
}

bool BookSourceParser::Finish()
{
    if (!m_line.empty() && !AddLine(m_line))
        return false;
    m_line.clear();
    if (!FinishBlock())
        return false;
    return m_recordCount > 0 || Fail("the source holds no readings");
}

std::string SourceTooLargeError()
{
    return "the source is larger than " + std::to_string(kMaxBookSourceSize >> 20) + " MiB (" +
        std::to_string(kMaxBookSourceSize) + " bytes), more than a book of 366 of the longest readings needs";
}

bool ParseBookSource(const std::string& source, std::vector<std::string>& records, std::string& error)
{
    records.clear();
    if (source.size() > kMaxBookSourceSize) {
        error = SourceTooLargeError();
        return false;
    }
    BookSourceParser parser([&](const std::string& record) {
        records.push_back(record);
        return true;
    });
    const bool ok = parser.AddText(source) && parser.Finish();
    error = parser.Error();
    return ok;
}

std::string BuildBookHeader(const std::string& name, const std::vector<std::uint32_t>& recordSizes)
{
    const std::size_t count = recordSizes.size();
    // Two bytes of padding after the table, as Palm databases have.
    std::string out(RecordEntryOffset(count) + 2, '\0');
    out.replace(0, std::min<std::size_t>(name.size(), kBookNameSize - 1), name, 0, kBookNameSize - 1);
    out.replace(kBookTypeOffset, 8, "TEXtVlmr");
    PutBigEndian(out, kRecordCountOffset, static_cast<std::uint32_t>(count), 2);
    std::uint32_t offset = static_cast<std::uint32_t>(out.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = RecordEntryOffset(i);
        PutBigEndian(out, entry, offset, 4);
        PutBigEndian(out, entry + 4, static_cast<std::uint32_t>(i + 1), 4); // unique id
        offset += recordSizes[i];
    }
    return out;
}

std::string BuildBook(const std::string& name, const std::vector<std::string>& records)
{
    std::vector<std::uint32_t> sizes;
    for (const std::string& record : records)
        sizes.push_back(static_cast<std::uint32_t>(record.size() + 1));
    std::string out = BuildBookHeader(name, sizes);
    for (const std::string& record : records) {
        out += record;
        out += '\0';
    }
    return out;
}
