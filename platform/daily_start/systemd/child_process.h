// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <string>
#include <vector>

// How a program run by RunQuietly ended.
struct ProcessOutcome
{
    enum Kind
    {
        Exited, // `status` holds its exit status, or 128 + the signal that ended it
        NotStarted, // `error` holds the errno of the failed start
        TimedOut, // killed for running too long
    };
    Kind kind = NotStarted;
    int status = 0;
    int error = 0;

    bool Succeeded() const { return kind == Exited && status == 0; }
    // Why it did not succeed, in a few words; empty when it did.
    std::string Reason() const;
};

// Runs `args` (a name looked up on PATH, or a path, and its arguments) with
// no input and its output discarded, and waits for it. One still running
// after `timeout` is killed, with everything it started.
ProcessOutcome RunQuietly(const std::vector<std::string>& args, std::chrono::milliseconds timeout);

// As RunQuietly, but what the program writes to its standard output is kept
// in `output`, for commands that answer a question.
ProcessOutcome RunForOutput(
    const std::vector<std::string>& args, std::chrono::milliseconds timeout, std::string& output);
