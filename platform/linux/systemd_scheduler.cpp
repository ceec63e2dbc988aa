#include "platform/linux/systemd_scheduler.h"

#include "platform/binary_file.h"
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

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

// Runs a program with no input and its output discarded. The exit status, or
// nullopt when it could not be started or was killed for running too long.
std::optional<int> RunQuietly(const std::vector<std::string>& args, std::chrono::milliseconds timeout)
{
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Nothing else the program has open is handed on.
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    // Its own process group, so that a timeout also ends whatever it started,
    // and no signal blocked or ignored by the program is passed on.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, reset;
    sigemptyset(&none);
    sigfillset(&reset);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &reset);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return std::nullopt;

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (done < 0 && errno != EINTR)
            return std::nullopt;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
    return std::nullopt;
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
        const auto status = RunQuietly(argv, m_options.commandTimeout);
        m_reachable = status.has_value();
        return status == 0;
    }

private:
    const SystemdSchedulerOptions& m_options;
    bool m_reachable = true;
};

// Crash-safe, so that systemd never reads half a unit; the temporary name
// has no unit suffix, so systemd never loads it.
bool WriteUnitFile(const fs::path& target, const std::string& text)
{
    return ReplaceFileContent(FromNativePath(target.string()), text.data(), text.size());
}

void Book(const std::string& path, const SYSTEMTIME& time, const fs::path& dir, Systemctl& systemctl)
{
    const std::string name = SystemdUnitName(path);
    const auto service = SystemdServiceUnit(path);
    const std::string timer = name + ".timer";
    std::error_code ignored;
    fs::create_directories(dir, ignored);
    if (!service || !WriteUnitFile(dir / (name + ".service"), *service) ||
        !WriteUnitFile(dir / timer, SystemdTimerUnit(path, time, true)) || !systemctl.Run({"daemon-reload"}))
        return;
    // A restart, not a start: a timer that is already waiting or elapsed
    // keeps its old time until it is started anew.
    systemctl.Run({"enable", timer});
    systemctl.Run({"restart", timer});
    // Before systemd 254 the user manager may not set wake-up alarms, and the
    // timer fails with result "resources"; booked without waking is better
    // than not booked at all.
    if (systemctl.Run({"is-failed", timer}) && WriteUnitFile(dir / timer, SystemdTimerUnit(path, time, false)) &&
        systemctl.Run({"daemon-reload"}))
        systemctl.Run({"restart", timer});
}

void Unbook(const std::string& path, const fs::path& dir, Systemctl& systemctl)
{
    const std::string name = SystemdUnitName(path);
    const fs::path service = dir / (name + ".service");
    const fs::path timer = dir / (name + ".timer");
    std::error_code error;
    if (!fs::exists(service, error) && !fs::exists(timer, error))
        return;
    systemctl.Run({"disable", "--now", timer.filename().string()});
    // Forgets the last start time kept for Persistent=, which would otherwise
    // outlive the timer.
    systemctl.Run({"clean", "--what=state", timer.filename().string()});
    fs::remove(service, error);
    fs::remove(timer, error);
    const fs::path link = dir / "timers.target.wants" / timer.filename();
    if (fs::is_symlink(link, error))
        fs::remove(link, error);
    systemctl.Run({"daemon-reload"});
}

// The one background thread that talks to systemd. Requests wait in a map by
// path, so a newer request for a path replaces the one not yet started.
class BookingWorker
{
public:
    static BookingWorker& Get()
    {
        static BookingWorker worker;
        return worker;
    }

    ~BookingWorker()
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

            const fs::path dir = options.unitDirectory.empty() ? DefaultUnitDirectory() : options.unitDirectory;
            Systemctl systemctl(options);
            if (!dir.empty())
                time ? Book(path, *time, dir, systemctl) : Unbook(path, dir, systemctl);

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
    BookingWorker::Get().SetOptions(options);
}

void SystemdRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    const std::string path = ToNativePath(app);
    if (!SystemdCanBook(path) || (time && !IsValidLocalTime(*time)))
        return;
    BookingWorker::Get().Submit(path, time);
}

bool WaitForScheduledStarts(std::chrono::milliseconds timeout)
{
    return BookingWorker::Get().WaitIdle(timeout);
}
