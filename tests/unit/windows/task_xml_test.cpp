// SPDX-License-Identifier: MIT
#include "platform/daily_start/task_scheduler/task_xml.h"
#include "service_doubles.h"
#include "shell.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

// `text` as UTF-16LE with a byte-order mark, as the scheduler receives it.
std::string Utf16(const std::wstring& text)
{
    std::string out = "\xFF\xFE";
    const auto unit = [&out](unsigned long u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (const wchar_t c : text) {
        const auto cp = static_cast<unsigned long>(c);
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

// What an XML parser reads from the task at `xpath` (local names only, as
// the task's elements are in the scheduler's namespace); fails the test when
// the text is not well-formed XML.
class ParsedTask
{
public:
    explicit ParsedTask(const std::wstring& xml)
    {
        std::ofstream(m_dir / "task.xml", std::ios::binary) << Utf16(xml);
        const auto [status, out] = Shell("xmllint --noout " + ShellQuoted((m_dir / "task.xml").native()));
        EXPECT_EQ(status, 0) << out;
    }

    std::string Text(const std::string& path) const
    {
        std::string xpath;
        for (std::size_t start = 0; start < path.size();) {
            std::size_t end = path.find('/', start);
            end = end == std::string::npos ? path.size() : end;
            xpath += "/*[local-name()='" + path.substr(start, end - start) + "']";
            start = end + 1;
        }
        std::string text = Shell("xmllint --xpath " + ShellQuoted("string(" + xpath + ")") + " " +
            ShellQuoted((m_dir / "task.xml").native()))
                               .second;
        if (!text.empty() && text.back() == '\n')
            text.pop_back(); // xmllint ends what it prints with a line break
        return text;
    }

private:
    TempDir m_dir;
};

TEST(TaskXmlTest, AnAwkwardPathIsCarriedExactly)
{
    struct Case
    {
        std::wstring path;
        std::string command; // as the parser reads it back, in UTF-8
        std::string folder;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Velmora\\talvik.exe", "C:\\Program Files\\Velmora\\talvik.exe",
            "C:\\Program Files\\Velmora"},
        {L"D:\\Tom & Jerry's <\"best\">\\talvik.exe", "D:\\Tom & Jerry's <\"best\">\\talvik.exe",
            "D:\\Tom & Jerry's <\"best\">"},
        {L"C:\\talvik.exe", "C:\\talvik.exe", "C:\\"},
        {L"\\\\server\\share\\Vel\u00E9\u6F22\U0001F600\\talvik.exe",
            "\\\\server\\share\\Vel\u00E9\u6F22\U0001F600\\talvik.exe", "\\\\server\\share\\Vel\u00E9\u6F22\U0001F600"},
    };
    for (const Case& c : cases) {
        const auto xml = TaskXml(L"S-1-5-21-1-2-3-1001", c.path, At(2026, 12, 7, 8, 5, 9));
        ASSERT_TRUE(xml) << c.command;
        const ParsedTask task(*xml);
        EXPECT_EQ(task.Text("Task/Actions/Exec/Command"), c.command);
        EXPECT_EQ(task.Text("Task/Actions/Exec/WorkingDirectory"), c.folder);
    }
}

TEST(TaskXmlTest, StartsDailyWakingTheMachineAndCatchingUp)
{
    const ParsedTask task(*TaskXml(L"S-1-5-21-1-2-3-1001", L"C:\\V\\talvik.exe", At(2031, 2, 3, 4, 5, 6)));
    const std::pair<std::string, std::string> expected[] = {
        {"Task/Triggers/CalendarTrigger/StartBoundary", "2031-02-03T04:05:06"},
        {"Task/Triggers/CalendarTrigger/ScheduleByDay/DaysInterval", "1"},
        {"Task/Principals/Principal/UserId", "S-1-5-21-1-2-3-1001"},
        {"Task/Principals/Principal/LogonType", "InteractiveToken"},
        {"Task/Settings/WakeToRun", "true"},
        {"Task/Settings/StartWhenAvailable", "true"},
        {"Task/Settings/MultipleInstancesPolicy", "IgnoreNew"},
        {"Task/Settings/ExecutionTimeLimit", "PT0S"},
        {"Task/Settings/DisallowStartIfOnBatteries", "false"},
        {"Task/Settings/StopIfGoingOnBatteries", "false"},
    };
    for (const auto& [path, value] : expected)
        EXPECT_EQ(task.Text(path), value) << path;
}

TEST(TaskXmlTest, RefusesWhatTheSchedulerCannotStart)
{
    const SYSTEMTIME time = At(2026, 12, 7, 8, 0);
    for (const std::wstring& path :
        std::initializer_list<std::wstring>{L"", L"talvik.exe", L"C:talvik.exe", L"\\talvik.exe", L"C:\\Velmora\\",
            L"C:\\a\tb\\talvik.exe", L"C:\\bad\xFFFE\\talvik.exe", std::wstring(L"C:\\half") + wchar_t(0xD800) + L"x"})
        EXPECT_FALSE(TaskXml(L"", path, time)) << path.size();
    EXPECT_FALSE(TaskXml(L"", L"C:\\V\\talvik.exe", At(2026, 2, 30, 8, 0)));
    EXPECT_FALSE(TaskXml(L"", L"C:\\V\\talvik.exe", At(10000, 1, 1, 8, 0)));
    EXPECT_TRUE(TaskXml(L"", L"C:\\V\\talvik.exe", At(9999, 12, 31, 23, 59)));
}

TEST(TaskXmlTest, OneNamePerUserAndProgram)
{
    const std::wstring name = TaskName(L"S-1-5-21-1", L"C:\\Program Files\\Velmora\\talvik.exe");
    EXPECT_EQ(name, TaskName(L"S-1-5-21-1", L"c:/program files/VELMORA/TALVIK.EXE"));
    EXPECT_NE(name, TaskName(L"S-1-5-21-2", L"C:\\Program Files\\Velmora\\talvik.exe"));
    EXPECT_EQ(name.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << "a task name takes none of these";
    std::set<std::wstring> names;
    for (int i = 0; i < 10000; ++i)
        names.insert(TaskName(L"S-1-5-21-1", L"C:\\v" + std::to_wstring(i) + L"\\talvik.exe"));
    EXPECT_EQ(names.size(), 10000u);
}

} // namespace
