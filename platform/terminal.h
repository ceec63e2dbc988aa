// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// True when `stream` goes to a terminal, not to a file or a pipe.
bool IsTerminal(std::FILE* stream);
