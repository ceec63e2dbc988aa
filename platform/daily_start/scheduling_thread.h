// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

// The one background thread that schedules and removes daily starts with the
// system's scheduler, which may take seconds to answer, so that it never
// holds a window up.
// Requests wait in a map by path, so a newer request for a path replaces the
// one not yet started.
class SchedulingThread
{
public:
    // Schedules (time) or removes (nullopt) the start of `app`; run in the
    // thread.
    using Request = std::function<void(const std::wstring& app, const std::optional<SYSTEMTIME>& time)>;

    explicit SchedulingThread(Request carryOut);
    // Work still under way is left to finish while the process ends.
    ~SchedulingThread();
    SchedulingThread(const SchedulingThread&) = delete;
    SchedulingThread& operator=(const SchedulingThread&) = delete;

    void Submit(const std::wstring& app, const std::optional<SYSTEMTIME>& time);
    // Waits at most `timeout` for the work to run out; true when it has.
    bool WaitIdle(std::chrono::milliseconds timeout);

private:
    struct State;
    static void Run(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state;
    std::thread m_thread;
};
