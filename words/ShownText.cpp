// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShownText.h"

#include "core/Windows1252.h"

namespace kvistra {

namespace {

constexpr char32_t kControlPictures = 0x2400;
constexpr char32_t kDeletePicture = 0x2421;
constexpr unsigned char kDelete = 0x7F;

bool shownAsPicture(unsigned char c) {
    return (c < 0x20 && c != '\t') || c == kDelete;
}

char32_t pictureOf(unsigned char c) {
    return c == kDelete ? kDeletePicture : kControlPictures + c;
}

// The UTF-8 sequence of a control picture: E2 90 80..A1.
bool isPictureAt(std::string_view text, std::size_t i, unsigned char& control) {
    if (i + 2 >= text.size() || static_cast<unsigned char>(text[i]) != 0xE2 ||
        static_cast<unsigned char>(text[i + 1]) != 0x90) {
        return false;
    }
    const unsigned char last = static_cast<unsigned char>(text[i + 2]);
    if (last >= 0x80 && last < 0xA0) {
        control = static_cast<unsigned char>(last - 0x80);
        return control != '\t';
    }
    if (last == 0xA1) {
        control = kDelete;
        return true;
    }
    return false;
}

} // namespace

std::string shownFromProgramText(std::string_view programText) {
    std::string shown;
    shown.reserve(programText.size());
    for (std::size_t i = 0; i < programText.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(programText[i]);
        if (c == '\r' && i + 1 < programText.size() && programText[i + 1] == '\n') {
            shown += '\n';
            ++i;
        } else if (shownAsPicture(c)) {
            appendUtf8(shown, pictureOf(c));
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string programTextFromShown(std::string_view shown) {
    std::string text;
    text.reserve(shown.size() + shown.size() / 16);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        unsigned char control = 0;
        if (shown[i] == '\n') {
            text += "\r\n";
        } else if (isPictureAt(shown, i, control)) {
            text += static_cast<char>(control);
            i += 2;
        } else {
            text += shown[i];
        }
    }
    return text;
}

} // namespace kvistra
