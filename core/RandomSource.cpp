// SPDX-License-Identifier: GPL-3.0-or-later
#include "RandomSource.h"

#include "CharacterSet.h"

namespace kvistra {

void RandomSource::fillReseededColours(std::span<Colour> colours) {
    for (Colour& colour : colours) {
        reseedFromClock();
        const int red = randomCharacterCode(next());
        const int green = randomCharacterCode(next());
        const int blue = randomCharacterCode(next());
        colour = makeColour(red, green, blue);
    }
}

void RandomSource::fillReseededChunks(std::size_t count, std::size_t chunk, const UseChunk& use) {
    makeChunksInTurn(
        count, chunk,
        [this](std::size_t, std::span<Colour> colours) { fillReseededColours(colours); }, use);
}

Colour RandomSource::messageColour(int green) {
    const int red = randomCharacterCode(next());
    const int blue = randomCharacterCode(next());
    return makeColour(red, green, blue);
}

} // namespace kvistra
