// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyNumbers.h"

#include "NumericText.h"
#include "Rounding.h"

#include <cmath>

namespace kvistra {

KeyNumber wholeKey(const std::string& text, const NumberLocale& locale) {
    const std::optional<double> value = parseNumber(text, locale);
    // A whole number needs no rounding: toInt16 only checks its range.
    const std::optional<std::int16_t> key =
        value && *value == roundHalfEven(*value) ? toInt16(*value) : std::nullopt;
    return {key, FailureNumber::None, text};
}

KeyNumber roundedKey(const std::string& text, const NumberLocale& locale) {
    const std::optional<double> value = parseNumber(text, locale);
    if (!value) {
        return {std::nullopt, FailureNumber::TypeMismatch, text};
    }
    const std::optional<std::int16_t> key = toInt16(*value);
    if (!key) {
        return {std::nullopt, FailureNumber::Overflow, text};
    }
    return {*key, FailureNumber::None, text};
}

KeyNumber readingLengthNumber(const std::string& text) {
    const std::optional<std::int16_t> length = toInt16(leadingNumber(text));
    if (!length) {
        return {std::nullopt, FailureNumber::Overflow, text};
    }
    return {*length, FailureNumber::None, text};
}

ShiftNumber shiftNumber(const std::string& text, const NumberLocale& locale) {
    return {parseNumber(text, locale), text};
}

KeyNumber keyNumber(int value) {
    return {value, FailureNumber::None, std::to_string(value)};
}

ShiftNumber shiftNumber(int value) {
    return {value, std::to_string(value)};
}

Status checkWholeShift(const ShiftNumber& shift) {
    if (!shift.value) {
        return Message{MessageId::ValueNotNumeric, {}};
    }
    if (*shift.value != std::trunc(*shift.value)) {
        return Message{MessageId::ShiftNotWhole, {shift.text}};
    }
    return Done{};
}

} // namespace kvistra
