// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvistra {

// What a key file says about the picture it belongs to: a digest of the red, green
// and blue bytes of the pixels its key reads. A picture put in place without its
// key (a save cut off between the two) then cannot be read as a message. The red
// and blue bytes are random, so the digest tells nothing about the message to one
// who holds the key file alone.
std::string runCheck(const std::vector<Colour>& run);

// The check of the length pixels from (x, y) on in raster order, as the canvas holds
// them; all must lie inside.
std::string runCheckOf(const Canvas& canvas, int x, int y, int length);

// A canvas that passes everything to another and keeps the colours last written to
// the pixels of one run, for its check.
class RunRecordingCanvas : public Canvas {
public:
    RunRecordingCanvas(Canvas& inner, int x, int y, int length);

    int width() const override { return inner_.width(); }
    int height() const override { return inner_.height(); }
    Colour pixel(int x, int y) const override { return inner_.pixel(x, y); }
    void setPixel(int x, int y, Colour colour) override;
    void readRun(int x, int y, std::span<Colour> colours) const override;
    void writeRun(int x, int y, std::span<const Colour> colours) override;
    std::optional<Message> readProblem() const override { return inner_.readProblem(); }

    // The check of the run as written.
    std::string check() const { return runCheck(run_); }

private:
    void record(int x, int y, std::span<const Colour> colours);

    Canvas& inner_;
    std::int64_t first_; // the run's first pixel, counted in raster order
    std::vector<Colour> run_;
};

} // namespace kvistra
