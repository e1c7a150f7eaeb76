// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingReports.h"
#include "core/CharacterSet.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "core/Keystream.h"
#include "core/KeystreamColours.h"
#include "core/SecureRandom.h"
#include "support/TypedKeys.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

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
    const EncodeRequest request = test::writingKeys("\x01", std::to_string(width / 2),
                                                    std::to_string(height / 2), "0", false);
    Image image(width, height);
    SecureRandom random;
    EXPECT_TRUE(Encoder(image, random, report).generate(request));
    // The message pixel gets lead-in colours back, so only random codes are counted.
    image.setPixel(width / 2, height / 2, image.pixel(0, 0));
    return image;
}

TEST(SecureRandom, CodesFollowTheStatedDistribution) {
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

TEST(SecureRandom, NeighbouringPixelsDoNotRepeatEachOther) {
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

// Two runs of the program started in the same clock tick must not share a
// picture's random pixels: whoever knows one, or the time, would find the message.
TEST(SecureRandom, GeneratorsStartedTogetherDrawUnrelatedFills) {
    SecureRandom first;
    SecureRandom second;
    std::vector<Colour> a(4096);
    std::vector<Colour> b(a.size());
    first.fillReseededColours(a);
    second.fillReseededColours(b);
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        same += a[i] == b[i];
    }
    // A whole colour repeats by chance about once in 466 000 pixels.
    EXPECT_LT(same, 3u);
    // Reseeding from the clock changes nothing that could be guessed.
    first.reseedFromClock();
    second.reseedFromClock();
    EXPECT_NE(first.next(), second.next());
}

// AES-128 under the all-zero key: the first three blocks of counter mode from
// counter 0, as published with the cipher and with GCM's test vectors.
constexpr std::array<std::uint8_t, 48> kZeroKeyKeystream = {
    0x66, 0xe9, 0x4b, 0xd4, 0xef, 0x8a, 0x2c, 0x3b, 0x88, 0x4c, 0xfa, 0x59, 0xca, 0x34, 0x2b, 0x2e,
    0x58, 0xe2, 0xfc, 0xce, 0xfa, 0x7e, 0x30, 0x61, 0x36, 0x7f, 0x1d, 0x57, 0xa4, 0xe7, 0x45, 0x5a,
    0x03, 0x88, 0xda, 0xce, 0x60, 0xb6, 0xa3, 0x92, 0xf3, 0x28, 0xc2, 0xb9, 0x71, 0xb2, 0xfe, 0x78,
};

// A pixel's colour by the rule as stated: each channel's 21 bits read as a number
// r in [0, 1) and put through the random index rule.
Colour colourByTheRule(std::uint64_t word) {
    const auto channel = [word](int shift) {
        const auto bits = static_cast<std::uint32_t>(word >> shift & 0x1FFFFF);
        return randomCharacterCode(static_cast<float>(bits) * 0x1p-21f);
    };
    return makeColour(channel(43), channel(22), channel(1));
}

TEST(SecureRandom, AFixedKeyGivesTheKnownKeystreamThroughTheRule) {
    if (KeystreamKey::fastest() != KeystreamKey::Cipher::Aes) {
        GTEST_SKIP() << "no AES instructions here: the fill is drawn from ChaCha20";
    }
    SecureRandom random(SecureRandom::Key{});
    std::vector<Colour> colours(kZeroKeyKeystream.size() / 8);
    random.fillReseededColours(colours);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        std::uint64_t word = 0;
        for (std::size_t byte = 0; byte < 8; ++byte) {
            word |= std::uint64_t{kZeroKeyKeystream[8 * i + byte]} << (8 * byte);
        }
        EXPECT_EQ(colours[i], colourByTheRule(word)) << i;
        EXPECT_EQ(colours[i], colourOfKeystreamWord(word)) << i;
    }
}

TEST(SecureRandom, AFillDrawnInPiecesEqualsOneDrawnWhole) {
    SecureRandom whole(SecureRandom::Key{1, 2, 3});
    SecureRandom pieces(SecureRandom::Key{1, 2, 3});
    std::vector<Colour> once(100001);
    std::vector<Colour> piecewise(once.size());
    whole.fillReseededColours(once);
    for (std::size_t at = 0; at < piecewise.size(); at += 1000) {
        pieces.fillReseededColours(
            std::span(piecewise).subspan(at, std::min<std::size_t>(1000, piecewise.size() - at)));
    }
    EXPECT_EQ(once, piecewise);
    EXPECT_EQ(whole.next(), pieces.next());
}

// The fill draws many pixels at once, a batch at a time; each pixel must still be
// its own word of the stream, whatever the size.
TEST(SecureRandom, AFillGivesEachPixelItsOwnWordOfTheStream) {
    const SecureRandom::Key key{9, 8, 7, 6};
    SecureRandom reference(key);
    std::vector<Colour> expected(70001);
    for (std::size_t at = 0; at < expected.size(); at += 2) {
        // A two-pixel fill takes one block of its own: the stream's words in order.
        reference.fillReseededColours(
            std::span(expected).subspan(at, std::min<std::size_t>(2, expected.size() - at)));
    }
    for (const std::size_t size : {1u, 511u, 512u, 513u, 40000u, 70001u}) {
        SCOPED_TRACE(size);
        SecureRandom random(key);
        std::vector<Colour> colours(size);
        random.fillReseededColours(colours);
        EXPECT_TRUE(std::equal(colours.begin(), colours.end(), expected.begin()));
    }
}

// However the processor looks the characters up, every pixel is the rule applied
// to its own word; the batch's tail and a size that is no multiple of a vector included.
TEST(SecureRandom, EveryWayOfMakingColoursAppliesTheRuleToEachWord) {
    std::vector<unsigned char> keystream(8 * 1037);
    for (std::size_t i = 0; i < keystream.size(); ++i) {
        keystream[i] = static_cast<unsigned char>(i * 131 + (i >> 3) * 29 + (i >> 9));
    }
    std::vector<Colour> fast(keystream.size() / 8);
    std::vector<Colour> portable(fast.size());
    coloursOfKeystream(keystream.data(), fast);
    coloursOfKeystreamPortably(keystream.data(), portable);
    for (std::size_t i = 0; i < fast.size(); ++i) {
        const Colour expected = colourByTheRule(keystreamWord(keystream.data() + 8 * i));
        ASSERT_EQ(fast[i], expected) << i;
        ASSERT_EQ(portable[i], expected) << i;
    }
}

// Chunks drawn ahead on workers are the chunks drawn one after another, and the
// stream goes on from the same place afterwards.
TEST(SecureRandom, ChunksDrawnAheadEqualChunksDrawnInTurn) {
    const SecureRandom::Key key{4, 5, 6};
    for (const std::size_t count : {std::size_t{999}, std::size_t{300001}}) {
        SCOPED_TRACE(count);
        constexpr std::size_t kChunk = 4097; // odd: each chunk starts a block of its own
        SecureRandom inTurn(key);
        SecureRandom ahead(key);
        std::vector<Colour> expected(count);
        for (std::size_t at = 0; at < count; at += kChunk) {
            inTurn.fillReseededColours(
                std::span(expected).subspan(at, std::min(kChunk, count - at)));
        }
        std::vector<Colour> drawn;
        ahead.fillReseededChunks(count, kChunk, [&](std::span<const Colour> colours) {
            drawn.insert(drawn.end(), colours.begin(), colours.end());
        });
        EXPECT_EQ(drawn, expected);
        std::vector<Colour> nextOfEach(10);
        std::vector<Colour> nextOfAhead(10);
        inTurn.fillReseededColours(nextOfEach);
        ahead.fillReseededColours(nextOfAhead);
        EXPECT_EQ(nextOfAhead, nextOfEach);
    }
}

TEST(SecureRandom, DrawsStayBelowOne) {
    SecureRandom random;
    for (int i = 0; i < 100000; ++i) {
        const float r = random.next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

} // namespace
} // namespace kvistra
