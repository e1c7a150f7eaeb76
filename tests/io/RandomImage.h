// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Image.h"

#include <random>

namespace kvistra::test {

// The same picture of random colours for the same seed.
inline Image randomImage(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, static_cast<Colour>(random() & 0xFFFFFF));
        }
    }
    return image;
}

} // namespace kvistra::test
