#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"

#include <cstdio>

namespace {

constexpr wchar_t kRawByteBase = 0xDC80; // how FromNativePath keeps bytes that are not UTF-8

bool IsRawByte(wchar_t c)
{
    return c >= kRawByteBase && c < kRawByteBase + 0x100;
}

} // namespace

bool SystemdCanBook(const std::string& path)
{
    if (path.empty() || path.front() != '/' || path.back() == '/')
        return false;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

namespace {

// `path` as unit file text. In a double-quoted word systemd unquotes it back
// to exactly the path, bytes that are not UTF-8 included; Description= takes
// no escapes, so there such bytes show as U+FFFD rather than make systemd
// drop the line. systemd expands its %-sequences last, hence "%%" in both.
std::string UnitText(const std::string& path, bool quoted)
{
    std::string out;
    for (const wchar_t c : FromNativePath(path)) {
        if (c == L'%') {
            out += "%%";
        } else if (quoted && (c == L'\\' || c == L'"')) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (IsRawByte(c) && quoted) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c - kRawByteBase));
            out += hex;
        } else {
            out += IsRawByte(c) ? "\xEF\xBF\xBD" : ToNativePath(std::wstring(1, c));
        }
    }
    return out;
}

// systemd refuses quotes and backslashes in the name of the program to run,
// so such a path is started through the shell, as an argument it never
// splits or expands. The ':' prefix turns off systemd's own "$" expansion.
std::string ExecStartLine(const std::string& path)
{
    const std::string word = '"' + UnitText(path, true) + '"';
    if (path.find_first_of("\"'\\") == std::string::npos)
        return "ExecStart=\":" + word.substr(1) + "\n";
    return "ExecStart=\":/bin/sh\" -c \"exec \\\"$0\\\"\" " + word + "\n";
}

} // namespace

std::string SystemdUnitName(const std::string& nativePath)
{
    // 64-bit FNV-1a: the same path always gives the same name, and two paths
    // of one user sharing a name is too unlikely to plan for.
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (const char c : nativePath) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("talvik-") + hex;
}

std::optional<std::string> SystemdServiceUnit(const std::string& nativePath)
{
    if (!SystemdCanBook(nativePath))
        return std::nullopt;
    // Started in the user's desktop session and stopped with it. Helpers the
    // program starts, such as a browser, outlive it as they would had the
    // user started it.
    return "[Unit]\nDescription=Velmora daily reading (start of " + UnitText(nativePath, false) +
        ")\nPartOf=graphical-session.target\nAfter=graphical-session.target\n\n"
        "[Service]\nType=exec\n" +
        ExecStartLine(nativePath) + "KillMode=process\n";
}

std::string SystemdTimerUnit(const std::string& nativePath, const SYSTEMTIME& time, bool wakeSystem)
{
    char calendar[64];
    std::snprintf(calendar, sizeof calendar, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
        time.wHour, time.wMinute, time.wSecond);
    // Persistent=true: systemd keeps the time of the last start on disk, and
    // when the timer is started again at login it starts the program at once
    // if the booked time passed while the user manager was not running
    // (machine off, user logged out). For one calendar time that makes up a
    // missed start exactly once and never repeats one that happened.
    return "[Unit]\nDescription=Velmora daily reading (booked start of " + UnitText(nativePath, false) +
        ")\n\n[Timer]\nOnCalendar=" + calendar + "\nAccuracySec=1s\nPersistent=true\n" +
        (wakeSystem ? "WakeSystem=yes\n" : "") + "\n[Install]\nWantedBy=timers.target\n";
}
