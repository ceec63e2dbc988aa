// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemctl.h"
#include "platform/daily_start/systemd/child_process.h"

#include <vector>

namespace {

std::string Describe(
    const std::vector<std::string>& argv, const ProcessOutcome& outcome, std::chrono::milliseconds timeout)
{
    if (outcome.kind == ProcessOutcome::NotStarted)
        return argv[0] + " " + outcome.Reason();
    std::string command;
    for (const auto& arg : argv)
        command += (command.empty() ? "" : " ") + arg;
    if (outcome.kind == ProcessOutcome::TimedOut)
        return command + " did not answer within " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeout).count()) + " s";
    return command + " " + outcome.Reason();
}

} // namespace

bool Systemctl::Finish(const std::vector<std::string>& argv, const ProcessOutcome& outcome)
{
    m_bReachable = outcome.kind == ProcessOutcome::Exited;
    if (!outcome.Succeeded() && m_failure.empty())
        m_failure = Describe(argv, outcome, m_timeout);
    return outcome.Succeeded();
}

bool Systemctl::Run(std::initializer_list<std::string> args)
{
    if (!m_bReachable)
        return false;
    std::vector<std::string> argv{m_program, "--user"};
    argv.insert(argv.end(), args);
    return Finish(argv, RunQuietly(argv, m_timeout));
}

std::optional<std::string> Systemctl::Output(std::initializer_list<std::string> args)
{
    if (!m_bReachable)
        return std::nullopt;
    std::vector<std::string> argv{m_program, "--user"};
    argv.insert(argv.end(), args);
    std::string output;
    if (!Finish(argv, RunForOutput(argv, m_timeout, output)))
        return std::nullopt;
    return output;
}
