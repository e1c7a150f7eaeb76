#include "io/FileDescriptor.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

using test::TempDir;

TEST(ReadWholeFile, ReadsUpToTheLimitAndRefusesMore) {
    const TempDir dir;
    test::writeBytes(dir.file("ten"), std::string("0123456789"));
    EXPECT_EQ(*readWholeFile(dir.file("ten"), 10), "0123456789");

    const Result<std::string> over = readWholeFile(dir.file("ten"), 9, MessageId::KeyFileTooLarge);
    ASSERT_FALSE(over);
    EXPECT_EQ(over.problem(), (Message{MessageId::KeyFileTooLarge, {dir.file("ten")}}));
}

TEST(ReadWholeFile, MissingFilesAndFoldersCannotBeOpened) {
    const TempDir dir;
    for (const std::string& path : {dir.file("absent"), dir.path().string()}) {
        const Result<std::string> bytes = readWholeFile(path, 100);
        ASSERT_FALSE(bytes);
        EXPECT_EQ(bytes.problem().id, MessageId::CannotOpenFile);
        EXPECT_EQ(bytes.problem().args.at(0), path);
    }
}

} // namespace
} // namespace kvistra
