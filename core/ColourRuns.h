// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colour.h"

#include <cstdint>
#include <span>

namespace kvistra {

// Colours to and from the blue, green, red bytes of picture rows (Image's and the
// files' layout), 3 bytes a colour. The hot loops of drawing and reading a picture.
void storeColours(std::span<const Colour> colours, std::uint8_t* bytes);
void loadColours(const std::uint8_t* bytes, std::span<Colour> colours);

} // namespace kvistra
