// SPDX-License-Identifier: MIT
#include "access_list.h"
#include "platform/daily_start/daily_start.h"
#include "platform/daily_start/task_scheduler/task_service.h"
#include "platform/daily_start/task_scheduler/task_xml.h"
#include "service_doubles.h"
#include "temp_dir.h"
#include "text/wide_string.h"

#include <gtest/gtest.h>

#include <oleauto.h>
#include <optional>
#include <taskschd.h>

namespace {

// The registered task `name` as the Task Scheduler writes it back; nullopt
// when there is none.
std::optional<std::wstring> RegisteredXml(const std::wstring& name)
{
    ITaskService* service = nullptr;
    if (FAILED(::CoCreateInstance(
            CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService, reinterpret_cast<void**>(&service))))
        return std::nullopt;
    VARIANT none;
    ::VariantInit(&none);
    std::optional<std::wstring> xml;
    ITaskFolder* folder = nullptr;
    BSTR root = ::SysAllocString(L"\\");
    BSTR bName = ::SysAllocString(name.c_str());
    IRegisteredTask* task = nullptr;
    ITaskDefinition* definition = nullptr;
    BSTR text = nullptr;
    if (SUCCEEDED(service->Connect(none, none, none, none)) && SUCCEEDED(service->GetFolder(root, &folder)) &&
        SUCCEEDED(folder->GetTask(bName, &task)) && SUCCEEDED(task->get_Definition(&definition)) &&
        SUCCEEDED(definition->get_XmlText(&text)))
        xml = std::wstring(text, ::SysStringLen(text));
    ::SysFreeString(text);
    if (definition)
        definition->Release();
    if (task)
        task->Release();
    if (folder)
        folder->Release();
    ::SysFreeString(bName);
    ::SysFreeString(root);
    service->Release();
    return xml;
}

bool Holds(const std::optional<std::wstring>& xml, const std::wstring& element)
{
    return xml && xml->find(element) != std::wstring::npos;
}

class TaskSchedulerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(m_dir / "Velmora");
        m_dir.Write("Velmora/talvik.exe", "");
    }

    // A program of this test's own, so that runs side by side never share a
    // task.
    TempDir m_dir;
    const std::wstring m_app = (m_dir / "Velmora" / "talvik.exe").wstring();
    ComApartment m_com;
    std::wstring m_name = TaskName(CurrentUserSid(), m_app);

    void TearDown() override { SystemScheduler().Remove(m_app); }
};

TEST_F(TaskSchedulerTest, OneTaskPerProgramThatWakesAndCatchesUp)
{
    ASSERT_EQ(m_com.Failure(), "");
    ASSERT_EQ(SystemScheduler().Schedule(m_app, At(2031, 2, 3, 4, 5)), "");
    // A second booking replaces the first rather than failing on its name.
    ASSERT_EQ(SystemScheduler().Schedule(m_app, At(2031, 2, 4, 6, 30)), "");
    const std::optional<std::wstring> xml = RegisteredXml(m_name);
    ASSERT_TRUE(xml) << "no task " << ToUtf8(m_name);
    for (const wchar_t* element : {L"<WakeToRun>true</WakeToRun>", L"<StartWhenAvailable>true</StartWhenAvailable>",
             L"<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>",
             L"<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>"})
        EXPECT_TRUE(Holds(xml, element)) << ToUtf8(element) << "\n" << ToUtf8(*xml);

    EXPECT_EQ(SystemScheduler().Remove(m_app).failure, "");
    EXPECT_FALSE(RegisteredXml(m_name));
}

TEST_F(TaskSchedulerTest, TheBackgroundBookingIsDoneOnceWaitedFor)
{
    RunAppAtTimeInBackground(m_app, At(2031, 2, 3, 4, 5));
    ASSERT_TRUE(FinishBackgroundWork(std::chrono::seconds(30)));
    EXPECT_TRUE(RegisteredXml(m_name));
    RunAppAtTimeInBackground(m_app, std::nullopt);
    ASSERT_TRUE(FinishBackgroundWork(std::chrono::seconds(30)));
    EXPECT_FALSE(RegisteredXml(m_name));
}

// Windows would run whatever stands at the program's path with the user's
// rights: a program that others could replace is refused, and its task
// removed.
TEST_F(TaskSchedulerTest, AProgramOthersCouldReplaceLosesItsTask)
{
    ASSERT_EQ(SystemScheduler().Schedule(m_app, At(2031, 2, 3, 4, 5)), "");
    const std::wstring folder = (m_dir / "Velmora").wstring();
    ASSERT_TRUE(SetAccessList(folder, L"D:(A;OICI;FA;;;ME)(A;OICI;0x1301bf;;;WD)"));
    EXPECT_EQ(SystemScheduler().WhyNot(m_app),
        L"other users can change " + folder + L", so another user could replace the program");
    EXPECT_EQ(SystemScheduler().Schedule(m_app, At(2031, 2, 3, 4, 5)), "other users can change " + ToUtf8(folder));
    EXPECT_FALSE(RegisteredXml(m_name));
}

// Earlier versions named a task after the path as it was spelt: booking or
// removing through that spelling takes its task away, so that the program
// never starts twice a day.
TEST_F(TaskSchedulerTest, ATaskBookedUnderAnotherSpellingGoes)
{
    const std::wstring spelt = (m_dir / "Velmora" / ".." / "Velmora" / "talvik.exe").wstring();
    const std::wstring earlier = TaskName(CurrentUserSid(), spelt);
    const std::optional<std::wstring> xml = TaskXml(CurrentUserSid(), spelt, At(2031, 2, 3, 4, 5));
    ASSERT_NE(earlier, m_name);
    ASSERT_TRUE(xml);
    for (const bool bRemove : {false, true}) {
        ASSERT_EQ(RegisterTask(earlier, *xml), "");
        if (bRemove)
            EXPECT_TRUE(SystemScheduler().Remove(spelt).bWasScheduled);
        else
            EXPECT_EQ(SystemScheduler().Schedule(spelt, At(2031, 2, 3, 4, 5)), "");
        EXPECT_FALSE(RegisteredXml(earlier)) << "removing: " << bRemove;
        EXPECT_EQ(RegisteredXml(m_name).has_value(), !bRemove);
    }
}

TEST_F(TaskSchedulerTest, ADateTheSchedulerCannotTakeSaysWhy)
{
    EXPECT_NE(SystemScheduler().Schedule(m_app, At(2031, 2, 30, 4, 5)), "");
    EXPECT_FALSE(RegisteredXml(m_name));
}

} // namespace
