// SPDX-License-Identifier: MIT
#include "platform/system/terminal.h"
#include "platform/system/standard_output.h"

#include <iostream>
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

bool RefusesUnknownArguments()
{
    return true;
}

bool ShowCommandLineAnswer(const std::string& text)
{
    std::cout << text;
    return FlushStandardOutput();
}
