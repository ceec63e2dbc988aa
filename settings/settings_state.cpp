// SPDX-License-Identifier: MIT
#include "settings/settings_state.h"
#include "platform/system/binary_file.h"
#include "platform/system/error_text.h"
#include "platform/system/folders.h"
#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "settings/daily_autorun.h"
#include "text/utf8_path.h"

#include <cstring>

const wchar_t* const kNotSavedCaption = L"Settings not saved";

namespace {

const wchar_t* const kSettingsFileName = L"orv.dat";

// The user's own copy, for a program whose folder they cannot write, such as
// one installed for the whole system.
std::wstring UserSettingsPath()
{
    const std::wstring folder = UserConfigFolder();
    return folder.empty() ? std::wstring() : folder + kProgramConfigFolder + kSettingsFileName;
}

std::wstring BesideProgramPath()
{
    return ProgramFilePath(kSettingsFileName);
}

// Whether the settings belong beside the program: its folder is known, can
// be written, and is the user's alone. In a folder that others can write, one
// of them could put a link there leading to a file of the user's, which the
// next save would overwrite.
bool KeptBesideProgram()
{
    return !BesideProgramPath().empty() && IsFolderWritable(g_strProgramDir) && IsFolderPrivate(g_strProgramDir);
}

// Opens the settings where they are saved when there is a file there, else
// in the other place: a copy beside a read-only program thus serves its users
// until each saves their own. A copy in a folder that others can write is
// theirs, not the user's, and is never read.
bool OpenSettingsFile(CFile& file)
{
    const std::wstring saved = SettingsFilePath();
    if (!saved.empty() && file.Open(saved, CFile::modeRead))
        return true;
    if (saved == BesideProgramPath())
        return !UserSettingsPath().empty() && file.Open(UserSettingsPath(), CFile::modeRead);
    return !g_strProgramDir.empty() && IsFolderPrivate(g_strProgramDir) &&
        file.Open(BesideProgramPath(), CFile::modeRead);
}

std::wstring SystemReason()
{
    return FromNativePath(LastErrorText());
}

} // namespace

BOOL SettingsState::LoadSettings()
{
    CFile file;
    if (OpenSettingsFile(file) && file.GetLength() != 0) {
        // A file shorter than a record, or one whose date-time cannot be a
        // real local time, is treated as missing rather than half-read.
        unsigned char bytes[kSettingsRecordSize];
        if (file.Read(bytes, sizeof bytes) == sizeof bytes) {
            const SettingsRecord record = DecodeSettingsRecord(bytes);
            if (IsValidLocalTime(record.time)) {
                m_stored = record;
                m_edited.m_bChime = m_stored.chime;
                m_edited.m_bAutoRun = m_stored.autorun;
                m_edited.m_time = CTime(m_stored.time);
                return TRUE;
            }
        }
    }
    m_edited.m_bAutoRun = 0;
    m_edited.m_bChime = 1;
    const SYSTEMTIME now = GetLocalTime();
    m_stored.time = SYSTEMTIME{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, 8, 0, 0, 0};
    m_edited.m_time = CTime(m_stored.time);
    return FALSE;
}

void SettingsState::Confirm(HWND hNoticeOwner)
{
    m_stored.chime = m_edited.m_bChime;
    m_stored.autorun = m_edited.m_bAutoRun;
    m_stored.time = m_edited.m_time.GetAsSystemTime();
    ScheduleNextRun(m_stored.autorun, m_stored.time, TRUE, hNoticeOwner);
    const std::wstring failure = WriteSettingsFile();
    if (!failure.empty())
        MessageBox(hNoticeOwner, failure, kNotSavedCaption);
}

std::wstring SettingsState::WriteSettingsFile()
{
    const auto bytes = EncodeSettingsRecord(m_stored);
    const std::wstring path = SettingsFilePath();
    if (path.empty())
        return L"The settings could not be saved: the program's folder is not yours alone, and no folder of your "
               L"own is known (" +
            WhyNoUserConfigFolder() + L").";
    std::wstring reason;
    // The program's own folder is there; the user's may not be yet, and one
    // that another user made or can write is not the user's own.
    if (path != BesideProgramPath()) {
        const std::wstring folder = ProgramDirOf(path);
        if (!CreateFolders(folder))
            reason = SystemReason();
        else if (!IsFolderPrivate(folder))
            reason = L"the folder belongs to another user, or other users can write to it";
    }
    if (reason.empty() && !ReplaceFileContent(path, bytes.data(), bytes.size()))
        reason = SystemReason();
    return reason.empty() ? reason : L"The settings could not be saved in \"" + path + L"\": " + reason + L".";
}

std::wstring SettingsFilePath()
{
    return KeptBesideProgram() ? BesideProgramPath() : UserSettingsPath();
}
