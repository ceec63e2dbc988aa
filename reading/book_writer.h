// SPDX-License-Identifier: MIT
#pragma once

#include "reading/book_file.h"

#include <string>
#include <vector>

// The most a source may hold: a whole book of 366 readings, each as long as
// the reader shows one. An endless or huge input is cut off here rather than
// read on until memory runs out.
constexpr std::size_t kMaxBookSourceSize = 366 * CBookFile::kMaxRecordLength;

// Reads a book's plain-text source (UTF-8): comment lines starting with '#'
// at the top, then blocks separated by blank lines, the first being record 0
// (the title page) and the next ones records 1, 2, ... in order. A line
// holding only "." is an empty line inside a reading; a byte order mark at the
// start is skipped. The records come out in Windows-1252. A source larger
// than kMaxBookSourceSize, and a block longer than the reader shows of a
// record, are refused, so that every book made reads back whole. On failure
// `error` names the line at fault.
bool ParseBookSource(const std::string& source, std::vector<std::string>& records, std::string& error);

// The bytes of a book holding `records`, with `name` in its header.
std::string BuildBook(const std::string& name, const std::vector<std::string>& records);
