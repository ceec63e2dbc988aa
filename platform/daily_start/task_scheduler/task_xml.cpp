// SPDX-License-Identifier: MIT
#include "platform/daily_start/task_scheduler/task_xml.h"
#include "platform/system/point_in_time.h"
#include "text/fnv1a.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"

#include <cstdint>
#include <cwchar>
#include <iterator>

namespace {

// Characters that XML 1.0 allows in text; half a surrogate pair is none.
bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
        (c >= 0x10000 && c <= 0x10FFFF);
}

// Whether XML can carry every character of `text`, control characters only
// where `bControls`.
bool XmlCanCarry(const std::wstring& text, bool bControls)
{
    for (std::size_t i = 0, length = 1; i < text.size(); i += length) {
        const char32_t c = CharacterAt(text, i, length);
        if (!IsXmlChar(c) || (!bControls && c < 0x20))
            return false;
    }
    return true;
}

std::wstring Escaped(const std::wstring& text)
{
    std::wstring out;
    for (const wchar_t c : text) {
        switch (c) {
        case L'&':
            out += L"&amp;";
            break;
        case L'<':
            out += L"&lt;";
            break;
        case L'>':
            out += L"&gt;";
            break;
        case L'"':
            out += L"&quot;";
            break;
        case L'\'':
            out += L"&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The folder of `path`, with its last separator when that is a drive's root
// ("C:\"), as the scheduler wants a working folder.
std::wstring FolderOf(const std::wstring& path)
{
    std::size_t end = path.find_last_of(L"\\/");
    if (end == 2 && path[1] == L':')
        ++end;
    return path.substr(0, end);
}

std::wstring Hex(std::uint64_t value)
{
    std::wstring digits(16, L'0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        digits[i] = L"0123456789abcdef"[value & 0xF];
    return digits;
}

// Every day from `first` on, at its time of day. A boundary without a zone
// is local time, so the start keeps its time of day when the clocks change.
std::wstring TriggersXml(const SYSTEMTIME& first)
{
    wchar_t start[32];
    std::swprintf(start, std::size(start), L"%04d-%02d-%02dT%02d:%02d:%02d", first.wYear, first.wMonth, first.wDay,
        first.wHour, first.wMinute, first.wSecond);
    return L"  <Triggers>\r\n"
           L"    <CalendarTrigger>\r\n"
           L"      <StartBoundary>" +
        std::wstring(start) +
        L"</StartBoundary>\r\n"
        L"      <Enabled>true</Enabled>\r\n"
        L"      <ScheduleByDay>\r\n"
        L"        <DaysInterval>1</DaysInterval>\r\n"
        L"      </ScheduleByDay>\r\n"
        L"    </CalendarTrigger>\r\n"
        L"  </Triggers>\r\n";
}

// As `user` while that user is logged on, never with raised rights.
std::wstring PrincipalsXml(const std::wstring& user)
{
    const std::wstring principal = user.empty() ? std::wstring() : L"      <UserId>" + Escaped(user) + L"</UserId>\r\n";
    return L"  <Principals>\r\n"
           L"    <Principal id=\"Author\">\r\n" +
        principal +
        L"      <LogonType>InteractiveToken</LogonType>\r\n"
        L"      <RunLevel>LeastPrivilege</RunLevel>\r\n"
        L"    </Principal>\r\n"
        L"  </Principals>\r\n";
}

// It wakes the machine, makes up a start missed while the machine was off,
// starts no second copy, never stops the program and runs on battery too.
const wchar_t* const kSettingsXml = L"  <Settings>\r\n"
                                    L"    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\r\n"
                                    L"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
                                    L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
                                    L"    <StartWhenAvailable>true</StartWhenAvailable>\r\n"
                                    L"    <RunOnlyIfNetworkAvailable>false</RunOnlyIfNetworkAvailable>\r\n"
                                    L"    <RunOnlyIfIdle>false</RunOnlyIfIdle>\r\n"
                                    L"    <WakeToRun>true</WakeToRun>\r\n"
                                    L"    <Enabled>true</Enabled>\r\n"
                                    L"    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>\r\n"
                                    L"  </Settings>\r\n";

// The program, started in its own folder.
std::wstring ActionsXml(const std::wstring& programPath)
{
    return L"  <Actions Context=\"Author\">\r\n"
           L"    <Exec>\r\n"
           L"      <Command>" +
        Escaped(programPath) +
        L"</Command>\r\n"
        L"      <WorkingDirectory>" +
        Escaped(FolderOf(programPath)) +
        L"</WorkingDirectory>\r\n"
        L"    </Exec>\r\n"
        L"  </Actions>\r\n";
}

} // namespace

std::wstring TaskName(const std::wstring& user, const std::wstring& programPath)
{
    // 64-bit FNV-1a over the user, a separator no user name holds, and the
    // path with ASCII letters folded and both separators alike.
    Fnv1a hash;
    const auto add = [&hash](unsigned long unit) {
        for (int shift = 0; shift < 32; shift += 8)
            hash.Add(static_cast<unsigned char>(unit >> shift));
    };
    for (const wchar_t c : user)
        add(static_cast<unsigned long>(c));
    add(L'|');
    for (wchar_t c : programPath) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        add(static_cast<unsigned long>(c == L'/' ? L'\\' : c));
    }
    return L"Velmora daily start " + Hex(hash.Value());
}

bool TaskCanStart(const std::wstring& path)
{
    const bool drive = path.size() > 3 && path[1] == L':' && IsSeparator(path[2]) &&
        ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
    const bool server = path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
    if (!(drive || server) || IsSeparator(path.back()))
        return false;
    return XmlCanCarry(path, false);
}

std::optional<std::wstring> TaskXml(const std::wstring& user, const std::wstring& programPath, const SYSTEMTIME& first)
{
    if (!TaskCanStart(programPath) || !IsValidLocalTime(first) || first.wYear > 9999 || !XmlCanCarry(user, true))
        return std::nullopt;
    return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           L"  <RegistrationInfo>\r\n"
           L"    <Description>Starts Velmora on the day's reading every morning.</Description>\r\n"
           L"  </RegistrationInfo>\r\n" +
        TriggersXml(first) + PrincipalsXml(user) + kSettingsXml + ActionsXml(programPath) + L"</Task>\r\n";
}
