// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace kvistra {

// Which members of a display-mode record a request means, by the platform's names.
inline constexpr std::uint32_t DM_BITSPERPEL = 0x00040000;
inline constexpr std::uint32_t DM_PELSWIDTH = 0x00080000;
inline constexpr std::uint32_t DM_PELSHEIGHT = 0x00100000;
inline constexpr std::uint32_t DM_DISPLAYFREQUENCY = 0x00400000;

// A display mode as the platform describes it; zero-filled until a platform fills it.
struct DisplayModeRecord {
    std::array<char, 32> deviceName{};
    std::uint32_t fields = 0; // DM_ bits
    std::uint32_t bitsPerPel = 0;
    std::uint32_t pelsWidth = 0;
    std::uint32_t pelsHeight = 0;
    std::uint32_t displayFrequency = 0;

    friend bool operator==(const DisplayModeRecord&, const DisplayModeRecord&) = default;
};

} // namespace kvistra
