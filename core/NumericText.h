// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NumberLocale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvistra {

// The text, with blanks around it, as a number in the given locale: an optional
// sign, digits with optional group separators, an optional decimal part and an
// optional exponent. nullopt when the text is not numeric (the empty text is not).
std::optional<double> parseNumber(std::string_view text, const NumberLocale& locale);

inline bool isNumeric(std::string_view text, const NumberLocale& locale) {
    return parseNumber(text, locale).has_value();
}

// The number at the start of a text: blanks skipped, optional sign, digits, a
// full stop as decimal point, optional exponent; a text without one gives 0.
// The locale plays no part.
double leadingNumber(std::string_view text);

// General decimal form with up to 15 significant digits and the locale's
// decimal separator: 0,25  -3  1,5E+20.
std::string formatGeneral(double value, const NumberLocale& locale);

// A whole number with the locale's group separator every three digits: 64 789.
std::string formatGrouped(std::int64_t value, const NumberLocale& locale);

} // namespace kvistra
