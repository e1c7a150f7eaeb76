// SPDX-License-Identifier: GPL-3.0-or-later
#include "words/Zoom.h"

#include <gtest/gtest.h>

using namespace kvistra;

namespace {

struct ZoomCase {
    double factor;
    PixelSize box;
};

// The canvas's outer size at start, 273 x 257, at every factor of the menu.
TEST(Zoom, BoxIsTheCanvasTimesTheFactorAndTheWindowAddsItsMargins) {
    const ZoomCase cases[] = {
        {1.0, {273, 257}}, {1.25, {341, 321}}, {1.5, {410, 386}},   {1.75, {478, 450}},
        {2.0, {546, 514}}, {3.0, {819, 771}},  {4.0, {1092, 1028}},
    };
    for (const ZoomCase& zoom : cases) {
        SCOPED_TRACE(zoom.factor);
        const PixelSize box = zoomedOuterSize({273, 257}, zoom.factor);
        EXPECT_EQ(box, zoom.box);
        // 350 and 900 twips, at 15 twips to the pixel.
        EXPECT_EQ(zoomWindowSize(box), (PixelSize{box.width + 23, box.height + 60}));
    }
}

// On a 1280 x 1024 screen less a 28-pixel title bar, with a menu bar 81 pixels wide.
TEST(Zoom, WindowKeepsWithinTheRoomAndAsWideAsItsMenuBar) {
    const struct {
        const char* name;
        PixelSize wanted;
        PixelSize fitted;
    } cases[] = {
        {"fits", {296, 317}, {296, 317}},
        {"400 % of the canvas: too high", {1115, 1088}, {1115, 996}},
        {"2000 x 2000 canvas", {2027, 2064}, {1280, 996}},
        {"3 x 3 canvas: a sliver", {30, 67}, {81, 67}},
        {"exactly the room", {1280, 996}, {1280, 996}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fittedZoomWindowSize(c.wanted, {1280, 996}, 81), c.fitted) << c.name;
    }
    // A room narrower than the menu bar still keeps the window within reach.
    EXPECT_EQ(fittedZoomWindowSize({30, 67}, {60, 996}, 81), (PixelSize{60, 67}));
}

TEST(Zoom, StretchGivesEverySourcePixelOneUnbrokenBlock) {
    const int sourceLengths[] = {1, 2, 7, 40, 269};
    const double factors[] = {1.0, 1.25, 1.5, 1.75, 2.0, 3.0, 4.0};
    for (const int source : sourceLengths) {
        for (const double factor : factors) {
            // The drawing area of a zoom box over a canvas with a 2-pixel frame.
            const int destination = zoomedOuterSize({source + 4, 1}, factor).width - 4;
            SCOPED_TRACE(::testing::Message() << source << " -> " << destination);
            ASSERT_GE(destination, source);
            int previous = -1;
            for (int x = 0; x < destination; ++x) {
                const int from = stretchedSource(x, destination, source);
                // In order, never skipping a pixel, from the first to the last.
                ASSERT_TRUE(from == previous || from == previous + 1) << "at " << x;
                previous = from;
            }
            EXPECT_EQ(previous, source - 1);
        }
    }
}

TEST(Zoom, EqualLengthsCopyPixelForPixel) {
    for (int x = 0; x < 269; ++x) {
        EXPECT_EQ(stretchedSource(x, 269, 269), x);
    }
}

} // namespace
