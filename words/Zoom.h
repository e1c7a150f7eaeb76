// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// Window measures are kept in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

struct PixelSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// Pixels of a length in twips, rounded to the nearest (a half to even).
int pixelsOfTwips(double twips);

// The outer size of the zoom box: the canvas's outer size times the factor.
PixelSize zoomedOuterSize(PixelSize canvasOuter, double factor);

// The zoom window is 350 twips wider and 900 twips higher than its box.
PixelSize zoomWindowSize(PixelSize boxOuter);

// The zoom window's size: the size of the rule above, but no larger than the room
// the screen leaves it, where the box scrolls instead, and never narrower than its
// menu bar, which would otherwise fold its menu away.
PixelSize fittedZoomWindowSize(PixelSize wanted, PixelSize room, int menuBarWidth);

// The source pixel shown at a destination pixel when a length is stretched
// without smoothing: every source pixel becomes a block of its own colour.
int stretchedSource(int destination, int destinationLength, int sourceLength);

} // namespace kvistra
