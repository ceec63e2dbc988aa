// SPDX-License-Identifier: MIT
#include "platform/system/temporary_file.h"

std::FILE* OpenTemporaryFile()
{
    return std::tmpfile();
}
