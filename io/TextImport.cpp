#include "TextImport.h"

#include "AtomicFile.h"
#include "TextLines.h"

namespace kvistra {

std::string joinLinesWithMarker(std::string_view bytes) {
    std::string joined;
    joined.reserve(bytes.size() + 1);
    for (const std::string_view line : splitLines(bytes)) {
        joined += line;
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
    return joinLinesWithMarker(*bytes);
}

} // namespace kvistra
