#include "CanvasRows.h"

#include "core/ColourRuns.h"

#include <algorithm>

namespace kvistra {

void readRowBytes(const Canvas& canvas, int y, std::span<std::uint8_t> row,
                  std::vector<Colour>& scratch) {
    scratch.resize(static_cast<std::size_t>(canvas.width()));
    canvas.readRun(0, y, scratch);
    storeColours(scratch, row.data());
}

void fillWhite(std::span<std::uint8_t> row, int width) {
    std::fill_n(row.begin(), 3 * static_cast<std::size_t>(width), std::uint8_t{0xFF});
}

} // namespace kvistra
