// SPDX-License-Identifier: MIT
#pragma once

#include "reading/book_file.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The most a source may hold: a whole book of 366 readings, each as long as
// the reader shows one. An endless or huge input is cut off here rather than
// read on until memory runs out.
constexpr std::size_t kMaxBookSourceSize = 366 * CBookFile::kMaxRecordLength;

// Reads a book's plain-text source (UTF-8) piece by piece: comment lines
// starting with '#' at the top, then blocks separated by blank lines, the
// first being record 0 (the title page) and the next ones records 1, 2, ...
// in order. A line holding only "." is an empty line inside a reading; a byte
// order mark at the start is skipped. Each record is handed on, in
// Windows-1252, as soon as its block ends, so that no more than one reading
// is held at a time however large the source. A block longer than the reader
// shows of a record is refused, so that every book made reads back whole; so
// is a line longer than any such block could be, which is held only that far.
class BookSourceParser
{
public:
    // Takes each record in order; returns false to stop the parse, which then
    // fails with no error of its own.
    using RecordSink = std::function<bool(const std::string& record)>;

    explicit BookSourceParser(RecordSink sink)
        : m_sink(std::move(sink))
    { }
    // The next piece of the source, cut anywhere; false on a fault, which
    // Error() names.
    bool AddText(std::string_view text);
    // After the last piece; false when the source holds no readings.
    bool Finish();
    // The fault, naming the line that holds it.
    const std::string& Error() const { return m_error; }
    std::size_t RecordCount() const { return m_recordCount; }

private:
    // A line as long as the longest reading, each character three bytes of
    // UTF-8, with a CR and a byte order mark.
    static constexpr std::size_t kMaxLineBytes = 3 * CBookFile::kMaxRecordLength + 4;

    bool AddLine(std::string_view line);
    bool FinishBlock();
    bool Fail(const std::string& error);

    RecordSink m_sink;
    std::string m_error;
    std::string m_line; // the line so far, cut one byte past kMaxLineBytes
    std::string m_block; // the block so far, while it is short enough to be a record
    std::size_t m_blockLength = 0;
    bool m_inBlock = false;
    bool m_inHeader = true;
    int m_lineNumber = 0;
    int m_blockStart = 0;
    std::size_t m_recordCount = 0;
};

// What the parse of a source larger than kMaxBookSourceSize says.
std::string SourceTooLargeError();

// The whole source at once: the records, or false with `error` naming the
// line at fault. A source larger than kMaxBookSourceSize is refused.
bool ParseBookSource(const std::string& source, std::vector<std::string>& records, std::string& error);

// The header and record table of a book whose records, each with its NUL,
// are `recordSizes` bytes long and follow it in order, with `name` in it.
std::string BuildBookHeader(const std::string& name, const std::vector<std::uint32_t>& recordSizes);

// The bytes of a book holding `records`, with `name` in its header.
std::string BuildBook(const std::string& name, const std::vector<std::string>& records);
