// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace kvistra {

// Every real-to-integer conversion rounds to nearest, an exact half to the even neighbour.
inline double roundHalfEven(double value) {
    return std::nearbyint(value); // the default floating-point rounding mode is to-nearest-even
}

// The 16-bit signed range of keys, positions, counts and lengths; nullopt is the overflow failure.
inline std::optional<std::int16_t> toInt16(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

// The 32-bit signed range of screen sizes; nullopt is the overflow failure.
inline std::optional<std::int32_t> toInt32(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

} // namespace kvistra
