// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace kvistra {

// The 78 characters of lead-in, decoy and padding channels, in Windows-1252, indexed from 1.
inline constexpr std::string_view kCharacterSet =
    "1234567890AaBbCcDdEeFfGgHhIiJjKkLlMmNnOoPpQqRrSsTtUuVvWwXxYyZz"
    "\xC5\xE5\xC4\xE4\xD6\xF6.,!?()+-*/";
inline constexpr int kCharacterSetSize = 78;

constexpr unsigned char characterAt(int index) {
    return static_cast<unsigned char>(kCharacterSet[static_cast<std::size_t>(index - 1)]);
}

// Index 1 ... 78 for a uniform r in [0, 1): r * 77 rounded half to even, plus 1.
int randomIndex(float r);
unsigned char randomCharacterCode(float r);

// The same for r = bits / 2^24 with bits < 2^24, in integer arithmetic. Adding
// just under one half rounds half down, which is half to even here: the only
// exact half, r = 0.5, gives 38.5, whose lower neighbour is even.
constexpr int randomIndexFromBits(std::uint32_t bits) {
    return static_cast<int>((bits * 77u + 0x7FFFFFu) >> 24) + 1;
}
constexpr unsigned char randomCharacterCodeFromBits(std::uint32_t bits) {
    return characterAt(randomIndexFromBits(bits));
}

} // namespace kvistra
