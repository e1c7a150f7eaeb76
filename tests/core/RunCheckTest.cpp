// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RunCheck.h"

#include "core/Image.h"

#include <gtest/gtest.h>
#include <vector>

namespace kvistra {
namespace {

// The check kept while writing is the one read back from the same pixels, across
// rows and whatever was written there before; any byte of the run changes it, a
// pixel outside the run does not.
TEST(RunCheck, WhatIsWrittenIsWhatIsReadBack) {
    Image picture(7, 4);
    RunRecordingCanvas recording(picture, 5, 1, 6); // (5,1) (6,1) (0,2) ... (3,2)
    recording.setPixel(5, 1, 0x010203);
    const std::vector<Colour> row = {11, 12, 13, 14, 15, 16, 17};
    recording.writeRun(0, 2, row);
    recording.setPixel(6, 1, 0x123456);
    recording.setPixel(6, 1, 0x654321); // the last write counts
    recording.setPixel(4, 2, 99);       // past the run
    EXPECT_EQ(recording.check(), runCheckOf(picture, 5, 1, 6));
    EXPECT_EQ(recording.check().size(), 32u);

    for (const Colour change : {0x000001, 0x000100, 0x010000}) {
        Image changed = picture;
        changed.setPixel(1, 2, changed.pixel(1, 2) ^ change);
        EXPECT_NE(runCheckOf(changed, 5, 1, 6), recording.check()) << change;
    }
    Image outside = picture;
    outside.setPixel(4, 1, 1);
    outside.setPixel(4, 2, 1);
    EXPECT_EQ(runCheckOf(outside, 5, 1, 6), recording.check());
    EXPECT_NE(runCheckOf(picture, 5, 1, 5), recording.check());
}

} // namespace
} // namespace kvistra
