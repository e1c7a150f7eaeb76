// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zoom.h"

#include "core/Rounding.h"

#include <algorithm>
#include <cstdint>

namespace kvistra {

namespace {

constexpr double kWindowExtraWidthTwips = 350;
constexpr double kWindowExtraHeightTwips = 900;

// Outer sizes are handed on in single precision.
int zoomedPixels(int pixels, double factor) {
    const auto twips = static_cast<float>(static_cast<double>(pixels) * kTwipsPerPixel * factor);
    return pixelsOfTwips(twips);
}

} // namespace

int pixelsOfTwips(double twips) {
    return static_cast<int>(roundHalfEven(twips / kTwipsPerPixel));
}

PixelSize zoomedOuterSize(PixelSize canvasOuter, double factor) {
    return {zoomedPixels(canvasOuter.width, factor), zoomedPixels(canvasOuter.height, factor)};
}

PixelSize zoomWindowSize(PixelSize boxOuter) {
    return {pixelsOfTwips(boxOuter.width * kTwipsPerPixel + kWindowExtraWidthTwips),
            pixelsOfTwips(boxOuter.height * kTwipsPerPixel + kWindowExtraHeightTwips)};
}

PixelSize fittedZoomWindowSize(PixelSize wanted, PixelSize room, int menuBarWidth) {
    // Out of reach is worse than a folded menu: the room wins.
    return {std::min(std::max(wanted.width, menuBarWidth), room.width),
            std::min(wanted.height, room.height)};
}

int stretchedSource(int destination, int destinationLength, int sourceLength) {
    // Sampled at the centre of the destination pixel.
    const std::int64_t scaled = (2 * std::int64_t{destination} + 1) * sourceLength;
    return static_cast<int>(scaled / (2 * std::int64_t{destinationLength}));
}

} // namespace kvistra
