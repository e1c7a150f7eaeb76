#include "PngFileCanvas.h"

#include <algorithm>
#include <cassert>

namespace kvistra {

namespace {

constexpr std::size_t kBlockBytes = 1024 * 1024;

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
    , rowsPerBlock_(static_cast<int>(std::clamp<std::size_t>(
          kBlockBytes / rowBytes_, 1, static_cast<std::size_t>(std::max(reader_.height(), 1)))))
    , passedRow_(rowBytes_) {}

bool PngFileCanvas::readNext(std::uint8_t* row) const {
    if (readProblem_) {
        return false;
    }
    if (const Status read = reader_.readNextRow({row, rowBytes_}); !read) {
        readProblem_ = read.problem();
        return false;
    }
    return true;
}

void PngFileCanvas::load(int firstRow) const {
    firstRow_ = firstRow;
    rows_ = std::min(rowsPerBlock_, height() - firstRow);
    // Rows the file cannot give stay black.
    block_.assign(rowBytes_ * static_cast<std::size_t>(rows_), 0);
    if (reader_.nextRow() > firstRow && !readProblem_) {
        if (const Status rewound = reader_.rewind(); !rewound) {
            readProblem_ = rewound.problem();
        }
    }
    while (reader_.nextRow() < firstRow && readNext(passedRow_.data())) {
    }
    for (int i = 0; i < rows_ && readNext(block_.data() + static_cast<std::size_t>(i) * rowBytes_);
         ++i) {
    }
}

const std::uint8_t* PngFileCanvas::rowPixels(int y) const {
    if (firstRow_ < 0 || y < firstRow_ || y >= firstRow_ + rows_) {
        load(y / rowsPerBlock_ * rowsPerBlock_);
    }
    return block_.data() + static_cast<std::size_t>(y - firstRow_) * rowBytes_;
}

Colour PngFileCanvas::pixel(int x, int y) const {
    if (!contains(x, y)) {
        return kOutsideCanvas;
    }
    const std::uint8_t* p = rowPixels(y) + static_cast<std::size_t>(x) * 3;
    return makeColour(p[2], p[1], p[0]);
}

void PngFileCanvas::readRun(int x, int y, std::span<Colour> colours) const {
    assert(contains(x, y) && x + static_cast<int>(colours.size()) <= width());
    if (!contains(x, y) || colours.size() > static_cast<std::size_t>(width() - x)) {
        Canvas::readRun(x, y, colours); // outside reads as kOutsideCanvas, never past the row
        return;
    }
    const std::uint8_t* p = rowPixels(y) + static_cast<std::size_t>(x) * 3;
    for (Colour& colour : colours) {
        colour = makeColour(p[2], p[1], p[0]);
        p += 3;
    }
}

void PngFileCanvas::setPixel(int, int, Colour) {
    assert(!"PngFileCanvas is read-only");
}

void PngFileCanvas::writeRun(int, int, std::span<const Colour>) {
    assert(!"PngFileCanvas is read-only");
}

} // namespace kvistra
