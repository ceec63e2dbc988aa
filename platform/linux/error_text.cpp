// SPDX-License-Identifier: MIT
#include "platform/error_text.h"

#include <cerrno>
#include <cstring>

std::string LastErrorText()
{
    return std::strerror(errno);
}
