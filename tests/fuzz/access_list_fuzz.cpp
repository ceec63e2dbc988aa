// SPDX-License-Identifier: MIT
#include "fuzz_support.h"
#include "platform/system/linux/changeable_by_others.h"

#include <cstddef>
#include <cstdint>

// Any bytes as a file's access list: read whole or not at all, and weighed
// so that a group holding others never makes a file more the user's.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto entries = ParseAccessList(data, size);
    if (!entries)
        return 0;
    FuzzCheck(entries->size() * 8 + 4 == size);
    const FilePermissions file{0775, 1000, 1000, *entries};
    const bool bWithOthers = ChangeableByOthers(file, 1000, [](gid_t) { return true; });
    FuzzCheck(bWithOthers || !ChangeableByOthers(file, 1000, [](gid_t) { return false; }));
    return 0;
}
