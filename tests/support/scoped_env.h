// SPDX-License-Identifier: MIT
#pragma once

#include "text/utf8_path.h"

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, with nullopt, unsets) an environment variable for the lifetime of
// the object, then puts back what was there.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        Set(name, value);
    }
    ~ScopedEnv() { Restore(); }
    // Puts back what was there before the object's lifetime ends.
    void Restore() const { Set(m_name, m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    static void Set(const char* name, const std::optional<std::string>& value)
    {
#ifdef _WIN32
        // Windows' own environment too, which the program reads; an empty
        // value removes the variable.
        ::_wputenv_s(FromNativePath(name).c_str(), value ? FromNativePath(*value).c_str() : L"");
#else
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
#endif
    }

    const char* m_name;
    std::optional<std::string> m_old;
};
