// SPDX-License-Identifier: MIT
#include "app/command_line.h"
#include "platform/system/terminal.h"
#include "velmora_version.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <sstream>

namespace {

// An answer that could not be written to standard output.
constexpr int kExitNotWritten = 1;
// As the book tool's: wrong use of the command line.
constexpr int kExitWrongUse = 2;

} // namespace

std::optional<int> HandleCommandLine(int argc, char** argv)
{
    // Starts from the desktop and from the scheduler carry no arguments.
    if (argc <= 1)
        return std::nullopt;
    CLI::App app{"Velmora, a daily reader: the reading of the date picked in its calendar, from the book "
                 "maravelle.pdb beside the program.",
        "talvik"};
    app.set_version_flag("--version", "talvik " VELMORA_VERSION_TEXT);
    app.footer("Without options it opens its window. See talvik(1).");
    app.allow_extras(!RefusesUnknownArguments());
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // --help and --version end here too, with status 0, unless their
        // answer could not be written.
        std::ostringstream answer;
        if (app.exit(e, answer) != 0)
            return kExitWrongUse;
        if (!ShowCommandLineAnswer(answer.str())) {
            std::cerr << "talvik: cannot write standard output: " << std::strerror(errno) << "\n";
            return kExitNotWritten;
        }
        return 0;
    }
    return std::nullopt;
}
