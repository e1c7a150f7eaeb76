// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kvistra {

// The program sees a line break in a multi-line box as CR LF, as Windows text
// boxes hand it over; the box itself shows "\n". A lone CR or LF and the other
// control characters (tab aside) are shown as their visible control pictures
// (U+2400 onwards), so that every Windows-1252 text survives a trip through a box.
std::string shownFromProgramText(std::string_view programText);
std::string programTextFromShown(std::string_view shown);

} // namespace kvistra
