// SPDX-License-Identifier: MIT
#include "fuzz_support.h"
#include "platform/system/point_in_time.h"
#include "service_doubles.h"
#include "settings/daily_autorun.h"
#include "settings/settings_state.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Any bytes as "orv.dat". A file is either taken whole, with a real date and
// time, or replaced by the first-run defaults; either way the next start can
// be booked and announced.

namespace {

struct Fixture
{
    TempDir dir;
    FakeServices services{dir.Path().string()};
};

Fixture& Get()
{
    static Fixture fixture;
    return fixture;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Fixture& f = Get();
    const std::string file(reinterpret_cast<const char*>(data), size);
    f.dir.Write("orv.dat", file);
    f.services.bookings.clear();
    f.services.messages.clear();

    SettingsState state;
    if (state.LoadSettings()) {
        // Saved again unchanged, the file holds exactly the record it gave.
        FuzzCheck(size >= kSettingsRecordSize && IsValidLocalTime(state.m_stored.time));
        state.WriteSettingsFile();
        FuzzCheck(f.dir.Read("orv.dat") == file.substr(0, kSettingsRecordSize));
    } else {
        FuzzCheck(state.m_edited.m_bChime == 1 && state.m_edited.m_bAutoRun == 0);
        const SYSTEMTIME t = state.m_edited.m_time.GetAsSystemTime();
        FuzzCheck(t.wDay == f.services.now.wDay && t.wHour == 8 && t.wMinute == 0);
    }

    ScheduleNextRun(state.m_edited.m_bAutoRun, state.m_stored.time, TRUE);
    FuzzCheck(f.services.bookings.size() == 1);
    const auto& booked = f.services.bookings[0].time;
    if (state.m_edited.m_bAutoRun)
        FuzzCheck(booked && IsValidLocalTime(*booked) && f.services.messages.size() == 1);
    else
        FuzzCheck(!booked && f.services.messages.empty());
    return 0;
}
