// SPDX-License-Identifier: MIT
#include "platform/daily_start/daily_start.h"
#include "platform/daily_start/replaceable_program.h"
#include "platform/daily_start/task_scheduler/program_identity.h"
#include "platform/daily_start/task_scheduler/task_service.h"
#include "platform/daily_start/task_scheduler/task_xml.h"
#include "text/wide_string.h"

namespace {

// The daily start with a Task Scheduler task per user and program file,
// which starts the program every day and wakes the machine for it. Every
// spelling of the program's path stands for its canonical one.
class TaskScheduler : public DailyScheduler
{
public:
    std::string Schedule(const std::wstring& app, const SYSTEMTIME& first) override
    {
        const ComApartment com;
        const std::wstring program = CanonicalProgramPath(app);
        std::wstring user;
        if (std::string failure = Prepare(com, program, user); !failure.empty())
            return failure;
        // Checked again here, as the folders may have changed since.
        if (const std::wstring why = WhyOthersCanReplaceProgram(app); !why.empty()) {
            (void)DeleteTask(ProgramTaskName(user, program));
            return ToUtf8(why);
        }
        const std::optional<std::wstring> xml = TaskXml(user, program, first);
        if (!xml)
            return "the Task Scheduler cannot start the program at that time";
        std::string failure = RegisterTask(ProgramTaskName(user, program), *xml);
        if (failure.empty())
            (void)DeleteEarlierTask(user, app, program);
        return failure;
    }

    DailyStartRemoval Remove(const std::wstring& app) override
    {
        // Nothing can have been scheduled for a path that cannot be named.
        const std::wstring program = CanonicalProgramPath(app);
        if (!TaskCanStart(program))
            return {};
        const ComApartment com;
        std::wstring user;
        if (std::string failure = Prepare(com, program, user); !failure.empty())
            return {false, failure};
        DailyStartRemoval removal = DeleteTask(ProgramTaskName(user, program));
        const DailyStartRemoval earlier = DeleteEarlierTask(user, app, program);
        removal.bWasScheduled = removal.bWasScheduled || earlier.bWasScheduled;
        if (removal.failure.empty())
            removal.failure = earlier.failure;
        return removal;
    }

    std::wstring WhyNot(const std::wstring& app) override
    {
        if (!TaskCanStart(app))
            return L"its path " + app + L" cannot be named to the Task Scheduler";
        if (const std::wstring why = WhyOthersCanReplaceProgram(app); !why.empty())
            return why + L", so another user could replace the program";
        return std::wstring();
    }

private:
    // Removes the task that earlier versions, which named tasks after the
    // path as it was spelt, booked for `app`, where that spelling names
    // another task than the program file's own: left, it would start the
    // program a second time each day.
    static DailyStartRemoval DeleteEarlierTask(
        const std::wstring& user, const std::wstring& app, const std::wstring& program)
    {
        const std::wstring earlier = TaskName(user, app);
        return earlier == ProgramTaskName(user, program) ? DailyStartRemoval{} : DeleteTask(earlier);
    }

    // Empty when the scheduler can be asked about `app` in this thread, with
    // `user` the account's identifier; else why not.
    static std::string Prepare(const ComApartment& com, const std::wstring& app, std::wstring& user)
    {
        if (!com.Failure().empty())
            return com.Failure();
        if (!TaskCanStart(app))
            return "the Task Scheduler cannot start a program at this path";
        user = CurrentUserSid();
        return user.empty() ? "the user's account cannot be read" : std::string();
    }
};

} // namespace

DailyScheduler& SystemScheduler()
{
    // Never destroyed: the scheduling thread may still finish a request
    // while the program ends.
    static auto* scheduler = new TaskScheduler;
    return *scheduler;
}
