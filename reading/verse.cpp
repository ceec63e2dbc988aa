// SPDX-License-Identifier: MIT
#include "reading/verse.h"
#include "reading/book_file.h"
#include "reading/calendar_rules.h"

#include <string>

int VerseNumber(int day, int month, int year)
{
    int n = day;
    for (int m = 1; m < month && m <= 12; ++m)
        n += kDaysPerMonth[m - 1];
    if (IsLeapYear(year) && month == 2 && day == 29)
        n = 1;
    return n;
}

std::wstring ComposeVerse(const CBookFile& book, int day, int month, int year)
{
    const int n = VerseNumber(day, month, year);
    // Put together directly rather than through Format, which copies the
    // reading three times on the way, and without std::to_wstring, which goes
    // through swprintf: this runs at every click on a date.
    const std::wstring reading = book.ReadVerse(n);
    const std::string number = std::to_string(n);
    std::wstring text;
    text.reserve(6 + number.size() + 5 + reading.size());
    text.append(L"Verse ").append(number.begin(), number.end()).append(L":\r\n\r\n").append(reading);
    return text;
}
