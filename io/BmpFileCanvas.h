// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BmpReader.h"
#include "FileCanvas.h"
#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

// A read-only picture over an uncompressed bitmap file that reads only the rows
// asked for, so that revealing a text from the top of a large picture does not
// read the whole file. Not for concurrent use: reads fill a shared cache.
class BmpFileCanvas final : public FileCanvas {
public:
    // Any uncompressed file whose every row can be decoded on its own; others are
    // refused with PictureMalformed. Rows are read from the reader's open file.
    static Result<std::unique_ptr<BmpFileCanvas>> open(BmpReader reader);
    // Opens the file by name first; files that are no bitmaps are refused with the
    // reader's message.
    static Result<std::unique_ptr<BmpFileCanvas>> open(const std::string& path);

    int width() const override { return reader_.layout().width; }
    int height() const override { return reader_.layout().height; }

    std::optional<Message> readProblem() const override { return readProblem_; }

private:
    explicit BmpFileCanvas(BmpReader reader);

    // A few neighbouring rows, decoded into Image's row layout.
    struct Block {
        int firstRow = -1;
        int rows = 0;
        std::uint64_t lastUse = 0;
        std::vector<std::uint8_t> pixels;
    };

    const std::uint8_t* rowPixels(int y) const override;
    void load(Block& block, int firstRow) const;

    BmpReader reader_;
    int rowsPerBlock_ = 1;
    std::size_t imageStride_ = 0;
    mutable std::array<Block, 2> blocks_;
    mutable std::uint64_t useCount_ = 0;
    mutable std::vector<std::uint8_t> fileRows_;
    mutable std::optional<Message> readProblem_;
};

} // namespace kvistra
