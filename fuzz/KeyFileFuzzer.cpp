// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/NumberLocale.h"
#include "io/KeyFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvistra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<KeyFileLines> lines = parseKeyFile(bytes, "fuzz.txt");
    if (!lines) {
        return 0;
    }
    for (const NumberLocale& locale : {NumberLocale::c(), NumberLocale::swedish()}) {
        const Result<KeyValues> values =
            convertKeyFields(lines->yKey, lines->xKey, lines->shift, lines->readingLength, locale);
        // What is written must read back as the same numbers.
        if (values) {
            const Result<KeyFileLines> again = parseKeyFile(formatKeyFile(*values), "again.txt");
            const Result<KeyValues> back = convertKeyFields(again->yKey, again->xKey, again->shift,
                                                            again->readingLength, locale);
            if (!back || !(*back == *values)) {
                std::abort();
            }
        }
    }
    return 0;
}
