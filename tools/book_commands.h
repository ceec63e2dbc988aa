// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

// The book tool's commands. Each prints what it has to say and returns the
// tool's exit status.
enum ExitStatus
{
    kExitOk = 0,
    kExitBadInput = 1, // a source that cannot become a book, a damaged book, or no program to unschedule
    kExitFailure = 2, // wrong use, or a file that cannot be read or written
};

// Builds the book `bookPath` from the plain-text source `sourcePath`; an empty
// `name` takes the first line of the title page.
int MakeBook(const std::string& sourcePath, const std::string& bookPath, const std::string& name);

// Prints the header of a book and every fault found in it.
int PrintBookInfo(const std::string& bookPath);

// Prints the reading box's text for `date` ("YYYY-MM-DD"; today when empty),
// in UTF-8 with LF line ends.
int ShowReading(const std::string& bookPath, const std::string& date);

// Removes the daily start booked for the program at `programPath`.
int Unschedule(const std::string& programPath);
