// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colour.h"

#include <cstdint>

namespace kvistra {

struct ColourChannels {
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;

    friend bool operator==(const ColourChannels&, const ColourChannels&) = default;
};

// A plain colour (high byte 0, 1 or 2) passes unchanged; a system-colour
// reference (high byte 0x80) becomes that colour; anything else, -1 included,
// is refused and splits into three zero bytes.
Colour translateColour(Colour colour);

// The colour split: the red, green and blue bytes of a colour value.
ColourChannels convert(Colour colour);

} // namespace kvistra
