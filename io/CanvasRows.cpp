#include "CanvasRows.h"

#include <algorithm>

namespace kvistra {

void readRowBytes(const Canvas& canvas, int y, std::span<std::uint8_t> row,
                  std::vector<Colour>& scratch) {
    scratch.resize(static_cast<std::size_t>(canvas.width()));
    canvas.readRun(0, y, scratch);
    std::uint8_t* p = row.data();
    for (const Colour colour : scratch) {
        p[0] = static_cast<std::uint8_t>(blueOf(colour));
        p[1] = static_cast<std::uint8_t>(greenOf(colour));
        p[2] = static_cast<std::uint8_t>(redOf(colour));
        p += 3;
    }
}

void fillWhite(std::span<std::uint8_t> row, int width) {
    std::fill_n(row.begin(), 3 * static_cast<std::size_t>(width), std::uint8_t{0xFF});
}

} // namespace kvistra
