// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChunksAhead.h"
#include "Colour.h"

#include <cstddef>
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
    // The colours of fillReseededColours called on consecutive chunks of `chunk`
    // colours (the last one shorter), handed to `use` in order. A generator may
    // draw the chunks ahead of their use on other threads.
    virtual void fillReseededChunks(std::size_t count, std::size_t chunk, const UseChunk& use);

    // Red and blue drawn first and second around a message byte in green.
    Colour messageColour(int green);
};

} // namespace kvistra
