// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanvasRows.h"

#include "core/ColourRuns.h"

#include <algorithm>
#include <cstring>

namespace kvistra {

void readRowBytes(const Canvas& canvas, int y, std::span<std::uint8_t> row,
                  std::vector<Colour>& scratch) {
    scratch.resize(static_cast<std::size_t>(canvas.width()));
    canvas.readRun(0, y, scratch);
    storeColours(scratch, row.data());
}

std::optional<Message> backgroundProblem(const Canvas* background) {
    return background ? background->readProblem() : std::nullopt;
}

std::uint64_t rowDigest(std::span<const std::uint8_t> pixels) {
    // FNV-1a over eight bytes at a time, each step a bijection of the state: fast
    // enough for every row written and read, and rows that differ within one eight-byte
    // stretch (one pixel, say) never share a digest.
    std::uint64_t digest = 0xCBF29CE484222325ull ^ pixels.size();
    std::size_t at = 0;
    for (; at + 8 <= pixels.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, pixels.data() + at, 8);
        digest = (digest ^ word) * 0x100000001B3ull;
        digest ^= digest >> 29;
    }
    for (; at < pixels.size(); ++at) {
        digest = (digest ^ pixels[at]) * 0x100000001B3ull;
    }
    return digest ^ digest >> 32;
}

void fillWhite(std::span<std::uint8_t> row, int width) {
    std::fill_n(row.begin(), 3 * static_cast<std::size_t>(width), std::uint8_t{0xFF});
}

} // namespace kvistra
