// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/child_process.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

std::string ProcessOutcome::Reason() const
{
    switch (kind) {
    case Exited:
        return status == 0 ? std::string() : "failed with exit status " + std::to_string(status);
    case NotStarted:
        return error == ENOENT ? std::string("was not found")
                               : "could not be started (" + std::string(std::strerror(error)) + ")";
    case TimedOut:
        return "did not finish in time";
    }
    return std::string();
}

namespace {

// Its own process group, so that a timeout also ends whatever it started;
// no signal blocked or ignored by the program is passed on, nor anything else
// the program has open.
pid_t Spawn(const std::vector<std::string>& args, int outputFd, int& error)
{
    std::vector<char*> argv;
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outputFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outputFd, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
#endif
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, reset;
    sigemptyset(&none);
    sigfillset(&reset);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &reset);
    pid_t pid = 0;
    error = ::posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// Reads what is waiting in the pipe `fd` without blocking.
void Drain(int fd, std::string* output)
{
    char buffer[4096];
    ssize_t got = 0;
    while (fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0)
        output->append(buffer, static_cast<std::size_t>(got));
}

// Closes the pipe's end it holds when the run ends, however it ends.
struct ClosedOnReturn
{
    int fd;
    ~ClosedOnReturn()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Waits for the child `pid` until `deadline`, taking in its output from
// `outputFd` meanwhile so that a full pipe never holds it up. False when the
// deadline came first; otherwise `outcome` says how it ended.
bool WaitUntil(pid_t pid, std::chrono::steady_clock::time_point deadline, int outputFd, std::string* output,
    ProcessOutcome& outcome)
{
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        int status = 0;
        if (output)
            Drain(outputFd, output);
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (output)
                Drain(outputFd, output);
            outcome.kind = ProcessOutcome::Exited;
            outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (done < 0 && errno != EINTR) {
            outcome.error = errno;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
}

// Ends the child `pid` and whatever it started, and waits for it to go.
void KillGroup(pid_t pid)
{
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) { }
}

ProcessOutcome Run(const std::vector<std::string>& args, std::chrono::milliseconds timeout, std::string* output)
{
    ProcessOutcome outcome;
    int pipe[2] = {-1, -1};
    if (output && ::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        outcome.error = errno;
        return outcome;
    }
    const pid_t pid = Spawn(args, pipe[1], outcome.error);
    if (pipe[1] >= 0)
        ::close(pipe[1]);
    const ClosedOnReturn reader{pipe[0]};
    if (pid < 0)
        return outcome;
    if (!WaitUntil(pid, std::chrono::steady_clock::now() + timeout, reader.fd, output, outcome)) {
        KillGroup(pid);
        outcome.kind = ProcessOutcome::TimedOut;
    }
    return outcome;
}

} // namespace

ProcessOutcome RunQuietly(const std::vector<std::string>& args, std::chrono::milliseconds timeout)
{
    return Run(args, timeout, nullptr);
}

ProcessOutcome RunForOutput(
    const std::vector<std::string>& args, std::chrono::milliseconds timeout, std::string& output)
{
    output.clear();
    return Run(args, timeout, &output);
}
