// SPDX-License-Identifier: MIT
#pragma once

#include "platform/daily_start/daily_start.h"

#include <string>

// The Windows Task Scheduler, through its COM interface. Each call connects
// to the scheduler service in the calling thread, which must have COM set up
// (ComApartment). A call returns an empty string when it did its work, else
// why not, in the system's words.

// Registers the task `name` in the scheduler's root folder from its XML text,
// replacing a task of that name, to run with the logged-on user's own rights.
std::string RegisterTask(const std::wstring& name, const std::wstring& xml);

// Deletes the task `name`; a task that is not there counts as deleted.
DailyStartRemoval DeleteTask(const std::wstring& name);

// The security identifier of the user the program runs as ("S-1-5-21-..."),
// or empty when it cannot be read.
std::wstring CurrentUserSid();

// COM set up for the calling thread for the object's lifetime.
class ComApartment
{
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    // Empty when COM is ready in this thread.
    const std::string& Failure() const { return m_failure; }

private:
    bool m_bUninitialize = false;
    std::string m_failure;
};
