// SPDX-License-Identifier: MIT
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"
#include "platform/wide_string.h"

#include <cstdio>
#include <ctime>

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

// Where a path goes in a unit file.
enum class UnitField
{
    QuotedWord, // inside double quotes, as in ExecStart=
    Description, // plain text, which takes no escapes
};

// `path` as unit file text. In a double-quoted word systemd unquotes it back
// to exactly the path, bytes that are not UTF-8 included; Description= takes
// no escapes, so there such bytes show as U+FFFD rather than make systemd
// drop the line. systemd expands its %-sequences last, hence "%%" in both.
std::string UnitText(const std::string& path, UnitField field)
{
    const bool quoted = field == UnitField::QuotedWord;
    std::string out;
    for (const wchar_t c : FromNativePath(path)) {
        if (c == L'%') {
            out += "%%";
        } else if (quoted && (c == L'\\' || c == L'"')) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (IsNonUtf8Byte(c) && quoted) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c - kNonUtf8ByteBase));
            out += hex;
        } else {
            out += IsNonUtf8Byte(c) ? "\xEF\xBF\xBD" : ToUtf8(std::wstring(1, c));
        }
    }
    return out;
}

// systemd refuses quotes and backslashes in the name of the program to run,
// so such a path is started through the shell, as an argument it never
// splits or expands. The ':' prefix turns off systemd's own "$" expansion.
std::string ExecStartLine(const std::string& path)
{
    const std::string word = '"' + UnitText(path, UnitField::QuotedWord) + '"';
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

std::string SystemdTimerFile(const std::string& nativePath)
{
    return SystemdUnitName(nativePath) + ".timer";
}

std::string SystemdStartFile(const std::string& nativePath)
{
    return SystemdUnitName(nativePath) + "-start.service";
}

std::string SystemdServiceFile(const std::string& nativePath)
{
    return SystemdUnitName(nativePath) + ".service";
}

std::string SystemdStartUnit(const std::string& nativePath)
{
    // A timer does not count on while the unit it started is active; a
    // program left open would hold the daily start up.
    return "[Unit]\nDescription=Velmora daily reading (the day's start of " +
        UnitText(nativePath, UnitField::Description) + ")\nWants=" + SystemdServiceFile(nativePath) +
        "\n\n[Service]\nType=oneshot\nExecStart=/bin/true\n";
}

std::optional<std::string> SystemdServiceUnit(const std::string& nativePath)
{
    if (!SystemdCanBook(nativePath))
        return std::nullopt;
    // Started in the user's desktop session and stopped with it. Helpers the
    // program starts, such as a browser, outlive it as they would had the
    // user started it. A start that fails, as one does before the desktop
    // has told the user manager its display at login, is tried again every
    // five seconds for about ten minutes.
    return "[Unit]\nDescription=Velmora daily reading (start of " + UnitText(nativePath, UnitField::Description) +
        ")\nPartOf=graphical-session.target\nAfter=graphical-session.target\n"
        "StartLimitIntervalSec=15min\nStartLimitBurst=120\n\n"
        "[Service]\nType=exec\n" +
        ExecStartLine(nativePath) + "KillMode=process\nRestart=on-failure\nRestartSec=5s\n";
}

namespace {

// `value` in decimal with at least `digits` digits.
std::string Digits(int value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", digits, value);
    return text;
}

std::string Calendar(const std::string& days, const SYSTEMTIME& time)
{
    return "OnCalendar=" + days + " " + Digits(time.wHour, 2) + ":" + Digits(time.wMinute, 2) + ":" +
        Digits(time.wSecond, 2) + "\n";
}

std::string Date(const SYSTEMTIME& t)
{
    return Digits(t.wYear, 4) + "-" + Digits(t.wMonth, 2) + "-" + Digits(t.wDay, 2);
}

// Every day from `first`'s date on, at its time of day: the rest of its
// month, the rest of its year, and the years after it.
std::string DailyFrom(const SYSTEMTIME& first)
{
    std::string lines = Calendar(Date(first) + "..31", first);
    if (first.wMonth < 12)
        lines += Calendar(Digits(first.wYear, 4) + "-" + Digits(first.wMonth + 1, 2) + "..12-*", first);
    if (first.wYear < kLastSystemdYear)
        lines += Calendar(Digits(first.wYear + 1, 4) + ".." + Digits(kLastSystemdYear, 4) + "-*-*", first);
    return lines;
}

// systemd never starts a timer at a local time that does not exist. On the
// days of the coming year when the clocks skip the time of day, the start is
// booked for the first moment after it instead.
std::string SkippedDays(const SYSTEMTIME& first)
{
    std::string lines;
    for (int day = 0; day < 366; ++day) {
        std::tm date{};
        date.tm_year = first.wYear - 1900;
        date.tm_mon = first.wMonth - 1;
        date.tm_mday = first.wDay + day;
        const std::time_t normalised = ::timegm(&date); // the date only: no time zone
        ::gmtime_r(&normalised, &date);
        const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
        const SYSTEMTIME wanted{u(date.tm_year + 1900), u(date.tm_mon + 1), 0, u(date.tm_mday), first.wHour,
            first.wMinute, first.wSecond, 0};
        if (wanted.wYear > kLastSystemdYear)
            break;
        if (!LocalTimeExists(wanted)) {
            const SYSTEMTIME start = FirstExistingLocalTime(wanted);
            lines += Calendar(Date(start), start);
        }
    }
    return lines;
}

} // namespace

std::optional<std::string> SystemdTimerUnit(const std::string& nativePath, const SYSTEMTIME& first, TimerWake wake)
{
    if (first.wYear > kLastSystemdYear)
        return std::nullopt;
    // A timer that repeats every day, so that the daily start goes on
    // whatever becomes of one start: the program still open, a start that
    // failed, the machine off. Persistent=true: systemd keeps the time of the
    // last start on disk, and when the timer is started again at login it
    // starts the program at once if a start fell due while the user manager
    // was not running; several missed days make up one start.
    return "[Unit]\nDescription=Velmora daily reading (daily start of " + UnitText(nativePath, UnitField::Description) +
        ")\n\n[Timer]\nUnit=" + SystemdStartFile(nativePath) + "\n" + DailyFrom(first) + SkippedDays(first) +
        "AccuracySec=1s\nPersistent=true\n" + (wake == TimerWake::WakeSystem ? "WakeSystem=yes\n" : "") +
        "\n[Install]\nWantedBy=timers.target\n";
}
