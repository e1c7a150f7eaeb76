// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kvistra {

// The reading length is a 16-bit number: no longer message can be read back.
inline constexpr std::int64_t kLongestMessage = 32767;

// Positions are 16-bit numbers too: no picture side may be longer.
inline constexpr int kLongestSide = 32767;

// The positions the walk passes from the key (x, y) to the end of a width x height
// grid: the rest of the key's row and every row below it.
constexpr std::int64_t roomFromKey(std::int64_t width, std::int64_t height, std::int64_t x,
                                   std::int64_t y) {
    return (width - x) + (height - 1 - y) * width;
}

} // namespace kvistra
