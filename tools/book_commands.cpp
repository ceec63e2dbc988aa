// SPDX-License-Identifier: MIT
#include "tools/book_commands.h"
#include "platform/daily_start/daily_start.h"
#include "platform/system/binary_file.h"
#include "platform/system/error_text.h"
#include "platform/system/point_in_time.h"
#include "platform/system/services.h"
#include "platform/system/standard_output.h"
#include "platform/system/temporary_file.h"
#include "platform/system/terminal.h"
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "reading/verse.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"
#include "text/windows_1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

namespace {

const std::string kStandardInput = "-";

// Control characters in text from a book, a source or a file name could move
// the cursor, retitle or recolour the terminal, or fake a line of a report:
// each is shown as \xHH instead, as is each byte of a name that is not UTF-8.
// With LineBreaks::Kept, line breaks and tabs stay as they are.
enum class LineBreaks
{
    Escaped,
    Kept,
};

std::string Visible(const std::wstring& text, LineBreaks lineBreaks = LineBreaks::Escaped)
{
    const bool keepLines = lineBreaks == LineBreaks::Kept;
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        const bool byte = IsNonUtf8Byte(c);
        const bool control = code < 0x20 || (code >= 0x7F && code < 0xA0);
        if (byte || (control && !(keepLines && (c == L'\n' || c == L'\t')))) {
            wchar_t escaped[8];
            std::swprintf(escaped, 8, L"\\x%02X", byte ? code - kNonUtf8ByteBase : code);
            out += escaped;
        } else {
            out += c;
        }
    }
    return ToUtf8(out);
}

std::string Visible(const std::string& native)
{
    return Visible(FromNativePath(native));
}

void Complain(const std::string& message)
{
    std::cerr << "talvik-book: " << Visible(message) << "\n";
}

// "cannot write FILE: the system's reason", the reason as the failed call
// left it.
std::string Failed(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + LastErrorText();
}

// The source, read in pieces to the end rather than by its length, so that
// pipes work too; "-" is standard input.
class SourceStream
{
public:
    explicit SourceStream(const std::string& path)
        : m_fromInput(path == kStandardInput)
    {
        m_open = m_fromInput || m_file.Open(FromNativePath(path), CFile::modeRead);
    }
    bool IsOpen() const { return m_open; }
    // Up to `size` bytes; 0 at the end, nullopt on an error, errno saying why.
    std::optional<std::size_t> Read(char* buffer, std::size_t size)
    {
        errno = 0;
        const std::size_t got = m_fromInput ? std::fread(buffer, 1, size, stdin) : m_file.Read(buffer, size);
        return got > 0 || errno == 0 || errno == EINTR ? std::optional(got) : std::nullopt;
    }

private:
    bool m_fromInput;
    bool m_open = false;
    CFile m_file;
};

// What goes wrong while a source is read: the source cannot be read, does
// not make a book (the parse says why), or is larger than a source may be.
enum class SourceFault
{
    None,
    Unreadable,
    Refused,
    TooLarge,
};

// Hands the source to `parser` piece by piece, stopping one byte past what a
// source may hold, so that an endless input such as /dev/zero ends there.
SourceFault ParseSource(SourceStream& source, BookSourceParser& parser)
{
    std::uint64_t total = 0;
    char buffer[65536];
    for (;;) {
        const auto got = source.Read(buffer, sizeof buffer);
        if (!got)
            return SourceFault::Unreadable;
        if (*got == 0)
            break;
        total += *got;
        if (total > kMaxBookSourceSize)
            return SourceFault::TooLarge;
        if (!parser.AddText(std::string_view(buffer, *got)))
            return SourceFault::Refused;
    }
    return parser.Finish() ? SourceFault::None : SourceFault::Refused;
}

// The records of a book as they are parsed, kept in an unnamed temporary
// file rather than in memory until the book is written.
class RecordStore
{
public:
    RecordStore()
        : m_file(OpenTemporaryFile())
    { }
    ~RecordStore()
    {
        if (m_file)
            std::fclose(m_file);
    }
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    bool IsOpen() const { return m_file != nullptr; }
    bool Add(const std::string& record)
    {
        if (m_sizes.empty())
            m_title = FirstLine(record);
        m_sizes.push_back(static_cast<std::uint32_t>(record.size() + 1));
        return std::fwrite(record.c_str(), 1, record.size() + 1, m_file) == record.size() + 1;
    }
    const std::vector<std::uint32_t>& Sizes() const { return m_sizes; }
    const std::string& Title() const { return m_title; }
    // Writes the records, in order, through `write`.
    bool CopyTo(const ContentWriter& write)
    {
        if (std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_SET) != 0)
            return false;
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
            if (!write(buffer, got))
                return false;
        return !std::ferror(m_file);
    }

private:
    static std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

    std::FILE* m_file;
    std::vector<std::uint32_t> m_sizes;
    std::string m_title;
};

std::optional<SYSTEMTIME> ParseDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (const int at : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[at] < '0' || text[at] > '9')
            return std::nullopt;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
    const SYSTEMTIME date{u(year), u(month), 0, u(day), 12, 0, 0, 0};
    if (year < 1 || !IsValidLocalTime(date))
        return std::nullopt;
    return date;
}

// Days that the book leaves without a reading, or readings no day shows.
void WarnOfMissingDays(const std::string& sourceName, int lastVerse)
{
    const std::string at = Visible(sourceName) + ": warning: ";
    if (lastVerse == 0)
        std::cerr << at << "the source holds a title page alone: every day shows the verse heading only\n";
    else if (lastVerse < kLastVerse)
        std::cerr << at << "the last reading is verse " << lastVerse << ": days from verse " << lastVerse + 1
                  << " on show the verse heading only\n";
    else if (lastVerse > kLastVerse)
        std::cerr << at << "the readings go on to verse " << lastVerse << ": the reader never shows those past verse "
                  << kLastVerse << "\n";
}

// What kind of thing `path` names when that is neither a regular file nor a
// folder (which the write reports as it is); empty otherwise.
std::string OtherKind(const std::string& path)
{
    std::error_code ignored;
    switch (std::filesystem::status(path, ignored).type()) {
    case std::filesystem::file_type::fifo:
        return "a named pipe";
    case std::filesystem::file_type::character:
        return "a character device";
    case std::filesystem::file_type::block:
        return "a block device";
    case std::filesystem::file_type::socket:
        return "a socket";
    default:
        return {};
    }
}

// Writes `text` to standard output; output that could not be written is a
// failure, named with its reason, not a success.
bool Print(const std::string& text)
{
    std::cout << text;
    if (FlushStandardOutput())
        return true;
    Complain(std::string("cannot write standard output: ") + std::strerror(errno));
    return false;
}

// The path to open for the book `path`, "-" being standard input; empty,
// with the reason told, for a pipe or a device: a book is read by seeking to
// its records, which they cannot do, and a sound book must not be called
// damaged for it.
std::string BookToRead(const std::string& path)
{
    const bool fromInput = path == kStandardInput;
    const std::string native = fromInput ? "/dev/stdin" : path;
    const std::string kind = OtherKind(native);
    if (kind.empty())
        return native;
    Complain("cannot read " + (fromInput ? std::string("standard input") : path) + ": it is " + kind +
        ", and a book is read from a file: save it to one first");
    return {};
}

// Whether the book may be written to `bookPath`; when not, the reason is
// told. The book written over its own source would take the source's place
// (links, and standard input redirected from the file, lead there too), and
// a device or a pipe renamed over would be gone for everyone else.
bool CanWriteBookTo(const std::string& bookPath, const std::string& sourcePath)
{
    std::error_code ignored;
    const auto asPath = [](const std::string& native) { return ToFilesystemPath(FromNativePath(native)); };
    const bool fromInput = sourcePath == kStandardInput;
    if (std::filesystem::equivalent(fromInput ? "/dev/stdin" : asPath(sourcePath), asPath(bookPath), ignored)) {
        Complain(bookPath + " is the source itself: write the book to another file");
        return false;
    }
    if (const std::string kind = OtherKind(bookPath); !kind.empty()) {
        Complain("cannot write " + bookPath + ": it is " + kind + ", not a file");
        return false;
    }
    return true;
}

// Parses the source into `records`. The tool's exit status: kExitOk when the
// source made a book, otherwise with what went wrong told.
int StoreRecords(SourceStream& source, const std::string& sourceName, const std::string& bookPath, RecordStore& records)
{
    bool stored = true;
    BookSourceParser parser([&](const std::string& record) { return stored = records.Add(record); });
    switch (ParseSource(source, parser)) {
    case SourceFault::None:
        return kExitOk;
    case SourceFault::Unreadable:
        Complain(Failed("cannot read", sourceName));
        return kExitFailure;
    case SourceFault::TooLarge:
        std::cerr << Visible(sourceName + ": " + SourceTooLargeError()) << "\n";
        return kExitBadInput;
    case SourceFault::Refused:
        if (!stored) {
            Complain(Failed("cannot write a temporary file for", bookPath));
            return kExitFailure;
        }
        std::cerr << Visible(sourceName + ": " + parser.Error()) << "\n";
        return kExitBadInput;
    }
    return kExitOk;
}

// Written beside the book and renamed over it: a failure leaves the old book
// as it was, never half a book.
int WriteBook(const std::string& bookPath, const std::string& bookName, RecordStore& records)
{
    const std::string header = BuildBookHeader(bookName, records.Sizes());
    const bool written = ReplaceFileContent(FromNativePath(bookPath),
        [&](const ContentWriter& write) { return write(header.data(), header.size()) && records.CopyTo(write); });
    if (!written) {
        Complain(Failed("cannot write", bookPath));
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int MakeBook(const std::string& sourcePath, const std::string& bookPath, const std::string& name)
{
    const std::string sourceName = sourcePath == kStandardInput ? "standard input" : sourcePath;
    if (!CanWriteBookTo(bookPath, sourcePath))
        return kExitFailure;
    std::string bookName;
    if (!name.empty() && !WideToWindows1252(FromNativePath(name), bookName)) {
        Complain("the name \"" + name + "\" cannot be written in Windows-1252");
        return kExitFailure;
    }
    SourceStream source(sourcePath);
    if (!source.IsOpen()) {
        Complain(Failed("cannot read", sourceName));
        return kExitFailure;
    }
    RecordStore records;
    if (!records.IsOpen()) {
        Complain(Failed("cannot make a temporary file for", bookPath));
        return kExitFailure;
    }
    if (const int status = StoreRecords(source, sourceName, bookPath, records); status != kExitOk)
        return status;
    if (name.empty())
        bookName = records.Title();
    WarnOfMissingDays(sourceName, static_cast<int>(records.Sizes().size()) - 1);
    return WriteBook(bookPath, bookName, records);
}

int PrintBookInfo(const std::string& bookPath)
{
    const std::string path = BookToRead(bookPath);
    if (path.empty())
        return kExitFailure;
    const BookReport report = CheckBook(FromNativePath(path));
    if (!report.opened) {
        Complain(Failed("cannot open", bookPath));
        return kExitFailure;
    }
    // Escaped whether the output is a terminal or not: a name holding a line
    // break must not add a line to the report.
    std::ostringstream out;
    out << "book:     " << Visible(bookPath) << "\n";
    if (!report.type.empty()) {
        out << "name:     " << Visible(report.name) << "\n"
            << "type:     " << Visible(report.type) << "\n";
    }
    out << "size:     " << report.fileSize << " bytes\n"
        << "records:  " << report.recordCount << "\n"
        << "text:     " << report.textBytes << " bytes\n";
    for (const auto& warning : report.warnings)
        out << "warning:  " << warning << "\n";
    for (const auto& problem : report.problems)
        out << "problem:  " << problem << "\n";
    const bool sound = report.problems.empty();
    out << (sound ? "The book is sound.\n" : "The book is damaged.\n");
    if (!Print(out.str()))
        return kExitFailure;
    return sound ? kExitOk : kExitBadInput;
}

int ShowReading(const std::string& bookPath, const std::string& date)
{
    SYSTEMTIME day = GetLocalTime();
    if (!date.empty()) {
        const auto parsed = ParseDate(date);
        if (!parsed) {
            Complain("\"" + date + "\" is not a date of the form YYYY-MM-DD");
            return kExitFailure;
        }
        day = *parsed;
    }
    const std::string path = BookToRead(bookPath);
    if (path.empty())
        return kExitFailure;
    CBookFile book;
    if (!book.CheckOpen(FromNativePath(path))) {
        Complain(Failed("cannot open", bookPath));
        return kExitFailure;
    }
    // The same composition as the reading box, with its CR LF made plain. A
    // terminal is shown the book's control characters escaped rather than
    // obeying them; a file or a pipe gets the exact text.
    std::wstring text = ComposeVerse(book, day.wDay, day.wMonth, day.wYear);
    ReplaceAll(text, L"\r\n", L"\n");
    if (!Print((IsTerminal(stdout) ? Visible(text, LineBreaks::Kept) : ToUtf8(text)) + "\n"))
        return kExitFailure;
    const int verse = VerseNumber(day.wDay, day.wMonth, day.wYear);
    if (book.ReadVerse(verse).empty())
        Complain("warning: " + bookPath + " has no reading for verse " + std::to_string(verse));
    return kExitOk;
}

int Unschedule(const std::string& programPath)
{
    // The program books its start under the path the kernel gives for its
    // executable, with every link resolved; so must the removal.
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(ToFilesystemPath(FromNativePath(programPath)), error);
    if (!error)
        path = std::filesystem::weakly_canonical(path, error);
    if (error) {
        Complain("cannot resolve " + programPath);
        return kExitFailure;
    }
    const std::wstring program = FromFilesystemPath(path);
    const std::string shown = ToNativePath(program);
    const DailyStartRemoval removal = SystemScheduler().Remove(program);
    if (!removal.failure.empty()) {
        Complain("the daily start of " + shown + " may still be booked: " + removal.failure);
        return kExitFailure;
    }
    if (removal.bWasScheduled)
        return Print("removed the daily start of " + Visible(shown) + "\n") ? kExitOk : kExitFailure;
    // A booking outlives its program, so a missing program may still have
    // one; without one, a path that names no program is most likely a typo.
    if (!std::filesystem::is_regular_file(path, error)) {
        Complain("nothing is booked for " + shown + ", which names no program");
        return kExitBadInput;
    }
    return Print("nothing is booked for " + Visible(shown) + "\n") ? kExitOk : kExitFailure;
}
