// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/BmpOutputCanvas.h"

#include "RandomImage.h"
#include "io/BmpFormat.h"
#include "io/PictureFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <tuple>

namespace kvistra {
namespace {

std::unique_ptr<BmpOutputCanvas> create(const std::string& path, int width, int height) {
    Result<std::unique_ptr<BmpOutputCanvas>> canvas = BmpOutputCanvas::create(path, width, height);
    EXPECT_TRUE(canvas);
    return std::move(*canvas);
}

// Wide rows make blocks of a few rows, so that small pictures span several blocks.
TEST(BmpOutputCanvas, RasterOrderGivesTheSameFileAsASavedPicture) {
    const test::TempFolder dir;
    for (const auto& [width, height] : {std::pair{5, 3}, {30001, 9}, {1, 1}}) {
        const Image picture = test::randomImage(width, height, 11);
        const auto canvas = create(dir / "streamed.bmp", width, height);
        std::vector<Colour> row(static_cast<std::size_t>(width));
        for (int y = 0; y < height; ++y) {
            picture.readRun(0, y, row);
            canvas->writeRun(0, y, row);
        }
        ASSERT_TRUE(canvas->commit());
        ASSERT_TRUE(savePicture(dir / "saved.bmp", picture));
        EXPECT_EQ(test::readBytes(dir / "streamed.bmp"), test::readBytes(dir / "saved.bmp"))
            << width << "x" << height;
    }
}

// Whole rows, parts of rows and rows never drawn on, in pictures whose rows carry
// padding (the wide one a few rows to a block): the file is byte for byte the
// picture saved whole.
TEST(BmpOutputCanvas, MixedWritesGiveTheSameFileAsASavedPicture) {
    const test::TempFolder dir;
    const int height = 7;
    for (const int width : {5, 30001}) {
        SCOPED_TRACE(width);
        const Image drawn = test::randomImage(width, height, 3);
        Image expected(width, height);
        const auto canvas = create(dir / "mixed.bmp", width, height);
        std::vector<Colour> row(static_cast<std::size_t>(width));
        for (const int y : {0, 3, 6}) { // whole rows
            drawn.readRun(0, y, row);
            canvas->writeRun(0, y, row);
            expected.writeRun(0, y, row);
        }
        for (const auto& [x, y, length] : {std::tuple{2, 1, 3}, {0, 4, 2}, {4, 6, 1}}) {
            const auto part = std::span(row).first(static_cast<std::size_t>(length));
            drawn.readRun(x, y, part);
            canvas->writeRun(x, y, part);
            expected.writeRun(x, y, part);
        }
        ASSERT_TRUE(canvas->commit());
        ASSERT_TRUE(savePicture(dir / "saved.bmp", expected));
        // Not EXPECT_EQ: a wide picture's bytes would fill the screen.
        EXPECT_TRUE(test::readBytes(dir / "mixed.bmp") == test::readBytes(dir / "saved.bmp"));
    }
}

TEST(BmpOutputCanvas, BehavesAsAWhiteCanvasInAnyOrder) {
    const test::TempFolder dir;
    const int width = 30001;
    const int height = 9;
    Image expected(width, height);
    const auto canvas = create(dir / "p.bmp", width, height);
    EXPECT_EQ(canvas->pixel(7, 8), kWhite);
    EXPECT_EQ(canvas->pixel(-1, 0), kOutsideCanvas);

    const struct {
        int x, y;
        Colour colour;
    } writes[] = {
        {0, 8, 0x010203}, {30000, 0, 0x0A0B0C}, {5, 4, 0x112233}, {5, 8, 0x445566}, {0, 0, 0}};
    for (const auto& w : writes) {
        canvas->setPixel(w.x, w.y, w.colour);
        expected.setPixel(w.x, w.y, w.colour);
    }
    for (const auto& w : writes) {
        EXPECT_EQ(canvas->pixel(w.x, w.y), w.colour);
    }
    ASSERT_TRUE(canvas->commit());
    const Result<Image> loaded = loadPicture(dir / "p.bmp");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, expected);
}

TEST(BmpOutputCanvas, NothingIsLeftWithoutCommit) {
    const test::TempFolder dir;
    test::writeBytes(dir / "p.bmp", std::string("old"));
    {
        const auto canvas = create(dir / "p.bmp", 10, 10);
        canvas->setPixel(1, 1, 0);
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"p.bmp"});
    EXPECT_EQ(test::readBytes(dir / "p.bmp"), "old");
}

TEST(BmpOutputCanvas, FailedWriteIsReportedAndKeepsTheOldFile) {
    const test::TempFolder dir;
    test::writeBytes(dir / "p.bmp", std::string("old"));
    const auto canvas = create(dir / "p.bmp", 3000, 300);

    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit small{100000, previous.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::vector<Colour> row(3000, 0);
    for (int y = 0; y < 300; ++y) {
        canvas->writeRun(0, y, row);
    }
    const Status status = canvas->commit();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_FALSE(status);
    EXPECT_EQ(status.problem().id, MessageId::CannotWriteFile);
    EXPECT_EQ(test::readBytes(dir / "p.bmp"), "old");
}

} // namespace
} // namespace kvistra
