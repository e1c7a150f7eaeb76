// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kvistra {

// A pixel colour as the program passes it around: red + 256 * green + 65536 * blue.
// A read outside the canvas gives kOutsideCanvas.
using Colour = std::int32_t;

inline constexpr Colour kOutsideCanvas = -1;
inline constexpr Colour kWhite = 0xFFFFFF;

constexpr Colour makeColour(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

constexpr int redOf(Colour c) {
    return c & 0xFF;
}
constexpr int greenOf(Colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Colour c) {
    return (c >> 16) & 0xFF;
}

} // namespace kvistra
