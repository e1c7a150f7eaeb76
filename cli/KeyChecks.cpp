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

Result<KeyPosition> keyInsidePicture(const std::string& xText, const std::string& yText,
                                     Size size) {
    // Rounded as the decoder rounds them.
    const NumberLocale locale = NumberLocale::commandLine();
    const auto whole = [&](const std::string& text) -> std::optional<int> {
        const std::optional<double> value = parseNumber(text, locale);
        return value ? toInt16(*value) : std::nullopt;
    };
    const std::optional<int> x = whole(xText);
    const std::optional<int> y = whole(yText);
    if (!x || !y || *x < 0 || *y < 0 || *x >= size.width || *y >= size.height) {
        return Message{MessageId::KeyOutsideGrid,
                       {xText, yText, std::to_string(size.width), std::to_string(size.height)}};
    }
    return KeyPosition{*x, *y};
}

} // namespace kvistra::cli
