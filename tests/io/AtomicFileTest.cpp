#include "io/AtomicFile.h"

#include "TestFiles.h"
#include "io/TextLines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kvistra {
namespace {

using test::TempDir;

TEST(SplitLines, CrEndsALineAndSwallowsOneLf) {
    const struct {
        std::string text;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"abc\r\ndef\r\n", {"abc", "def"}},
        {"abc\r\ndef", {"abc", "def"}},
        {"abc\r\n\r\ndef", {"abc", "", "def"}},
        {"", {}},
        {"a\nb", {"a\nb"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\nb", {"a", "\nb"}},
        {"\r\n", {""}},
        {std::string("a\0b\r\n", 5), {std::string_view("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitLines(c.text), c.lines) << c.text;
    }
}

TEST(AtomicFile, WritesAllPiecesWithUsualPermissions) {
    const TempDir dir;
    const std::string path = dir.file("out.bin");
    // More pieces than one writev call takes.
    std::vector<std::vector<std::uint8_t>> storage;
    std::vector<ByteSpan> pieces;
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        storage.emplace_back(static_cast<std::size_t>(i % 7), static_cast<std::uint8_t>(i));
        expected.append(static_cast<std::size_t>(i % 7), static_cast<char>(i));
    }
    for (const auto& bytes : storage) {
        pieces.emplace_back(bytes);
    }
    test::writeBytes(path, std::string("old"));
    const mode_t previous = ::umask(027);
    const Status status = writeFileAtomically(path, pieces);
    ::umask(previous);
    ASSERT_TRUE(status);
    EXPECT_EQ(test::readBytes(path), expected);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.bin"});
}

TEST(AtomicFile, FailureLeavesNoTraceAndReportsThePath) {
    const TempDir dir;
    const std::string path = dir.file("missing-folder/out.txt");
    const Status status = writeFileAtomically(path, "x");
    ASSERT_FALSE(status);
    EXPECT_EQ(status.problem().id, MessageId::CannotWriteFile);
    EXPECT_EQ(status.problem().args.at(0), path);
    EXPECT_FALSE(status.problem().args.at(1).empty());
    EXPECT_TRUE(dir.entries().empty());
}

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
