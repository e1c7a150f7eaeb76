#pragma once

#include <string>
#include <string_view>

namespace kvistra {

// A hidden message keeps its line ends as the marker "|"; shown or saved as a
// text, each marker is a CR LF again.
inline constexpr char kLineMarker = '|';

std::string lineBreaksFromMarkers(std::string_view text);

} // namespace kvistra
