// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace kvistra {

// Lines ended by any of the characters in `ends`; an LF right after a CR belongs to
// that line end, and the end of the text ends the last line.
inline std::vector<std::string_view> splitLinesAt(std::string_view text, std::string_view ends) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(ends);
        if (end == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

// Lines as the program's text and key files have always had them: CR (or CR LF)
// ends a line; a lone LF is an ordinary character.
inline std::vector<std::string_view> splitLines(std::string_view text) {
    return splitLinesAt(text, "\r");
}

// Lines of a text file of any platform: CR LF, CR and LF alone each end a line.
inline std::vector<std::string_view> splitTextFileLines(std::string_view text) {
    return splitLinesAt(text, "\r\n");
}

} // namespace kvistra
