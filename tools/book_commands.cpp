// SPDX-License-Identifier: MIT
#include "tools/book_commands.h"
#include "platform/binary_file.h"
#include "platform/error_text.h"
#include "platform/narrow_to_wide.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"
#include "platform/scheduled_start.h"
#include "platform/services.h"
#include "platform/terminal.h"
#include "platform/wide_string.h"
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "reading/verse.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <iostream>
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

// Reads to the end rather than by length, so that pipes work too, but stops
// one byte past what a source may hold, so that an endless input such as
// /dev/zero ends there. "-" is standard input. On failure errno tells why.
std::optional<std::string> ReadSource(const std::string& path)
{
    CFile file;
    const bool fromInput = path == kStandardInput;
    if (!fromInput && !file.Open(FromNativePath(path), CFile::modeRead))
        return std::nullopt;
    const auto read = [&](char* buffer, std::size_t size) {
        errno = 0;
        const std::size_t got = fromInput ? std::fread(buffer, 1, size, stdin) : file.Read(buffer, size);
        return got > 0 || errno == 0 || errno == EINTR ? std::optional(got) : std::nullopt;
    };
    constexpr std::size_t kMost = kMaxBookSourceSize + 1;
    std::string text;
    if (!fromInput)
        text.reserve(std::min<std::uint64_t>(file.GetLength(), kMost));
    char buffer[65536];
    while (text.size() < kMost) {
        const auto got = read(buffer, std::min(sizeof buffer, kMost - text.size()));
        if (!got)
            return std::nullopt;
        if (*got == 0)
            break;
        text.append(buffer, *got);
    }
    return text;
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

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

} // namespace

int MakeBook(const std::string& sourcePath, const std::string& bookPath, const std::string& name)
{
    const bool fromInput = sourcePath == kStandardInput;
    const std::string sourceName = fromInput ? "standard input" : sourcePath;
    // The book written over its own source would take the source's place;
    // links, and standard input redirected from the file, lead there too.
    std::error_code ignored;
    const auto asPath = [](const std::string& native) { return ToFilesystemPath(FromNativePath(native)); };
    if (std::filesystem::equivalent(fromInput ? "/dev/stdin" : asPath(sourcePath), asPath(bookPath), ignored)) {
        Complain(bookPath + " is the source itself: write the book to another file");
        return kExitFailure;
    }
    auto source = ReadSource(sourcePath);
    if (!source) {
        Complain(Failed("cannot read", sourceName));
        return kExitFailure;
    }
    std::vector<std::string> records;
    std::string error;
    const bool parsed = ParseBookSource(*source, records, error);
    source.reset(); // a large source need not stay beside its book
    if (!parsed) {
        std::cerr << Visible(sourceName + ": " + error) << "\n";
        return kExitBadInput;
    }
    std::string bookName;
    if (name.empty())
        bookName = FirstLine(records.front());
    else if (!WideToNarrow(FromNativePath(name), bookName)) {
        Complain("the name \"" + name + "\" cannot be written in Windows-1252");
        return kExitFailure;
    }

    WarnOfMissingDays(sourceName, static_cast<int>(records.size()) - 1);
    // Written beside the book and renamed over it: a failure leaves the old
    // book as it was, never half a book.
    const std::string book = BuildBook(bookName, records);
    if (!ReplaceFileContent(FromNativePath(bookPath), book.data(), book.size())) {
        Complain(Failed("cannot write", bookPath));
        return kExitFailure;
    }
    return kExitOk;
}

int PrintBookInfo(const std::string& bookPath)
{
    const BookReport report = CheckBook(FromNativePath(bookPath));
    if (!report.opened) {
        Complain(Failed("cannot open", bookPath));
        return kExitFailure;
    }
    // Escaped whether the output is a terminal or not: a name holding a line
    // break must not add a line to the report.
    std::cout << "book:     " << Visible(bookPath) << "\n";
    if (!report.type.empty()) {
        std::cout << "name:     " << Visible(report.name) << "\n"
                  << "type:     " << Visible(report.type) << "\n";
    }
    std::cout << "size:     " << report.fileSize << " bytes\n"
              << "records:  " << report.recordCount << "\n"
              << "text:     " << report.textBytes << " bytes\n";
    for (const auto& warning : report.warnings)
        std::cout << "warning:  " << warning << "\n";
    for (const auto& problem : report.problems)
        std::cout << "problem:  " << problem << "\n";
    if (report.problems.empty()) {
        std::cout << "The book is sound.\n";
        return kExitOk;
    }
    std::cout << "The book is damaged.\n";
    return kExitBadInput;
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
    CBookFile book;
    if (!book.CheckOpen(FromNativePath(bookPath))) {
        Complain(Failed("cannot open", bookPath));
        return kExitFailure;
    }
    // The same composition as the reading box, with its CR LF made plain. A
    // terminal is shown the book's control characters escaped rather than
    // obeying them; a file or a pipe gets the exact text.
    std::wstring text = ComposeVerse(book, day.wDay, day.wMonth, day.wYear);
    ReplaceAll(text, L"\r\n", L"\n");
    std::cout << (IsTerminal(stdout) ? Visible(text, LineBreaks::Kept) : ToUtf8(text)) << "\n";
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
    const std::string failure = RemoveScheduledStartNow(program);
    if (!failure.empty()) {
        Complain("the daily start of " + ToNativePath(program) + " may still be booked: " + failure);
        return kExitFailure;
    }
    return kExitOk;
}
