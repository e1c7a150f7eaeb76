// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/NumberLocale.h"
#include "core/NumericText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvistra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const NumberLocale& locale :
         {NumberLocale::c(), NumberLocale::swedish(), NumberLocale::commandLine()}) {
        if (const std::optional<double> number = parseNumber(text, locale)) {
            if (!std::isfinite(*number)) {
                std::abort();
            }
            // The general form of a number is itself a number in the same locale.
            const std::string formatted = formatGeneral(*number, locale);
            if (!parseNumber(formatted, locale)) {
                std::abort();
            }
        }
        const double leading = leadingNumber(text);
        formatGeneral(leading, locale);
    }
    return 0;
}
