// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColourRuns.h"

#include "VectorClones.h"

#include <bit>
#include <cstring>

namespace kvistra {

namespace {

// Red and blue change places between a colour and a pixel's bytes read as a word.
constexpr std::uint32_t swapRedAndBlue(std::uint32_t value) {
    return (value >> 16 & 0xFFu) | (value & 0xFF00u) | (value & 0xFFu) << 16;
}

using Bytes16 = std::uint8_t __attribute__((vector_size(16)));

// Four colours at a time move in one 16-byte load and store, their bytes reordered
// by one shuffle. The 16 bytes at pixel i reach into pixel i + 5: the last few
// colours go one at a time.
constexpr std::size_t kPixelsReached = 6;

} // namespace

KVISTRA_VECTOR_CLONES void storeColours(std::span<const Colour> colours, std::uint8_t* bytes) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + kPixelsReached <= colours.size(); i += 4) {
            Bytes16 words;
            std::memcpy(&words, colours.data() + i, 16);
            const Bytes16 pixels = __builtin_shufflevector(words, words, 2, 1, 0, 6, 5, 4, 10, 9, 8,
                                                           14, 13, 12, 3, 7, 11, 15);
            std::memcpy(bytes + 3 * i, &pixels, 16);
        }
        // Four bytes at a time, the fourth overwritten by the next colour.
        for (; i + 1 < colours.size(); ++i) {
            const std::uint32_t word = swapRedAndBlue(static_cast<std::uint32_t>(colours[i]));
            std::memcpy(bytes + 3 * i, &word, 4);
        }
    }
    for (; i < colours.size(); ++i) {
        bytes[3 * i] = static_cast<std::uint8_t>(blueOf(colours[i]));
        bytes[3 * i + 1] = static_cast<std::uint8_t>(greenOf(colours[i]));
        bytes[3 * i + 2] = static_cast<std::uint8_t>(redOf(colours[i]));
    }
}

KVISTRA_VECTOR_CLONES void loadColours(const std::uint8_t* bytes, std::span<Colour> colours) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const Bytes16 zero{};
        for (; i + kPixelsReached <= colours.size(); i += 4) {
            Bytes16 pixels;
            std::memcpy(&pixels, bytes + 3 * i, 16);
            const Bytes16 words = __builtin_shufflevector(pixels, zero, 2, 1, 0, 16, 5, 4, 3, 16, 8,
                                                          7, 6, 16, 11, 10, 9, 16);
            std::memcpy(colours.data() + i, &words, 16);
        }
        for (; i + 1 < colours.size(); ++i) {
            std::uint32_t word = 0;
            std::memcpy(&word, bytes + 3 * i, 4);
            colours[i] = static_cast<Colour>(swapRedAndBlue(word) & 0xFFFFFFu);
        }
    }
    for (; i < colours.size(); ++i) {
        colours[i] = makeColour(bytes[3 * i + 2], bytes[3 * i + 1], bytes[3 * i]);
    }
}

} // namespace kvistra
