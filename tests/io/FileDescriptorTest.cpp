// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/FileDescriptor.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::TempFolder;

TEST(ReadWholeFile, ReadsUpToTheLimitAndRefusesMore) {
    const TempFolder dir;
    test::writeBytes(dir / "ten", std::string("0123456789"));
    EXPECT_EQ(*readWholeFile(dir / "ten", 10), "0123456789");

    const Result<std::string> over = readWholeFile(dir / "ten", 9, MessageId::KeyFileTooLarge);
    ASSERT_FALSE(over);
    EXPECT_EQ(over.problem(), (Message{MessageId::KeyFileTooLarge, {dir / "ten"}}));
}

TEST(ReadWholeFile, MissingFilesAndFoldersCannotBeOpened) {
    const TempFolder dir;
    for (const std::string& path : {dir / "absent", dir.path().string()}) {
        const Result<std::string> bytes = readWholeFile(path, 100);
        ASSERT_FALSE(bytes);
        EXPECT_EQ(bytes.problem().id, MessageId::CannotOpenFile);
        EXPECT_EQ(bytes.problem().args.at(0), path);
    }
}

} // namespace
} // namespace kvistra
