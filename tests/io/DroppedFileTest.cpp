// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/DroppedFile.h"

#include "io/PictureFile.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <QImage>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kvistra {
namespace {

using test::TempFolder;

TEST(DroppedFile, TellsPicturesKeyFilesAndTextByTheirContent) {
    const TempFolder dir;
    ASSERT_TRUE(savePicture(dir / "bild.bmp", Image(3, 2)));
    ASSERT_TRUE(savePicture(dir / "bild.png", Image(3, 2)));
    // Named as text, but a picture all the same.
    ASSERT_TRUE(savePicture(dir / "bild.txt", Image(3, 2)));
    QImage jpeg(4, 4, QImage::Format_RGB32);
    jpeg.fill(Qt::white);
    ASSERT_TRUE(jpeg.save(QString::fromStdString(dir / "foto.jpg"), "JPEG"));

    const struct {
        const char* name;
        std::string bytes; // empty: made above, or no file at all
        DroppedFileKind kind;
    } cases[] = {
        {"bild.bmp", "", DroppedFileKind::Picture},
        {"bild.png", "", DroppedFileKind::Picture},
        {"bild.txt", "", DroppedFileKind::Picture},
        {"foto.jpg", "", DroppedFileKind::Picture},
        {"nyckel.txt", "12\r\n34\r\n4\r\n12\r\n", DroppedFileKind::KeyFile},
        {"utan-radslut.key", "12\r\n34\r\n4\r\n12", DroppedFileKind::KeyFile},
        {"med-bom.txt", "\xEF\xBB\xBF-3\r\n0.5\r\n0\r\n1e2\r\n", DroppedFileKind::KeyFile},
        // Refused by the fields, but a key file: opening it says why.
        {"stor-nyckel.txt", "5\r\n900\r\n31\r\n3\r\n", DroppedFileKind::KeyFile},
        {"fyra-rader.txt", "Kära dagbok\r\nidag\r\nregnade\r\ndet\r\n", DroppedFileKind::Text},
        {"tre-rader.txt", "12\r\n34\r\n4\r\n", DroppedFileKind::Text},
        // Key files end their lines with CR; a text's LF lines are one line to them.
        {"lf-rader.txt", "12\n34\n4\n12\n", DroppedFileKind::Text},
        {"grupper.txt", "1,000\r\n2\r\n3\r\n4\r\n", DroppedFileKind::Text},
        {"brev.txt", "Hej då\r\n", DroppedFileKind::Text},
        {"finns-inte.txt", "", DroppedFileKind::Text},
    };
    for (const auto& c : cases) {
        const std::string path = dir / c.name;
        if (!c.bytes.empty()) {
            test::writeBytes(path, c.bytes);
        }
        EXPECT_EQ(classifyDroppedFile(path, NumberLocale::c()), c.kind) << c.name;
    }
    // A folder is no picture and no key; its import says that it is a folder.
    EXPECT_EQ(classifyDroppedFile(dir.path().string(), NumberLocale::c()), DroppedFileKind::Text);
    // A named pipe is not opened at all: that would wait for a writer.
    const std::string pipe = dir / "ror";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(classifyDroppedFile(pipe, NumberLocale::c()), DroppedFileKind::Special);
    EXPECT_EQ(classifyDroppedFile("/dev/null", NumberLocale::c()), DroppedFileKind::Special);
}

TEST(DroppedFile, KeyFileNumbersAreReadInTheUsersLocale) {
    const TempFolder dir;
    const std::string path = dir / "nyckel.txt";
    test::writeBytes(path, "5\r\n5\r\n2,5\r\n3\r\n");
    EXPECT_EQ(classifyDroppedFile(path, NumberLocale::swedish()), DroppedFileKind::KeyFile);
    EXPECT_EQ(classifyDroppedFile(path, NumberLocale::commandLine()), DroppedFileKind::Text);
}

} // namespace
} // namespace kvistra
