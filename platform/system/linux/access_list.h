// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A file's POSIX access list as the kernel keeps it in the attribute
// "system.posix_acl_access": a 4-byte version (2), then 8 bytes an entry
// (tag, permissions, user or group id), all little-endian.
inline constexpr char kAccessListAttribute[] = "system.posix_acl_access";

enum class AccessTag : std::uint16_t
{
    Owner = 0x01, // the file's owner
    User = 0x02, // a named user
    OwningGroup = 0x04, // the file's group
    Group = 0x08, // a named group
    Mask = 0x10, // the most any user or group entry but the owner's grants
    Other = 0x20,
};

inline constexpr std::uint16_t kAccessWrite = 02;

struct AccessListEntry
{
    AccessTag tag;
    std::uint16_t permissions;
    std::uint32_t id; // the user or group of a named entry
};

// The entries in `size` bytes at `bytes`; nothing when they are not an
// access list of the known version and tags.
std::optional<std::vector<AccessListEntry>> ParseAccessList(const unsigned char* bytes, std::size_t size);
