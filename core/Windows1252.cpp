// SPDX-License-Identifier: GPL-3.0-or-later
#include "Windows1252.h"

#include <array>

namespace kvistra {

namespace {

constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at text[i]; nullopt when it is malformed.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) {
        return static_cast<unsigned char>(text[k]);
    };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(length) > text.size()) {
        return std::nullopt;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    i += static_cast<std::size_t>(length);
    return value;
}

} // namespace

char32_t unicodeOfWindows1252(unsigned char code) {
    if (code >= 0x80 && code < 0xA0) {
        return kHighControls[code - 0x80];
    }
    return code;
}

std::optional<unsigned char> windows1252Of(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<unsigned char>(character);
    }
    for (std::size_t k = 0; k < kHighControls.size(); ++k) {
        if (kHighControls[k] == character) {
            return static_cast<unsigned char>(0x80 + k);
        }
    }
    return std::nullopt;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string utf8FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        appendUtf8(out, unicodeOfWindows1252(static_cast<unsigned char>(byte)));
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (!decodeUtf8(text, i)) {
            return false;
        }
    }
    return true;
}

Result<std::string> windows1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const std::optional<char32_t> character = decodeUtf8(utf8, i);
        if (!character) {
            return Message{MessageId::InvalidTextEncoding, {std::to_string(start + 1)}};
        }
        ++characters;
        const std::optional<unsigned char> code = windows1252Of(*character);
        if (!code) {
            return Message{
                MessageId::CharacterNotInCodePage,
                {std::string(utf8.substr(start, i - start)), std::to_string(characters)}};
        }
        out += static_cast<char>(*code);
    }
    return out;
}

} // namespace kvistra
