// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineMarkers.h"

namespace kvistra {

std::string lineBreaksFromMarkers(std::string_view text, std::string_view lineBreak) {
    std::string converted;
    converted.reserve(text.size());
    for (const char character : text) {
        if (character == kLineMarker) {
            converted += lineBreak;
        } else {
            converted += character;
        }
    }
    return converted;
}

} // namespace kvistra
