// SPDX-License-Identifier: MIT
#pragma once

#include "platform/point_in_time.h"
#include "settings/settings_record.h"

#include <string>

// The program's switches and daily start time, kept in "orv.dat" (see
// SettingsFilePath). m_bAutoRun, m_bChime and m_time are what the settings
// window shows and edits, and the start-up tasks go by; m_record is the
// file's image, filled from them when the settings are confirmed, whose date
// becomes that of the next start when ScheduleNextRun books one. The settings
// window borrows a state for one use; the start-up tasks use one without it.
class SettingsState
{
public:
    // Loads "orv.dat": TRUE when the settings came from it, FALSE when the
    // first-run defaults were set (chime on, autorun off, 08:00 today).
    BOOL LoadSettings();
    // Saves m_record. A failure leaves the old file as it was; what the user
    // is told of it is returned, naming the file and the reason, and is empty
    // when the settings were saved.
    std::wstring WriteSettingsFile();
    // Books the next daily start with the operating system (autorun on) or
    // removes it (off); with bNotify, first tells the user when it will be,
    // in a message box owned by `hNoticeOwner` (the main window when nullptr).
    void ScheduleNextRun(BOOL bNotify, HWND hNoticeOwner = nullptr);

    BOOL m_bAutoRun = 0;
    BOOL m_bChime = 0;
    CTime m_time;
    SettingsRecord m_record{};
};

// The date of the next daily start at `daily`'s hour and minute, seen from
// `now`: today when that time has not been reached yet, else tomorrow.
// Only the date fields and the day of week of the result are set from `now`;
// its time of day is `daily`'s.
SYSTEMTIME NextRunTime(const SYSTEMTIME& now, const SYSTEMTIME& daily);

// The "Autorun" notice for a next start.
std::wstring NextRunNotice(const SYSTEMTIME& next);

// Where the settings are saved: "orv.dat" beside the program when its folder
// is known, can be written and is the user's alone, else in the user's own
// folder, velmora/orv.dat under UserConfigFolder(), so that each user of a
// shared installation keeps their own settings; empty when neither is known.
// They are read from there when there is a file, else from the other place,
// unless that is a folder others can write.
std::wstring SettingsFilePath();
