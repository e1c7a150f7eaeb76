#pragma once

#include "core/NumberLocale.h"
#include "core/Result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kvistra {

// The four lines of a key file as UTF-8, taken verbatim.
struct KeyFileLines {
    std::string yKey;
    std::string xKey;
    std::string shift;
    std::string readingLength;

    friend bool operator==(const KeyFileLines&, const KeyFileLines&) = default;
};

struct KeyValues {
    std::int16_t yKey = 0;
    std::int16_t xKey = 0;
    std::int16_t shift = 0;
    std::int16_t readingLength = 0;

    friend bool operator==(const KeyValues&, const KeyValues&) = default;
};

// Larger files are refused with KeyFileTooLarge before they are read.
inline constexpr std::size_t kKeyFileLimit = std::size_t{64} * 1024;

// y-key, x-key, shift and reading length, one per line, in Windows-1252. Lines
// after the fourth are ignored; fewer than four give KeyFileTooShort {path, count}.
Result<KeyFileLines> parseKeyFile(std::string_view bytes, const std::string& path);
Result<KeyFileLines> readKeyFile(const std::string& path);

// "5\r\n5\r\n0\r\n12\r\n" for y 5, x 5, shift 0, length 12.
std::string formatKeyFile(const KeyValues& values);

// All four texts as 16-bit whole numbers (halves to the even neighbour), or
// KeyValueInvalid {field label, text} for the first that is not one.
Result<KeyValues> convertKeyFields(std::string_view yText, std::string_view xText,
                                   std::string_view shiftText, std::string_view lengthText,
                                   const NumberLocale& locale);

// A new key file is readable by its owner alone: the key is the scheme's secret.
Status writeKeyFile(const std::string& path, const KeyValues& values);

} // namespace kvistra
