// SPDX-License-Identifier: MIT
#include "service_doubles.h"
#include "settings/settings_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// chime 0, autorun 1, 2026-12-08 (Tuesday) 06:30:00.000
const std::string kRecord("\0\0\0\0\1\0\0\0\xEA\x07\x0C\0\2\0\x08\0\6\0\x1E\0\0\0\0\0", 24);

TEST(SettingsRecord, LayoutIsLittleEndianAndExact)
{
    const SettingsRecord record = DecodeSettingsRecord(reinterpret_cast<const unsigned char*>(kRecord.data()));
    EXPECT_EQ(record.chime, 0);
    EXPECT_EQ(record.autorun, 1);
    EXPECT_EQ(DateTimeText(record.time), "2026-12-08 06:30:00.000");
    EXPECT_EQ(record.time.wDayOfWeek, 2);
    const auto bytes = EncodeSettingsRecord(record);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), kRecord);
}

} // namespace
