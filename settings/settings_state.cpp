// SPDX-License-Identifier: MIT
#include "settings/settings_state.h"
#include "platform/binary_file.h"
#include "platform/folders.h"
#include "platform/program_dir.h"
#include "platform/services.h"

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
    return g_strProgramDir + kSettingsFileName;
}

// Opens the settings where they are saved when there is a file there, else
// in the other place: a copy beside a read-only program thus serves its users
// until each saves their own.
bool OpenSettingsFile(CFile& file)
{
    const std::wstring saved = SettingsFilePath();
    if (file.Open(saved, CFile::modeRead))
        return true;
    const std::wstring other = saved == BesideProgramPath() ? UserSettingsPath() : BesideProgramPath();
    return !other.empty() && file.Open(other, CFile::modeRead);
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
                m_record = record;
                m_bChime = m_record.chime;
                m_bAutoRun = m_record.autorun;
                m_time = CTime(m_record.time);
                return TRUE;
            }
        }
    }
    m_bAutoRun = 0;
    m_bChime = 1;
    const SYSTEMTIME now = GetLocalTime();
    m_record.time = SYSTEMTIME{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, 8, 0, 0, 0};
    m_time = CTime(m_record.time);
    return FALSE;
}

void SettingsState::WriteSettingsFile()
{
    const auto bytes = EncodeSettingsRecord(m_record);
    const std::wstring path = SettingsFilePath();
    // The program's own folder is there; the user's may not be yet.
    if (path != BesideProgramPath())
        CreateFolders(ProgramDirOf(path));
    ReplaceFileContent(path, bytes.data(), bytes.size());
}

std::wstring SettingsFilePath()
{
    const std::wstring user = UserSettingsPath();
    return IsFolderWritable(g_strProgramDir) || user.empty() ? BesideProgramPath() : user;
}
