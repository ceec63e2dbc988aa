// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The full path of the running executable, however long; empty when the
// system does not tell.
std::wstring ExecutablePath();
