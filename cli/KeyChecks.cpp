// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyChecks.h"

#include "core/FieldChecks.h"
#include "core/NumberLocale.h"

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
    if (!refusal) {
        return Done{};
    }
    return refusal->message;
}

} // namespace kvistra::cli
