// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/BmpFormat.h"

#include "io/BmpFileCanvas.h"
#include "io/BmpReader.h"
#include "io/PictureFile.h"
#include "support/BmpFixture.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <climits>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::BmpFixture;
using Bytes = std::vector<std::uint8_t>;

constexpr Colour kRed = makeColour(255, 0, 0);
constexpr Colour kGreen = makeColour(0, 255, 0);
constexpr Colour kBlue = makeColour(0, 0, 255);
constexpr Colour kA = makeColour(0x12, 0x34, 0x56);
constexpr Colour kB = makeColour(0xA1, 0xB2, 0xC3);
constexpr Colour kC = makeColour(0x07, 0x08, 0x09);

std::vector<Colour> pixelsOf(const Canvas& canvas) {
    std::vector<Colour> pixels;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            pixels.push_back(canvas.pixel(x, y));
        }
    }
    return pixels;
}

struct GoodCase {
    const char* name;
    BmpFixture fixture;
    std::vector<Colour> expected; // rows from the top
};

std::vector<GoodCase> goodCases() {
    std::vector<GoodCase> cases;
    // 1 bit, nine pixels so a row spans two bytes; bottom-up.
    cases.push_back({"1-bit",
                     {.width = 9,
                      .height = 2,
                      .bitsPerPixel = 1,
                      .palette = {kA, kB},
                      .rows = {{0b1000'0000, 0b1000'0000}, {0b0101'0101, 0b0000'0000}}},
                     {kA, kB, kA, kB, kA, kB, kA, kB, kA, kB, kA, kA, kA, kA, kA, kA, kA, kB}});
    cases.push_back({"4-bit with three colours",
                     {.width = 3,
                      .height = 1,
                      .bitsPerPixel = 4,
                      .coloursUsed = 3,
                      .palette = {kA, kB, kC},
                      .rows = {{0x21, 0x00}}},
                     {kC, kB, kA}});
    cases.push_back({"8-bit top-down",
                     {.width = 2,
                      .height = -2,
                      .bitsPerPixel = 8,
                      .coloursUsed = 3,
                      .palette = {kA, kB, kC},
                      .rows = {{0, 1}, {2, 0}}},
                     {kA, kB, kC, kA}});
    cases.push_back({"8-bit core header",
                     {.headerSize = 12,
                      .width = 2,
                      .height = 1,
                      .bitsPerPixel = 8,
                      .palette = std::vector<Colour>(256, kA),
                      .rows = {{0, 0}}},
                     {kA, kA}});
    cases.push_back({"16-bit 555",
                     {.width = 3,
                      .height = 1,
                      .bitsPerPixel = 16,
                      .rows = {{0xFF, 0x7F, 0x1F, 0x00, 0x00, 0x02}}},
                     {kWhite, kBlue, makeColour(0, 132, 0)}});
    cases.push_back({"16-bit 565 bit fields",
                     {.width = 2,
                      .height = 1,
                      .bitsPerPixel = 16,
                      .compression = 3,
                      .masks = {0xF800, 0x07E0, 0x001F},
                      .rows = {{0xE0, 0x07, 0x00, 0xF8}}},
                     {kGreen, kRed}});
    cases.push_back({"24-bit with padding",
                     {.width = 3,
                      .height = 2,
                      .bitsPerPixel = 24,
                      .rows = {{0x56, 0x34, 0x12, 0xC3, 0xB2, 0xA1, 9, 8, 7},
                               {0, 0, 255, 0, 255, 0, 255, 0, 0}}},
                     {kRed, kGreen, kBlue, kA, kB, kC}});
    cases.push_back({"32-bit ignores the fourth byte",
                     {.width = 2,
                      .height = 1,
                      .bitsPerPixel = 32,
                      .rows = {{0x56, 0x34, 0x12, 0x00, 0xC3, 0xB2, 0xA1, 0x77}}},
                     {kA, kB}});
    cases.push_back({"32-bit RGBA bit fields in a V5 header",
                     {.headerSize = 124,
                      .width = 1,
                      .height = -1,
                      .bitsPerPixel = 32,
                      .compression = 3,
                      .masks = {0x000000FF, 0x0000FF00, 0x00FF0000},
                      .rows = {{0x12, 0x34, 0x56, 0x80}}},
                     {kA}});
    cases.push_back({"run-length 8-bit",
                     {.width = 4,
                      .height = 2,
                      .bitsPerPixel = 8,
                      .compression = 1,
                      .coloursUsed = 3,
                      .palette = {kA, kB, kC},
                      .runs = {3, 1, 1, 0, 0, 0, 0, 3, 2, 0, 1, 0, 1, 2, 0, 1}},
                     {kC, kA, kB, kC, kB, kB, kB, kA}});
    cases.push_back({"run-length 4-bit",
                     {.width = 5,
                      .height = 2,
                      .bitsPerPixel = 4,
                      .compression = 2,
                      .coloursUsed = 3,
                      .palette = {kA, kB, kC},
                      .runs = {5, 0x12, 0, 0, 2, 0, 0, 3, 0x21, 0x20, 0, 1}},
                     {kA, kA, kC, kB, kC, kB, kC, kB, kC, kB}});
    return cases;
}

TEST(BmpReader, DecodesEveryDepthToTheRightColours) {
    const test::TempFolder dir;
    for (const GoodCase& c : goodCases()) {
        SCOPED_TRACE(c.name);
        const Bytes file = c.fixture.build();
        const Result<Image> decoded = decodeBmp(file, "x.bmp");
        ASSERT_TRUE(decoded) << static_cast<int>(decoded.problem().id);
        EXPECT_EQ(pixelsOf(*decoded), c.expected);

        // The file reader and the lazy canvas see the same pixels.
        const std::string path = dir / "fixture.bmp";
        test::writeBytes(path, file);
        const Result<Image> read = readBmpFile(path);
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, *decoded);
        const auto canvas = BmpFileCanvas::open(path);
        if (canvas) {
            EXPECT_EQ(pixelsOf(**canvas), c.expected);
        }
    }
}

// The reader keeps the file it opened: a file that takes the name afterwards lends
// it neither pixels nor a verdict.
TEST(BmpReader, ReadsTheFileItOpenedWhateverTakesItsNameLater) {
    const test::TempFolder dir;
    for (const GoodCase& c : goodCases()) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "fixture.bmp";
        test::writeBytes(path, c.fixture.build());
        Result<BmpReader> reader = BmpReader::open(path);
        ASSERT_TRUE(reader);

        test::writeBytes(dir / "other.bmp", std::string("BM, but nothing after it"));
        ASSERT_EQ(std::rename((dir / "other.bmp").c_str(), path.c_str()), 0);
        EXPECT_TRUE(reader->checkPixels());
        const Result<Image> read = reader->read();
        ASSERT_TRUE(read);
        EXPECT_EQ(pixelsOf(*read), c.expected);
        if (reader->layout().everyRowValid()) {
            const auto canvas = BmpFileCanvas::open(std::move(*reader));
            ASSERT_TRUE(canvas);
            EXPECT_EQ(pixelsOf(**canvas), c.expected);
            EXPECT_FALSE((*canvas)->readProblem());
        }
    }
}

TEST(BmpReader, AcceptsAMissingPaddingAfterTheLastRow) {
    BmpFixture fixture{.width = 1, .height = 2, .rows = {{1, 2, 3}, {4, 5, 6}}};
    Bytes file = fixture.build();
    file.pop_back();
    const Result<Image> image = decodeBmp(file, "x.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(0, 0), makeColour(6, 5, 4));
    EXPECT_EQ(image->row(0)[3], 0); // padding is ours, not the file's
}

Bytes small24() {
    return BmpFixture{.width = 2, .height = 2, .rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}}
        .build();
}

Bytes runLength(std::vector<std::uint8_t> runs, std::int32_t height = 1) {
    return BmpFixture{.width = 4,
                      .height = height,
                      .bitsPerPixel = 8,
                      .compression = 1,
                      .coloursUsed = 3,
                      .palette = {kA, kB, kC},
                      .runs = std::move(runs)}
        .build();
}

Bytes paletted(std::uint8_t index) {
    return BmpFixture{.width = 1,
                      .height = 1,
                      .bitsPerPixel = 8,
                      .coloursUsed = 2,
                      .palette = {kA, kB},
                      .rows = {{index}}}
        .build();
}

// One black pixel in bit fields of the given depth and masks.
Bytes bitFields(std::uint16_t bitsPerPixel, std::array<std::uint32_t, 3> masks) {
    return BmpFixture{.width = 1,
                      .bitsPerPixel = bitsPerPixel,
                      .compression = 3,
                      .masks = masks,
                      .rows = {Bytes(bitsPerPixel / 8, 0)}}
        .build();
}

void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

struct BadCase {
    const char* name;
    std::function<Bytes()> make;
    MessageId expected;
};

Bytes changed(Bytes b, std::size_t at, std::uint32_t v) {
    put32(b, at, v);
    return b;
}

Bytes changed16(Bytes b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
    return b;
}

Bytes cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}

const BadCase kBadCases[] = {
    {"empty", [] { return Bytes{}; }, MessageId::NotAPicture},
    {"not a bitmap", [] { return Bytes{'P', 'K', 3, 4, 0, 0}; }, MessageId::NotAPicture},
    {"signature alone",
     [] {
         return Bytes{'B', 'M'};
     },
     MessageId::PictureTruncated},
    {"10 bytes", [] { return cut(small24(), 10); }, MessageId::PictureTruncated},
    {"header cut short", [] { return cut(small24(), 30); }, MessageId::PictureTruncated},
    {"headers without pixels", [] { return cut(small24(), 54); }, MessageId::PictureTruncated},
    {"last row cut", [] { return cut(small24(), 54 + 8 + 5); }, MessageId::PictureTruncated},
    {"header size 41", [] { return changed(small24(), 14, 41); }, MessageId::PictureMalformed},
    {"header size huge", [] { return changed(small24(), 14, 0xFFFFFFFF); },
     MessageId::PictureMalformed},
    {"zero width", [] { return changed(small24(), 18, 0); }, MessageId::PictureMalformed},
    {"negative width", [] { return changed(small24(), 18, static_cast<std::uint32_t>(-2)); },
     MessageId::PictureMalformed},
    {"zero height", [] { return changed(small24(), 22, 0); }, MessageId::PictureMalformed},
    {"width 32768", [] { return changed(small24(), 18, 32768); }, MessageId::PictureTooLarge},
    {"height -40000", [] { return changed(small24(), 22, static_cast<std::uint32_t>(-40000)); },
     MessageId::PictureTooLarge},
    {"height INT_MIN", [] { return changed(small24(), 22, 0x80000000u); },
     MessageId::PictureTooLarge},
    {"largest size, tiny file", [] { return changed(changed(small24(), 18, 32767), 22, 32767); },
     MessageId::PictureTruncated},
    {"two planes", [] { return changed16(small24(), 26, 2); }, MessageId::PictureMalformed},
    {"7 bits per pixel", [] { return changed16(small24(), 28, 7); }, MessageId::PictureMalformed},
    {"0 bits per pixel", [] { return changed16(small24(), 28, 0); }, MessageId::PictureMalformed},
    {"run-length at 4 bits for 8-bit pixels", [] { return changed(paletted(0), 30, 2); },
     MessageId::PictureMalformed},
    {"embedded JPEG", [] { return changed(small24(), 30, 4); }, MessageId::PictureMalformed},
    {"run past the row",
     [] {
         return runLength({5, 1, 0, 1});
     },
     MessageId::PictureMalformed},
    {"literal run past the row",
     [] {
         return runLength({0, 5, 1, 1, 1, 1, 1, 0, 0, 1});
     },
     MessageId::PictureMalformed},
    {"runs without an end mark",
     [] {
         return runLength({3, 1});
     },
     MessageId::PictureTruncated},
    {"literal run cut off",
     [] {
         return runLength({0, 5, 1, 2});
     },
     MessageId::PictureTruncated},
    {"run index out of range",
     [] {
         return runLength({1, 7, 0, 1});
     },
     MessageId::PictureMalformed},
    {"jump, which leaves pixels unset",
     [] {
         return runLength({0, 2, 1, 0, 3, 1, 0, 1});
     },
     MessageId::PictureMalformed},
    {"row ended early",
     [] {
         return runLength({3, 1, 0, 0, 4, 1, 0, 1}, 2);
     },
     MessageId::PictureMalformed},
    {"picture ended early",
     [] {
         return runLength({4, 1, 0, 1, 0, 0}, 2);
     },
     MessageId::PictureMalformed},
    {"runs too short for the size",
     [] {
         return changed(runLength({4, 1, 0, 1}), 22, 30000);
     },
     MessageId::PictureTruncated},
    {"run above the top row",
     [] {
         return runLength({0, 0, 1, 1, 0, 1});
     },
     MessageId::PictureMalformed},
    {"top-down run-length",
     [] {
         return runLength({0, 1}, -1);
     },
     MessageId::PictureMalformed},
    {"bit fields at 24 bits", [] { return changed(small24(), 30, 3); },
     MessageId::PictureMalformed},
    {"pixels before the headers end", [] { return changed(small24(), 10, 20); },
     MessageId::PictureMalformed},
    {"pixels past the end", [] { return changed(small24(), 10, 0xFFFFFFF0); },
     MessageId::PictureTruncated},
    {"palette index out of range", [] { return paletted(2); }, MessageId::PictureMalformed},
    {"more colours than 8 bits hold", [] { return changed(paletted(0), 46, 257); },
     MessageId::PictureMalformed},
    {"no room for a palette", [] { return changed(paletted(0), 10, 54); },
     MessageId::PictureMalformed},
    {"zero mask",
     [] {
         return bitFields(16, {0xF800, 0, 0x1F});
     },
     MessageId::PictureMalformed},
    {"overlapping masks",
     [] {
         return bitFields(32, {0xFF0000, 0x01FF00, 0xFF});
     },
     MessageId::PictureMalformed},
    {"mask with a gap",
     [] {
         return bitFields(16, {0xF000, 0x0505, 0x000A});
     },
     MessageId::PictureMalformed},
    {"16-bit mask wider than the pixel",
     [] {
         return bitFields(16, {0xF0000, 0x07E0, 0x001F});
     },
     MessageId::PictureMalformed},
    {"bit field masks cut off",
     [] {
         return cut(bitFields(32, {0xFF0000, 0xFF00, 0xFF}), 60);
     },
     MessageId::PictureTruncated},
};

TEST(BmpReader, RefusesMalformedFiles) {
    const test::TempFolder dir;
    const std::string path = dir / "bad.bmp";
    for (const BadCase& c : kBadCases) {
        SCOPED_TRACE(c.name);
        const Bytes file = c.make();
        const Result<Image> decoded = decodeBmp(file, path);
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.problem().id, c.expected);
        EXPECT_EQ(decoded.problem().args.at(0), path);

        test::writeBytes(path, file);
        const Result<Image> read = readBmpFile(path);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.problem(), decoded.problem());
        // One verdict: measuring the picture refuses it as reading does.
        const Result<std::pair<int, int>> size = pictureSize(path);
        ASSERT_FALSE(size);
        EXPECT_EQ(size.problem(), decoded.problem());
        // The lazy canvas refuses all run-length files, good or bad.
        const auto canvas = BmpFileCanvas::open(path);
        ASSERT_FALSE(canvas);
        if (canvas.problem() != decoded.problem()) {
            EXPECT_EQ(canvas.problem().id, MessageId::PictureMalformed);
        }
    }
}

TEST(BmpReader, TooLargeNamesTheSize) {
    const Result<Image> image =
        decodeBmp(changed(small24(), 22, static_cast<std::uint32_t>(-40000)), "p");
    ASSERT_FALSE(image);
    EXPECT_EQ(image.problem(), (Message{MessageId::PictureTooLarge, {"p", "2", "40000"}}));
}

TEST(BmpWriter, WritesBottomUp24BitWithFullHeaders) {
    const test::TempFolder dir;
    const std::string path = dir / "out.bmp";
    Image image(3, 2);
    image.setPixel(0, 0, kA); // top left
    image.setPixel(0, 1, kB); // bottom left
    ASSERT_TRUE(savePicture(path, image));
    const std::string bytes = test::readBytes(path);
    const auto u = [&](std::size_t at, int size) {
        std::uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i) {
            v = v << 8 | static_cast<std::uint8_t>(bytes.at(at + static_cast<std::size_t>(i)));
        }
        return v;
    };
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const std::pair<std::size_t, std::uint32_t> fields[] = {
        {2, 78}, {10, 54}, {14, 40},   {18, 3},    {22, 2},
        {30, 0}, {34, 24}, {38, 2835}, {42, 2835}, {46, 0}};
    for (const auto& [at, value] : fields) {
        EXPECT_EQ(u(at, 4), value) << "offset " << at;
    }
    EXPECT_EQ(u(26, 2), 1u);  // planes
    EXPECT_EQ(u(28, 2), 24u); // bits per pixel
    // The first row in the file is the bottom one.
    EXPECT_EQ(u(54, 3), 0xA1B2C3u);      // kB as blue, green, red
    EXPECT_EQ(u(54 + 12, 3), 0x123456u); // kA
    EXPECT_EQ(u(54 + 9, 3), 0u);         // padding
}

} // namespace
} // namespace kvistra
