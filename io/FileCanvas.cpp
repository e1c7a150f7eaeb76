// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCanvas.h"

#include "core/ColourRuns.h"

#include <cassert>

namespace kvistra {

Colour FileCanvas::pixel(int x, int y) const {
    if (!contains(x, y)) {
        return kOutsideCanvas;
    }
    const std::uint8_t* p = rowPixels(y) + static_cast<std::size_t>(x) * 3;
    return makeColour(p[2], p[1], p[0]);
}

void FileCanvas::readRun(int x, int y, std::span<Colour> colours) const {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width());
    if (!contains(x, y) || colours.size() > static_cast<std::size_t>(width() - x)) {
        Canvas::readRun(x, y, colours); // outside reads as kOutsideCanvas, never past the row
        return;
    }
    loadColours(rowPixels(y) + static_cast<std::size_t>(x) * 3, colours);
}

void FileCanvas::setPixel(int, int, Colour) {
    assert(!"a file canvas is read-only");
}

void FileCanvas::writeRun(int, int, std::span<const Colour>) {
    assert(!"a file canvas is read-only");
}

} // namespace kvistra
