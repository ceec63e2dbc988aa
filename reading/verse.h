// SPDX-License-Identifier: MIT
#pragma once

#include <string>

class CBookFile;

// The verse of 31 December, the last one a date shows.
constexpr int kLastVerse = 365;

// The verse number of a date: its day of the year counted as in a common
// year, so 1 March is always 60; 29 February of a leap year is verse 1.
int VerseNumber(int day, int month, int year);

// The reading box's text for a date: the verse heading and that record.
std::wstring ComposeVerse(const CBookFile& book, int day, int month, int year);
