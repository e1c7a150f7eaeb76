// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngFileCanvas.h"

#include <algorithm>

namespace kvistra {

namespace {

// The rows last read are held, up to about this many bytes of them.
constexpr std::size_t kHeldBytes = 1024 * 1024;

} // namespace

Result<std::unique_ptr<PngFileCanvas>> PngFileCanvas::open(PngReader reader) {
    if (reader.interlaced()) {
        return Message{MessageId::PictureMalformed, {reader.path()}};
    }
    return std::unique_ptr<PngFileCanvas>(new PngFileCanvas(std::move(reader)));
}

PngFileCanvas::PngFileCanvas(PngReader reader)
    : reader_(std::move(reader))
    , rowBytes_(std::max<std::size_t>(3 * static_cast<std::size_t>(reader_.width()), 3))
    , rowsHeld_(static_cast<int>(std::clamp<std::size_t>(
          kHeldBytes / rowBytes_, 1, static_cast<std::size_t>(std::max(reader_.height(), 1)))))
    , rows_(rowBytes_ * static_cast<std::size_t>(rowsHeld_))
    , blackRow_(rowBytes_, 0) {}

std::uint8_t* PngFileCanvas::slot(int y) const {
    return rows_.data() + static_cast<std::size_t>(y % rowsHeld_) * rowBytes_;
}

const std::uint8_t* PngFileCanvas::rowPixels(int y) const {
    if (y < reader_.nextRow() - rowsHeld_ && !readProblem_) {
        if (const Status rewound = reader_.rewind(); !rewound) {
            readProblem_ = rewound.problem();
        }
    }
    while (reader_.nextRow() <= y && !readProblem_) {
        if (const Status read = reader_.readNextRow({slot(reader_.nextRow()), rowBytes_}); !read) {
            readProblem_ = read.problem();
        }
    }
    const bool held = y < reader_.nextRow() && y >= reader_.nextRow() - rowsHeld_;
    // Rows the file could not give read as black.
    return held ? slot(y) : blackRow_.data();
}

} // namespace kvistra
