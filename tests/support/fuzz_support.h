// SPDX-License-Identifier: MIT
#pragma once

#include "temp_dir.h"

#include <cstdlib>

// What the fuzz targets share: a property that does not hold is a crash the
// fuzzer reports, and a folder for the files they write, kept for the run.
inline void FuzzCheck(bool condition)
{
    if (!condition)
        std::abort();
}

inline const TempDir& FuzzFolder()
{
    static const TempDir dir;
    return dir;
}
