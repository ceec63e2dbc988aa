// SPDX-License-Identifier: MIT
// Reading and saving, measured in-process against floors of the same system
// calls done the plainest way. Reading never waits (the books stay in the page
// cache), so its figures are CPU time, which a busy machine disturbs less;
// saving waits for the disk, so its figures are wall time.
//   Floor/ReadRecord   open the book, one pread of the record's bytes, close
//   ReadVerse, ComposeVerse on the sample book, over the dates of a year
//   ReadVerse on a 366-record and a 65,535-record book (about 64 MB), over
//   the verses of a year's dates, and over the whole of the large book
//   Floor/Replace24    24 bytes to a new file, fsync, rename over the old one
//   SaveSettings       what OK in the settings window stores
#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "reading/book_file.h"
#include "reading/book_header.h"
#include "reading/book_writer.h"
#include "reading/calendar_rules.h"
#include "reading/verse.h"
#include "settings/settings_state.h"
#include "text/utf8_path.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A book on disk and the records a benchmark reads from it, in order.
struct BookUnderTest
{
    struct Span
    {
        off_t offset;
        std::size_t length;
    };
    std::string path;
    std::vector<int> indices;
    std::vector<Span> spans; // where each of `indices` lies, for the floor
};

// The floor needs each record's place without going through CBookFile.
void LocateRecords(BookUnderTest& book)
{
    CFile file;
    if (!file.Open(book.path, CFile::modeRead))
        throw std::runtime_error("cannot open " + book.path);
    const BookHeader header(file);
    const int count = header.RecordCount();
    const std::uint64_t length = file.GetLength();
    auto offset = [&](int i) { return i < count ? std::uint64_t{header.RecordOffset(i)} : length; };
    for (const int i : book.indices) {
        if (i >= count)
            throw std::runtime_error("no record " + std::to_string(i) + " in " + book.path);
        book.spans.push_back({static_cast<off_t>(offset(i)), offset(i + 1) - offset(i)});
    }
}

fs::path WorkDir()
{
    static const fs::path dir = [] {
        fs::path d = VELMORA_BENCH_WORK;
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

struct Date
{
    int day, month;
};

// Every date of 2026, in calendar order.
const std::vector<Date>& YearOfDates()
{
    static const std::vector<Date> year = [] {
        std::vector<Date> dates;
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= kDaysPerMonth[month - 1]; ++day)
                dates.push_back({day, month});
        return dates;
    }();
    return year;
}

std::vector<int> YearOfVerses()
{
    std::vector<int> verses;
    for (const Date& date : YearOfDates())
        verses.push_back(VerseNumber(date.day, date.month, 2026));
    return verses;
}

const BookUnderTest& SampleBook()
{
    static const BookUnderTest book = [] {
        BookUnderTest b{VELMORA_SAMPLE_BOOK, YearOfVerses(), {}};
        LocateRecords(b);
        return b;
    }();
    return book;
}

// A book of `count` records of about 1 KB each, the same text in both sizes,
// made once and kept in the page cache.
std::string MadeBook(int count)
{
    const std::string path = (WorkDir() / ("book-" + std::to_string(count) + ".pdb")).string();
    if (!fs::exists(path)) {
        std::vector<std::string> records;
        records.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            std::string text = "Reading " + std::to_string(i) + "\n";
            while (text.size() < 1000)
                text += "Little by little, one travels far; a page a day makes a book.\n";
            records.push_back(text.substr(0, 1000));
        }
        std::ofstream(path, std::ios::binary) << BuildBook("bench", records);
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<char> sink(1 << 20);
    while (in.read(sink.data(), static_cast<std::streamsize>(sink.size()))) { }
    return path;
}

BookUnderTest Reading(const std::string& path, std::vector<int> indices)
{
    BookUnderTest b{path, std::move(indices), {}};
    LocateRecords(b);
    return b;
}

// 366 records spread evenly from the first to the last of `count`.
std::vector<int> Spread(int count)
{
    std::vector<int> indices;
    for (int k = 0; k < 366; ++k)
        indices.push_back(static_cast<int>(static_cast<long long>(k) * (count - 1) / 365));
    return indices;
}

// The program reads the verses of the year's dates, whatever the book's size.
const BookUnderTest& SmallBook()
{
    static const BookUnderTest book = Reading(MadeBook(366), YearOfVerses());
    return book;
}

const BookUnderTest& LargeBook()
{
    static const BookUnderTest book = Reading(MadeBook(65535), YearOfVerses());
    return book;
}

// Every part of the large book, for reads that a larger index might slow.
const BookUnderTest& LargeBookSpread()
{
    static const BookUnderTest book = Reading(MadeBook(65535), Spread(65535));
    return book;
}

void ReadRecordFloor(benchmark::State& state, const BookUnderTest& (*which)())
{
    const BookUnderTest& book = which();
    std::vector<char> buffer(64 * 1024);
    std::size_t next = 0;
    for (auto _ : state) {
        const BookUnderTest::Span& span = book.spans[next++ % book.spans.size()];
        const int fd = ::open(book.path.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), span.length, span.offset));
        ::close(fd);
    }
}

void ReadVerse(benchmark::State& state, const BookUnderTest& (*which)())
{
    const BookUnderTest& book = which();
    CBookFile file;
    file.CheckOpen(FromNativePath(book.path));
    std::size_t next = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(file.ReadVerse(book.indices[next++ % book.indices.size()]));
}

void ComposeVerse(benchmark::State& state)
{
    const std::vector<Date>& year = YearOfDates();
    CBookFile file;
    file.CheckOpen(FromNativePath(SampleBook().path));
    std::size_t next = 0;
    for (auto _ : state) {
        const Date& date = year[next++ % year.size()];
        benchmark::DoNotOptimize(ComposeVerse(file, date.day, date.month, 2026));
    }
}

void ReplaceFloor(benchmark::State& state)
{
    const std::string target = (WorkDir() / "floor.dat").string();
    const std::string temp = target + ".new";
    const unsigned char bytes[24] = {1, 0, 0, 0, 1};
    for (auto _ : state) {
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, bytes, sizeof bytes));
        ::fsync(fd);
        ::close(fd);
        ::rename(temp.c_str(), target.c_str());
    }
}

void SaveSettings(benchmark::State& state)
{
    GetServices().moduleFileName = [] { return FromNativePath((WorkDir() / "talvik").string()); };
    InitProgramDir();
    SettingsState settings;
    settings.m_edited.m_bChime = TRUE;
    settings.m_edited.m_bAutoRun = TRUE;
    settings.m_edited.m_time = CTime(SYSTEMTIME{2026, 12, 1, 7, 8, 0, 0, 0});
    for (auto _ : state) {
        settings.m_stored.chime = settings.m_edited.m_bChime;
        settings.m_stored.autorun = settings.m_edited.m_bAutoRun;
        settings.m_stored.time = settings.m_edited.m_time.GetAsSystemTime();
        settings.WriteSettingsFile();
    }
}

} // namespace

BENCHMARK_CAPTURE(ReadRecordFloor, sample, SampleBook);
BENCHMARK_CAPTURE(ReadVerse, sample, SampleBook);
BENCHMARK(ComposeVerse);
BENCHMARK_CAPTURE(ReadRecordFloor, small, SmallBook);
BENCHMARK_CAPTURE(ReadVerse, small, SmallBook);
BENCHMARK_CAPTURE(ReadRecordFloor, large, LargeBook);
BENCHMARK_CAPTURE(ReadVerse, large, LargeBook);
BENCHMARK_CAPTURE(ReadRecordFloor, large_spread, LargeBookSpread);
BENCHMARK_CAPTURE(ReadVerse, large_spread, LargeBookSpread);
BENCHMARK(ReplaceFloor)->UseRealTime();
BENCHMARK(SaveSettings)->UseRealTime();

BENCHMARK_MAIN();
