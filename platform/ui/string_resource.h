// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The text of the string resource `id`; empty when there is none.
std::wstring LoadString(int id);
