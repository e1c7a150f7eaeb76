// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpOutputCanvas.h"

#include "BmpFormat.h"
#include "CanvasRows.h"
#include "FileDescriptor.h"
#include "core/ColourRuns.h"
#include "core/Image.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <unistd.h>

namespace kvistra {

namespace {

// Padding bytes are zero, as in every file we write.
void zeroPadding(std::span<std::uint8_t> row, int width) {
    std::ranges::fill(row.subspan(3 * static_cast<std::size_t>(width)), std::uint8_t{0});
}

int writeAt(int fd, const std::uint8_t* bytes, std::size_t size, std::uint64_t offset) {
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, bytes, size, static_cast<off_t>(offset));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
        offset += static_cast<std::uint64_t>(written);
    }
    return 0;
}

} // namespace

Result<std::unique_ptr<BmpOutputCanvas>>
BmpOutputCanvas::create(const std::string& path, int width, int height, const Canvas* background) {
    Result<PendingFile> file = PendingFile::create(path);
    if (!file) {
        return file.problem();
    }
    return create(std::move(*file), width, height, background);
}

std::unique_ptr<BmpOutputCanvas> BmpOutputCanvas::create(PendingFile file, int width, int height,
                                                         const Canvas* background) {
    return std::unique_ptr<BmpOutputCanvas>(
        new BmpOutputCanvas(std::move(file), width, height, background));
}

namespace {
constexpr std::size_t kBlockBytes = std::size_t{256} * 1024; // few system calls, little memory
} // namespace

BmpOutputCanvas::BmpOutputCanvas(PendingFile file, int width, int height, const Canvas* background)
    : file_(std::move(file))
    , width_(width)
    , height_(height)
    , stride_(Image::strideFor(width))
    , blockRows_(static_cast<int>(std::max<std::size_t>(1, kBlockBytes / stride_)))
    , background_(background)
    , written_(static_cast<std::size_t>((height + blockRows_ - 1) / blockRows_), false) {}

int BmpOutputCanvas::blockEnd(int block) const {
    return std::min(height_, (block + 1) * blockRows_);
}

std::uint64_t BmpOutputCanvas::blockOffset(int block) const {
    // The block's last row comes first in a bottom-up file.
    return kBmpHeaderBytes + static_cast<std::uint64_t>(height_ - blockEnd(block)) * stride_;
}

std::uint8_t* BmpOutputCanvas::rowInCache(int y) const {
    return block_.data() + static_cast<std::size_t>(blockEnd(cachedBlock_) - 1 - y) * stride_;
}

void BmpOutputCanvas::flushBlock() const {
    if (!dirty_) {
        return;
    }
    for (int y = cachedBlock_ * blockRows_; y < blockEnd(cachedBlock_); ++y) {
        prepareRow(y);
    }
    if (const int error =
            writeAt(file_.fd(), block_.data(), block_.size(), blockOffset(cachedBlock_));
        error != 0 && error_ == 0) {
        error_ = error;
    }
    written_[static_cast<std::size_t>(cachedBlock_)] = true;
    dirty_ = false;
    for (int y = cachedBlock_ * blockRows_; y < blockEnd(cachedBlock_) && !rowDigests_.empty();
         ++y) {
        rowDigests_[static_cast<std::size_t>(y)] =
            rowDigest({rowInCache(y), 3 * static_cast<std::size_t>(width_)});
    }
}

void BmpOutputCanvas::cacheBlockOf(int y) const {
    const int block = y / blockRows_;
    if (block == cachedBlock_) {
        return;
    }
    flushBlock();
    cachedBlock_ = block;
    const auto rows = static_cast<std::size_t>(blockEnd(block) - block * blockRows_);
    block_.resize(rows * stride_);
    rowsToPrepare_.assign(rows, false);
    if (!written_[static_cast<std::size_t>(block)]) {
        if (background_ != nullptr) {
            // A cover is read as soon as its rows are met, so that a damaged one
            // is refused there.
            for (int y = block * blockRows_; y < blockEnd(block); ++y) {
                const std::span<std::uint8_t> row(rowInCache(y), stride_);
                readRowBytes(*background_, y, row, scratch_);
                zeroPadding(row, width_);
            }
            if (!coverProblem_) {
                coverProblem_ = backgroundProblem(background_);
            }
        } else {
            rowsToPrepare_.assign(rows, true);
        }
    } else if (const FileRead got =
                   readAt(file_.fd(), block_.data(), block_.size(), blockOffset(block));
               !got.ok() || got.bytes != block_.size()) {
        error_ = error_ != 0 ? error_ : (got.ok() ? EIO : got.systemError);
    }
}

void BmpOutputCanvas::prepareRow(int y, bool wholeRowFollows) const {
    const auto index = static_cast<std::size_t>(y - cachedBlock_ * blockRows_);
    if (!rowsToPrepare_[index]) {
        return;
    }
    rowsToPrepare_[index] = false;
    const std::span<std::uint8_t> row(rowInCache(y), stride_);
    if (!wholeRowFollows) {
        fillWhite(row, width_);
    }
    zeroPadding(row, width_);
}

Colour BmpOutputCanvas::pixel(int x, int y) const {
    if (!contains(x, y)) {
        return kOutsideCanvas;
    }
    cacheBlockOf(y);
    prepareRow(y);
    const std::uint8_t* p = rowInCache(y) + static_cast<std::size_t>(x) * 3;
    return makeColour(p[2], p[1], p[0]);
}

void BmpOutputCanvas::setPixel(int x, int y, Colour colour) {
    if (contains(x, y)) {
        writeRun(x, y, std::span<const Colour>(&colour, 1));
    }
}

void BmpOutputCanvas::readRun(int x, int y, std::span<Colour> colours) const {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width_);
    cacheBlockOf(y);
    prepareRow(y);
    const std::uint8_t* p = rowInCache(y) + static_cast<std::size_t>(x) * 3;
    loadColours(p, colours);
}

void BmpOutputCanvas::writeRun(int x, int y, std::span<const Colour> colours) {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width_);
    cacheBlockOf(y);
    prepareRow(y, x == 0 && static_cast<int>(colours.size()) == width_);
    std::uint8_t* p = rowInCache(y) + static_cast<std::size_t>(x) * 3;
    storeColours(colours, p);
    dirty_ = true;
}

Status BmpOutputCanvas::finish() {
    flushBlock();
    // Blocks never drawn on are still white.
    for (int block = 0; block < static_cast<int>(written_.size()) && error_ == 0 && !coverProblem_;
         ++block) {
        if (!written_[static_cast<std::size_t>(block)]) {
            cacheBlockOf(block * blockRows_);
            dirty_ = true;
            flushBlock();
        }
    }
    if (coverProblem_) {
        return *coverProblem_;
    }
    const std::array<std::uint8_t, kBmpHeaderBytes> header = bmpHeader(width_, height_);
    if (error_ == 0) {
        error_ = writeAt(file_.fd(), header.data(), header.size(), 0);
    }
    if (error_ != 0) {
        return file_.failure(error_);
    }
    return file_.finish();
}

Status BmpOutputCanvas::commit() {
    if (Status finished = finish(); !finished) {
        return finished;
    }
    return file_.commit();
}

} // namespace kvistra
