// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// What /proc/self/exe reads, without the mark " (deleted)" that the kernel
// adds once the executable has been removed or replaced while it runs, as an
// upgrade in place does: the program's path is still the one it was started
// from, where the new copy now lies. Only a file that really bears the mark
// in its name and is this very executable keeps it.
std::string WithoutDeletedMark(const std::string& linkTarget);
