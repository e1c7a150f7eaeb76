#include "io/KeyFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kvistra {
namespace {

TEST(KeyFile, FormatsFourDecimalLinesEndingInCrLf) {
    EXPECT_EQ(formatKeyFile({5, 5, 0, 12}), "5\r\n5\r\n0\r\n12\r\n");
    EXPECT_EQ(formatKeyFile({-32768, 32767, -1, 0}), "-32768\r\n32767\r\n-1\r\n0\r\n");
}

TEST(KeyFile, ParsesTheFirstFourLines) {
    const struct {
        std::string bytes;
        KeyFileLines lines;
    } cases[] = {
        {"5\r\n6\r\n7\r\n8\r\n", {"5", "6", "7", "8"}},
        {"5\r\n6\r\n7\r\n8", {"5", "6", "7", "8"}},
        {"5\r\n6\r\n7\r\n8\r\nextra\r\nmore", {"5", "6", "7", "8"}},
        {"\r\n\r\n\r\n\r\n", {"", "", "", ""}},
        {" 5 \r\n\xE5\r\nx\n\r\n\xC5\x80", {" 5 ", "å", "x\n", "Å€"}},
        {std::string("1\0\r\n2\r\n3\r\n4", 11), {std::string("1\0", 2), "2", "3", "4"}},
    };
    for (const auto& c : cases) {
        const Result<KeyFileLines> lines = parseKeyFile(c.bytes, "k.txt");
        ASSERT_TRUE(lines) << c.bytes;
        EXPECT_EQ(*lines, c.lines) << c.bytes;
    }
}

TEST(KeyFile, RefusesFewerThanFourLines) {
    const struct {
        std::string bytes;
        const char* count;
    } cases[] = {{"", "0"}, {"5\r\n6\r\n7\r\n", "3"}, {"5\n6\n7\n8\n", "1"}, {"5\r\n6\n7\n8", "2"}};
    for (const auto& c : cases) {
        const Result<KeyFileLines> lines = parseKeyFile(c.bytes, "k.txt");
        ASSERT_FALSE(lines) << c.bytes;
        EXPECT_EQ(lines.problem(), (Message{MessageId::KeyFileTooShort, {"k.txt", c.count}}));
    }
}

TEST(KeyFile, ReadsFromDiskAndRefusesHugeFiles) {
    const test::TempDir dir;
    test::writeBytes(dir.file("key.txt"), std::string("1\r\n2\r\n3\r\n4\r\n"));
    EXPECT_EQ(*readKeyFile(dir.file("key.txt")), (KeyFileLines{"1", "2", "3", "4"}));

    test::writeBytes(dir.file("huge.txt"),
                     "1\r\n2\r\n3\r\n4\r\n" + std::string(kKeyFileLimit, 'x'));
    const Result<KeyFileLines> huge = readKeyFile(dir.file("huge.txt"));
    ASSERT_FALSE(huge);
    EXPECT_EQ(huge.problem(), (Message{MessageId::KeyFileTooLarge, {dir.file("huge.txt")}}));
    EXPECT_EQ(readKeyFile(dir.file("absent")).problem().id, MessageId::CannotOpenFile);
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
                EXPECT_EQ(values.problem(),
                          (Message{MessageId::KeyValueInvalid, {labels[field], t.text}}));
            }
        }
    }
}

TEST(KeyFile, ARefusedValueLeavesTheOldKeyFileIntact) {
    const test::TempDir dir;
    const std::string path = dir.file("key.txt");
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
    const test::TempDir dir;
    const mode_t previous = ::umask(022);
    const std::string path = dir.file("key.txt");
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
