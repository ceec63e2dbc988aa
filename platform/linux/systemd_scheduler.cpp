#include "platform/linux/systemd_scheduler.h"

#include "platform/binary_file.h"
#include "platform/linux/child_process.h"
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

fs::path DefaultUnitDirectory()
{
    // XDG_CONFIG_HOME counts only when absolute, as systemd itself reads it.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return fs::path(config) / "systemd" / "user";
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? fs::path(home) / ".config" / "systemd" / "user" : fs::path();
}

// `systemctl --user` for one booking. Once systemctl cannot be run or does
// not answer in time, the user manager is taken to be out of reach and the
// remaining commands are skipped rather than each waiting out its timeout.
class Systemctl
{
public:
    explicit Systemctl(const SystemdSchedulerOptions& options)
        : m_options(options)
    { }

    // True when the command ran and succeeded.
    bool Run(std::initializer_list<std::string> args)
    {
        if (!m_reachable)
            return false;
        std::vector<std::string> argv{m_options.systemctl, "--user"};
        argv.insert(argv.end(), args);
        const ProcessOutcome outcome = RunQuietly(argv, m_options.commandTimeout);
        m_reachable = outcome.kind == ProcessOutcome::Exited;
        if (!outcome.Succeeded() && m_failure.empty())
            m_failure = Describe(argv, outcome);
        return outcome.Succeeded();
    }

    // The first command that did not succeed and why; empty when none.
    const std::string& Failure() const { return m_failure; }

private:
    std::string Describe(const std::vector<std::string>& argv, const ProcessOutcome& outcome) const
    {
        if (outcome.kind == ProcessOutcome::NotStarted)
            return argv[0] + " " + outcome.Reason();
        std::string command;
        for (const auto& arg : argv)
            command += (command.empty() ? "" : " ") + arg;
        if (outcome.kind == ProcessOutcome::TimedOut)
            return command + " did not answer within " +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(m_options.commandTimeout).count()) +
                " s";
        return command + " " + outcome.Reason();
    }

    const SystemdSchedulerOptions& m_options;
    bool m_reachable = true;
    std::string m_failure;
};

// Crash-safe, so that systemd never reads half a unit; the temporary name
// has no unit suffix, so systemd never loads it.
bool WriteUnitFile(const fs::path& target, const std::string& text)
{
    return ReplaceFileContent(FromNativePath(target.string()), text.data(), text.size());
}

void StartDailyTimer(const std::string& path, const SYSTEMTIME& first, const fs::path& dir, Systemctl& systemctl)
{
    const auto service = SystemdServiceUnit(path);
    const auto timer = SystemdTimerUnit(path, first, TimerWake::WakeSystem);
    if (!service || !timer)
        return;
    const std::string timerFile = SystemdTimerFile(path);
    std::error_code ignored;
    fs::create_directories(dir, ignored);
    if (!WriteUnitFile(dir / SystemdServiceFile(path), *service) ||
        !WriteUnitFile(dir / SystemdStartFile(path), SystemdStartUnit(path)) ||
        !WriteUnitFile(dir / timerFile, *timer) || !systemctl.Run({"daemon-reload"}))
        return;
    // A restart, not a start: a timer already waiting keeps its old times
    // until it is started anew.
    systemctl.Run({"enable", timerFile});
    systemctl.Run({"restart", timerFile});
    // Before systemd 254 the user manager may not set wake-up alarms, and the
    // timer fails with result "resources"; booked without waking is better
    // than not booked at all.
    if (systemctl.Run({"is-failed", timerFile}) &&
        WriteUnitFile(dir / timerFile, *SystemdTimerUnit(path, first, TimerWake::NoWake)) &&
        systemctl.Run({"daemon-reload"}))
        systemctl.Run({"restart", timerFile});
}

// Empty when no start is booked for `path` any more, else why one may still
// be. Until systemd has confirmed that the timer is stopped and disabled, the
// units stay on disk, so that the removal is tried again at the next start
// of the program (or of talvik-book unschedule) rather than forgotten while a
// user manager out of reach keeps the timer.
std::string StopDailyTimer(const std::string& path, const fs::path& dir, Systemctl& systemctl)
{
    const std::string timerFile = SystemdTimerFile(path);
    const fs::path files[] = {dir / timerFile, dir / SystemdStartFile(path), dir / SystemdServiceFile(path)};
    std::error_code error;
    if (std::none_of(std::begin(files), std::end(files), [&](const fs::path& f) { return fs::exists(f, error); }))
        return std::string();
    if (!systemctl.Run({"disable", "--now", timerFile}))
        return systemctl.Failure();
    // Forgets the last start time kept for Persistent=, which would otherwise
    // outlive the timer.
    systemctl.Run({"clean", "--what=state", timerFile});
    for (const fs::path& file : files)
        fs::remove(file, error);
    const fs::path link = dir / "timers.target.wants" / timerFile;
    if (fs::is_symlink(link, error))
        fs::remove(link, error);
    systemctl.Run({"daemon-reload"});
    return fs::exists(files[0], error) ? "cannot remove " + files[0].string() : std::string();
}

fs::path UnitDirectory(const SystemdSchedulerOptions& options)
{
    return options.unitDirectory.empty() ? DefaultUnitDirectory() : options.unitDirectory;
}

// The one background thread that talks to systemd. Requests wait in a map by
// path, so a newer request for a path replaces the one not yet started.
class SchedulingThread
{
public:
    static SchedulingThread& Get()
    {
        static SchedulingThread worker;
        return worker;
    }

    ~SchedulingThread()
    {
        std::unique_lock lock(m_state->mutex);
        m_state->stopping = true;
        const bool idle = m_state->pending.empty() && !m_state->busy;
        lock.unlock();
        m_state->wake.notify_all();
        // Work still under way is left to finish while the process ends; the
        // thread holds its own share of the state, so nothing it uses goes away.
        if (m_thread.joinable()) {
            if (idle)
                m_thread.join();
            else
                m_thread.detach();
        }
    }

    void Submit(const std::string& path, const std::optional<SYSTEMTIME>& time)
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_thread.joinable()) {
            try {
                m_thread = std::thread(Run, m_state);
            } catch (const std::system_error&) {
                return; // no thread to spare: the booking is dropped, the program goes on
            }
        }
        m_state->pending.insert_or_assign(path, time);
        m_state->wake.notify_all();
    }

    bool WaitIdle(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_state->mutex);
        return m_state->idle.wait_for(lock, timeout, [&] { return m_state->pending.empty() && !m_state->busy; });
    }

    void SetOptions(const SystemdSchedulerOptions& options)
    {
        std::lock_guard lock(m_state->mutex);
        m_state->options = options;
    }

    SystemdSchedulerOptions Options()
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->options;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable idle;
        std::map<std::string, std::optional<SYSTEMTIME>> pending;
        bool busy = false;
        bool stopping = false;
        SystemdSchedulerOptions options;
    };

    static void Run(std::shared_ptr<State> state)
    {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->wake.wait(lock, [&] { return state->stopping || !state->pending.empty(); });
            if (state->pending.empty())
                return;
            const auto next = state->pending.begin();
            const std::string path = next->first;
            const std::optional<SYSTEMTIME> time = next->second;
            state->pending.erase(next);
            state->busy = true;
            const SystemdSchedulerOptions options = state->options;
            lock.unlock();

            const fs::path dir = UnitDirectory(options);
            Systemctl systemctl(options);
            if (!dir.empty())
                time ? StartDailyTimer(path, *time, dir, systemctl) : (void)StopDailyTimer(path, dir, systemctl);

            lock.lock();
            state->busy = false;
            if (state->pending.empty())
                state->idle.notify_all();
        }
    }

    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::thread m_thread;
};

} // namespace

void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options)
{
    SchedulingThread::Get().SetOptions(options);
}

void SystemdRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    const std::string path = ToNativePath(app);
    if (!SystemdCanBook(path) || (time && !IsValidLocalTime(*time)))
        return;
    SchedulingThread::Get().Submit(path, time);
}

bool WaitForScheduledStarts(std::chrono::milliseconds timeout)
{
    return SchedulingThread::Get().WaitIdle(timeout);
}

std::string SystemdRemoveStartNow(const std::wstring& app)
{
    const std::string path = ToNativePath(app);
    const SystemdSchedulerOptions options = SchedulingThread::Get().Options();
    const fs::path dir = UnitDirectory(options);
    if (!SystemdCanBook(path) || dir.empty())
        return std::string();
    Systemctl systemctl(options);
    return StopDailyTimer(path, dir, systemctl);
}
