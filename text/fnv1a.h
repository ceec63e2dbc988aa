// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// The 64-bit FNV-1a hash of the bytes added, one at a time: the same bytes
// always give the same value, which names a program's daily start.
class Fnv1a
{
public:
    void Add(unsigned char byte) { m_hash = (m_hash ^ byte) * 0x100000001B3ULL; }
    std::uint64_t Value() const { return m_hash; }

private:
    std::uint64_t m_hash = 0xCBF29CE484222325ULL;
};
