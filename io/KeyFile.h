// SPDX-License-Identifier: GPL-3.0-or-later
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
    // From a fifth line "kontroll DIGEST", where there is one: the check of the
    // pixels the key reads in the picture it was written with (runCheck). Readers
    // of four lines skip it.
    std::string check = {};

    friend bool operator==(const KeyFileLines&, const KeyFileLines&) = default;
};

struct KeyValues {
    std::int16_t yKey = 0;
    std::int16_t xKey = 0;
    std::int16_t shift = 0;
    std::int16_t readingLength = 0;

    friend bool operator==(const KeyValues&, const KeyValues&) = default;
};

// Longer lines hold no key value; they are refused with KeyFileLineTooLong.
inline constexpr std::size_t kKeyFileLineLimit = 256;

// y-key, x-key, shift and reading length, one per line, in Windows-1252; a UTF-8
// byte order mark before the first line is skipped. Lines after the fourth are
// ignored but for a check on the fifth. Fewer than four give KeyFileLfLineEnds
// {path} when LF alone ends lines that would make four, else KeyFileTooShort
// {path, count}; a line over kKeyFileLineLimit bytes gives KeyFileLineTooLong
// {path, line}.
Result<KeyFileLines> parseKeyFile(std::string_view bytes, const std::string& path);
// Reads no further than the fourth line can reach.
Result<KeyFileLines> readKeyFile(const std::string& path);

// The checks the window's fields run, on each line in turn, as the key would be
// used on a canvas of width x height; group separators are never taken. The first
// refused line as KeyFileLineRefused, or done when all four can be used.
Status checkKeyFileLines(const KeyFileLines& lines, const std::string& path, int width, int height,
                         const NumberLocale& locale);

// "5\r\n5\r\n0\r\n12\r\n" for y 5, x 5, shift 0, length 12, followed by the line
// "kontroll CHECK\r\n" when a check is given.
std::string formatKeyFile(const KeyValues& values, const std::string& check = {});

// All four texts as 16-bit whole numbers (halves to the even neighbour), or
// KeyValueInvalid {text} with its field for the first that is not one.
Result<KeyValues> convertKeyFields(std::string_view yText, std::string_view xText,
                                   std::string_view shiftText, std::string_view lengthText,
                                   const NumberLocale& locale);

// A new key file is readable by its owner alone: the key is the scheme's secret.
Status writeKeyFile(const std::string& path, const KeyValues& values);

} // namespace kvistra
