#include "reading/verse.h"
#include "platform/wide_string.h"
#include "reading/book_file.h"
#include "reading/calendar_rules.h"

int VerseNumber(int day, int month, int year)
{
    int n = day;
    for (int m = 1; m < month && m <= 12; ++m)
        n += k_daysPerMonth[m - 1];
    if (IsLeapYear(year) && month == 2 && day == 29)
        n = 1;
    return n;
}

std::wstring ComposeVerse(CBookFile& book, int day, int month, int year)
{
    const int n = VerseNumber(day, month, year);
    return Format(L"Verse %d:\r\n\r\n%s", {n, book.ReadVerse(n)});
}
