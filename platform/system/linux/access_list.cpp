// SPDX-License-Identifier: MIT
#include "platform/system/linux/access_list.h"

namespace {

constexpr std::uint32_t kAccessListVersion = 2;
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kEntrySize = 8;

std::uint32_t LittleEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

bool IsKnownTag(std::uint32_t tag)
{
    switch (static_cast<AccessTag>(tag)) {
    case AccessTag::Owner:
    case AccessTag::User:
    case AccessTag::OwningGroup:
    case AccessTag::Group:
    case AccessTag::Mask:
    case AccessTag::Other:
        return true;
    }
    return false;
}

} // namespace

std::optional<std::vector<AccessListEntry>> ParseAccessList(const unsigned char* bytes, std::size_t size)
{
    if (size < kHeaderSize || (size - kHeaderSize) % kEntrySize != 0 || LittleEndian(bytes, 4) != kAccessListVersion)
        return std::nullopt;
    std::vector<AccessListEntry> entries;
    for (std::size_t at = kHeaderSize; at < size; at += kEntrySize) {
        const std::uint32_t tag = LittleEndian(bytes + at, 2);
        if (!IsKnownTag(tag))
            return std::nullopt;
        entries.push_back({static_cast<AccessTag>(tag), static_cast<std::uint16_t>(LittleEndian(bytes + at + 2, 2)),
            LittleEndian(bytes + at + 4, 4)});
    }
    return entries;
}
