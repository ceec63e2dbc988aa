// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// WhyOthersCanReplaceProgram for the program whose path has the bytes
// `path`, read from the owners and modes of the file and each folder above
// it.
std::wstring WhyOthersCanReplaceProgramAt(std::string path);
