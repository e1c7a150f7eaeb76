// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunRegions.h"

#include <algorithm>

namespace kvistra {

std::vector<PixelRect> walkRects(int width, int height, std::int64_t first, std::int64_t count) {
    std::vector<PixelRect> rects;
    const std::int64_t total = std::int64_t{width} * height;
    if (width <= 0 || height <= 0 || first < 0 || first >= total || count <= 0) {
        return rects;
    }
    const std::int64_t end = std::min(total, first + count); // one past the last
    const auto rowOf = [width](std::int64_t index) {
        return static_cast<int>(index / width);
    };
    const auto columnOf = [width](std::int64_t index) {
        return static_cast<int>(index % width);
    };

    int row = rowOf(first);
    const int column = columnOf(first);
    const int lastRow = rowOf(end - 1);
    if (row == lastRow) {
        rects.push_back({column, row, columnOf(end - 1) + 1 - column, 1});
        return rects;
    }
    if (column > 0) {
        rects.push_back({column, row, width - column, 1});
        ++row;
    }
    const int endColumn = columnOf(end - 1) + 1;
    const int wholeRowsEnd = endColumn == width ? lastRow + 1 : lastRow;
    if (wholeRowsEnd > row) {
        rects.push_back({0, row, width, wholeRowsEnd - row});
    }
    if (endColumn < width) {
        rects.push_back({0, lastRow, endColumn, 1});
    }
    return rects;
}

std::optional<RunRegions> runRegions(int width, int height, const ReadingPlace& place) {
    if (place.xKey < 0 || place.yKey < 0 || place.xKey >= width || place.yKey >= height ||
        place.readingLength <= 0) {
        return std::nullopt;
    }
    const std::int64_t total = std::int64_t{width} * height;
    const std::int64_t key = std::int64_t{place.yKey} * width + place.xKey;
    const std::int64_t runEnd = std::min(total, key + place.readingLength);
    return RunRegions{walkRects(width, height, 0, key), walkRects(width, height, key, runEnd - key),
                      walkRects(width, height, runEnd, total - runEnd)};
}

} // namespace kvistra
