// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <optional>
#include <string>

// The text of a Windows Task Scheduler task that starts the program every
// day. It is portable so that it can be built and checked on any system.

// The task's name in the scheduler's root folder. Tasks are shared by every
// user of a machine, so the name stands for both the user (`user`, the
// account's security identifier) and the program's path, with ASCII letters
// and both separators alike; the scheduler gives it the canonical path, its
// case folded (ProgramTaskName), so that one program file gets one name.
std::wstring TaskName(const std::wstring& user, const std::wstring& programPath);

// Whether `programPath` can be written into a task: an absolute path with a
// drive or a server, made of characters that XML can carry.
bool TaskCanStart(const std::wstring& programPath);

// The task that starts `programPath` in its own folder every day at the local
// time of day of `first`, from `first`'s date on: it wakes the machine, runs
// as soon as it can after a start missed while the machine was off, starts
// no second copy while one still runs, never stops the program, and runs on
// battery as well. Runs as `user` while that user is logged on. nullopt when
// the path cannot be started or `first` is not a date the scheduler takes.
std::optional<std::wstring> TaskXml(const std::wstring& user, const std::wstring& programPath, const SYSTEMTIME& first);
