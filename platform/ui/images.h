// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

// Loads the icon resource `id` with all its sizes; it lives as long as the
// program.
HICON LoadIcon(int id);
