// SPDX-License-Identifier: MIT
#include "settings/daily_autorun.h"
#include "platform/daily_start/daily_start.h"
#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "reading/calendar_rules.h"

#include <cwchar>
#include <iterator>

SYSTEMTIME NextRunTime(const SYSTEMTIME& now, const SYSTEMTIME& daily)
{
    SYSTEMTIME next = daily;
    next.wYear = now.wYear;
    next.wMonth = now.wMonth;
    next.wDayOfWeek = now.wDayOfWeek;
    next.wDay = now.wDay;
    // Seconds play no part: a start at 08:00:30 still books the next day.
    const bool reached = now.wHour > daily.wHour || (now.wHour == daily.wHour && now.wMinute >= daily.wMinute);
    if (!reached)
        return next;
    next.wDay = now.wDay + 1;
    next.wDayOfWeek = (now.wDayOfWeek + 1) % 7;
    const bool leapDay = IsLeapYear(next.wYear) && next.wMonth == 2 && next.wDay == 29;
    if (next.wMonth >= 1 && next.wMonth <= 12 && next.wDay > kDaysPerMonth[next.wMonth - 1] && !leapDay) {
        next.wDay = 1;
        if (++next.wMonth > 12) {
            next.wMonth = 1;
            ++next.wYear;
        }
    }
    return next;
}

std::wstring NextRunNotice(const SYSTEMTIME& next)
{
    static const std::wstring kMonths[12] = {
        L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun", L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    const std::wstring& month = next.wMonth >= 1 && next.wMonth <= 12 ? kMonths[next.wMonth - 1] : L"";
    // Room for every value the fields can hold.
    wchar_t text[96];
    std::swprintf(text, std::size(text), L"TALVIK will next run on %d of %ls, %d at %d:%02d", next.wDay, month.c_str(),
        next.wYear, next.wHour, next.wMinute);
    return text;
}

void ScheduleNextRun(BOOL bAutoRun, SYSTEMTIME& time, BOOL bNotify, HWND hNoticeOwner)
{
    const std::wstring& exePath = ProgramPath();
    if (!bAutoRun) {
        CeRunAppAtTime(exePath, std::nullopt);
        return;
    }
    time = NextRunTime(GetLocalTime(), time);
    if (bNotify) {
        // The notice names a next run only when one can be booked; the
        // scheduler itself refuses the booking then.
        const std::wstring why = WhyCannotRunAppAtTime(exePath);
        MessageBox(hNoticeOwner, why.empty() ? NextRunNotice(time) : L"TALVIK cannot run daily: " + why, L"Autorun");
    }
    CeRunAppAtTime(exePath, time);
}
