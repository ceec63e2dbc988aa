#pragma once

#include <string>
#include <vector>

// Reads a book's plain-text source (UTF-8): comment lines starting with '#'
// at the top, then blocks separated by blank lines, the first being record 0
// (the title page) and the next ones records 1, 2, ... in order. A line
// holding only "." is an empty line inside a reading; a byte order mark at the
// start is skipped. The records come out in Windows-1252. On failure `error`
// names the line at fault.
bool ParseBookSource(const std::string& source, std::vector<std::string>& records, std::string& error);

// The bytes of a book holding `records`, with `name` in its header.
std::string BuildBook(const std::string& name, const std::vector<std::string>& records);
