// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemd_units.h"
#include "platform/daily_start/systemd/systemd_zone.h"
#include "platform/system/exit_status.h"
#include "platform/system/local_time.h"
#include "platform/system/point_in_time.h"
#include "text/fnv1a.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"

#include <cstdio>
#include <ctime>

bool SystemdCanStart(const std::string& path)
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

// The start runs only a program that no other user can replace: the file
// and every folder above it owned by the user or root and changeable by no
// one else, a sticky folder passing as others cannot rename or delete what
// is ours in it. The same rule as the program's (WhyOthersCanReplace over
// ReadPathAccess), for when the program is no longer there to be asked: a
// group counts as others' when a user but ours or root is among its members
// or has it as their primary group; the access list, read with getfacl,
// counts with its mask, and one that cannot be read refuses the start. A
// program that fails the check, or is missing, is quietly not started, and
// not tried again.
constexpr const char* kOwnedChainCheck =
    "set -f; p=$0; u=$(id -u); [ -f \"$p\" ] && [ -x \"$p\" ] || exit 1; "
    "mine() { [ \"$1\" = \"$u\" ] || [ \"$1\" = 0 ]; }; "
    "lone() { g=$(getent group \"$1\") || return 1; "
    "for n in $(printf %s \"${g##*:}\" | tr , ' '); do "
    "mine \"$(getent passwd \"$n\" | cut -d: -f3)\" || return 1; done; "
    "getent passwd | awk -F: -v g=\"$1\" -v u=\"$u\" '$4 == g && $3 != u && $3 != 0 { f = 1 } END { exit f }'; }; "
    "ours() { [ $((0$3 & 02)) = 0 ] || return 1; "
    "if command -v getfacl >/dev/null; then a=$(getfacl -acEn -- \"$1\" 2>/dev/null) || return 1; "
    "else case $(ls -ld -- \"$1\") in ??????????+*) return 1;; esac; a=; "
    "[ $((0$3 & 020)) = 0 ] || a=group::-w-; fi; "
    "m=rwx; for e in $a; do case $e in mask::*) m=${e#mask::};; esac; done; "
    "for e in $a; do t=${e%%:*}; q=${e#*:}; x=${q#*:}; q=${q%%:*}; "
    "case $t:$x in other:?w?) return 1;; esac; case $x$m in ?w??w?) ;; *) continue;; esac; "
    "case $t:$q in user:) ;; user:*) mine \"$q\" || return 1;; group:) lone \"$2\" || return 1;; "
    "group:*) lone \"$q\" || return 1;; esac; done; }; "
    "while :; do [ -L \"$p\" ] && exit 1; "
    "s=$(stat -c '%u %g %a' -- \"$p\") || exit 1; set -- $s; mine \"$1\" || exit 1; "
    "[ -d \"$p\" ] && [ $((0$3 & 01000)) != 0 ] || ours \"$p\" \"$2\" \"$3\" || exit 1; "
    "[ \"$p\" = / ] && exit 0; p=${p%/*}; [ -n \"$p\" ] || p=/; done";

std::string ExecConditionLine(const std::string& path)
{
    std::string script;
    for (const char c : std::string(kOwnedChainCheck)) {
        if (c == '%')
            script += "%%";
        else if (c == '"' || c == '\\')
            script += std::string("\\") + c;
        else
            script += c;
    }
    return "ExecCondition=\":/bin/sh\" -c \"" + script + "\" \"" + UnitText(path, UnitField::QuotedWord) + "\"\n";
}

} // namespace

std::string SystemdUnitName(const std::string& nativePath)
{
    // 64-bit FNV-1a: the same path always gives the same name, and two paths
    // of one user sharing a name is too unlikely to plan for.
    Fnv1a hash;
    for (const char c : nativePath)
        hash.Add(static_cast<unsigned char>(c));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash.Value()));
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
    if (!SystemdCanStart(nativePath))
        return std::nullopt;
    // Started in the user's desktop session and stopped with it. Helpers the
    // program starts, such as a browser, outlive it as they would had the
    // user started it. Only a start that found no display yet, as before the
    // desktop has told the user manager its display at login, is tried again:
    // every five seconds for about ten minutes. A crash or a kill is not.
    return "[Unit]\nDescription=Velmora daily reading (start of " + UnitText(nativePath, UnitField::Description) +
        ")\nPartOf=graphical-session.target\nAfter=graphical-session.target\n"
        "StartLimitIntervalSec=15min\nStartLimitBurst=120\n\n"
        "[Service]\nType=exec\n" +
        ExecConditionLine(nativePath) + ExecStartLine(nativePath) +
        "KillMode=process\nRestart=no\nRestartForceExitStatus=" + std::to_string(kExitNoDisplay) + "\nRestartSec=5s\n";
}

namespace {

// `value` in decimal with at least `digits` digits.
std::string Digits(int value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", digits, value);
    return text;
}

// The first year systemd's calendar can name.
constexpr int kFirstSystemdYear = 1970;

std::string Calendar(const std::string& days, const SYSTEMTIME& time, const std::string& zone)
{
    return "OnCalendar=" + days + " " + Digits(time.wHour, 2) + ":" + Digits(time.wMinute, 2) + ":" +
        Digits(time.wSecond, 2) + " " + zone + "\n";
}

std::string Date(const SYSTEMTIME& t)
{
    return Digits(t.wYear, 4) + "-" + Digits(t.wMonth, 2) + "-" + Digits(t.wDay, 2);
}

// systemd never starts a timer at a local time that does not exist. On the
// days of the coming year when the clocks skip the time of day, the start is
// scheduled for the first moment after it instead.
std::string SkippedDays(const SYSTEMTIME& first, const std::string& zone)
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
        if (wanted.wYear >= kFirstSystemdYear && !LocalTimeExists(wanted)) {
            const SYSTEMTIME start = FirstExistingLocalTime(wanted);
            lines += Calendar(Date(start), start, zone);
        }
    }
    return lines;
}

// Every day at `first`'s time of day, in the program's own zone whatever the
// user manager's is. Without a zone name, the time of day of the first start
// in UTC: right until the clocks change, and each start of the program schedules
// again.
std::string DailyCalendar(const SYSTEMTIME& first)
{
    const std::string zone = SystemdZoneName();
    if (!zone.empty())
        return Calendar("*-*-*", first, zone) + SkippedDays(first, zone);
    const auto at = static_cast<std::time_t>(LocalToSeconds(first));
    std::tm utc{};
    if (!::gmtime_r(&at, &utc))
        return Calendar("*-*-*", first, "UTC");
    const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
    return Calendar("*-*-*", SYSTEMTIME{0, 0, 0, 0, u(utc.tm_hour), u(utc.tm_min), u(utc.tm_sec), 0}, "UTC");
}

} // namespace

std::string SystemdTimerUnit(const std::string& nativePath, const SYSTEMTIME& first, TimerWake wake)
{
    // A timer that repeats every day, so that the daily start goes on
    // whatever becomes of one start: the program still open, a start that
    // failed, the machine off. It names no date: the manager's clock decides
    // the day, so that a start scheduled while the program's clock was wrong
    // still starts it on the next day by the right one. Persistent=true:
    // systemd keeps the time of the last start on disk, and when the timer is
    // started again at login it starts the program at once if a start fell
    // due while the user manager was not running; several missed days make
    // up one start.
    return "[Unit]\nDescription=Velmora daily reading (daily start of " + UnitText(nativePath, UnitField::Description) +
        ")\n\n[Timer]\nUnit=" + SystemdStartFile(nativePath) + "\n" + DailyCalendar(first) +
        "AccuracySec=1s\nPersistent=true\n" + (wake == TimerWake::WakeSystem ? "WakeSystem=yes\n" : "") +
        "\n[Install]\nWantedBy=timers.target\n";
}
