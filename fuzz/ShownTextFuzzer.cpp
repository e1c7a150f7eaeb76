// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Windows1252.h"
#include "words/ShownText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvistra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Any Windows-1252 text comes back from a box exactly as it went in.
    const std::string text = utf8FromWindows1252(bytes);
    if (programTextFromShown(shownFromProgramText(text)) != text) {
        std::abort();
    }
    // Whatever a user types, reading it never fails.
    programTextFromShown(bytes);
    return 0;
}
