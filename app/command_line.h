// SPDX-License-Identifier: MIT
#pragma once

#include <optional>

// The program's options, --help and --version, answered before any window
// library starts, so that they need no display (ShowCommandLineAnswer).
// Anything else on the command line is refused on standard error, or on
// Windows ignored (RefusesUnknownArguments). Returns the exit status when the
// program ends there, nullopt when it goes on to start.
std::optional<int> HandleCommandLine(int argc, char** argv);
