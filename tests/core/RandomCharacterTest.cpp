// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingReports.h"
#include "core/CharacterSet.h"
#include "core/ClockSeededRandom.h"
#include "core/Encoder.h"
#include "core/Image.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace kvistra {
namespace {

TEST(CharacterSet, IndexRuleAtTheEdges) {
    EXPECT_EQ(randomIndex(0.0f), 1);
    EXPECT_EQ(randomIndex(0.0064935f), 1); // just below 0.5 / 77
    EXPECT_EQ(randomIndex(0.5f / 77.0f + 1e-6f), 2);
    EXPECT_EQ(randomIndex(std::nextafter(1.0f, 0.0f)), 78);
    EXPECT_EQ(randomCharacterCode(0.0f), '1');
    EXPECT_EQ(randomCharacterCode(std::nextafter(1.0f, 0.0f)), '/');
    EXPECT_EQ(characterAt(63), 0xC5); // Å
    EXPECT_EQ(characterAt(10), '0');
}

TEST(CharacterSet, IntegerFormAgreesWithTheFloatRuleForEveryDraw) {
    for (std::uint32_t bits = 0; bits < (1u << 24); ++bits) {
        const float r = static_cast<float>(bits) * 0x1p-24f;
        ASSERT_EQ(randomCharacterCodeFromBits(bits), randomCharacterCode(r)) << bits;
    }
}

// A one-character message in the middle of a large canvas: everything else is
// lead-in and decoys, drawn the way a real generation draws them.
Image generatedCanvas(int width, int height) {
    test::RecordingEncodeReport report;
    const EncodeRequest request{"\x01", std::to_string(width / 2), std::to_string(height / 2), "0",
                                false,  NumberLocale::c()};
    Image image(width, height);
    ClockSeededRandom random;
    EXPECT_TRUE(Encoder(image, random, report).generate(request));
    // The message pixel gets lead-in colours back, so only random codes are counted.
    image.setPixel(width / 2, height / 2, image.pixel(0, 0));
    return image;
}

TEST(ClockSeededRandom, CodesFollowTheStatedDistribution) {
    const Image image = generatedCanvas(600, 500);
    std::array<double, 256> counts{};
    double draws = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (const std::uint8_t byte :
             image.row(y).first(static_cast<std::size_t>(image.width()) * 3)) {
            counts[byte] += 1;
            draws += 1;
        }
    }
    // Characters 1 and / at half the rate of the other 76.
    double chiSquare = 0;
    for (int index = 1; index <= kCharacterSetSize; ++index) {
        const double p = (index == 1 || index == 78) ? 1.0 / 154 : 1.0 / 77;
        const double expected = draws * p;
        const double observed = counts[characterAt(index)];
        chiSquare += (observed - expected) * (observed - expected) / expected;
        counts[characterAt(index)] = 0;
    }
    for (const double stray : counts) {
        EXPECT_EQ(stray, 0) << "a code outside the character set";
    }
    // 77 degrees of freedom: the 0.1 % critical value is about 122.
    EXPECT_LT(chiSquare, 122.0);
}

TEST(ClockSeededRandom, NeighbouringPixelsDoNotRepeatEachOther) {
    const Image image = generatedCanvas(1000, 300);
    std::size_t pairs = 0;
    std::size_t sameColour = 0;
    std::size_t sameRed = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 1; x < image.width(); ++x) {
            const Colour a = image.pixel(x - 1, y);
            const Colour b = image.pixel(x, y);
            ++pairs;
            sameColour += a == b;
            sameRed += redOf(a) == redOf(b);
        }
    }
    // By chance a red byte repeats about once in 77.6 pairs, a whole colour almost never.
    const double expected = static_cast<double>(pairs) / 77.6;
    EXPECT_NEAR(static_cast<double>(sameRed), expected, 5 * std::sqrt(expected));
    EXPECT_LT(sameColour, 10u);
}

TEST(ClockSeededRandom, ReseedsInTheSameClockTickStillDiffer) {
    ClockSeededRandom random([] { return std::uint64_t{42}; });
    random.reseedFromClock();
    const float first = random.next();
    random.reseedFromClock();
    EXPECT_NE(random.next(), first);
}

TEST(ClockSeededRandom, AFillDrawnInPiecesEqualsOneDrawnWhole) {
    const auto clock = [] {
        return std::uint64_t{123456789};
    };
    ClockSeededRandom whole(clock);
    ClockSeededRandom pieces(clock);
    std::vector<Colour> once(100001);
    std::vector<Colour> piecewise(once.size());
    whole.fillReseededColours(once); // large enough to be shared between threads
    for (std::size_t at = 0; at < piecewise.size(); at += 1000) {
        pieces.fillReseededColours(
            std::span(piecewise).subspan(at, std::min<std::size_t>(1000, piecewise.size() - at)));
    }
    EXPECT_EQ(once, piecewise);
    EXPECT_EQ(whole.next(), pieces.next());
}

// The fill draws many pixels at once; each must still be its own reseeded pixel.
TEST(ClockSeededRandom, AFillGivesEachPixelItsOwnReseededColour) {
    const std::uint64_t time = 987654321;
    for (const std::size_t size : {1u, 511u, 512u, 513u, 40000u}) {
        SCOPED_TRACE(size);
        ClockSeededRandom random([time] { return time; });
        std::vector<Colour> skipped(3);
        random.fillReseededColours(skipped);
        std::vector<Colour> colours(size);
        random.fillReseededColours(colours);
        for (std::size_t i = 0; i < size; ++i) {
            ASSERT_EQ(colours[i],
                      ClockSeededRandom::reseededColour(time * ClockSeededRandom::kTimeSpread,
                                                        skipped.size() + i + 1))
                << i;
        }
    }
}

TEST(ClockSeededRandom, StartsUnseededWithTheSameSequence) {
    ClockSeededRandom first;
    ClockSeededRandom second([] { return std::uint64_t{7}; });
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(first.next(), second.next());
    }
}

TEST(ClockSeededRandom, DrawsStayBelowOne) {
    ClockSeededRandom random;
    for (int i = 0; i < 100000; ++i) {
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

} // namespace
} // namespace kvistra
