// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RunRegions.h"

#include <gtest/gtest.h>
#include <vector>

namespace kvistra {
namespace {

TEST(RunRegions, WalkIsCoveredByAtMostThreeRectangles) {
    const struct {
        const char* name;
        int first;
        int count;
        std::vector<PixelRect> rects;
    } cases[] = {
        // A 5 x 4 grid.
        {"within one row", 6, 3, {{1, 1, 3, 1}}},
        {"a whole row", 5, 5, {{0, 1, 5, 1}}},
        {"rest of a row, then the start of the next", 3, 4, {{3, 0, 2, 1}, {0, 1, 2, 1}}},
        {"whole rows from column 0", 5, 10, {{0, 1, 5, 2}}},
        {"all three", 3, 14, {{3, 0, 2, 1}, {0, 1, 5, 2}, {0, 3, 2, 1}}},
        {"ends at the end of a row", 3, 12, {{3, 0, 2, 1}, {0, 1, 5, 2}}},
        {"cut off at the end of the grid", 18, 50, {{3, 3, 2, 1}}},
        {"the whole grid", 0, 20, {{0, 0, 5, 4}}},
        {"nothing", 4, 0, {}},
        {"past the grid", 20, 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(walkRects(5, 4, c.first, c.count), c.rects);
    }
}

// The worked example of the format: a 5 x 4 canvas, key (3, 1), four characters.
TEST(RunRegions, LeadInRunAndDecoysOfTheWorkedExample) {
    const std::optional<RunRegions> regions = runRegions(5, 4, {3, 1, 4});
    ASSERT_TRUE(regions);
    EXPECT_EQ(regions->leadIn, (std::vector<PixelRect>{{0, 0, 5, 1}, {0, 1, 3, 1}}));
    EXPECT_EQ(regions->run, (std::vector<PixelRect>{{3, 1, 2, 1}, {0, 2, 2, 1}}));
    EXPECT_EQ(regions->decoys, (std::vector<PixelRect>{{2, 2, 3, 1}, {0, 3, 5, 1}}));
}

TEST(RunRegions, EveryPositionLiesInExactlyTheRegionOfItsPlaceInTheWalk) {
    for (const auto& [width, height] : {std::pair{5, 4}, std::pair{1, 7}, std::pair{7, 1}}) {
        for (int key = 0; key < width * height; ++key) {
            for (const int length : {1, 2, width, width + 1, 3 * width, width * height}) {
                const ReadingPlace place{key % width, key / width, length};
                const std::optional<RunRegions> regions = runRegions(width, height, place);
                ASSERT_TRUE(regions);
                // 1 lead-in, 2 run, 3 decoys.
                std::vector<int> seen(static_cast<std::size_t>(width * height), 0);
                const auto mark = [&](const std::vector<PixelRect>& rects, int region) {
                    for (const PixelRect& r : rects) {
                        for (int y = r.y; y < r.y + r.height; ++y) {
                            for (int x = r.x; x < r.x + r.width; ++x) {
                                seen[static_cast<std::size_t>(y * width + x)] += region;
                            }
                        }
                    }
                };
                mark(regions->leadIn, 1);
                mark(regions->run, 2);
                mark(regions->decoys, 3);
                for (int index = 0; index < width * height; ++index) {
                    const int expected = index < key ? 1 : index < key + length ? 2 : 3;
                    ASSERT_EQ(seen[static_cast<std::size_t>(index)], expected)
                        << width << "x" << height << " key " << key << " length " << length
                        << " position " << index;
                }
            }
        }
    }
}

TEST(RunRegions, NothingToOutlineOutsideTheGridOrWithoutALength) {
    for (const ReadingPlace place :
         {ReadingPlace{5, 0, 3}, ReadingPlace{0, 4, 3}, ReadingPlace{-1, 0, 3},
          ReadingPlace{0, 0, 0}, ReadingPlace{0, 0, -2}}) {
        EXPECT_FALSE(runRegions(5, 4, place)) << place.xKey << "," << place.yKey;
    }
}

} // namespace
} // namespace kvistra
