// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CharacterSet.h"
#include "core/FixedFrequencyCode.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

// A sealed run is read from a picture anyone may have made: any characters must
// give bytes that write back as the same characters, or none.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvistra;
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    // The bytes as they stand, and turned into characters of the set, which reach
    // the arithmetic far more often.
    std::string inSet;
    for (const std::uint8_t byte : std::span(data, size)) {
        inSet += static_cast<char>(characterAt(byte % kCharacterSetSize + 1));
    }
    for (const std::string_view characters : {raw, std::string_view(inSet)}) {
        if (const auto bytes = bytesOfCharacters(characters)) {
            if (charactersOfBytes(*bytes) != characters) {
                std::abort();
            }
        }
    }
    const std::string written = charactersOfBytes(std::span(data, size));
    const auto back = bytesOfCharacters(written);
    if (!back || !std::equal(back->begin(), back->end(), data, data + size) ||
        back->size() != size) {
        std::abort();
    }
    return 0;
}
