// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PendingFile.h"
#include "core/Canvas.h"
#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

// A canvas whose rows go straight into a new 24-bit bitmap file, a block of rows
// held in memory at a time: a picture drawn in raster order, as the encoder draws
// one, never has to be held whole. Rows never drawn on are white, or taken from a
// background (a cover picture, read from the top down). commit() puts the file in
// place; without it the file is removed again.
class BmpOutputCanvas final : public Canvas {
public:
    // background, when given, has the same size and outlives the canvas.
    static Result<std::unique_ptr<BmpOutputCanvas>>
    create(const std::string& path, int width, int height, const Canvas* background = nullptr);
    // Into a pending file of the caller's (a temporary one, say).
    static std::unique_ptr<BmpOutputCanvas> create(PendingFile file, int width, int height,
                                                   const Canvas* background = nullptr);

    int width() const override { return width_; }
    int height() const override { return height_; }
    Colour pixel(int x, int y) const override;
    void setPixel(int x, int y, Colour colour) override;
    void readRun(int x, int y, std::span<Colour> colours) const override;
    void writeRun(int x, int y, std::span<const Colour> colours) override;

    // Writes what is still held and the headers: the file is whole, though not
    // yet in place (file() is then to be committed, alone or with a key file).
    Status finish();
    PendingFile& file() { return file_; }
    // Keeps each row's digest as it goes to the file, for a check of the file read
    // back; asked for before drawing, since it costs time on every row.
    void keepRowDigests() { rowDigests_.assign(static_cast<std::size_t>(height()), 0); }
    // Empty unless they were kept.
    const std::vector<std::uint64_t>& rowDigests() const { return rowDigests_; }
    // Finishes and puts the file in place.
    Status commit();

private:
    BmpOutputCanvas(PendingFile file, int width, int height, const Canvas* background);

    // Brings the block holding row y into memory, writing the one held out first.
    void cacheBlockOf(int y) const;
    // Gives a row of a fresh block its first colours, unless a write of the whole
    // row is about to: a fresh picture's rows are not whitened only to be overwritten.
    void prepareRow(int y, bool wholeRowFollows = false) const;
    void flushBlock() const;
    int blockEnd(int block) const;
    std::uint64_t blockOffset(int block) const;
    std::uint8_t* rowInCache(int y) const;

    PendingFile file_;
    int width_;
    int height_;
    std::size_t stride_;
    int blockRows_;
    const Canvas* background_;
    mutable std::vector<Colour> scratch_;
    // The cache follows reads too, hence mutable; errors wait for commit().
    mutable std::vector<std::uint8_t> block_; // rows bottom-up, as in the file
    mutable int cachedBlock_ = -1;
    mutable bool dirty_ = false;
    mutable std::vector<bool> rowsToPrepare_; // per row of the cached block
    mutable std::vector<bool> written_;       // per block
    mutable std::vector<std::uint64_t> rowDigests_;
    mutable int error_ = 0;
    mutable std::optional<Message> coverProblem_; // the first, which stops the writing
};

} // namespace kvistra
