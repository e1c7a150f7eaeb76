// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngOutputCanvas.h"

#include "CanvasRows.h"
#include "core/ColourRuns.h"

#include <algorithm>
#include <cassert>
#include <cerrno>

namespace kvistra {

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1024} * 1024;

} // namespace

Result<std::unique_ptr<PngOutputCanvas>> PngOutputCanvas::create(const std::string& path, int width,
                                                                 int height,
                                                                 const Canvas* background,
                                                                 PngContent content) {
    Result<PendingFile> created = PendingFile::create(path);
    if (!created) {
        return created.problem();
    }
    return create(std::move(*created), width, height, background, content);
}

Result<std::unique_ptr<PngOutputCanvas>> PngOutputCanvas::create(PendingFile pending, int width,
                                                                 int height,
                                                                 const Canvas* background,
                                                                 PngContent content) {
    auto file = std::make_unique<PendingFile>(std::move(pending));
    Result<PngWriter> writer = PngWriter::start(*file, width, height, content);
    if (!writer) {
        return writer.problem();
    }
    return std::unique_ptr<PngOutputCanvas>(
        new PngOutputCanvas(std::move(file), std::move(*writer), width, height, background));
}

PngOutputCanvas::PngOutputCanvas(std::unique_ptr<PendingFile> file, PngWriter writer, int width,
                                 int height, const Canvas* background)
    : file_(std::move(file))
    , writer_(std::move(writer))
    , width_(width)
    , height_(height)
    , rowBytes_(std::max<std::size_t>(3 * static_cast<std::size_t>(width), 3))
    , blockRows_(static_cast<int>(std::clamp<std::size_t>(
          kBlockBytes / rowBytes_, 1, static_cast<std::size_t>(std::max(height, 1)))))
    , background_(background) {
    startBlock(0);
}

void PngOutputCanvas::startBlock(int firstRow) {
    firstRow_ = firstRow;
    rows_ = std::min(blockRows_, height_ - firstRow);
    block_.resize(static_cast<std::size_t>(std::max(rows_, 0)) * rowBytes_);
    for (int y = firstRow_; y < firstRow_ + rows_; ++y) {
        const std::span<std::uint8_t> row(rowInBlock(y), rowBytes_);
        if (background_ != nullptr) {
            readRowBytes(*background_, y, row, scratch_);
        } else {
            fillWhite(row, width_);
        }
    }
    if (std::optional<Message> problem = backgroundProblem(background_)) {
        written_ = std::move(*problem);
    }
}

void PngOutputCanvas::writeHandedOver(int firstRow, int rows) {
    for (int y = firstRow; y < firstRow + rows && writingStatus_; ++y) {
        const std::uint8_t* row = writing_.data() + (y - firstRow) * rowBytes_;
        writingStatus_ = writer_.writeRow({row, rowBytes_});
        if (!rowDigests_.empty()) {
            rowDigests_[static_cast<std::size_t>(y)] =
                rowDigest({row, 3 * static_cast<std::size_t>(width_)});
        }
    }
}

void PngOutputCanvas::collectWriting() {
    writerThread_.wait();
    if (written_ && !writingStatus_) {
        written_ = writingStatus_;
    }
}

void PngOutputCanvas::handOverBlock() {
    collectWriting();
    if (!written_) {
        return;
    }
    std::swap(block_, writing_);
    writerThread_.start(
        [this, firstRow = firstRow_, rows = rows_] { writeHandedOver(firstRow, rows); });
}

void PngOutputCanvas::moveTo(int y) {
    while (written_ && y >= firstRow_ + rows_ && firstRow_ + rows_ < height_) {
        handOverBlock();
        startBlock(firstRow_ + rows_);
    }
}

Colour PngOutputCanvas::pixel(int x, int y) const {
    if (!contains(x, y)) {
        return kOutsideCanvas;
    }
    if (y >= firstRow_ && y < firstRow_ + rows_) {
        const std::uint8_t* p =
            block_.data() + (y - firstRow_) * rowBytes_ + static_cast<std::size_t>(x) * 3;
        return makeColour(p[2], p[1], p[0]);
    }
    // Rows already written were the background's then; rows to come still are.
    return background_ != nullptr ? background_->pixel(x, y) : kWhite;
}

void PngOutputCanvas::setPixel(int x, int y, Colour colour) {
    if (contains(x, y)) {
        writeRun(x, y, std::span<const Colour>(&colour, 1));
    }
}

void PngOutputCanvas::writeRun(int x, int y, std::span<const Colour> colours) {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width_);
    if (y < firstRow_) {
        outOfOrder_ = true;
        return;
    }
    moveTo(y);
    if (y >= firstRow_ + rows_) {
        return; // the writing stopped at a failure, which finish() reports
    }
    std::uint8_t* p = rowInBlock(y) + static_cast<std::size_t>(x) * 3;
    storeColours(colours, p);
}

Status PngOutputCanvas::finish() {
    if (finished_) {
        return *finished_;
    }
    finished_ = writeRest();
    return *finished_;
}

Status PngOutputCanvas::writeRest() {
    assert(!outOfOrder_ && "PngOutputCanvas is drawn in raster order");
    if (outOfOrder_) {
        return file_->failure(EINVAL);
    }
    moveTo(height_ - 1);
    handOverBlock();
    collectWriting();
    if (!written_) {
        return written_;
    }
    if (Status ended = writer_.finish(); !ended) {
        return ended;
    }
    return file_->finish();
}

Status PngOutputCanvas::commit() {
    if (Status finished = finish(); !finished) {
        return finished;
    }
    return file_->commit();
}

} // namespace kvistra
