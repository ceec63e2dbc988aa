// SPDX-License-Identifier: MIT
#include "settings/settings_record.h"

namespace {

void Put(unsigned char* at, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t Get(const unsigned char* at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | at[i];
    return value;
}

} // namespace

std::array<unsigned char, kSettingsRecordSize> EncodeSettingsRecord(const SettingsRecord& record)
{
    std::array<unsigned char, kSettingsRecordSize> bytes{};
    Put(&bytes[0], static_cast<std::uint32_t>(record.chime), 4);
    Put(&bytes[4], static_cast<std::uint32_t>(record.autorun), 4);
    const SYSTEMTIME& t = record.time;
    const std::uint16_t fields[8] = {
        t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
    for (int i = 0; i < 8; ++i)
        Put(&bytes[8 + 2 * i], fields[i], 2);
    return bytes;
}

SettingsRecord DecodeSettingsRecord(const unsigned char* bytes)
{
    std::uint16_t f[8];
    for (int i = 0; i < 8; ++i)
        f[i] = static_cast<std::uint16_t>(Get(bytes + 8 + 2 * i, 2));
    return SettingsRecord{
        static_cast<BOOL>(Get(bytes, 4)),
        static_cast<BOOL>(Get(bytes + 4, 4)),
        SYSTEMTIME{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]},
    };
}
