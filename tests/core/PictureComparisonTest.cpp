// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/PictureComparison.h"

#include "core/Image.h"
#include "support/TypedKeys.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

Colour withGreen(int green) {
    return 40 + 256 * green + 65536 * 50;
}

TEST(PictureComparison, FindsTheFirstDifferentPixelInRasterOrder) {
    const Image original(7, 5, withGreen(9));
    EXPECT_FALSE(firstDifference(original, original));

    Image changed = original;
    changed.setPixel(6, 3, withGreen(10));
    changed.setPixel(2, 4, withGreen(10));
    EXPECT_EQ(firstDifference(original, changed), (PictureDifference{false, 6, 3}));

    // One bit of blue is a difference too.
    Image blue = original;
    blue.setPixel(0, 0, withGreen(9) + 65536);
    EXPECT_EQ(firstDifference(original, blue), (PictureDifference{false, 0, 0}));

    EXPECT_EQ(firstDifference(original, Image(5, 7, withGreen(9))),
              (PictureDifference{true, 0, 0}));
}

TEST(PictureComparison, TellsWhereTheMessageStopsComingBack) {
    // "Hej" from (3, 1) with shift 2, running on into the next row of a 5-wide picture.
    Image picture(5, 3, withGreen(200));
    picture.setPixel(3, 1, withGreen('H' - 2));
    picture.setPixel(4, 1, withGreen('e' - 2));
    picture.setPixel(0, 2, withGreen('j' - 2));
    const DecodeRequest keys = test::readingKeys(3, "1", "3", "2");

    const struct {
        const char* name;
        DecodeRequest request;
        std::optional<std::int64_t> misread;
    } cases[] = {
        {"the key values of the message", keys, std::nullopt},
        {"another shift", test::readingKeys(3, "1", "3", "1"), 1},
        {"reading length too short", test::readingKeys(2, "1", "3", "2"), 3},
        {"reading length too long", test::readingKeys(4, "1", "3", "2"), 4},
        {"a key one further", test::readingKeys(3, "1", "4", "2"), 1},
        {"a shift that is no number", test::readingKeys(3, "1", "3", "x"), 1},
        {"past the picture's end", test::readingKeys(3, "2", "4", "2"), 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(firstMisreadCharacter(picture, c.request, "Hej"), c.misread);
    }
}

} // namespace
} // namespace kvistra
