// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"
#include "Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvistra {

// How much memory the process may still take: the least of the machine's
// physical memory and the room left under its address-space and data limits.
// A bound that is not known is the largest value.
struct MemoryBounds {
    std::uint64_t physical = UINT64_MAX;
    std::uint64_t addressSpaceLeft = UINT64_MAX;

    std::uint64_t available() const {
        return physical < addressSpaceLeft ? physical : addressSpaceLeft;
    }
};

// Read from the system now.
MemoryBounds systemMemoryBounds();

// Refused with PictureNeedsMemory {path, width, height, MB needed, MB available}
// when a picture of width x height that takes `needed` bytes to make does not fit
// in `available` bytes; path is empty for a new picture.
Status checkPictureMemory(const std::string& path, int width, int height, std::uint64_t needed,
                          std::uint64_t available);

// The same against what the system allows now.
Status checkPictureMemory(const std::string& path, int width, int height, std::uint64_t needed);

} // namespace kvistra
