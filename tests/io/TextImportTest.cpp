// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/TextImport.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "words/MessageCatalogue.h"

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
        {"abc\ndef\n", "abc|def|"},
        {"abc\rdef\r", "abc|def|"},
        {"a\n\r\nb\r\rc", "a||b||c|"},
        {"a|b\r\n", "a|b|"},
        {"\xE5\xE4\xF6\r\n\x80", "\xE5\xE4\xF6|\x80|"},
        {"\r\n", "|"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joinLinesWithMarker(c.bytes), c.joined) << c.bytes;
    }
}

// UTF-8 as this platform writes text; anything else as Windows-1252.
TEST(TextImport, ReadsUtf8OrElseWindows1252) {
    const struct {
        std::string bytes;
        std::string joined;
    } cases[] = {
        {"F\xC3\xB6rsta raden\nAndra raden\n", "F\xF6rsta raden|Andra raden|"},
        {"\xEF\xBB\xBF\xC3\xA5\xC3\xA4\xC3\xB6 \xE2\x82\xAC\r\n", "\xE5\xE4\xF6 \x80|"},
        {"F\xF6rsta raden\r\nAndra\n", "F\xF6rsta raden|Andra|"},
        {"\xC3\xB6 but \xF6", "\xC3\xB6 but \xF6|"}, // not valid UTF-8 throughout
        {"plain ascii", "plain ascii|"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const Result<std::string> imported = importText(c.bytes, "t.txt");
        ASSERT_TRUE(imported) << c.bytes;
        EXPECT_EQ(*imported, c.joined) << c.bytes;
    }
    const Result<std::string> refused = importText("rad 1\nrad \xC5\x81\xC3\xB6\n", "t.txt");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.problem(),
              (Message{MessageId::TextFileCharacterNotInCodePage, {"t.txt", "\xC5\x81", "2"}}));
    EXPECT_EQ(describe(refused.problem()).text,
              "Textfilen \"t.txt\" kan inte användas: tecknet \"Ł\" på rad 2 finns inte i "
              "teckentabellen Windows-1252 och kan inte lagras i bilden.");
}

TEST(TextImport, ReadsFilesUpToTheLimit) {
    const test::TempFolder dir;
    test::writeBytes(dir / "in.txt", std::string("rad 1\r\nrad 2\r\n"));
    EXPECT_EQ(*importTextFile(dir / "in.txt"), "rad 1|rad 2|");

    test::writeBytes(dir / "big.txt", std::string(kTextFileLimit + 1, 'x'));
    const Result<std::string> big = importTextFile(dir / "big.txt");
    ASSERT_FALSE(big);
    EXPECT_EQ(big.problem(), (Message{MessageId::TextFileTooLarge, {dir / "big.txt"}}));
    EXPECT_EQ(importTextFile(dir.path().string()).problem().id, MessageId::CannotOpenFile);
}

} // namespace
} // namespace kvistra
