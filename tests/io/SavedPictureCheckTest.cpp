// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/SavedPictureCheck.h"

#include "RandomImage.h"
#include "core/ColourRuns.h"
#include "io/CanvasRows.h"
#include "io/PictureFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "support/TypedKeys.h"
#include "words/MessageCatalogue.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::TempFolder;

constexpr Colour withGreen(int green) {
    return 40 + 256 * green + 65536 * 50;
}

TEST(SavedPictureCheck, PassesWhatWasSavedInEitherFormat) {
    const TempFolder dir;
    const Image image = test::randomImage(13, 7, 5);
    for (const char* name : {"bild.bmp", "bild.png"}) {
        const std::string path = dir / name;
        ASSERT_TRUE(savePicture(path, image));
        EXPECT_TRUE(checkSavedPicture(path, image, std::nullopt)) << name;
    }
}

TEST(SavedPictureCheck, ReportsTheFirstDifferenceAndSaysWhatToDo) {
    const TempFolder dir;
    const std::string path = dir / "bild.bmp";
    const Image canvas = test::randomImage(13, 7, 9);

    Image changed = canvas;
    changed.setPixel(11, 4, canvas.pixel(11, 4) ^ 1);
    const struct {
        const char* name;
        std::string bytes; // what the file holds when read back
        Message problem;
        std::string why; // what the user reads of the reason, if it has one
    } cases[] = {
        {"one pixel", "", {MessageId::SavedPictureDiffers, {path, "11", "4"}}, ""},
        {"another size",
         "",
         {MessageId::SavedPictureSizeDiffers, {path, "7", "13", "13", "7"}},
         ""},
        {"not a picture",
         "inte en bild",
         {MessageId::SavedPictureUnreadable, {path}, 0, {}, {{MessageId::NotAPicture, {path}}}},
         "Filen \"" + path + "\" är ingen bild som programmet kan läsa."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.problem.id == MessageId::SavedPictureDiffers) {
            ASSERT_TRUE(savePicture(path, changed));
        } else if (c.problem.id == MessageId::SavedPictureSizeDiffers) {
            ASSERT_TRUE(savePicture(path, Image(7, 13)));
        } else {
            test::writeBytes(path, c.bytes);
        }
        const Status checked = checkSavedPicture(path, canvas, std::nullopt);
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.problem(), c.problem);
        const std::string text = describe(checked.problem()).text;
        EXPECT_NE(text.find(path), std::string::npos);
        EXPECT_NE(text.find("Spara bilden på nytt"), std::string::npos) << text;
        EXPECT_TRUE(c.why.empty() || text.find(": " + c.why) != std::string::npos) << text;
    }
}

TEST(SavedPictureCheck, AFileCutShortIsUnreadableNotDifferent) {
    const TempFolder dir;
    const Image canvas = test::randomImage(40, 30, 3);
    for (const char* name : {"bild.bmp", "bild.png"}) {
        SCOPED_TRACE(name);
        const std::string path = dir / name;
        ASSERT_TRUE(savePicture(path, canvas));
        const std::string whole = test::readBytes(path);
        test::writeBytes(path, whole.substr(0, whole.size() / 2));
        const Status checked = checkSavedPicture(path, canvas, std::nullopt);
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.problem().id, MessageId::SavedPictureUnreadable);
        EXPECT_EQ(checked.problem().args.at(0), path);
    }
}

TEST(SavedPictureCheck, ReadsTheGeneratedMessageBackWithTheKeyValues) {
    const TempFolder dir;
    const std::string path = dir / "bild.png";
    Image canvas(5, 3, withGreen(200));
    canvas.setPixel(3, 1, withGreen('H'));
    canvas.setPixel(4, 1, withGreen('e'));
    canvas.setPixel(0, 2, withGreen('j'));
    ASSERT_TRUE(savePicture(path, canvas));

    const ExpectedMessage right{test::readingKeys(3, "1", "3", "0"), "Hej"};
    EXPECT_TRUE(checkSavedPicture(path, canvas, right));

    ExpectedMessage wrongShift = right;
    wrongShift.request.shift = shiftNumber("1", NumberLocale::c());
    const Status checked = checkSavedPicture(path, canvas, wrongShift);
    ASSERT_FALSE(checked);
    EXPECT_EQ(checked.problem(), (Message{MessageId::SavedMessageMisread, {path, "1"}}));
    const std::string text = describe(checked.problem()).text;
    EXPECT_NE(text.find("tecken nummer 1 fel"), std::string::npos) << text;
    EXPECT_NE(text.find("generera bilden på nytt"), std::string::npos) << text;
}

// The digests of an image's rows, as a canvas writing it row by row keeps them.
std::vector<std::uint64_t> rowDigestsOf(const Image& image) {
    std::vector<std::uint64_t> digests;
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(image.width()));
    std::vector<Colour> colours(static_cast<std::size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        image.readRun(0, y, colours);
        storeColours(colours, row.data());
        digests.push_back(rowDigest(row));
    }
    return digests;
}

TEST(WrittenPictureCheck, NamesTheFirstRowThatDiffersUnderTheNameToBe) {
    const TempFolder dir;
    const Image written = test::randomImage(13, 7, 11);
    const std::vector<std::uint64_t> digests = rowDigestsOf(written);
    const std::string name = "bild.png";

    Image oneBitOff = written;
    oneBitOff.setPixel(12, 5, written.pixel(12, 5) ^ 0x010000);
    const struct {
        const char* name;
        Image onDisk;
        int width; // as written
        std::size_t rows;
        Message problem;
    } cases[] = {
        {"one bit in row 5", oneBitOff, 13, 7, {MessageId::WrittenPictureDiffers, {name, "5"}}},
        {"a row short", written, 13, 8, {MessageId::WrittenPictureDiffers, {name, "7"}}},
        {"a row more", written, 13, 6, {MessageId::WrittenPictureDiffers, {name, "6"}}},
        {"another width", written, 12, 7, {MessageId::WrittenPictureDiffers, {name, "0"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* file : {"skriven.bmp", "skriven.png"}) {
            ASSERT_TRUE(savePicture(dir / file, c.onDisk));
            std::vector<std::uint64_t> expected = digests;
            expected.resize(c.rows, digests.back());
            const Status checked =
                checkWrittenPicture(dir / file, name, c.width, expected, std::nullopt);
            ASSERT_FALSE(checked) << file;
            EXPECT_EQ(checked.problem(), c.problem) << file;
            EXPECT_TRUE(describe(checked.problem()).text.ends_with("Ingenting har sparats."));
        }
    }
    ASSERT_TRUE(savePicture(dir / "skriven.png", written));
    EXPECT_TRUE(checkWrittenPicture(dir / "skriven.png", name, 13, digests, std::nullopt));
}

TEST(WrittenPictureCheck, AFileThatDoesNotReadOrGivesAnotherMessageIsRefused) {
    const TempFolder dir;
    Image written(5, 3, withGreen(200));
    written.setPixel(3, 1, withGreen('H'));
    written.setPixel(4, 1, withGreen('e'));
    written.setPixel(0, 2, withGreen('j'));
    const std::string path = dir / "skriven";
    ASSERT_TRUE(savePicture(dir / "skriven.bmp", written));
    std::filesystem::rename(dir / "skriven.bmp", path); // a temporary name has no extension
    const std::vector<std::uint64_t> digests = rowDigestsOf(written);

    const ExpectedMessage right{test::readingKeys(3, "1", "3", "0"), "Hej"};
    EXPECT_TRUE(checkWrittenPicture(path, "bild.bmp", 5, digests, right));
    ExpectedMessage other = right;
    other.message = "Hem";
    EXPECT_EQ(checkWrittenPicture(path, "bild.bmp", 5, digests, other).problem(),
              (Message{MessageId::WrittenMessageMisread, {"bild.bmp", "3"}}));

    const std::string whole = test::readBytes(path);
    test::writeBytes(path, whole.substr(0, whole.size() - 10));
    const Status cut = checkWrittenPicture(path, "bild.bmp", 5, digests, right);
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.problem().id, MessageId::WrittenPictureUnreadable);
    EXPECT_EQ(cut.problem().args.at(0), "bild.bmp");
}

} // namespace
// The written file read back as strictly as a reader could read it: header fields
// that the rows do not depend on, a damaged end chunk and bytes after the end are
// refused as well.
TEST(WrittenPictureCheck, EveryHeaderFieldAndChunkIsRead) {
    const TempFolder dir;
    const Image written = test::randomImage(13, 7, 5);
    const std::vector<std::uint64_t> digests = rowDigestsOf(written);
    const auto flipped = [](std::size_t at) {
        return [at](std::string bytes) {
            bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
            return bytes;
        };
    };
    const auto fromEnd = [](std::size_t back) {
        return [back](std::string bytes) {
            bytes[bytes.size() - back] = static_cast<char>(bytes[bytes.size() - back] ^ 0x01);
            return bytes;
        };
    };
    const auto appended = [](std::string bytes) {
        return bytes + '\0';
    };
    const struct {
        const char* name;
        const char* file;
        std::function<std::string(std::string)> damage;
    } cases[] = {
        {"bitmap file size", "skriven.bmp", flipped(2)},
        {"bitmap reserved", "skriven.bmp", flipped(6)},
        {"bitmap image size", "skriven.bmp", flipped(34)},
        {"bitmap resolution", "skriven.bmp", flipped(38)},
        {"bitmap colours used", "skriven.bmp", flipped(46)},
        {"bitmap colours important", "skriven.bmp", flipped(50)},
        {"bitmap with a byte more", "skriven.bmp", appended},
        {"PNG end chunk's CRC", "skriven.png", fromEnd(1)},
        {"PNG end chunk's type", "skriven.png", fromEnd(6)},
        {"PNG with a byte more", "skriven.png", appended},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(savePicture(dir / c.file, written));
        EXPECT_TRUE(checkWrittenPicture(dir / c.file, "bild", 13, digests, std::nullopt));
        test::writeBytes(dir / c.file, c.damage(test::readBytes(dir / c.file)));
        const Status checked = checkWrittenPicture(dir / c.file, "bild", 13, digests, std::nullopt);
        EXPECT_FALSE(checked);
        if (!checked) {
            EXPECT_EQ(checked.problem().args.at(0), "bild");
        }
    }
}

} // namespace kvistra
