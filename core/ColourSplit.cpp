// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColourSplit.h"

#include <array>

namespace kvistra {

namespace {

// The classic desktop scheme, indexed by system-colour number.
constexpr std::array<Colour, 31> kSystemColours = {
    makeColour(212, 208, 200), makeColour(58, 110, 165),  makeColour(10, 36, 106),
    makeColour(128, 128, 128), makeColour(212, 208, 200), makeColour(255, 255, 255),
    makeColour(0, 0, 0),       makeColour(0, 0, 0),       makeColour(0, 0, 0),
    makeColour(255, 255, 255), makeColour(212, 208, 200), makeColour(212, 208, 200),
    makeColour(128, 128, 128), makeColour(10, 36, 106),   makeColour(255, 255, 255),
    makeColour(212, 208, 200), makeColour(128, 128, 128), makeColour(128, 128, 128),
    makeColour(0, 0, 0),       makeColour(212, 208, 200), makeColour(255, 255, 255),
    makeColour(64, 64, 64),    makeColour(212, 208, 200), makeColour(0, 0, 0),
    makeColour(255, 255, 225), makeColour(181, 181, 181), makeColour(0, 0, 128),
    makeColour(166, 202, 240), makeColour(192, 192, 192), makeColour(49, 106, 197),
    makeColour(236, 233, 216),
};

} // namespace

Colour translateColour(Colour colour) {
    const auto bits = static_cast<std::uint32_t>(colour);
    const std::uint32_t highByte = bits >> 24;
    if (highByte <= 2) {
        return colour;
    }
    if (highByte == 0x80 && (bits & 0x00FFFF00u) == 0 && (bits & 0xFFu) < kSystemColours.size()) {
        return kSystemColours[bits & 0xFFu];
    }
    return 0;
}

ColourChannels convert(Colour colour) {
    const auto c = static_cast<std::uint32_t>(translateColour(colour));
    return {static_cast<std::int16_t>(c & 255u), static_cast<std::int16_t>((c & 65280u) / 256u),
            static_cast<std::int16_t>((c & 16711680u) / 65536u)};
}

} // namespace kvistra
