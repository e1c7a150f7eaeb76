// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyChecks.h"

#include "core/FieldChecks.h"
#include "core/NumberLocale.h"
#include "core/NumericText.h"
#include "core/Rounding.h"

#include <optional>

namespace kvistra::cli {

Status checkKeyTexts(const KeyTexts& texts, Size size, bool withKeys, bool withReadingLength) {
    const NumberLocale locale = NumberLocale::commandLine();
    std::optional<FieldRefusal> refusal;
    if (withKeys) {
        refusal = checkKey(texts.xKey, size.width, locale);
    }
    if (!refusal && withKeys) {
        refusal = checkKey(texts.yKey, size.height, locale);
    }
    if (!refusal) {
        refusal = checkShift(texts.shift, locale);
    }
    if (!refusal && withReadingLength) {
        refusal = checkReadingLength(texts.readingLength, locale);
    }
    if (refusal) {
        return refusal->message;
    }
    // The window's field takes a negative length and reads nothing; here that would
    // pass for a message read whole.
    if (withReadingLength) {
        const std::optional<double> length = parseNumber(texts.readingLength, locale);
        if (length && roundHalfEven(*length) < 0) {
            return Message{MessageId::ReadingLengthNegative, {texts.readingLength}};
        }
    }
    return Done{};
}

Result<KeyPosition> keyInsidePicture(const KeyNumber& x, const KeyNumber& y, Size size) {
    if (!x.value || !y.value || *x.value < 0 || *y.value < 0 || *x.value >= size.width ||
        *y.value >= size.height) {
        return Message{MessageId::KeyOutsideGrid,
                       {x.text, y.text, std::to_string(size.width), std::to_string(size.height)}};
    }
    return KeyPosition{*x.value, *y.value};
}

} // namespace kvistra::cli
