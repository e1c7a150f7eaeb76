// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colour.h"

#include <span>

namespace kvistra {

// Uniform single-precision numbers 0 <= r < 1. The stages ask for a reseed from the
// time of day before each random pixel; a secure generator needs none and must not
// let the clock into what it draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    virtual float next() = 0;
    virtual void reseedFromClock() = 0;

    // For each colour: reseed, then draw red, green and blue character codes in
    // that order. A generator may do the same faster.
    virtual void fillReseededColours(std::span<Colour> colours);

    // Red and blue drawn first and second around a message byte in green.
    Colour messageColour(int green);
};

} // namespace kvistra
