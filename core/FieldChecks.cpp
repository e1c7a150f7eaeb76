// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldChecks.h"

#include "KeyNumbers.h"
#include "NumericText.h"

namespace kvistra {

std::optional<FieldRefusal> checkKey(std::string_view text, int bound, const NumberLocale& locale) {
    const std::optional<double> value = parseNumber(text, locale);
    if (!value) {
        return FieldRefusal{{MessageId::KeyNotNumeric, {}}, kDefaultKey};
    }
    // The key is compared as a single-precision number.
    if (static_cast<float>(*value) > static_cast<float>(bound)) {
        return FieldRefusal{{MessageId::KeyAboveBound, {std::to_string(bound)}}, kDefaultKey};
    }
    return std::nullopt;
}

std::optional<FieldRefusal> checkShift(std::string_view text, const NumberLocale& locale) {
    const std::optional<double> value = parseNumber(text, locale);
    if (!value) {
        return FieldRefusal{{MessageId::ValueNotNumeric, {}}, kDefaultShift};
    }
    if (*value > kHighestShift) {
        return FieldRefusal{{MessageId::ShiftAboveLimit, {}}, kDefaultShift};
    }
    return std::nullopt;
}

Status checkShiftForWriting(std::string_view text, const NumberLocale& locale) {
    return checkWholeShift(shiftNumber(std::string(text), locale));
}

std::optional<FieldRefusal> checkReadingLength(std::string_view text, const NumberLocale& locale) {
    if (!isNumeric(text, locale)) {
        return FieldRefusal{{MessageId::ValueNotNumeric, {}}, kDefaultReadingLength};
    }
    return std::nullopt;
}

} // namespace kvistra
