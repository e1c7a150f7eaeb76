// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/TextLines.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace kvistra {
namespace {

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

} // namespace
} // namespace kvistra
