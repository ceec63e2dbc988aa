// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

// The program's options, --help and --version, answered on standard output
// before any window library starts, so that they need no display. Anything
// else on the command line is refused on standard error. Returns the exit
// status when the program ends there, nullopt when it goes on to start.
std::optional<int> HandleCommandLine(int argc, char** argv);
