// SPDX-License-Identifier: MIT
#include "platform/system/terminal.h"

#include <unistd.h>

bool IsTerminal(std::FILE* stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void PrepareStandardStreams()
{ }
