// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <optional>
#include <string>
#include <string_view>

namespace kvistra {

// Our own table, so that no toolkit build option changes a byte. The five codes
// that Windows-1252 leaves undefined map to the C1 controls of the same number,
// as Windows itself does, so that every byte survives a round trip.
char32_t unicodeOfWindows1252(unsigned char code);
std::optional<unsigned char> windows1252Of(char32_t character);

std::string utf8FromWindows1252(std::string_view bytes);

bool isValidUtf8(std::string_view text);

// Refuses invalid UTF-8 and any character that has no Windows-1252 code.
Result<std::string> windows1252FromUtf8(std::string_view utf8);

void appendUtf8(std::string& out, char32_t character);

} // namespace kvistra
