// SPDX-License-Identifier: MIT
// make_chime OUT.wav
//
// Synthesises the chime the program plays when it starts: a small bell,
// 16-bit PCM mono at 44100 Hz, about two seconds long. The bell is a sum of
// inharmonic partials, each dying away at its own rate, the higher ones
// faster. The output is the same on every run, so the build is repeatable.
// The file is written next to OUT first and renamed into place, so a failed
// run never leaves a half-written chime behind.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 2.0;
constexpr double kFundamental = 880.0; // the bell's "prime"
constexpr double kAttack = 0.003; // seconds
constexpr double kFadeOut = 0.25; // seconds
constexpr double kPeakDbfs = -3.0;

struct Partial
{
    double ratio; // frequency as a multiple of the fundamental
    double amplitude; // starting level, before normalising
    double decay; // time constant of the exponential decay, seconds
};

// A bell's partials are not a harmonic series: the hum lies an octave below
// the prime, the tierce a minor third above it, the quint a fifth, the
// nominal an octave. The upper ones give the strike its shimmer and die fast.
constexpr Partial kPartials[] = {
    {0.50, 0.45, 1.10}, // hum
    {1.00, 0.80, 0.80}, // prime
    {1.20, 0.40, 0.60}, // tierce
    {1.50, 0.28, 0.45}, // quint
    {2.00, 0.60, 0.40}, // nominal
    {2.51, 0.20, 0.22},
    {2.66, 0.16, 0.18},
    {3.01, 0.12, 0.13},
};

std::vector<double> synthesise()
{
    const auto count = static_cast<std::size_t>(kSeconds * kRate);
    const auto fade_count = static_cast<std::size_t>(kFadeOut * kRate);
    std::vector<double> out(count, 0.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0.0;
        for (const Partial& p : kPartials) {
            const double phase = 2.0 * std::numbers::pi * kFundamental * p.ratio * t;
            v += p.amplitude * std::exp(-t / p.decay) * std::sin(phase);
        }
        // A short ramp up keeps the strike from clicking.
        if (t < kAttack) {
            v *= t / kAttack;
        }
        // And a soft fade to silence, so the last sample is zero.
        const std::size_t left = count - 1 - i;
        if (left < fade_count) {
            const double x = static_cast<double>(left) / static_cast<double>(fade_count);
            v *= 0.5 - 0.5 * std::cos(std::numbers::pi * x);
        }
        out[i] = v;
    }
    return out;
}

std::vector<std::int16_t> to_pcm16(const std::vector<double>& signal)
{
    double peak = 0.0;
    for (double v : signal) {
        peak = std::max(peak, std::abs(v));
    }
    if (peak <= 0.0) {
        throw std::runtime_error("the synthesised chime is silent");
    }
    const double target = std::pow(10.0, kPeakDbfs / 20.0) * 32767.0;
    const double scale = target / peak;
    std::vector<std::int16_t> pcm;
    pcm.reserve(signal.size());
    for (double v : signal) {
        const double s = std::clamp(std::round(v * scale), -32768.0, 32767.0);
        pcm.push_back(static_cast<std::int16_t>(s));
    }
    return pcm;
}

void put_tag(std::vector<unsigned char>& b, const char (&tag)[5])
{
    b.insert(b.end(), tag, tag + 4);
}

void put_u16(std::vector<unsigned char>& b, std::uint16_t v)
{
    b.push_back(static_cast<unsigned char>(v & 0xFFu));
    b.push_back(static_cast<unsigned char>((v >> 8) & 0xFFu));
}

void put_u32(std::vector<unsigned char>& b, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8) {
        b.push_back(static_cast<unsigned char>((v >> shift) & 0xFFu));
    }
}

// A canonical 44-byte RIFF/WAVE header followed by the samples, all
// little-endian whatever the machine.
std::vector<unsigned char> wav_bytes(const std::vector<std::int16_t>& pcm)
{
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bits = 16;
    constexpr std::uint16_t block_align = channels * bits / 8;
    const auto data_size = static_cast<std::uint32_t>(pcm.size() * block_align);

    std::vector<unsigned char> b;
    b.reserve(44 + data_size);
    put_tag(b, "RIFF");
    put_u32(b, 36 + data_size);
    put_tag(b, "WAVE");
    put_tag(b, "fmt ");
    put_u32(b, 16); // size of the fmt chunk
    put_u16(b, 1); // PCM
    put_u16(b, channels);
    put_u32(b, kRate);
    put_u32(b, kRate * block_align); // bytes per second
    put_u16(b, block_align);
    put_u16(b, bits);
    put_tag(b, "data");
    put_u32(b, data_size);
    for (std::int16_t s : pcm) {
        put_u16(b, static_cast<std::uint16_t>(s));
    }
    return b;
}

void write_file(const std::filesystem::path& out, const std::vector<unsigned char>& bytes)
{
    std::filesystem::path tmp = out;
    tmp += ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f) {
            throw std::runtime_error("cannot create " + tmp.string());
        }
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        f.close();
        if (!f) {
            std::error_code ignored;
            std::filesystem::remove(tmp, ignored);
            throw std::runtime_error("cannot write " + tmp.string());
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, out, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        throw std::runtime_error("cannot rename " + tmp.string() + " to " + out.string() + ": " + ec.message());
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: make_chime OUT.wav\n");
        return 2;
    }
    try {
        write_file(argv[1], wav_bytes(to_pcm16(synthesise())));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_chime: %s\n", e.what());
        return 1;
    }
    return 0;
}
