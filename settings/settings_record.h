// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <array>
#include <cstdint>

// The whole content of "orv.dat": 24 bytes, little-endian, no header.
struct SettingsRecord
{
    BOOL chime; // offset 0
    BOOL autorun; // offset 4
    SYSTEMTIME time; // offsets 8 ... 23; the next start's date when autorun was on
};

constexpr std::size_t kSettingsRecordSize = 24;

std::array<unsigned char, kSettingsRecordSize> EncodeSettingsRecord(const SettingsRecord& record);
SettingsRecord DecodeSettingsRecord(const unsigned char* bytes);
