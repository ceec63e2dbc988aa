// SPDX-License-Identifier: MIT
#include "platform/temporary_file.h"

std::FILE* OpenTemporaryFile()
{
    return std::tmpfile();
}
