// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

// Writes all `count` bytes to `fd`, retrying short writes; false when any
// could not be written.
bool WriteAll(int fd, const void* buffer, std::size_t count);
