// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/BmpFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Our own bitmap reader only: Qt's readers are fuzzed by Qt's own project.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvistra;
    const std::span<const std::uint8_t> file(data, size);
    const Result<Image> image = decodeBmp(file, "fuzz.bmp");
    if (image) {
        // A picture read must be exactly as large as its headers say, and within bounds.
        const Result<BmpLayout> layout =
            parseBmpHeader(file.first(std::min(size, kBmpHeadSize)), size, "fuzz.bmp");
        if (!layout || image->width() != layout->width || image->height() != layout->height ||
            image->width() > 32767 || image->height() > 32767) {
            std::abort();
        }
        // Touch every byte, so that reads of anything uninitialised show up.
        unsigned sum = 0;
        for (const std::uint8_t byte : image->bytes()) {
            sum += byte;
        }
        if (sum == 0xFFFFFFFFu) {
            std::abort();
        }
    }
    return 0;
}
