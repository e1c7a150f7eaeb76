// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// Message box styles are sums: an icon, a button set and optionally the system-modal bit.
namespace MessageBoxStyle {
inline constexpr int Error = 16;
inline constexpr int Question = 32;
inline constexpr int Warning = 48;
inline constexpr int Information = 64;

inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;

// The second button, not the first, answers Return.
inline constexpr int DefaultButton2 = 256;

inline constexpr int SystemModal = 4096;

constexpr int iconOf(int style) {
    return style & 0x70;
}
constexpr int buttonsOf(int style) {
    return style & 0x0F;
}
constexpr bool secondIsDefault(int style) {
    return (style & DefaultButton2) != 0;
}
} // namespace MessageBoxStyle

namespace MessageBoxAnswer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MessageBoxAnswer

} // namespace kvistra
