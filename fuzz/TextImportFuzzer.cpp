// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/TextImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// "Infoga textfil" on any bytes: a text comes back with every line ended by the
// marker and no line end left in it, or a refusal.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvistra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Result<std::string> text = importText(bytes, "fuzz.txt");
    if (!text) {
        return 0;
    }
    const bool lineEndLeft = text->find_first_of("\r\n") != std::string::npos;
    const bool unmarked = !text->empty() && text->back() != '|';
    if (lineEndLeft || unmarked || (bytes.empty() && !text->empty())) {
        std::abort();
    }
    return 0;
}
