// SPDX-License-Identifier: MIT
#include "platform/system/chime.h"
#include "platform/system/linux/canberra_sound.h"
#include "scoped_env.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <canberra.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

// These tests never reach a real loudspeaker: canberra is pointed through
// its environment at ALSA devices that need no hardware. ALSA's "file"
// device records what was played, so the tests hear which sound it was.

namespace {

using Played = SoundOutcome::Played;

// Far beyond what a sound needs here; a hang fails instead of blocking.
constexpr std::chrono::seconds kBound{20};

// A 16-bit mono WAV file and the sample bytes that playing it produces.
struct Wav
{
    std::string file;
    std::string samples;
};

Wav MakeWav(int frames, int rate = 8000)
{
    Wav wav;
    for (int i = 0; i < frames; ++i) {
        const auto sample = static_cast<std::uint16_t>(i * 331 + 7);
        wav.samples += static_cast<char>(sample & 0xFF);
        wav.samples += static_cast<char>(sample >> 8);
    }
    const auto u32 = [](std::uint32_t v) {
        return std::string{
            static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    const auto u16 = [](std::uint16_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; };
    const auto size = static_cast<std::uint32_t>(wav.samples.size());
    wav.file = "RIFF" + u32(36 + size) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) +
        u32(static_cast<std::uint32_t>(rate)) + u32(static_cast<std::uint32_t>(rate) * 2) + u16(2) + u16(16) + "data" +
        u32(size) + wav.samples;
    return wav;
}

std::wstring WidePath(const std::filesystem::path& path)
{
    return FromNativePath(path.native());
}

// Points canberra at one driver and device for as long as it lives, and puts
// back what was there. Sounds are waited for first: canberra reads these
// variables on the worker threads.
class CanberraEnv
{
public:
    CanberraEnv(const char* driver, const std::string& device)
        : m_waited(WaitForSound(kBound))
        , m_driver("CANBERRA_DRIVER", driver)
        , m_device("CANBERRA_DEVICE", device)
    { }
    // The variables are put back once the sounds have ended.
    ~CanberraEnv() { WaitForSound(kBound); }

private:
    bool m_waited;
    ScopedEnv m_driver;
    ScopedEnv m_device;
};

// Everything written to stderr while it lives, by any thread or library.
class StderrCapture
{
public:
    explicit StderrCapture(const TempDir& dir)
        : m_file(dir / "stderr.txt")
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int fd = ::open(m_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StderrCapture() { Stop(); }
    std::string Stop()
    {
        if (m_saved >= 0) {
            std::fflush(stderr);
            ::dup2(m_saved, STDERR_FILENO);
            ::close(m_saved);
            m_saved = -1;
        }
        std::ifstream in(m_file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_file;
    int m_saved = -1;
};

// A working sound device that records what it plays into a file.
class CanberraSoundTest : public testing::Test
{
protected:
    SoundOutcome PlayAndWait(const std::filesystem::path& path)
    {
        std::filesystem::remove(m_dir / "played.raw");
        PlayChime(WidePath(path));
        EXPECT_TRUE(WaitForSound(kBound));
        return LastSoundOutcome();
    }
    std::string Recording() const { return m_dir.Read("played.raw"); }

    TempDir m_dir;
    CanberraEnv m_env{"alsa", "file:FILE='" + (m_dir / "played.raw").string() + "',FORMAT=raw"};
};

TEST_F(CanberraSoundTest, PlaysTheWavFileItself)
{
    const Wav wav = MakeWav(400);
    m_dir.Write("orv.wav", wav.file);

    const SoundOutcome outcome = PlayAndWait(m_dir / "orv.wav");

    EXPECT_EQ(outcome.played, Played::File);
    EXPECT_EQ(outcome.fileError, CA_SUCCESS);
    EXPECT_EQ(Recording(), wav.samples);
}

TEST_F(CanberraSoundTest, FindsFilesByTheirExactBytes)
{
    const Wav wav = MakeWav(300);
    for (const std::string name : {"morning chime.wav", "Glöckchen 鐘 ♪.wav", "chime-\xff\xfe.wav"}) {
        SCOPED_TRACE(name);
        m_dir.Write(name, wav.file);
        const SoundOutcome outcome = PlayAndWait(m_dir / name);
        EXPECT_EQ(outcome.played, Played::File);
        EXPECT_EQ(Recording(), wav.samples);
    }
}

TEST_F(CanberraSoundTest, PlaysTheBellWhenTheFileCannotBePlayed)
{
    m_dir.Write("text.wav", "This is no sound, only words about one.\n");
    m_dir.Write("empty.wav", "");
    m_dir.Write("cut.wav", MakeWav(400).file.substr(0, 30));
    std::filesystem::create_directory(m_dir / "folder.wav");

    const Wav wav = MakeWav(400);
    for (const std::string name : {"missing.wav", "text.wav", "empty.wav", "cut.wav", "folder.wav"}) {
        SCOPED_TRACE(name);
        const SoundOutcome outcome = PlayAndWait(m_dir / name);
        EXPECT_EQ(outcome.played, Played::Bell);
        EXPECT_LT(outcome.fileError, 0);
        EXPECT_EQ(outcome.bellError, CA_SUCCESS);
        EXPECT_FALSE(Recording().empty());
        EXPECT_NE(Recording(), wav.samples);
    }
    EXPECT_EQ(PlayAndWait(m_dir / "missing.wav").fileError, CA_ERROR_NOTFOUND);
    EXPECT_EQ(PlayAndWait(m_dir / "text.wav").fileError, CA_ERROR_CORRUPT);
}

TEST(CanberraSoundNoAudio, NoSoundDeviceIsSilentAndStillTriesTheBell)
{
    TempDir dir;
    const CanberraEnv env("alsa", "velmora_no_such_device");
    dir.Write("orv.wav", MakeWav(400).file);

    for (const std::string name : {"orv.wav", "missing.wav"}) {
        SCOPED_TRACE(name);
        StderrCapture err(dir);
        PlayChime(WidePath(dir / name));
        ASSERT_TRUE(WaitForSound(kBound));
        EXPECT_EQ(err.Stop(), "");

        const SoundOutcome outcome = LastSoundOutcome();
        EXPECT_EQ(outcome.played, Played::Nothing);
        EXPECT_LT(outcome.fileError, 0);
        EXPECT_LT(outcome.bellError, 0);
    }
}

TEST(CanberraSoundNoAudio, NoSoundSystemIsSilent)
{
    TempDir dir;
    const CanberraEnv env("velmora_no_such_driver", "");
    dir.Write("orv.wav", MakeWav(400).file);

    StderrCapture err(dir);
    PlayChime(WidePath(dir / "orv.wav"));
    ASSERT_TRUE(WaitForSound(kBound));
    EXPECT_EQ(err.Stop(), "");

    const SoundOutcome outcome = LastSoundOutcome();
    EXPECT_EQ(outcome.played, Played::Nothing);
    EXPECT_EQ(outcome.fileError, CA_ERROR_NODRIVER);
}

TEST(CanberraSoundMany, SoundsStartedTogetherAllFinish)
{
    TempDir dir;
    const CanberraEnv env("alsa", "null");
    dir.Write("orv.wav", MakeWav(4000).file);

    for (int i = 0; i < 8; ++i) {
        PlayChime(WidePath(dir / "orv.wav"));
        PlayChime(WidePath(dir / "missing.wav"));
    }
    ASSERT_TRUE(WaitForSound(kBound));
    EXPECT_NE(LastSoundOutcome().played, Played::Nothing);
    // With nothing playing, waiting is over at once, even for no time at all.
    EXPECT_TRUE(WaitForSound(std::chrono::milliseconds(0)));
}

TEST(CanberraSoundMany, SoundsOneAfterAnotherAllFinish)
{
    // Each sound loads and unloads canberra's driver, and the driver's player
    // thread may still be leaving when it is unloaded. A long run of short
    // sounds gives such a crash many chances to show.
    TempDir dir;
    const CanberraEnv env("alsa", "null");
    dir.Write("orv.wav", MakeWav(40).file);

    for (int i = 0; i < 300; ++i) {
        PlayChime(WidePath(dir / (i % 2 ? "orv.wav" : "missing.wav")));
        ASSERT_TRUE(WaitForSound(kBound));
    }
    EXPECT_EQ(LastSoundOutcome().played, Played::File);
}

TEST(CanberraSoundExit, TheProgramMayEndWhileItsSoundStarts)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const CanberraEnv env("alsa", "null");
    dir.Write("orv.wav", MakeWav(96000, 48000).file);
    const std::wstring path = WidePath(dir / "orv.wav");

    // Ending at different moments catches the worker in different places.
    for (const int delay_ms : {0, 1, 5, 20}) {
        SCOPED_TRACE(delay_ms);
        EXPECT_EXIT(
            {
                PlayChime(path);
                PlayChime(path + L".missing");
                std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
                // An open file plays on without its name; this child would
                // otherwise leave its folder behind.
                std::filesystem::remove_all(dir.Path());
                std::exit(0);
            },
            testing::ExitedWithCode(0), "");
    }
}

} // namespace
