// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/FileDescriptor.h"
#include "io/PngFileCanvas.h"
#include "io/PngReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace kvistra;

// The rows the canvas gives for y, as colours.
std::vector<Colour> rowOf(const Canvas& canvas, int y) {
    std::vector<Colour> row(static_cast<std::size_t>(canvas.width()));
    canvas.readRun(0, y, row);
    return row;
}

void readRows(PngReader reader) {
    if (reader.interlaced()) {
        const Result<Image> whole = reader.readWhole();
        if (whole && (whole->width() != reader.width() || whole->height() != reader.height())) {
            std::abort();
        }
        return;
    }
    const int height = reader.height();
    Result<std::unique_ptr<PngFileCanvas>> opened = PngFileCanvas::open(std::move(reader));
    if (!opened) {
        return;
    }
    const PngFileCanvas& canvas = **opened;
    // A file may claim far more pixels than it holds: read its rows only while it
    // has them, and of a large claim only the top.
    const int rows = std::min(height, 64);
    const std::vector<Colour> first = rowOf(canvas, 0);
    for (int y = 1; y < rows && !canvas.readProblem(); ++y) {
        rowOf(canvas, y);
    }
    // Asking for the top again starts over; a file read whole gives the same row.
    if (!canvas.readProblem() && rowOf(canvas, 0) != first) {
        std::abort();
    }
}

} // namespace

// Our row reader over libpng, through the canvas the commands read pixels from.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FileDescriptor file(::memfd_create("fuzz.png", MFD_CLOEXEC));
    if (!file.valid() || ::write(file.get(), data, size) != static_cast<ssize_t>(size) ||
        ::lseek(file.get(), 0, SEEK_SET) != 0) {
        return 0;
    }
    Result<PngReader> reader = PngReader::open(std::move(file), "fuzz.png");
    if (reader) {
        readRows(std::move(*reader));
    }
    return 0;
}
