// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kvistra {

// An exact 24-bit picture in memory. Rows run from the top, each pixel stored
// as blue, green, red bytes, each row padded to a multiple of four bytes: the
// pixel rows of a 24-bit bitmap file, so files move in and out without conversion.
class Image final : public Canvas {
public:
    Image() = default;
    Image(int width, int height, Colour fill = kWhite);

    int width() const override { return width_; }
    int height() const override { return height_; }
    Colour pixel(int x, int y) const override;
    void setPixel(int x, int y, Colour colour) override;
    void readRun(int x, int y, std::span<Colour> colours) const override;
    void writeRun(int x, int y, std::span<const Colour> colours) override;

    void fill(Colour colour);

    std::size_t stride() const { return stride_; }
    std::span<std::uint8_t> row(int y);
    std::span<const std::uint8_t> row(int y) const;
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    static std::size_t strideFor(int width) {
        return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    }
    // What a picture of this size takes in memory.
    static std::uint64_t bytesFor(int width, int height) {
        return static_cast<std::uint64_t>(strideFor(width)) * static_cast<std::uint64_t>(height);
    }

    friend bool operator==(const Image& a, const Image& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.bytes_ == b.bytes_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> bytes_;
};

} // namespace kvistra
