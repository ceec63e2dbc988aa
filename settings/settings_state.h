// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/point_in_time.h"
#include "settings/settings_record.h"

#include <string>

// The switches and the daily start time as the settings window shows and
// edits them, and as the start-up tasks go by them.
struct SettingsEdits
{
    BOOL m_bAutoRun = 0;
    BOOL m_bChime = 0;
    CTime m_time;
};

// The program's settings: what the user edits, and the record kept in
// "orv.dat" (see SettingsFilePath). The two meet only when the settings are
// confirmed. The settings window borrows a state for one use; the start-up
// tasks use one without it.
class SettingsState
{
public:
    // Loads "orv.dat" into both: TRUE when the settings came from it, FALSE
    // when the first-run defaults were set (chime on, autorun off, 08:00
    // today).
    BOOL LoadSettings();
    // OK in the settings window: the stored record takes the edits, the next
    // start is booked (or removed) and announced in a message box owned by
    // `hNoticeOwner`, and the record is saved. Settings that cannot be saved
    // would bring the window back at every start with no word why: the user
    // is told once, in a message box "Settings not saved", and where.
    void Confirm(HWND hNoticeOwner);
    // Saves m_stored. A failure leaves the old file as it was; what the user
    // is told of it is returned, naming the file and the reason, and is empty
    // when the settings were saved.
    std::wstring WriteSettingsFile();

    SettingsEdits m_edited;
    // The image of "orv.dat", filled from m_edited by Confirm alone. Until
    // then its time of day is the one loaded (or the default 08:00): a first
    // run cancelled after "AutoRun daily at" was checked, which copies the
    // window's switches into m_edited, books that time, not the window's.
    SettingsRecord m_stored{};
};

// Where the settings are saved: "orv.dat" beside the program when its folder
// is known, can be written and is the user's alone, else in the user's own
// folder, velmora/orv.dat under UserConfigFolder(), so that each user of a
// shared installation keeps their own settings; empty when neither is known.
// They are read from there when there is a file, else from the other place,
// unless that is a folder others can write.
std::wstring SettingsFilePath();

// The caption of the message that tells why the settings were not saved.
extern const wchar_t* const kNotSavedCaption;
