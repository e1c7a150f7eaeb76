// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileCanvas.h"
#include "PngReader.h"
#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace kvistra {

// A read-only picture over a PNG file that inflates rows only as far as the last
// one asked for, holding the last of them read; asking for an earlier row starts
// again from the top. Reading forward, as the decoder does, reads the file once.
// Not for concurrent use.
class PngFileCanvas final : public FileCanvas {
public:
    // Files that are not interlaced; others are refused with PictureMalformed.
    static Result<std::unique_ptr<PngFileCanvas>> open(PngReader reader);

    int width() const override { return reader_.width(); }
    int height() const override { return reader_.height(); }

    std::optional<Message> readProblem() const override { return readProblem_; }

private:
    explicit PngFileCanvas(PngReader reader);

    const std::uint8_t* rowPixels(int y) const override;
    // Where row y is held, when it is.
    std::uint8_t* slot(int y) const;

    mutable PngReader reader_;
    std::size_t rowBytes_;
    int rowsHeld_;
    mutable std::vector<std::uint8_t> rows_; // a ring: row y in slot y % rowsHeld_
    std::vector<std::uint8_t> blackRow_;
    mutable std::optional<Message> readProblem_;
};

} // namespace kvistra
