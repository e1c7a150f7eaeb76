#include "io/TextImport.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

TEST(TextImport, EveryLineIsFollowedByTheMarker) {
    const struct {
        std::string bytes;
        std::string joined;
    } cases[] = {
        {"abc\r\ndef\r\n", "abc|def|"},
        {"abc\r\ndef", "abc|def|"},
        {"abc\r\n\r\ndef", "abc||def|"},
        {"", ""},
        {"abc\ndef\n", "abc\ndef\n|"},
        {"a|b\r\n", "a|b|"},
        {"\xE5\xE4\xF6\r\n\x80", "\xE5\xE4\xF6|\x80|"},
        {"\r\n", "|"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joinLinesWithMarker(c.bytes), c.joined) << c.bytes;
    }
}

TEST(TextImport, ReadsFilesUpToTheLimit) {
    const test::TempDir dir;
    test::writeBytes(dir.file("in.txt"), std::string("rad 1\r\nrad 2\r\n"));
    EXPECT_EQ(*importTextFile(dir.file("in.txt")), "rad 1|rad 2|");

    test::writeBytes(dir.file("big.txt"), std::string(kTextFileLimit + 1, 'x'));
    const Result<std::string> big = importTextFile(dir.file("big.txt"));
    ASSERT_FALSE(big);
    EXPECT_EQ(big.problem(), (Message{MessageId::TextFileTooLarge, {dir.file("big.txt")}}));
    EXPECT_EQ(importTextFile(dir.path().string()).problem().id, MessageId::CannotOpenFile);
}

} // namespace
} // namespace kvistra
