// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colour.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <span>

namespace kvistra {

// Eight bytes of keystream as one word, little-endian on every processor.
inline std::uint64_t keystreamWord(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

// The colour a random pixel makes of its 64-bit word of keystream, read
// little-endian: three 21-bit draws, red from the top bits, each taken as
// r = bits / 2^21 by the random index rule.
Colour colourOfKeystreamWord(std::uint64_t word);

// The colours of consecutive words, eight bytes each, as fast as the processor allows.
void coloursOfKeystream(const unsigned char* keystream, std::span<Colour> colours);

// The same with no instruction a processor may lack: what the fast way must equal.
void coloursOfKeystreamPortably(const unsigned char* keystream, std::span<Colour> colours);

} // namespace kvistra
