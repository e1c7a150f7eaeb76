// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colour.h"
#include "Message.h"
#include "Result.h"

#include <optional>
#include <span>

namespace kvistra {

// A picture addressed in pixels: column x from the left, row y from the top.
// Runs stay within one row; they let the encoder and decoder move whole rows
// without a virtual call per pixel.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // kOutsideCanvas for a position outside the canvas.
    virtual Colour pixel(int x, int y) const = 0;
    virtual void setPixel(int x, int y, Colour colour) = 0;

    // Reads colours.size() pixels of row y from column x on; all must lie inside.
    virtual void readRun(int x, int y, std::span<Colour> colours) const;
    virtual void writeRun(int x, int y, std::span<const Colour> colours);

    // What kept the canvas from giving its pixels since it was opened: one read from
    // its file a row at a time reads a row the file can no longer give (it shrank,
    // or went bad past its header) as black, and keeps the first such problem; the
    // front end must not trust what it read then. Nothing for a canvas in memory.
    virtual std::optional<Message> readProblem() const { return std::nullopt; }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width() && y < height(); }
};

// The canvas's readProblem() as a status: whether every pixel read so far was the
// picture's.
Status laterReads(const Canvas& canvas);

} // namespace kvistra
