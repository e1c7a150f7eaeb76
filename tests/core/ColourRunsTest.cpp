// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ColourRuns.h"

#include <gtest/gtest.h>
#include <vector>

namespace kvistra {
namespace {

// Runs of every short length, moved four colours at a time and the rest one by
// one: every colour's bytes are right and no byte past the run is touched, nor read
// (the sanitizer build sees a read past the exact bytes).
TEST(ColourRuns, EveryLengthRoundTripsAndStaysWithinItsBytes) {
    for (std::size_t length = 0; length <= 40; ++length) {
        SCOPED_TRACE(length);
        std::vector<Colour> colours;
        for (std::size_t i = 0; i < length; ++i) {
            colours.push_back(makeColour(static_cast<int>(10 + i), static_cast<int>(100 + i),
                                         static_cast<int>(200 + i)));
        }
        std::vector<std::uint8_t> bytes(3 * length + 4, 0xEE);
        storeColours(colours, bytes.data());
        for (std::size_t i = 0; i < length; ++i) {
            EXPECT_EQ(bytes[3 * i], 200 + i); // blue first, as in a bitmap file
            EXPECT_EQ(bytes[3 * i + 1], 100 + i);
            EXPECT_EQ(bytes[3 * i + 2], 10 + i);
        }
        for (std::size_t i = 3 * length; i < bytes.size(); ++i) {
            EXPECT_EQ(bytes[i], 0xEE) << "byte " << i << " past the run";
        }
        const std::vector<std::uint8_t> exact(
            bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(3 * length));
        std::vector<Colour> loaded(length, -1);
        loadColours(exact.data(), loaded);
        EXPECT_EQ(loaded, colours);
    }
}

} // namespace
} // namespace kvistra
