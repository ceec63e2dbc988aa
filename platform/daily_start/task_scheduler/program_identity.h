// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// One program file, however its path is spelt: through its short names,
// other letter cases, '/' or "..", so that each program file has one task.

// The path of the program file at `app` as the file system names it: the
// final path of the opened file, with long names and its drive letter (or
// "\\server\share"). A file that cannot be opened, such as one removed since
// its task was made, keeps its path with "." and ".." resolved; a path the
// scheduler cannot start (TaskCanStart) is kept as it is.
std::wstring CanonicalProgramPath(const std::wstring& app);

// The name of `user`'s task for the program file at `app`: the canonical
// path with its letters folded as the file system folds them.
std::wstring ProgramTaskName(const std::wstring& user, const std::wstring& app);
