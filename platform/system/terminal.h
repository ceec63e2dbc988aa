// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// True when `stream` goes to a terminal, not to a file or a pipe.
bool IsTerminal(std::FILE* stream);

// The program's arguments, as UTF-8 (file names as ToNativePath gives them).
// On Windows they are read from the wide command line, since `argv` holds
// them in the ANSI code page.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// Makes standard input, output and error carry bytes as they are, and UTF-8
// written to std::cout or std::cerr reach a console as the characters it
// encodes. Does nothing on Linux; on Windows the C library would otherwise
// turn LF into CR LF, end input at ^Z and show UTF-8 in the console's code
// page. Called once at the start of a console program.
void PrepareStandardStreams();

// Whether the program with windows refuses an argument it does not know, on
// standard error. Windows starts such a program with no console to read that
// in: there it opens as if the argument were not there.
bool RefusesUnknownArguments();

// Shows `text`, the program with windows' answer to --help or --version,
// where the user sees it: on standard output; on Windows, where that leads
// nowhere, on the console the program was started from, or, started from
// none, in a message box. False when standard output lost it, errno then
// saying why.
bool ShowCommandLineAnswer(const std::string& text);
