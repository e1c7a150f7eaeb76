#pragma once

#include <string_view>
#include <vector>

namespace kvistra {

// Lines as the program's text and key files have always had them: a line ends at
// CR, an LF right after that CR belongs to the line end, and the end of the file
// ends the last line. A lone LF is an ordinary character.
inline std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t cr = text.find('\r');
        if (cr == std::string_view::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, cr));
        const std::size_t next = cr + 1 < text.size() && text[cr + 1] == '\n' ? cr + 2 : cr + 1;
        text.remove_prefix(next);
    }
    return lines;
}

} // namespace kvistra
