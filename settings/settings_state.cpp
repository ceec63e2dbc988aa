#include "settings/settings_state.h"
#include "platform/binary_file.h"
#include "platform/program_dir.h"
#include "platform/services.h"

BOOL SettingsState::LoadSettings()
{
    CFile file;
    if (file.Open(SettingsFilePath(), CFile::modeRead) && file.GetLength() != 0) {
        // A file shorter than a record, or one whose date-time cannot be a
        // real local time, is treated as missing rather than half-read.
        unsigned char bytes[k_settingsRecordSize];
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
    ReplaceFileContent(SettingsFilePath(), bytes.data(), bytes.size());
}

std::wstring SettingsFilePath()
{
    return g_strProgramDir + L"orv.dat";
}
