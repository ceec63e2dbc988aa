// SPDX-License-Identifier: MIT
// talvik-book: makes, checks and shows books for the reader.
#include "platform/system/standard_output.h"
#include "platform/system/terminal.h"
#include "tools/book_commands.h"
#include "velmora_version.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace {

const char* const kSourceFormat = R"(
The source is UTF-8 text. Lines starting with '#' at the very top are comments.
Then come blocks separated by blank lines: the first block is record 0, the
book's title page; the next ones are the readings of verses 1 to 365, in
order. Verse N is day N of a common year: 1 is 1 January, 60 is 1 March, 365
is 31 December; 29 February shows verse 1. A line holding only "." is an empty
line inside a reading. Every character must exist in Windows-1252.

A source with fewer than 366 blocks still makes a book, whose days past the
last reading show the verse heading alone; talvik-book warns about it, and
about blocks past verse 365, which the reader never shows. A block may hold at
most 1048575 characters, all the reader shows of one, and a source at most
366 MiB. SOURCE "-" is standard input; BOOK must not be the source itself.)";

const char* const kShowOutput = R"(
On a terminal, control characters in the reading (other than line breaks and
tabs) are shown as \xHH rather than obeyed; into a file or a pipe the text
goes exactly as the book holds it. info always shows them so.)";

const char* const kExitStatuses = R"(
Exit status: 0 done (warnings are printed on standard error); 1 a source that
cannot become a book, or a damaged book; 2 wrong use, a file that cannot be
read or written, or a daily start that systemctl did not confirm removed.)";

// The command the user chose and its arguments, as the parse fills them in.
struct Request
{
    std::string source, book, name, date, program;
    CLI::App* make = nullptr;
    CLI::App* info = nullptr;
    CLI::App* show = nullptr;
};

// Declares the commands, their arguments and their help, to be parsed into
// `request`, which must outlive `app`'s parse.
void DeclareCommands(CLI::App& app, Request& request)
{
    app.set_version_flag("--version", "talvik-book " VELMORA_VERSION_TEXT);
    app.require_subcommand(1);
    // The same commands on every system: on Windows too, "/x" is a path
    // (wine gives Linux paths so), not an option.
    app.allow_windows_style_options(false);
    app.footer(kExitStatuses);

    request.make = app.add_subcommand("make", "Build a book from a plain-text source");
    request.make->add_option("SOURCE", request.source, "Plain-text source; - for standard input")->required();
    request.make->add_option("BOOK", request.book, "Book file to write (replaced whole, or left as it was)")
        ->required();
    request.make->add_option(
        "--name", request.name, "Name in the book's header; the first line of the title page by default");
    request.make->footer(kSourceFormat);

    request.info = app.add_subcommand("info", "Print a book's name, record count and sizes, and every fault");
    request.info->add_option("BOOK", request.book, "Book file")->required();

    request.show = app.add_subcommand("show", "Print the reading of a date as the reader shows it");
    request.show->add_option("BOOK", request.book, "Book file")->required();
    request.show->add_option("DATE", request.date, "YYYY-MM-DD; today by default");
    request.show->footer(kShowOutput);

    CLI::App* unschedule = app.add_subcommand("unschedule", "Remove the daily start booked for the program at PROGRAM");
    unschedule->add_option("PROGRAM", request.program, "Path of the talvik executable")->required();
}

// Parses the command line, in UTF-8 whatever the system hands over. The exit
// status when the tool ends with the parse: --help, --version or wrong use.
std::optional<int> Parse(CLI::App& app, int argc, char** argv)
{
    const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    try {
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& e) {
        // --help and --version end here too, with status 0, unless what they
        // printed could not be written.
        const int status = app.exit(e) == 0 ? kExitOk : kExitFailure;
        if (status == kExitOk && !FlushStandardOutput()) {
            std::cerr << "talvik-book: cannot write standard output: " << std::strerror(errno) << "\n";
            return kExitFailure;
        }
        return status;
    }
    return std::nullopt;
}

// Memory the system will not give ends the tool with a message, like a
// source too large for it, never with an abort.
int Run(const Request& request)
{
    try {
        if (*request.make)
            return MakeBook(request.source, request.book, request.name);
        if (*request.info)
            return PrintBookInfo(request.book);
        if (*request.show)
            return ShowReading(request.book, request.date);
        return Unschedule(request.program);
    } catch (const std::bad_alloc&) {
        std::cerr << "talvik-book: out of memory\n";
        return kExitBadInput;
    }
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Makes, checks and shows books for the Velmora reader.", "talvik-book"};
    Request request;
    DeclareCommands(app, request);
    PrepareStandardStreams();
    if (const std::optional<int> status = Parse(app, argc, argv))
        return *status;
    return Run(request);
}
