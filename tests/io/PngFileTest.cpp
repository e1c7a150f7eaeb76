// SPDX-License-Identifier: GPL-3.0-or-later
#include "RandomImage.h"
#include "io/PictureFile.h"
#include "io/PngFileCanvas.h"
#include "io/PngOutputCanvas.h"
#include "io/PngReader.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <QImage>
#include <cstdio>
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

namespace kvistra {
namespace {

using test::TempFolder;

// Each pixel as Qt reads it, alpha dropped: what the colour channels hold.
Image decodedByQt(const std::string& path) {
    const QImage argb = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
    Image image(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb rgb = argb.pixel(x, y);
            image.setPixel(x, y, makeColour(qRed(rgb), qGreen(rgb), qBlue(rgb)));
        }
    }
    return image;
}

QImage randomQImage(int width, int height, unsigned seed) {
    const Image image = test::randomImage(width, height, seed);
    QImage out(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = image.pixel(x, y);
            out.setPixel(x, y, qRgba(redOf(c), greenOf(c), blueOf(c), (x * 37 + y) & 0xFF));
        }
    }
    return out;
}

// An interlaced RGB file, which Qt cannot write.
void writeInterlaced(const std::string& path, const Image& image) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    std::vector<png_bytep> rows;
    Image copy = image;
    for (int y = 0; y < copy.height(); ++y) {
        rows.push_back(copy.row(y).data());
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void expectSamePixels(const Canvas& canvas, const Image& expected) {
    ASSERT_EQ(canvas.width(), expected.width());
    ASSERT_EQ(canvas.height(), expected.height());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            ASSERT_EQ(canvas.pixel(x, y), expected.pixel(x, y)) << x << ", " << y;
        }
    }
}

// Every colour type and depth comes out as the colour channels stored, as Qt
// reads them, whole and row by row.
TEST(PngFile, EveryKindOfFileReadsAsQtReadsIt) {
    const TempFolder dir;
    const struct {
        const char* name;
        QImage::Format format;
    } kinds[] = {
        {"rgb", QImage::Format_RGB888},       {"rgba", QImage::Format_ARGB32},
        {"grey", QImage::Format_Grayscale8},  {"grey16", QImage::Format_Grayscale16},
        {"palette", QImage::Format_Indexed8}, {"mono", QImage::Format_Mono},
        {"rgb16", QImage::Format_RGBX64},     {"rgba16", QImage::Format_RGBA64},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const std::string path = dir / (std::string(kind.name) + ".png");
        ASSERT_TRUE(randomQImage(37, 11, 5)
                        .convertToFormat(kind.format)
                        .save(QString::fromStdString(path), "PNG"));
        const Image expected = decodedByQt(path);

        const Result<Image> whole = loadPicture(path);
        ASSERT_TRUE(whole) << static_cast<int>(whole.problem().id);
        EXPECT_EQ(*whole, expected);
        const Result<std::unique_ptr<Canvas>> rows = openPictureForReading(path);
        ASSERT_TRUE(rows);
        expectSamePixels(**rows, expected);
        EXPECT_TRUE(laterReads(**rows));
    }
}

TEST(PngFile, InterlacedFilesAreReadWhole) {
    const TempFolder dir;
    for (const auto& [width, height] : {std::pair(1, 1), std::pair(3, 2), std::pair(61, 47)}) {
        const std::string path = dir / "interlaced.png";
        const Image image = test::randomImage(width, height, 9);
        writeInterlaced(path, image);
        const Result<Image> whole = loadPicture(path);
        ASSERT_TRUE(whole);
        EXPECT_EQ(*whole, image);
        const Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(path);
        ASSERT_TRUE(canvas);
        expectSamePixels(**canvas, image);
    }
}

// A file cut short or changed is refused by name, never read as a picture.
TEST(PngFile, BrokenFilesAreRefused) {
    const TempFolder dir;
    const std::string good = dir / "good.png";
    ASSERT_TRUE(savePicture(good, test::randomImage(40, 30, 3)));
    const std::string bytes = test::readBytes(good);
    const std::size_t idat = bytes.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    const auto changedAt = [&](std::size_t at) {
        std::string changed = bytes;
        changed[at] = static_cast<char>(changed[at] ^ 0x40);
        return changed;
    };
    const struct {
        const char* name;
        std::string bytes;
        MessageId says;
    } cases[] = {
        {"signature only", bytes.substr(0, 8), MessageId::PictureTruncated},
        {"cut in the header", bytes.substr(0, 20), MessageId::PictureTruncated},
        {"cut in the pixels", bytes.substr(0, idat + 200), MessageId::PictureTruncated},
        {"header changed", changedAt(18), MessageId::PictureMalformed},
        {"pixels changed", changedAt(idat + 100), MessageId::PictureMalformed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / "broken.png";
        test::writeBytes(path, c.bytes);
        const Result<Image> whole = loadPicture(path);
        ASSERT_FALSE(whole);
        EXPECT_EQ(whole.problem().id, c.says);
        EXPECT_EQ(whole.problem().args.front(), path);

        // Row by row, the problem shows when the rows are read.
        const Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(path);
        if (canvas) {
            (*canvas)->pixel(39, 29);
            const Status reads = laterReads(**canvas);
            ASSERT_FALSE(reads);
            EXPECT_EQ(reads.problem().id, c.says);
        } else {
            EXPECT_EQ(canvas.problem().id, c.says);
        }
    }
}

// The top of a large picture is read without the rest of the file; reading back
// up starts again from the top.
TEST(PngFileCanvas, InflatesOnlyAsFarAsTheRowsAskedFor) {
    const TempFolder dir;
    const std::string path = dir / "tall.png";
    const Image image = test::randomImage(300, 2000, 4);
    ASSERT_TRUE(savePicture(path, image));
    const std::string whole = test::readBytes(path);
    test::writeBytes(path, whole.substr(0, whole.size() / 4));

    const Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(path);
    ASSERT_TRUE(canvas);
    for (const int y : {0, 100, 5, 99, 0}) {
        EXPECT_EQ((*canvas)->pixel(299, y), image.pixel(299, y)) << y;
    }
    EXPECT_TRUE(laterReads(**canvas));
    EXPECT_EQ((*canvas)->pixel(0, 1999), 0); // past the end of what is left: black
    EXPECT_EQ(laterReads(**canvas).problem().id, MessageId::PictureTruncated);
}

// Wide enough for several blocks of rows, each written while the next is drawn.
TEST(PngOutputCanvas, RasterOrderGivesThePictureWithTheBackgroundAround) {
    const TempFolder dir;
    constexpr int kWidth = 2000;
    const Image background = test::randomImage(kWidth, 700, 6);
    const Image drawn = test::randomImage(kWidth, 700, 7);
    for (const PngContent content : {PngContent::Picture, PngContent::RandomCharacters}) {
        const std::string path = dir / "out.png";
        auto canvas = PngOutputCanvas::create(path, kWidth, 700, &background, content);
        ASSERT_TRUE(canvas);
        Image expected = background;
        // Part of row 3 and rows 200 to 599; the rest is the background's.
        for (int y = 3; y < 600; y = y == 3 ? 200 : y + 1) {
            const int from = y == 3 ? 20 : 0;
            std::vector<Colour> run(static_cast<std::size_t>(kWidth - from));
            drawn.readRun(from, y, run);
            (*canvas)->writeRun(from, y, run);
            expected.writeRun(from, y, run);
        }
        ASSERT_TRUE((*canvas)->commit());
        // Not EXPECT_EQ: the pictures' pixels would fill the screen.
        EXPECT_TRUE(*loadPicture(path) == expected);
    }
}

TEST(PngOutputCanvas, NothingIsLeftWithoutCommit) {
    const TempFolder dir;
    {
        auto canvas = PngOutputCanvas::create(dir / "gone.png", 10, 10);
        ASSERT_TRUE(canvas);
        (*canvas)->setPixel(1, 1, 0);
    }
    EXPECT_TRUE(dir.entries().empty());
}

} // namespace
} // namespace kvistra
