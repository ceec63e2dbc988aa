// SPDX-License-Identifier: MIT
#include "platform/system/standard_output.h"

#include <cstdio>
#include <iostream>

bool FlushStandardOutput()
{
    // std::cout writes through stdout, whose error flag remembers a failure
    // of any earlier write as well as of this flush.
    std::cout.flush();
    const bool flushed = std::fflush(stdout) == 0;
    return flushed && std::cout.good() && !std::ferror(stdout);
}
