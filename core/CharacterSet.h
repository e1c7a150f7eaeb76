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

// The same for r = bits / 2^24 with bits < 2^24, in exact integer arithmetic.
constexpr unsigned char randomCharacterCodeFromBits(std::uint32_t bits) {
    const std::uint32_t scaled = bits * 77u;
    const std::uint32_t whole = scaled >> 24;
    const std::uint32_t fraction = scaled & 0xFFFFFFu;
    const std::uint32_t roundedUp = (fraction + (whole & 1u)) > 0x800000u ? 1u : 0u;
    return characterAt(static_cast<int>(whole + roundedUp) + 1);
}

} // namespace kvistra
