// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Decoder.h"
#include "core/Encoder.h"
#include "core/KeyNumbers.h"

#include <string>

namespace kvistra::test {

// Requests from key values typed as texts, read as a front end reads its fields
// (the C locale unless given).

inline DecodeRequest readingKeys(int readingLength, const std::string& yKey,
                                 const std::string& xKey, const std::string& shift,
                                 const NumberLocale& locale = NumberLocale::c()) {
    return {readingLength, roundedKey(yKey, locale), roundedKey(xKey, locale),
            shiftNumber(shift, locale)};
}

inline EncodeRequest writingKeys(std::string message, const std::string& xKey,
                                 const std::string& yKey, const std::string& shift, bool adapt,
                                 const NumberLocale& locale = NumberLocale::c()) {
    return {std::move(message), wholeKey(xKey, locale), wholeKey(yKey, locale),
            shiftNumber(shift, locale), adapt};
}

} // namespace kvistra::test
