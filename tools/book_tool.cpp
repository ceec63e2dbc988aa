// talvik-book: makes books for the reader from plain text.
#include "platform/binary_file.h"
#include "platform/native_path.h"
#include "reading/book_writer.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

int Make(const std::string& sourcePath, const std::string& bookPath)
{
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        std::cerr << "talvik-book: cannot read " << sourcePath << "\n";
        return 2;
    }
    std::stringstream source;
    source << in.rdbuf();
    std::vector<std::string> records;
    std::string error;
    if (!ParseBookSource(source.str(), records, error)) {
        std::cerr << sourcePath << ": " << error << "\n";
        return 1;
    }
    const std::string book = BuildBook("Velmora book", records);
    if (!ReplaceFileContent(FromNativePath(bookPath), book.data(), book.size())) {
        std::cerr << "talvik-book: cannot write " << bookPath << "\n";
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Makes, checks and shows books for the Velmora reader."};
    app.set_version_flag("--version", "talvik-book 1.0.2");
    app.require_subcommand(1);

    std::string source, book;
    CLI::App* make = app.add_subcommand("make", "Build a book from a plain-text source");
    make->add_option("SOURCE", source, "Plain-text source (UTF-8)")->required();
    make->add_option("BOOK", book, "Book file to write")->required();

    CLI11_PARSE(app, argc, argv);
    if (*make)
        return Make(source, book);
    return 0;
}
