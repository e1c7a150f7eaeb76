// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpFileCanvas.h"

#include <algorithm>
#include <cerrno>

namespace kvistra {

namespace {

// Rows are read in blocks of about this many bytes: one read per block instead of per row.
constexpr std::uint64_t kBlockBytes = std::uint64_t{64} * 1024;

} // namespace

Result<std::unique_ptr<BmpFileCanvas>> BmpFileCanvas::open(BmpReader reader) {
    if (!reader.layout().everyRowValid()) {
        return Message{MessageId::PictureMalformed, {reader.path()}};
    }
    return std::unique_ptr<BmpFileCanvas>(new BmpFileCanvas(std::move(reader)));
}

Result<std::unique_ptr<BmpFileCanvas>> BmpFileCanvas::open(const std::string& path) {
    Result<BmpReader> reader = BmpReader::open(path);
    if (!reader) {
        return reader.problem();
    }
    return open(std::move(*reader));
}

BmpFileCanvas::BmpFileCanvas(BmpReader reader)
    : reader_(std::move(reader))
    , rowsPerBlock_(static_cast<int>(
          std::clamp<std::uint64_t>(kBlockBytes / reader_.layout().rowStride, 1,
                                    static_cast<std::uint64_t>(reader_.layout().height))))
    , imageStride_(Image::strideFor(reader_.layout().width)) {}

void BmpFileCanvas::load(Block& block, int firstRow) const {
    const BmpLayout& layout = reader_.layout();
    const int rows = std::min(rowsPerBlock_, layout.height - firstRow);
    block.firstRow = firstRow;
    block.rows = rows;
    block.pixels.assign(imageStride_ * static_cast<std::size_t>(rows), 0);

    // The block's rows are neighbours in the file too, in one order or the other.
    const int lowestFileRow = layout.topDown ? firstRow : layout.height - firstRow - rows;
    const std::uint64_t offset =
        layout.pixelOffset + static_cast<std::uint64_t>(lowestFileRow) * layout.rowStride;
    const std::uint64_t size = static_cast<std::uint64_t>(rows) * layout.rowStride;
    fileRows_.assign(static_cast<std::size_t>(size), 0);
    const FileRead got = readAt(reader_.fd(), fileRows_.data(), fileRows_.size(), offset);
    if (!got.ok() && !readProblem_) {
        readProblem_ = Message{MessageId::CannotOpenFile, {reader_.path()}, got.systemError};
    }
    const std::uint64_t filled = got.ok() ? got.bytes : 0;
    for (int i = 0; i < rows; ++i) {
        const int fileRow = lowestFileRow + i;
        const int y = layout.topDown ? fileRow : layout.height - 1 - fileRow;
        const std::uint64_t start = static_cast<std::uint64_t>(i) * layout.rowStride;
        if (start + layout.rowBytes > filled) {
            // Left black rather than taken from bytes the file did not give.
            if (!readProblem_) {
                readProblem_ = Message{MessageId::PictureTruncated, {reader_.path()}};
            }
            continue;
        }
        decodeBmpRow(layout, fileRows_.data() + start,
                     block.pixels.data() + static_cast<std::size_t>(y - firstRow) * imageStride_);
    }
}

const std::uint8_t* BmpFileCanvas::rowPixels(int y) const {
    ++useCount_;
    for (Block& block : blocks_) {
        if (block.rows > 0 && y >= block.firstRow && y < block.firstRow + block.rows) {
            block.lastUse = useCount_;
            return block.pixels.data() +
                   static_cast<std::size_t>(y - block.firstRow) * imageStride_;
        }
    }
    Block& victim =
        *std::min_element(blocks_.begin(), blocks_.end(),
                          [](const Block& a, const Block& b) { return a.lastUse < b.lastUse; });
    load(victim, y / rowsPerBlock_ * rowsPerBlock_);
    victim.lastUse = useCount_;
    return victim.pixels.data() + static_cast<std::size_t>(y - victim.firstRow) * imageStride_;
}

} // namespace kvistra
