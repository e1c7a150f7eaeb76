// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextImport.h"

#include "FileDescriptor.h"
#include "TextLines.h"
#include "core/Windows1252.h"

namespace kvistra {

std::string joinLinesWithMarker(std::string_view bytes) {
    std::string joined;
    joined.reserve(bytes.size() + 1);
    for (const std::string_view line : splitTextFileLines(bytes)) {
        joined += line;
        joined += '|';
    }
    return joined;
}

Result<std::string> importText(std::string_view bytes, const std::string& path) {
    if (!isValidUtf8(bytes)) {
        return joinLinesWithMarker(bytes);
    }
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    std::string joined;
    joined.reserve(bytes.size() + 1);
    std::size_t lineNumber = 0;
    for (const std::string_view line : splitTextFileLines(bytes)) {
        ++lineNumber;
        const Result<std::string> converted = windows1252FromUtf8(line);
        if (!converted) {
            // Valid UTF-8 throughout: the problem is a character without a code.
            const Message& problem = converted.problem();
            if (problem.id != MessageId::CharacterNotInCodePage || problem.args.empty()) {
                return problem;
            }
            return Message{MessageId::TextFileCharacterNotInCodePage,
                           {path, problem.args[0], std::to_string(lineNumber)}};
        }
        joined += *converted;
        joined += '|';
    }
    return joined;
}

Result<std::string> importTextFile(const std::string& path) {
    const Result<std::string> bytes =
        readWholeFile(path, kTextFileLimit, MessageId::TextFileTooLarge);
    if (!bytes) {
        return bytes.problem();
    }
    return importText(*bytes, path);
}

} // namespace kvistra
