// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kvistra {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The rectangles, at most three, that cover `count` positions of the raster walk
// over a width x height grid from the position with index `first` (y * width + x):
// the rest of the first row, the whole rows, the start of the last row. Cut off
// where the grid ends.
std::vector<PixelRect> walkRects(int width, int height, std::int64_t first, std::int64_t count);

// Where a reader with these key values looks, and what lies around it.
struct RunRegions {
    std::vector<PixelRect> leadIn; // before the key position
    std::vector<PixelRect> run;    // the reading length's positions from the key
    std::vector<PixelRect> decoys; // after the run

    friend bool operator==(const RunRegions&, const RunRegions&) = default;
};

// The key position and reading length a reader starts from.
struct ReadingPlace {
    int xKey = 0;
    int yKey = 0;
    std::int64_t readingLength = 0;

    friend bool operator==(const ReadingPlace&, const ReadingPlace&) = default;
};

// nullopt when the key lies outside the grid or the length reads nothing.
std::optional<RunRegions> runRegions(int width, int height, const ReadingPlace& place);

} // namespace kvistra
