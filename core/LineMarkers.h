// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kvistra {

// A hidden message keeps its line ends as the marker "|"; shown or saved as a
// text, each marker is a CR LF again.
inline constexpr char kLineMarker = '|';

// Each marker becomes `lineBreak`: CR LF unless a terminal or file wants another.
std::string lineBreaksFromMarkers(std::string_view text, std::string_view lineBreak = "\r\n");

} // namespace kvistra
