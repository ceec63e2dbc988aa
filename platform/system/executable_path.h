// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The full path of the running executable, every link resolved, however it
// was started and however long; empty when the system does not tell.
std::wstring ExecutablePath();
