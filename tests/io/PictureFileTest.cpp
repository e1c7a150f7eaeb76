// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/PictureFile.h"

#include "RandomImage.h"
#include "io/BmpFileCanvas.h"
#include "io/BmpFormat.h"
#include "support/BmpFixture.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <QImage>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kvistra {
namespace {

using test::TempFolder;

class PictureRoundTrip : public testing::TestWithParam<std::tuple<int, const char*>> {};

TEST_P(PictureRoundTrip, EveryPixelComesBackExactly) {
    const auto [width, extension] = GetParam();
    const TempFolder dir;
    const std::string path = dir / std::string("picture.") + extension;
    const Image image = test::randomImage(width, 3, static_cast<unsigned>(width));
    ASSERT_TRUE(savePicture(path, image));

    const Result<Image> loaded = loadPicture(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, image);
    EXPECT_EQ(*pictureSize(path), std::pair(width, 3));
    const Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(path);
    ASSERT_TRUE(canvas);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ((*canvas)->pixel(x, y), image.pixel(x, y));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, PictureRoundTrip,
                         testing::Combine(testing::Values(1, 2, 3, 4, 5),
                                          testing::Values("bmp", "png", "PNG")),
                         [](const auto& info) {
                             return std::get<1>(info.param) + std::string("Width") +
                                    std::to_string(std::get<0>(info.param));
                         });

TEST(PictureFile, SavesPngOnlyForPngNames) {
    const TempFolder dir;
    const Image image(2, 2);
    const struct {
        const char* name;
        const char* signature;
    } cases[] = {{"a.png", "\x89PNG"},
                 {"b.PnG", "\x89PNG"},
                 {"c.bmp", "BM"},
                 {"noextension", "BM"},
                 {"d.tiff", "BM"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(savePicture(dir / c.name, image)) << c.name;
        EXPECT_TRUE(test::readBytes(dir / c.name).starts_with(c.signature)) << c.name;
    }
}

TEST(PictureFile, RefusesLossyNamesWithoutWriting) {
    const TempFolder dir;
    for (const char* name : {"a.jpg", "a.JPEG", "a.Jpe", "a.jfif", "a.webp", "a.gif", "a.heic",
                             "a.heif", "a.avif", "a.jp2", "a.jxl"}) {
        const Status status = savePicture(dir / name, Image(1, 1));
        ASSERT_FALSE(status) << name;
        EXPECT_EQ(status.problem(), (Message{MessageId::LossyPictureFormat, {dir / name}}));
    }
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_FALSE(isLossyPictureName("folder.jpg/picture"));
}

// Write failures must leave an earlier file as it was. Root ignores folder
// permissions, so a file size limit makes the write fail for anyone.
TEST(PictureFile, FailedSaveLeavesTheExistingFileAlone) {
    const TempFolder dir;
    const Image large = test::randomImage(200, 200, 7);
    for (const char* name : {"kept.bmp", "kept.png"}) {
        const std::string path = dir / name;
        ASSERT_TRUE(savePicture(path, Image(1, 1)));
        const std::string before = test::readBytes(path);

        rlimit previous{};
        ::getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit small{1000, previous.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const Status status = savePicture(path, large);
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, oldHandler);

        ASSERT_FALSE(status) << name;
        EXPECT_EQ(status.problem().id, MessageId::CannotWriteFile);
        EXPECT_EQ(status.problem().args.at(0), path);
        EXPECT_EQ(test::readBytes(path), before);
    }
    EXPECT_EQ(dir.entries().size(), 2u); // no temporary files left behind
}

TEST(PictureFile, SavingIntoAReadOnlyFolderFails) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    const TempFolder dir;
    const std::string path = dir / "kept.bmp";
    ASSERT_TRUE(savePicture(path, Image(1, 1)));
    const std::string before = test::readBytes(path);
    ::chmod(dir.path().c_str(), 0555);
    const Status status = savePicture(path, Image(3, 3));
    ::chmod(dir.path().c_str(), 0755);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.problem().id, MessageId::CannotWriteFile);
    EXPECT_EQ(test::readBytes(path), before);
}

TEST(PictureFile, FilesThatCannotBeReadAtAll) {
    const TempFolder dir;
    test::writeBytes(dir / "text.bmp", std::string("This is a letter, not a picture.\r\n"));
    test::writeBytes(dir / "empty.png", std::string());
    // A named pipe without a writer: opening it to read must not wait for one.
    // The test holds a writer of its own, so that it cannot hang.
    ASSERT_EQ(::mkfifo((dir / "pipe.bmp").c_str(), 0644), 0);
    const int writer = ::open((dir / "pipe.bmp").c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::write(writer, "BM", 2), 2);
    const struct {
        std::string path;
        MessageId id;
    } cases[] = {
        {dir / "absent.bmp", MessageId::CannotOpenFile},
        {dir.path().string(), MessageId::CannotOpenFile},
        {dir / "pipe.bmp", MessageId::NotARegularFile},
        {"/dev/zero", MessageId::NotARegularFile},
        {dir / "text.bmp", MessageId::NotAPicture},
        {dir / "empty.png", MessageId::NotAPicture},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Result<Image> image = loadPicture(c.path);
        ASSERT_FALSE(image);
        EXPECT_EQ(image.problem().id, c.id);
        EXPECT_EQ(image.problem().args.at(0), c.path);
        const auto canvas = openPictureForReading(c.path);
        ASSERT_FALSE(canvas);
        EXPECT_EQ(canvas.problem(), image.problem());
        const auto size = pictureSize(c.path);
        ASSERT_FALSE(size);
        EXPECT_EQ(size.problem(), image.problem());
    }
    ::close(writer);
}

TEST(PictureFile, QtFormatsKeepColourChannelsAndDropAlpha) {
    const TempFolder dir;
    QImage source(3, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(10, 20, 30, 0));
    source.setPixel(1, 0, qRgba(200, 100, 50, 128));
    source.setPixel(2, 0, qRgba(1, 2, 3, 255));
    const std::string path = dir / "alpha.png";
    ASSERT_TRUE(source.save(QString::fromStdString(path), "PNG"));

    const Result<Image> image = loadPicture(path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(0, 0), makeColour(10, 20, 30));
    EXPECT_EQ(image->pixel(1, 0), makeColour(200, 100, 50));
    EXPECT_EQ(image->pixel(2, 0), makeColour(1, 2, 3));
}

// Qt decodes a PNG of 16 bits a channel to 64 bits a pixel; its memory is reckoned so,
// which a picture of some megabytes shows.
TEST(PictureFile, ReadsAPngOfSixteenBitsAChannel) {
    const TempFolder dir;
    QImage source(2048, 1024, QImage::Format_RGBX64);
    source.fill(QColor::fromRgba64(0xC8C8, 0x6464, 0x3232));
    source.setPixelColor(2047, 1023, QColor::fromRgba64(0x0A0A, 0x1414, 0x1E1E));
    const std::string path = dir / "deep.png";
    ASSERT_TRUE(source.save(QString::fromStdString(path), "PNG"));

    const Result<Image> image = loadPicture(path);
    ASSERT_TRUE(image) << static_cast<int>(image.problem().id);
    EXPECT_EQ(image->pixel(0, 0), makeColour(200, 100, 50));
    EXPECT_EQ(image->pixel(2047, 1023), makeColour(10, 20, 30));
}

TEST(PictureFile, ReadsGifAndJpegThroughQtPlugins) {
    const TempFolder dir;
    // One red pixel.
    const std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                          ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                          35);
    test::writeBytes(dir / "red.gif", gif);
    const Result<Image> fromGif = loadPicture(dir / "red.gif");
    ASSERT_TRUE(fromGif) << static_cast<int>(fromGif.problem().id);
    EXPECT_EQ(fromGif->pixel(0, 0), makeColour(255, 0, 0));

    QImage grey(16, 8, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    ASSERT_TRUE(grey.save(QString::fromStdString(dir / "grey.jpg"), "JPEG"));
    const Result<Image> fromJpeg = loadPicture(dir / "grey.jpg");
    ASSERT_TRUE(fromJpeg);
    EXPECT_EQ(*pictureSize(dir / "grey.jpg"), std::pair(16, 8));
    EXPECT_NEAR(greenOf(fromJpeg->pixel(5, 5)), 128, 2);
}

// A few bytes may claim a huge picture; outside bitmap and PNG no picture may take
// more than 1 GiB to decode, and the size is known from the header alone.
TEST(PictureFile, RefusesATinyGifThatClaimsAHugePictureBeforeDecodingIt) {
    const TempFolder dir;
    const std::string path = dir / "huge.gif";
    test::writeBytes(path, std::string("GIF89a\x80\x3E\x80\x3E\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                                       ",\x00\x00\x00\x00\x80\x3E\x80\x3E\x00\x02\x02\x44\x01\x00;",
                                       35));
    // Qt's 32-bit copy and ours: 16000 * 16000 * (4 + 3) bytes.
    const Message expected{MessageId::PictureNeedsMemory, {path, "16000", "16000", "1709", "1024"}};
    const Result<Image> loaded = loadPicture(path);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.problem(), expected);
    const Result<std::pair<int, int>> size = pictureSize(path);
    ASSERT_FALSE(size);
    EXPECT_EQ(size.problem(), expected);
    const Result<std::unique_ptr<Canvas>> canvas = openPictureForReading(path);
    ASSERT_FALSE(canvas);
    EXPECT_EQ(canvas.problem(), expected);
}

std::vector<Colour> allPixels(const Canvas& canvas) {
    std::vector<Colour> pixels;
    for (int y = 0; y < canvas.height(); ++y) {
        std::vector<Colour> row(static_cast<std::size_t>(canvas.width()));
        canvas.readRun(0, y, row);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    return pixels;
}

TEST(BmpFileCanvas, AgreesWithTheWholePictureInEitherRowOrder) {
    const TempFolder dir;
    // Rows longer than a few kilobytes, so reads cross the canvas's blocks.
    const Image image = test::randomImage(1500, 90, 3);
    ASSERT_TRUE(savePicture(dir / "bottom-up.bmp", image));
    test::BmpFixture topDown{.width = 1500, .height = -90};
    for (int y = 0; y < 90; ++y) {
        const auto row = image.row(y);
        topDown.rows.emplace_back(row.begin(), row.begin() + 1500 * 3);
    }
    test::writeBytes(dir / "top-down.bmp", topDown.build());

    for (const char* name : {"bottom-up.bmp", "top-down.bmp"}) {
        SCOPED_TRACE(name);
        auto canvas = BmpFileCanvas::open(dir / name);
        ASSERT_TRUE(canvas);
        const Canvas& c = **canvas;
        EXPECT_EQ(allPixels(c), allPixels(image));
        // Jumping about between distant rows.
        for (int i = 0; i < 2000; ++i) {
            const int x = (i * 7919) % 1500;
            const int y = (i * 104729) % 90;
            ASSERT_EQ(c.pixel(x, y), image.pixel(x, y)) << x << "," << y;
        }
        for (const auto& [x, y] : {std::pair(-1, 0), {1500, 0}, {0, -1}, {0, 90}, {-5, 200}}) {
            EXPECT_EQ(c.pixel(x, y), kOutsideCanvas);
        }
        EXPECT_FALSE((*canvas)->readProblem());
    }
}

TEST(BmpFileCanvas, OnlyUncompressedFilesWithoutInvalidValuesAreReadLazily) {
    const TempFolder dir;
    test::writeBytes(dir / "full.bmp", test::BmpFixture{.width = 1,
                                                        .bitsPerPixel = 8,
                                                        .palette = std::vector<Colour>(256, 5),
                                                        .rows = {{0}}}
                                           .build());
    test::writeBytes(
        dir / "short.bmp",
        test::BmpFixture{
            .width = 1, .bitsPerPixel = 8, .coloursUsed = 2, .palette = {5, 6}, .rows = {{1}}}
            .build());
    ASSERT_TRUE(savePicture(dir / "plain.bmp", Image(2, 2)));
    ASSERT_TRUE(savePicture(dir / "plain.png", Image(2, 2)));
    const struct {
        const char* name;
        bool lazy;
    } cases[] = {
        {"full.bmp", true}, {"short.bmp", false}, {"plain.bmp", true}, {"plain.png", false}};
    for (const auto& c : cases) {
        const auto canvas = openPictureForReading(dir / c.name);
        ASSERT_TRUE(canvas) << c.name;
        EXPECT_EQ(dynamic_cast<const BmpFileCanvas*>(canvas->get()) != nullptr, c.lazy) << c.name;
    }
}

std::uint64_t bytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

TEST(BmpFileCanvas, ReadsOnlyTheRowsAskedFor) {
    const TempFolder dir;
    const std::string path = dir / "large.bmp";
    // A 4000 x 3000 bitmap of 36 MB; sparse, so the test does not write it all.
    test::BmpFixture header{.width = 4000, .height = 3000};
    std::vector<std::uint8_t> bytes = header.build();
    test::writeBytes(path, bytes);
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(54 + 12000ull * 3000)), 0);

    const std::uint64_t before = bytesReadSoFar();
    const auto canvas = openPictureForReading(path);
    ASSERT_TRUE(canvas);
    std::vector<Colour> run(4000);
    for (int y = 0; y < 9; ++y) { // 36,000 pixels from the top rows
        (*canvas)->readRun(0, y, run);
    }
    const std::uint64_t read = bytesReadSoFar() - before;
    EXPECT_LT(read, 1'000'000u);
    EXPECT_EQ((*canvas)->pixel(3999, 8), 0);
}

TEST(BmpFileCanvas, RowsLostAfterOpeningReadAsBlackAndAreReported) {
    const TempFolder dir;
    const std::string path = dir / "shrinking.bmp";
    ASSERT_TRUE(savePicture(path, test::randomImage(4, 4, 1)));
    auto canvas = BmpFileCanvas::open(path);
    ASSERT_TRUE(canvas);
    ASSERT_EQ(::truncate(path.c_str(), 54), 0);
    EXPECT_EQ((*canvas)->pixel(0, 0), 0);
    ASSERT_TRUE((*canvas)->readProblem());
    EXPECT_EQ((*canvas)->readProblem()->id, MessageId::PictureTruncated);
}

} // namespace
} // namespace kvistra
