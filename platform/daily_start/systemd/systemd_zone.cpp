// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemd_zone.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Where systemd reads the zones timers name, and where the C library looks
// for a zone named by TZ unless TZDIR says otherwise.
const char kZoneDatabase[] = "/usr/share/zoneinfo";

// Far above any zone's file.
constexpr std::size_t kZoneFileLimit = 1 << 20;

// The first `limit` bytes of `file`; empty unless it is a regular file, as TZ
// may name any file at all.
std::string Head(const fs::path& file, std::size_t limit)
{
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::string();
    std::ifstream in(file, std::ios::binary);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Whether systemd reads `name` as a zone: words of letters, digits and
// "-_+", apart by single slashes.
bool SystemdTakes(const std::string& name)
{
    return !name.empty() && name.front() != '/' && name.back() != '/' && name.find("//") == std::string::npos &&
        name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789/_+-") ==
        std::string::npos;
}

} // namespace

std::string SystemdZoneName()
{
    // The C library's reading of TZ: empty is UTC; unset, or ":" alone, is
    // /etc/localtime; otherwise a file, a name under TZDIR, or else rules.
    const char* tz = std::getenv("TZ");
    if (tz && !*tz)
        return "UTC";
    const std::string value = tz ? tz + (*tz == ':') : "";
    const char* tzdir = std::getenv("TZDIR");
    fs::path file = value.empty() ? fs::path("/etc/localtime") : fs::path(value);
    if (!value.empty() && value.front() != '/')
        file = fs::path(tzdir && *tzdir ? tzdir : kZoneDatabase) / value;
    std::error_code error;
    std::string name = (value.empty() ? fs::read_symlink(file, error) : fs::path(value)).lexically_normal().string();
    // A path names the zone after its last zoneinfo folder; "Europe//Paris"
    // stands as "Europe/Paris".
    if (const auto database = name.rfind("zoneinfo/"); database != std::string::npos)
        name.erase(0, database + 9);
    if (!SystemdTakes(name))
        return std::string();
    // Only a name under which systemd finds the rules the clock uses.
    const std::string zone = Head(fs::path(kZoneDatabase) / name, kZoneFileLimit);
    return zone.rfind("TZif", 0) == 0 && Head(file, zone.size() + 1) == zone ? name : std::string();
}
