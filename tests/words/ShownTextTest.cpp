// SPDX-License-Identifier: GPL-3.0-or-later
#include "words/ShownText.h"

#include "core/Windows1252.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

TEST(ShownText, CrLfIsTheLineBreak) {
    EXPECT_EQ(shownFromProgramText("a\r\nb\r\n"), "a\nb\n");
    EXPECT_EQ(programTextFromShown("a\nb\n"), "a\r\nb\r\n");
}

TEST(ShownText, LoneLineEndsAndControlsShowAsControlPictures) {
    EXPECT_EQ(shownFromProgramText(std::string("\n|\r|\0|\x7F|\t", 9)),
              "\u240A|\u240D|\u2400|\u2421|\t");
    EXPECT_EQ(shownFromProgramText("\r\r\n\n"), "\u240D\n\u240A");
}

// Every text of Windows-1252 characters survives a trip through a box.
TEST(ShownText, EveryCodeRoundTrips) {
    std::string bytes;
    for (int code = 0; code < 256; ++code) {
        bytes += static_cast<char>(code);
        bytes += static_cast<char>(code);
    }
    bytes += "\r\n\n\r";
    const std::string text = utf8FromWindows1252(bytes);
    EXPECT_EQ(programTextFromShown(shownFromProgramText(text)), text);
}

TEST(ShownText, OtherTextIsLeftAlone) {
    // A tab's picture is not a tab, and a cut-off sequence stays as it is.
    EXPECT_EQ(programTextFromShown("\u2409"), "\u2409");
    EXPECT_EQ(programTextFromShown("\xE2\x90"), "\xE2\x90");
    EXPECT_EQ(programTextFromShown("åäö €"), "åäö €");
}

} // namespace
} // namespace kvistra
