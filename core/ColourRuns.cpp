#include "ColourRuns.h"

#include <bit>
#include <cstring>

namespace kvistra {

namespace {

// Red and blue change places between a colour and a pixel's bytes read as a word.
constexpr std::uint32_t swapRedAndBlue(std::uint32_t value) {
    return (value >> 16 & 0xFFu) | (value & 0xFF00u) | (value & 0xFFu) << 16;
}

} // namespace

void storeColours(std::span<const Colour> colours, std::uint8_t* bytes) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four bytes at a time, the fourth overwritten by the next colour: one
        // store a pixel instead of three. The last colour is written byte by byte.
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

void loadColours(const std::uint8_t* bytes, std::span<Colour> colours) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
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
