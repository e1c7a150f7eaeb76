// SPDX-License-Identifier: GPL-3.0-or-later
#include "Image.h"

#include "ColourRuns.h"

#include <algorithm>
#include <cassert>

namespace kvistra {

namespace {

// One row of a colour, padding zeroed.
std::vector<std::uint8_t> rowOf(int width, std::size_t stride, Colour colour) {
    std::vector<std::uint8_t> row(stride, 0);
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
        row[3 * x] = static_cast<std::uint8_t>(blueOf(colour));
        row[3 * x + 1] = static_cast<std::uint8_t>(greenOf(colour));
        row[3 * x + 2] = static_cast<std::uint8_t>(redOf(colour));
    }
    return row;
}

} // namespace

Image::Image(int width, int height, Colour fill)
    : width_(width)
    , height_(height)
    , stride_(strideFor(width)) {
    assert(width >= 0 && height >= 0);
    // Row by row, so that the memory is written once.
    const std::vector<std::uint8_t> row = rowOf(width, stride_, fill);
    bytes_.reserve(stride_ * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        bytes_.insert(bytes_.end(), row.begin(), row.end());
    }
}

std::span<std::uint8_t> Image::row(int y) {
    return std::span(bytes_).subspan(static_cast<std::size_t>(y) * stride_, stride_);
}

std::span<const std::uint8_t> Image::row(int y) const {
    return std::span(bytes_).subspan(static_cast<std::size_t>(y) * stride_, stride_);
}

Colour Image::pixel(int x, int y) const {
    if (!contains(x, y)) {
        return kOutsideCanvas;
    }
    const std::uint8_t* p = row(y).data() + static_cast<std::size_t>(x) * 3;
    return makeColour(p[2], p[1], p[0]);
}

void Image::setPixel(int x, int y, Colour colour) {
    if (!contains(x, y)) {
        return;
    }
    std::uint8_t* p = row(y).data() + static_cast<std::size_t>(x) * 3;
    p[0] = static_cast<std::uint8_t>(blueOf(colour));
    p[1] = static_cast<std::uint8_t>(greenOf(colour));
    p[2] = static_cast<std::uint8_t>(redOf(colour));
}

void Image::readRun(int x, int y, std::span<Colour> colours) const {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width_);
    const std::uint8_t* p = row(y).data() + static_cast<std::size_t>(x) * 3;
    loadColours(p, colours);
}

void Image::writeRun(int x, int y, std::span<const Colour> colours) {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width_);
    std::uint8_t* p = row(y).data() + static_cast<std::size_t>(x) * 3;
    storeColours(colours, p);
}

void Image::fill(Colour colour) {
    const std::vector<std::uint8_t> pattern = rowOf(width_, stride_, colour);
    for (int y = 0; y < height_; ++y) {
        std::copy(pattern.begin(), pattern.end(), row(y).begin());
    }
}

} // namespace kvistra
