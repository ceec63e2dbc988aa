// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemctl.h"
#include "platform/daily_start/systemd/child_process.h"

#include <algorithm>
#include <vector>

namespace {

// The escaped character `c` stands for after a backslash inside a quoted
// word, or '\0' when systemctl never writes it.
char Unescaped(char c)
{
    static const char kEscapes[] = "a\ab\bf\fn\nr\rt\tv\v\\\\\"\"''``$$";
    for (const char* e = kEscapes; *e; e += 2)
        if (*e == c)
            return e[1];
    return '\0';
}

// The quoted word that starts at `at`, its quotes gone; `at` moves past it.
std::optional<std::string> QuotedWord(const std::string& line, std::size_t& at)
{
    std::string word;
    for (++at; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            return word;
        }
        if (c != '\\') {
            word += c;
            continue;
        }
        if (++at == line.size())
            return std::nullopt;
        // Bytes that are not printable text come as three octal digits.
        const auto octal = [&](std::size_t i, char last) {
            return i < line.size() && line[i] >= '0' && line[i] <= last;
        };
        if (octal(at, '3') && octal(at + 1, '7') && octal(at + 2, '7')) {
            word += static_cast<char>((line[at] - '0') * 64 + (line[at + 1] - '0') * 8 + (line[at + 2] - '0'));
            at += 2;
        } else if (const char e = Unescaped(line[at])) {
            word += e;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

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

std::optional<std::vector<std::string>> ShownWords(const std::string& line)
{
    std::vector<std::string> words;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ') {
            ++at;
        } else if (line[at] != '"') {
            const auto end = std::min(line.find(' ', at), line.size());
            words.push_back(line.substr(at, end - at));
            at = end;
        } else if (auto word = QuotedWord(line, at); word && (at == line.size() || line[at] == ' ')) {
            words.push_back(std::move(*word));
        } else {
            return std::nullopt;
        }
    }
    return words;
}
