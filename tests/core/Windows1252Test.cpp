// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Windows1252.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int code = 0; code < 256; ++code) {
        all += static_cast<char>(code);
    }
    const Result<std::string> back = windows1252FromUtf8(utf8FromWindows1252(all));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, all);
}

TEST(Windows1252, KnownCharacters) {
    EXPECT_EQ(utf8FromWindows1252("\xC5\xE5\xC4\xE4\xD6\xF6"), "ÅåÄäÖö");
    EXPECT_EQ(utf8FromWindows1252("\x80\x99\x9F"), "€™Ÿ");
    EXPECT_EQ(*windows1252FromUtf8("€ – “x”"), "\x80 \x96 \x93x\x94");
    EXPECT_EQ(unicodeOfWindows1252(0x81), 0x81u);
}

TEST(Windows1252, RefusesWhatItCannotHold) {
    const struct {
        std::string utf8;
        MessageId id;
        std::vector<std::string> args;
    } cases[] = {
        {"ab\u0141c", MessageId::CharacterNotInCodePage, {"\u0141", "3"}},
        {"😀", MessageId::CharacterNotInCodePage, {"😀", "1"}},
        {"a\xFF", MessageId::InvalidTextEncoding, {"2"}},
        {"\xC3", MessageId::InvalidTextEncoding, {"1"}},
        {"\xC0\xAF", MessageId::InvalidTextEncoding, {"1"}},     // overlong
        {"\xED\xA0\x80", MessageId::InvalidTextEncoding, {"1"}}, // surrogate
    };
    for (const auto& c : cases) {
        const Result<std::string> result = windows1252FromUtf8(c.utf8);
        ASSERT_FALSE(result) << c.utf8;
        EXPECT_EQ(result.problem(), (Message{c.id, c.args})) << c.utf8;
    }
}

} // namespace
} // namespace kvistra
