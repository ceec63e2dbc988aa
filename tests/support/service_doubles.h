// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "text/utf8_path.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// Stand-ins for the services that a test controls: a fixed clock, the path
// of the executable in a given folder (which becomes the program's folder),
// and recorders for bookings, message boxes and sounds.
class FakeServices
{
public:
    struct Booking
    {
        std::wstring app;
        std::optional<SYSTEMTIME> time;
    };
    struct Message
    {
        HWND owner;
        std::wstring text;
        std::wstring caption;
    };

    // With recordMessages false, message boxes stay the real ones, for window
    // tests that answer them.
    explicit FakeServices(const std::string& programDir, bool recordMessages = true)
    {
        Services& s = GetServices();
        s.localTime = [this] { return now; };
        s.moduleFileName = [this] { return m_exePath; };
        s.runAppAtTime = [this](const std::wstring& app, const std::optional<SYSTEMTIME>& time) {
            bookings.push_back({app, time});
            events.push_back(L"book");
        };
        if (recordMessages)
            s.messageBox = [this](HWND owner, const std::wstring& text, const std::wstring& caption) {
                messages.push_back({owner, text, caption});
                events.push_back(L"message");
            };
        s.whyCannotRunAppAtTime = [](const std::wstring&) { return std::wstring(); };
        s.playSound = [this](const std::wstring& path) {
            sounds.push_back(path);
            events.push_back(L"sound");
        };
        MoveProgramTo(programDir);
    }
    // Leaves the folder unknown again, as before the program started.
    ~FakeServices() { MoveProgramTo(std::nullopt); }

    // Puts the executable in `programDir`, or where the system would not
    // tell (nullopt), and reads the program's folder from its path again, as
    // the program does when it starts.
    void MoveProgramTo(const std::optional<std::string>& programDir)
    {
        m_exePath = programDir ? FromNativePath(*programDir + "/talvik") : std::wstring();
        InitProgramDir();
    }

    const std::wstring& ExePath() const { return m_exePath; }

    SYSTEMTIME now{2026, 12, 1, 7, 9, 15, 0, 0};
    std::vector<Booking> bookings;
    std::vector<Message> messages;
    std::vector<std::wstring> sounds;
    std::vector<std::wstring> events; // the order in which services were called

private:
    ScopedServices m_restore;
    std::wstring m_exePath;
};

inline SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second = 0)
{
    return SYSTEMTIME{static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month), 0,
        static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(hour), static_cast<std::uint16_t>(minute),
        static_cast<std::uint16_t>(second), 0};
}

// A date-time as "YYYY-MM-DD HH:MM:SS.mmm" (day of week left out), so that a
// test compares and prints it whole.
inline std::string DateTimeText(const SYSTEMTIME& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
        t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}
