#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes of a book with `count` in its header, the given record offsets in
// its table and then `body`; nothing is checked, so damaged books can be made.
inline std::string RawBook(std::uint16_t count, const std::vector<std::uint32_t>& offsets, const std::string& body = "")
{
    std::string bytes(78 + 8 * offsets.size(), '\0');
    const auto put = [&bytes](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
    };
    put(76, count, 2);
    for (std::size_t i = 0; i < offsets.size(); ++i)
        put(78 + 8 * i, offsets[i], 4);
    return bytes + body;
}
