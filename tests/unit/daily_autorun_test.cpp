// SPDX-License-Identifier: MIT
#include "service_doubles.h"
#include "settings/daily_autorun.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

void ExpectDate(const SYSTEMTIME& t, int year, int month, int day)
{
    EXPECT_EQ(t.wYear, year);
    EXPECT_EQ(t.wMonth, month);
    EXPECT_EQ(t.wDay, day);
}

TEST(NextRunTime, TodayUntilTheTimeIsReachedThenTomorrow)
{
    const SYSTEMTIME daily = At(2020, 1, 1, 8, 0);
    ExpectDate(NextRunTime(At(2026, 12, 7, 7, 30), daily), 2026, 12, 7);
    ExpectDate(NextRunTime(At(2026, 12, 7, 7, 59, 59), daily), 2026, 12, 7);
    ExpectDate(NextRunTime(At(2026, 12, 7, 8, 0), daily), 2026, 12, 8);
    ExpectDate(NextRunTime(At(2026, 12, 7, 8, 0, 59), daily), 2026, 12, 8);
    ExpectDate(NextRunTime(At(2026, 12, 7, 9, 15), daily), 2026, 12, 8);
    ExpectDate(NextRunTime(At(2026, 12, 7, 23, 59), At(2020, 1, 1, 0, 0)), 2026, 12, 8);
    // Minutes count within the hour, whatever the seconds say.
    const SYSTEMTIME next = NextRunTime(At(2026, 12, 7, 6, 29, 59), At(2020, 1, 1, 6, 30, 45));
    ExpectDate(next, 2026, 12, 7);
    EXPECT_EQ(next.wHour, 6);
    EXPECT_EQ(next.wMinute, 30);
    EXPECT_EQ(next.wSecond, 45) << "the time of day comes from the record";
}

TEST(NextRunTime, MonthAndYearEnds)
{
    const SYSTEMTIME daily = At(2020, 1, 1, 8, 0);
    ExpectDate(NextRunTime(At(2026, 12, 31, 9, 0), daily), 2027, 1, 1);
    ExpectDate(NextRunTime(At(2026, 4, 30, 9, 0), daily), 2026, 5, 1);
    ExpectDate(NextRunTime(At(2026, 1, 31, 9, 0), daily), 2026, 2, 1);
    ExpectDate(NextRunTime(At(2026, 2, 28, 9, 0), daily), 2026, 3, 1);
    ExpectDate(NextRunTime(At(2008, 2, 28, 9, 0), daily), 2008, 2, 29);
    ExpectDate(NextRunTime(At(2008, 2, 29, 9, 0), daily), 2008, 3, 1);
    ExpectDate(NextRunTime(At(2100, 2, 28, 9, 0), daily), 2100, 3, 1);
    ExpectDate(NextRunTime(At(2000, 2, 28, 9, 0), daily), 2000, 3, 1);
}

TEST(NextRunTime, DayOfWeekFollowsTheDate)
{
    SYSTEMTIME now = At(2026, 12, 5, 9, 0);
    now.wDayOfWeek = 6; // Saturday
    EXPECT_EQ(NextRunTime(now, At(2020, 1, 1, 8, 0)).wDayOfWeek, 0);
    EXPECT_EQ(NextRunTime(now, At(2020, 1, 1, 10, 0)).wDayOfWeek, 6);
}

TEST(NextRunNotice, ExactText)
{
    EXPECT_EQ(NextRunNotice(At(2026, 12, 7, 8, 5)), L"TALVIK will next run on 7 of Dec, 2026 at 8:05");
    EXPECT_EQ(NextRunNotice(At(2027, 1, 1, 0, 0)), L"TALVIK will next run on 1 of Jan, 2027 at 0:00");
    EXPECT_EQ(NextRunNotice(At(2026, 5, 31, 23, 59)), L"TALVIK will next run on 31 of May, 2026 at 23:59");
}

class ScheduleNextRunTest : public ::testing::Test
{
protected:
    TempDir m_dir;
    FakeServices m_services{m_dir.Path().string()};
};

TEST_F(ScheduleNextRunTest, NoticeBeforeBookingOnlyWhenAsked)
{
    m_services.now = At(2026, 12, 6, 7, 0);
    SYSTEMTIME time = At(2026, 1, 1, 6, 30);
    ScheduleNextRun(TRUE, time, TRUE);
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].text, L"TALVIK will next run on 7 of Dec, 2026 at 6:30");
    EXPECT_EQ(m_services.messages[0].caption, L"Autorun");
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"message", L"book"}));
    ASSERT_EQ(m_services.bookings.size(), 1u);
    EXPECT_EQ(m_services.bookings[0].app, m_services.ExePath());
    ASSERT_TRUE(m_services.bookings[0].time);
    ExpectDate(*m_services.bookings[0].time, 2026, 12, 7);
    ExpectDate(time, 2026, 12, 7);

    ScheduleNextRun(TRUE, time, FALSE);
    EXPECT_EQ(m_services.messages.size(), 1u) << "no notice at start-up";
    EXPECT_EQ(m_services.bookings.size(), 2u);
}

TEST_F(ScheduleNextRunTest, NoticeSaysWhyNothingCanBeBooked)
{
    m_services.now = At(2026, 12, 6, 7, 0);
    SYSTEMTIME time = At(2026, 1, 1, 6, 30);
    GetServices().whyCannotRunAppAtTime = [](const std::wstring& app) { return L"other users can change " + app; };
    ScheduleNextRun(TRUE, time, TRUE);
    ASSERT_EQ(m_services.messages.size(), 1u);
    EXPECT_EQ(m_services.messages[0].text, L"TALVIK cannot run daily: other users can change " + m_services.ExePath());
    EXPECT_EQ(m_services.messages[0].caption, L"Autorun");
}

TEST_F(ScheduleNextRunTest, AutorunOffRemovesTheStartSilently)
{
    SYSTEMTIME time = At(2025, 3, 4, 6, 30);
    for (BOOL notify : {TRUE, FALSE})
        ScheduleNextRun(FALSE, time, notify);
    EXPECT_TRUE(m_services.messages.empty());
    ASSERT_EQ(m_services.bookings.size(), 2u);
    EXPECT_FALSE(m_services.bookings[1].time);
    ExpectDate(time, 2025, 3, 4);
}

TEST_F(ScheduleNextRunTest, TypicalDayBooksTheNextMorning)
{
    // Started by the scheduler at 08:00 on 7 December: books 8 December.
    m_services.now = At(2026, 12, 7, 8, 0, 2);
    SYSTEMTIME time = At(2026, 12, 7, 8, 0);
    ScheduleNextRun(TRUE, time, FALSE);
    ASSERT_TRUE(m_services.bookings.back().time);
    const SYSTEMTIME t = *m_services.bookings.back().time;
    ExpectDate(t, 2026, 12, 8);
    EXPECT_EQ(t.wHour, 8);
    EXPECT_EQ(t.wMinute, 0);
}

} // namespace
