#include "tools/book_commands.h"
#include "platform/binary_file.h"
#include "platform/linux/systemd_scheduler.h"
#include "platform/narrow_to_wide.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"
#include "platform/services.h"
#include "platform/wide_string.h"
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "reading/verse.h"

#include <filesystem>
#include <iostream>
#include <vector>

namespace {

constexpr int kVerses = 365;

void Complain(const std::string& message)
{
    std::cerr << "talvik-book: " << message << "\n";
}

// Reads to the end rather than by length, so that pipes such as /dev/stdin
// work too.
std::optional<std::string> ReadWholeFile(const std::string& path)
{
    CFile file;
    if (!file.Open(FromNativePath(path), CFile::modeRead))
        return std::nullopt;
    std::string text;
    char buffer[65536];
    for (std::size_t got; (got = file.Read(buffer, sizeof buffer)) > 0;)
        text.append(buffer, got);
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

} // namespace

int MakeBook(const std::string& sourcePath, const std::string& bookPath, const std::string& name)
{
    const auto source = ReadWholeFile(sourcePath);
    if (!source) {
        Complain("cannot read " + sourcePath);
        return kExitFailure;
    }
    std::vector<std::string> records;
    std::string error;
    if (!ParseBookSource(*source, records, error)) {
        std::cerr << sourcePath << ": " << error << "\n";
        return kExitBadInput;
    }
    std::string bookName;
    if (name.empty())
        bookName = FirstLine(records.front());
    else if (!WideToNarrow(FromNativePath(name), bookName)) {
        Complain("the name \"" + name + "\" cannot be written in Windows-1252");
        return kExitFailure;
    }

    const int last = static_cast<int>(records.size()) - 1;
    if (last == 0)
        std::cerr << sourcePath << ": warning: the source holds a title page alone: "
                  << "every day shows the verse heading only\n";
    else if (last < kVerses)
        std::cerr << sourcePath << ": warning: the last reading is verse " << last << ": days from verse " << last + 1
                  << " on show the verse heading only\n";
    else if (last > kVerses)
        std::cerr << sourcePath << ": warning: the readings go on to verse " << last
                  << ": the reader never shows those past verse " << kVerses << "\n";

    // Written beside the book and renamed over it: a failure leaves the old
    // book as it was, never half a book.
    const std::string book = BuildBook(bookName, records);
    if (!ReplaceFileContent(FromNativePath(bookPath), book.data(), book.size())) {
        Complain("cannot write " + bookPath);
        return kExitFailure;
    }
    return kExitOk;
}

int PrintBookInfo(const std::string& bookPath)
{
    const BookReport report = CheckBook(FromNativePath(bookPath));
    if (!report.opened) {
        Complain("cannot open " + bookPath);
        return kExitFailure;
    }
    std::cout << "book:     " << bookPath << "\n";
    if (!report.type.empty()) {
        std::cout << "name:     " << report.name << "\n"
                  << "type:     " << report.type << "\n";
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
        Complain("cannot open " + bookPath);
        return kExitFailure;
    }
    // The same composition as the reading box, with its CR LF made plain.
    std::wstring text = ComposeVerse(book, day.wDay, day.wMonth, day.wYear);
    ReplaceAll(text, L"\r\n", L"\n");
    std::cout << ToNativePath(text) << "\n";
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
    std::filesystem::path path = std::filesystem::absolute(programPath, error);
    if (!error)
        path = std::filesystem::weakly_canonical(path, error);
    if (error) {
        Complain("cannot resolve " + programPath);
        return kExitFailure;
    }
    const std::string failure = SystemdRemoveStartNow(FromNativePath(path.string()));
    if (!failure.empty()) {
        Complain("the daily start of " + path.string() + " may still be booked: " + failure);
        return kExitFailure;
    }
    return kExitOk;
}
