// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/KeyFile.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"
#include "words/MessageCatalogue.h"

#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace kvistra {
namespace {

TEST(KeyFile, FormatsFourDecimalLinesEndingInCrLf) {
    EXPECT_EQ(formatKeyFile({5, 5, 0, 12}), "5\r\n5\r\n0\r\n12\r\n");
    EXPECT_EQ(formatKeyFile({-32768, 32767, -1, 0}), "-32768\r\n32767\r\n-1\r\n0\r\n");
    EXPECT_EQ(formatKeyFile({5, 5, 0, 12}, "0f1e"), "5\r\n5\r\n0\r\n12\r\nkontroll 0f1e\r\n");
}

TEST(KeyFile, ParsesTheFirstFourLines) {
    const struct {
        std::string bytes;
        KeyFileLines lines;
    } cases[] = {
        {"5\r\n6\r\n7\r\n8\r\n", {"5", "6", "7", "8"}},
        {"5\r\n6\r\n7\r\n8", {"5", "6", "7", "8"}},
        {"5\r\n6\r\n7\r\n8\r\nextra\r\nmore", {"5", "6", "7", "8"}},
        {"5\r\n6\r\n7\r\n8\r\nkontroll 0f1e\r\n", {"5", "6", "7", "8", "0f1e"}},
        {"5\r\n6\r\n7\r\n8\r\nkontroll 0f1e", {"5", "6", "7", "8", "0f1e"}},
        {"5\r\n6\r\n7\r\n8\r\nx\r\nkontroll 0f1e\r\n", {"5", "6", "7", "8"}},
        {"\r\n\r\n\r\n\r\n", {"", "", "", ""}},
        {" 5 \r\n\xE5\r\nx\n\r\n\xC5\x80", {" 5 ", "å", "x\n", "Å€"}},
        {std::string("1\0\r\n2\r\n3\r\n4", 11), {std::string("1\0", 2), "2", "3", "4"}},
        {"\xEF\xBB\xBF"
         "5\r\n6\r\n7\r\n8\r\n",
         {"5", "6", "7", "8"}},
        {"\xEF\xBB\xBF\xEF\xBB\xBF"
         "5\r\n6\r\n7\r\n8",
         {"\u00EF\u00BB\u00BF5", "6", "7", "8"}},
        {"5\r\n6\r\n7\r\n8\r\n" + std::string(10000, 'x'), {"5", "6", "7", "8"}},
        {std::string(kKeyFileLineLimit, '1') + "\r2\r3\r4\r",
         {std::string(kKeyFileLineLimit, '1'), "2", "3", "4"}},
    };
    for (const auto& c : cases) {
        const Result<KeyFileLines> lines = parseKeyFile(c.bytes, "k.txt");
        ASSERT_TRUE(lines) << c.bytes;
        EXPECT_EQ(*lines, c.lines) << c.bytes;
    }
}

TEST(KeyFile, RefusesFewerThanFourLinesAndLongLines) {
    const std::string longLine(kKeyFileLineLimit + 1, '7');
    const struct {
        std::string bytes;
        Message problem;
    } cases[] = {
        {"", {MessageId::KeyFileTooShort, {"k.txt", "0"}}},
        {"\xEF\xBB\xBF", {MessageId::KeyFileTooShort, {"k.txt", "0"}}},
        {"5\r\n6\r\n7\r\n", {MessageId::KeyFileTooShort, {"k.txt", "3"}}},
        {"5\n6\n7\n8\n", {MessageId::KeyFileLfLineEnds, {"k.txt"}}},
        {"5\r\n6\n7\n8", {MessageId::KeyFileLfLineEnds, {"k.txt"}}},
        {"5\n6\r\n7\r\n8\r\n", {MessageId::KeyFileLfLineEnds, {"k.txt"}}},
        {"5 5 0 3\n", {MessageId::KeyFileTooShort, {"k.txt", "1"}}},
        {"5\n6\n7\n", {MessageId::KeyFileTooShort, {"k.txt", "3"}}},
        {longLine + "\r\n6\r\n7\r\n8\r\n", {MessageId::KeyFileLineTooLong, {"k.txt", "1"}}},
        {"5\r\n6\r\n7\r\n" + longLine, {MessageId::KeyFileLineTooLong, {"k.txt", "4"}}},
    };
    for (const auto& c : cases) {
        const Result<KeyFileLines> lines = parseKeyFile(c.bytes, "k.txt");
        ASSERT_FALSE(lines) << c.bytes;
        EXPECT_EQ(lines.problem(), c.problem);
    }
    EXPECT_EQ(describe({MessageId::KeyFileTooShort, {"k.txt", "1"}}).text,
              "Nyckelfilen \"k.txt\" har bara 1 rad; en nyckelfil har fyra: nyckel-y, nyckel-x, "
              "förskjutning och inläsningslängd.");
    EXPECT_TRUE(describe({MessageId::KeyFileTooShort, {"k.txt", "3"}})
                    .text.starts_with("Nyckelfilen \"k.txt\" har bara 3 rader;"));
    EXPECT_TRUE(describe({MessageId::KeyFileLfLineEnds, {"k.txt"}})
                    .text.starts_with("Nyckelfilen \"k.txt\" har radslut LF där CR LF väntas;"));
}

TEST(KeyFile, ReadsOnlyTheFirstFourLinesFromDisk) {
    const test::TempFolder dir;
    test::writeBytes(dir / "key.txt", std::string("1\r\n2\r\n3\r\n4\r\n"));
    EXPECT_EQ(*readKeyFile(dir / "key.txt"), (KeyFileLines{"1", "2", "3", "4"}));

    // Whatever follows the fourth line is never read, however large.
    test::writeBytes(dir / "huge.txt",
                     "1\r\n2\r\n3\r\n4\r\n" + std::string(std::size_t{1} << 20, 'x'));
    EXPECT_EQ(*readKeyFile(dir / "huge.txt"), (KeyFileLines{"1", "2", "3", "4"}));

    test::writeBytes(dir / "one-line.txt", std::string(std::size_t{1} << 20, '1'));
    EXPECT_EQ(readKeyFile(dir / "one-line.txt").problem(),
              (Message{MessageId::KeyFileLineTooLong, {dir / "one-line.txt", "1"}}));
    EXPECT_EQ(readKeyFile(dir / "absent").problem().id, MessageId::CannotOpenFile);
}

// Each line meets the check its field runs; the first refused one is named.
TEST(KeyFile, ChecksEveryLineAsItsFieldWould) {
    const NumberLocale c = NumberLocale::c();
    const NumberLocale sv = NumberLocale::swedish();
    // What the user reads of the refusal.
    const auto refused = [](const char* line, const char* label, const char* text, MessageId why,
                            std::vector<std::string> whyArgs = {}) {
        return std::optional<std::string>("Nyckelfilen \"k.txt\" kan inte användas: rad " +
                                          std::string(line) + " (" + label + ") är \"" + text +
                                          "\".\r\n" + describe({why, std::move(whyArgs)}).text);
    };
    const struct {
        KeyFileLines lines;
        const NumberLocale& locale;
        std::optional<std::string> problem;
    } cases[] = {
        {{"5", "5", "0", "12"}, c, std::nullopt},
        {{"253", "269", "29", "0"}, c, std::nullopt},
        {{"2,5", "1", "0,5", "3"}, sv, std::nullopt},
        {{"a", "b", "c", "d"}, c, refused("1", "Nyckel-y:", "a", MessageId::KeyNotNumeric)},
        {{"5", "270", "0", "3"},
         c,
         refused("2", "Nyckel-x:", "270", MessageId::KeyAboveBound, {"269"})},
        {{"254", "5", "0", "3"},
         c,
         refused("1", "Nyckel-y:", "254", MessageId::KeyAboveBound, {"253"})},
        {{"5", "5", "30", "3"}, c, refused("3", "Förskjutning:", "30", MessageId::ShiftAboveLimit)},
        {{"5", "5", "0", ""}, c, refused("4", "Inläsningslängd:", "", MessageId::ValueNotNumeric)},
        // Group separators are never taken from a key file.
        {{"0,4", "5", "0", "3"}, c, refused("1", "Nyckel-y:", "0,4", MessageId::KeyNotNumeric)},
        {{"5", "5", "0", "1\u00A0000"},
         sv,
         refused("4", "Inläsningslängd:", "1\u00A0000", MessageId::ValueNotNumeric)},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.lines.yKey + "/" + t.lines.xKey + "/" + t.lines.shift + "/" +
                     t.lines.readingLength);
        const Status checked = checkKeyFileLines(t.lines, "k.txt", 269, 253, t.locale);
        EXPECT_EQ(checked ? std::nullopt : std::optional(describe(checked.problem()).text),
                  t.problem);
    }
    const Status refusedX = checkKeyFileLines({"5", "270", "0", "3"}, "k.txt", 269, 253, c);
    ASSERT_FALSE(refusedX);
    EXPECT_EQ(describe(refusedX.problem()).text,
              "Nyckelfilen \"k.txt\" kan inte användas: rad 2 (Nyckel-x:) är \"270\".\r\n"
              "Du måste mata in ett tal under 269!");
}

TEST(KeyFile, ConvertsFieldsToWholeNumbers) {
    const NumberLocale c = NumberLocale::c();
    const NumberLocale sv = NumberLocale::swedish();
    const struct {
        std::string text;
        const NumberLocale& locale;
        std::optional<std::int16_t> value;
    } cases[] = {
        {"12", c, 12},         {" -7 ", c, -7},    {"2.5", c, 2},    {"3.5", c, 4},
        {"-2.5", c, -2},       {"2,5", sv, 2},     {"3,5", sv, 4},   {"-32768", c, -32768},
        {"32767.4", c, 32767}, {"32767.5", c, {}}, {"40000", c, {}}, {"-32769", c, {}},
        {"", c, {}},           {"abc", c, {}},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.text);
        // The text in each field in turn, the others valid.
        for (int field = 0; field < 4; ++field) {
            std::string texts[4] = {"1", "2", "3", "4"};
            texts[field] = t.text;
            const Result<KeyValues> values =
                convertKeyFields(texts[0], texts[1], texts[2], texts[3], t.locale);
            if (t.value) {
                ASSERT_TRUE(values);
                std::int16_t expected[4] = {1, 2, 3, 4};
                expected[field] = *t.value;
                EXPECT_EQ(*values, (KeyValues{expected[0], expected[1], expected[2], expected[3]}));
            } else {
                static const char* const labels[] = {
                    "Nyckel-y:", "Nyckel-x:", "Förskjutning:", "Inläsningslängd:"};
                ASSERT_FALSE(values);
                EXPECT_EQ(describe(values.problem()).text,
                          "Värdet \"" + t.text + "\" i fältet " + labels[field] +
                              " är inget tal mellan -32768 och 32767.\r\nNyckelfilen har inte "
                              "sparats.");
            }
        }
    }
}

TEST(KeyFile, ARefusedValueLeavesTheOldKeyFileIntact) {
    const test::TempFolder dir;
    const std::string path = dir / "key.txt";
    ASSERT_TRUE(writeKeyFile(path, {5, 5, 0, 12}));
    EXPECT_EQ(test::readBytes(path), "5\r\n5\r\n0\r\n12\r\n");

    // What a front end does on save: convert all four, write only if all are valid.
    const Result<KeyValues> values = convertKeyFields("7", "8", "9", "40000", NumberLocale::c());
    ASSERT_FALSE(values);
    EXPECT_EQ(test::readBytes(path), "5\r\n5\r\n0\r\n12\r\n");

    ASSERT_TRUE(writeKeyFile(path, {-1, 2, 3, 4}));
    EXPECT_EQ(*readKeyFile(path), (KeyFileLines{"-1", "2", "3", "4"}));
}

// The key is the scheme's secret: a new key file is its owner's alone, and one
// the user opened up stays as the user set it.
TEST(KeyFile, ANewKeyFileIsPrivateAndAReplacedOneKeepsItsMode) {
    const test::TempFolder dir;
    const mode_t previous = ::umask(022);
    const std::string path = dir / "key.txt";
    ASSERT_TRUE(writeKeyFile(path, {5, 5, 0, 12}));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeKeyFile(path, {1, 2, 3, 4}));
    ::umask(previous);
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

} // namespace
} // namespace kvistra
