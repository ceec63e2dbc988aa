// SPDX-License-Identifier: MIT
#include "platform/point_in_time.h"
#include "service_doubles.h"
#include "settings/settings_state.h"
#include "temp_dir.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

void Check(bool condition)
{
    if (!condition)
        std::abort();
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
        Check(size >= kSettingsRecordSize && IsValidLocalTime(state.m_record.time));
        state.WriteSettingsFile();
        Check(f.dir.Read("orv.dat") == file.substr(0, kSettingsRecordSize));
    } else {
        Check(state.m_bChime == 1 && state.m_bAutoRun == 0);
        const SYSTEMTIME t = state.m_time.GetAsSystemTime();
        Check(t.wDay == f.services.now.wDay && t.wHour == 8 && t.wMinute == 0);
    }

    state.ScheduleNextRun(TRUE);
    Check(f.services.bookings.size() == 1);
    const auto& booked = f.services.bookings[0].time;
    if (state.m_bAutoRun)
        Check(booked && IsValidLocalTime(*booked) && f.services.messages.size() == 1);
    else
        Check(!booked && f.services.messages.empty());
    return 0;
}
