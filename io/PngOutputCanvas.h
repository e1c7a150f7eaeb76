// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "JobThread.h"
#include "PendingFile.h"
#include "PngWriter.h"
#include "core/Canvas.h"
#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

// A canvas whose rows go straight into a new PNG file, a block of rows held at a
// time. A PNG file is written from the top down, so the canvas is drawn in raster
// order, as the encoder draws: a row above the block held is no longer there to
// change, and drawing there is refused at commit(). Rows never drawn on are taken
// from the background (a cover picture, read row by row) or left white.
class PngOutputCanvas final : public Canvas {
public:
    // background, when given, has the same size and outlives the canvas.
    static Result<std::unique_ptr<PngOutputCanvas>>
    create(const std::string& path, int width, int height, const Canvas* background = nullptr,
           PngContent content = PngContent::Picture);
    static Result<std::unique_ptr<PngOutputCanvas>>
    create(PendingFile file, int width, int height, const Canvas* background = nullptr,
           PngContent content = PngContent::Picture);

    int width() const override { return width_; }
    int height() const override { return height_; }
    Colour pixel(int x, int y) const override;
    void setPixel(int x, int y, Colour colour) override;
    void writeRun(int x, int y, std::span<const Colour> colours) override;

    // Writes the rows still to come and the end: the file is whole, though not yet
    // in place (file() is then to be committed, alone or with a key file).
    Status finish();
    PendingFile& file() { return *file_; }
    // Keeps each row's digest as it goes to the file, for a check of the file read
    // back; asked for before drawing, since it costs time on every row.
    void keepRowDigests() { rowDigests_.assign(static_cast<std::size_t>(height()), 0); }
    // Empty unless they were kept.
    const std::vector<std::uint64_t>& rowDigests() const { return rowDigests_; }
    // Finishes and puts the file in place.
    Status commit();

private:
    PngOutputCanvas(std::unique_ptr<PendingFile> file, PngWriter writer, int width, int height,
                    const Canvas* background);

    // Hands the block held and every row before the block that holds row y to the
    // writing thread.
    void moveTo(int y);
    void startBlock(int firstRow);
    // The block held goes to the writing thread once the block before is written.
    void handOverBlock();
    // On the writing thread: the rows of the block handed over.
    void writeHandedOver(int firstRow, int rows);
    // Waits for the block handed over to be written and takes its status.
    void collectWriting();
    Status writeRest();
    std::uint8_t* rowInBlock(int y) { return block_.data() + (y - firstRow_) * rowBytes_; }

    std::unique_ptr<PendingFile> file_; // the writer keeps its address
    PngWriter writer_;
    int width_;
    int height_;
    std::size_t rowBytes_;
    int blockRows_;
    const Canvas* background_;
    int firstRow_ = 0;
    int rows_ = 0;
    std::vector<std::uint8_t> block_;
    // The block being written while the next is drawn, and how its writing went;
    // both the writing thread's until collectWriting().
    std::vector<std::uint8_t> writing_;
    Status writingStatus_ = Done{};
    std::vector<Colour> scratch_;
    std::vector<std::uint64_t> rowDigests_;
    Status written_ = Done{};
    bool outOfOrder_ = false;
    std::optional<Status> finished_;
    JobThread writerThread_; // last: its job is done before the rest goes
};

} // namespace kvistra
