// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>

// A new file in the user's folder for temporary files (TMPDIR on Linux, or
// /tmp), open for reading and writing, that nothing else can name and that
// the system removes once it is closed or the program ends; nullptr when
// none can be made.
std::FILE* OpenTemporaryFile();
