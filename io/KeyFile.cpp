#include "KeyFile.h"

#include "AtomicFile.h"
#include "TextLines.h"
#include "core/NumericText.h"
#include "core/Rounding.h"
#include "core/Windows1252.h"

#include <array>
#include <optional>

namespace kvistra {

Result<KeyFileLines> parseKeyFile(std::string_view bytes, const std::string& path) {
    const std::vector<std::string_view> lines = splitLines(bytes);
    if (lines.size() < 4) {
        return Message{MessageId::KeyFileTooShort, {path, std::to_string(lines.size())}};
    }
    return KeyFileLines{utf8FromWindows1252(lines[0]), utf8FromWindows1252(lines[1]),
                        utf8FromWindows1252(lines[2]), utf8FromWindows1252(lines[3])};
}

Result<KeyFileLines> readKeyFile(const std::string& path) {
    const Result<std::string> bytes =
        readWholeFile(path, kKeyFileLimit, MessageId::KeyFileTooLarge);
    if (!bytes) {
        return bytes.problem();
    }
    return parseKeyFile(*bytes, path);
}

std::string formatKeyFile(const KeyValues& values) {
    std::string text;
    for (const std::int16_t value :
         {values.yKey, values.xKey, values.shift, values.readingLength}) {
        text += std::to_string(value);
        text += "\r\n";
    }
    return text;
}

Result<KeyValues> convertKeyFields(std::string_view yText, std::string_view xText,
                                   std::string_view shiftText, std::string_view lengthText,
                                   const NumberLocale& locale) {
    const std::array<std::pair<const char*, std::string_view>, 4> fields = {{
        {"Nyckel-y:", yText},
        {"Nyckel-x:", xText},
        {"Förskjutning:", shiftText},
        {"Inläsningslängd:", lengthText},
    }};
    std::array<std::int16_t, 4> values{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const auto& [label, text] = fields[i];
        const std::optional<double> number = parseNumber(text, locale);
        const std::optional<std::int16_t> value = number ? toInt16(*number) : std::nullopt;
        if (!value) {
            return Message{MessageId::KeyValueInvalid, {label, std::string(text)}};
        }
        values[i] = *value;
    }
    return KeyValues{values[0], values[1], values[2], values[3]};
}

Status writeKeyFile(const std::string& path, const KeyValues& values) {
    return writeFileAtomically(path, formatKeyFile(values), NewFile::Private);
}

} // namespace kvistra
