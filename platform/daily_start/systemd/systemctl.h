// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct ProcessOutcome;

// The words of a list that `systemctl show` prints, such as UnitPath: apart
// at spaces, a word that holds a space, quote, backslash or control character
// in double quotes with C escapes. nullopt when `line` is not such a list.
std::optional<std::vector<std::string>> ShownWords(const std::string& line);

// `systemctl --user` for one piece of work. Once systemctl cannot be run or
// does not answer in time, the user manager is taken to be out of reach and
// the remaining commands are skipped rather than each waiting out its timeout.
class Systemctl
{
public:
    // `program`: a name looked up on PATH, or a path. A command still running
    // after `timeout` is killed.
    Systemctl(std::string program, std::chrono::milliseconds timeout)
        : m_program(std::move(program))
        , m_timeout(timeout)
    { }

    // True when the command ran and succeeded.
    bool Run(std::initializer_list<std::string> args);

    // What a command that answers a question printed; nullopt when it did
    // not succeed.
    std::optional<std::string> Output(std::initializer_list<std::string> args);

    // The first command that did not succeed and why; empty when none.
    const std::string& Failure() const { return m_failure; }

private:
    bool Finish(const std::vector<std::string>& argv, const ProcessOutcome& outcome);

    std::string m_program;
    std::chrono::milliseconds m_timeout;
    bool m_bReachable = true;
    std::string m_failure;
};
