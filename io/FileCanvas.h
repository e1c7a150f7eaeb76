// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Canvas.h"
#include "core/Message.h"

#include <cstdint>
#include <optional>

namespace kvistra {

// A read-only canvas whose rows come from its file as they are asked for; its
// readProblem() tells a row the file could no longer give.
class FileCanvas : public Canvas {
public:
    Colour pixel(int x, int y) const final;
    void readRun(int x, int y, std::span<Colour> colours) const final;
    void setPixel(int x, int y, Colour colour) final;
    void writeRun(int x, int y, std::span<const Colour> colours) final;

protected:
    // Row y, inside the canvas, in Image's row layout (blue, green, red), valid
    // until the next call.
    virtual const std::uint8_t* rowPixels(int y) const = 0;
};

} // namespace kvistra
