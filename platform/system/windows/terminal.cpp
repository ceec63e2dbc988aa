// SPDX-License-Identifier: MIT
#include "platform/system/terminal.h"
#include "platform/system/standard_output.h"
#include "platform/system/windows/windows_api.h"
#include "text/utf8_path.h"

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <streambuf>

namespace {

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// A stream buffer that writes whole UTF-8 characters to a console with
// WriteConsoleW. Bytes of a character cut by a flush wait for the rest.
class ConsoleBuffer : public std::streambuf
{
public:
    explicit ConsoleBuffer(HANDLE console)
        : m_console(console)
    {
        setp(m_buffer, m_buffer + sizeof m_buffer);
    }

protected:
    int_type overflow(int_type c) override
    {
        if (WriteOut(false) != 0)
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return WriteOut(true); }

private:
    // Writes what is buffered up to the last whole character, or all of it.
    int WriteOut(bool all)
    {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        std::size_t whole = size;
        if (!all) {
            // Back over continuation bytes to the start of the last character,
            // which stays unless it is complete.
            std::size_t start = size;
            while (start > 0 && (static_cast<unsigned char>(m_buffer[start - 1]) & 0xC0) == 0x80)
                --start;
            if (start > 0) {
                const auto lead = static_cast<unsigned char>(m_buffer[start - 1]);
                const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                if (size - (start - 1) < need)
                    whole = start - 1;
            }
        }
        const std::wstring text = FromNativePath(std::string(m_buffer, whole));
        DWORD written = 0;
        const bool ok =
            text.empty() || ::WriteConsoleW(m_console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        std::copy(m_buffer + whole, m_buffer + size, m_buffer);
        setp(m_buffer, m_buffer + sizeof m_buffer);
        pbump(static_cast<int>(size - whole));
        return ok ? 0 : -1;
    }

    HANDLE m_console;
    char m_buffer[4096];
};

void ToConsole(std::ostream& stream, DWORD which)
{
    const HANDLE handle = ::GetStdHandle(which);
    if (!IsConsole(handle))
        return;
    stream.flush();
    // Never destroyed: the standard streams are flushed at exit after every
    // other static object is gone.
    stream.rdbuf(new ConsoleBuffer(handle));
}

} // namespace

bool IsTerminal(std::FILE* stream)
{
    return IsConsole(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream))));
}

std::vector<std::string> CommandLineArguments(int, char**)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; wide && i < count; ++i)
        arguments.push_back(ToNativePath(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams()
{
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ToConsole(std::cout, STD_OUTPUT_HANDLE);
    ToConsole(std::cerr, STD_ERROR_HANDLE);
}

bool RefusesUnknownArguments()
{
    return false;
}

bool ShowCommandLineAnswer(const std::string& text)
{
    // Standard output redirected to a file, a pipe or a device takes the
    // answer as it is. A program with windows started from a console may be
    // given none of its own: it writes to its parent's, if there is one.
    std::wstring wide = FromNativePath(text);
    const HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (IsConsole(out))
        return ::WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    const DWORD type = out ? ::GetFileType(out) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR) {
        std::cout << text;
        return FlushStandardOutput();
    }
    if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool shown = console != INVALID_HANDLE_VALUE &&
            ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        if (console != INVALID_HANDLE_VALUE)
            ::CloseHandle(console);
        ::FreeConsole();
        if (shown)
            return true;
    }
    while (!wide.empty() && wide.back() == L'\n')
        wide.pop_back();
    ::MessageBoxW(nullptr, wide.c_str(), L"Velmora", MB_OK);
    return true;
}
