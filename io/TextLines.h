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

// Lines of a text file of any platform: CR LF, CR and LF alone each end a line,
// and the end of the file ends the last line.
inline std::vector<std::string_view> splitTextFileLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
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

} // namespace kvistra
