// SPDX-License-Identifier: MIT
#include "platform/system/error_text.h"

#include <cerrno>
#include <cstring>

std::string LastErrorText()
{
    return std::strerror(errno);
}
