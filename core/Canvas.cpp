// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"

namespace kvistra {

void Canvas::readRun(int x, int y, std::span<Colour> colours) const {
    for (Colour& colour : colours) {
        colour = pixel(x++, y);
    }
}

void Canvas::writeRun(int x, int y, std::span<const Colour> colours) {
    for (const Colour colour : colours) {
        setPixel(x++, y, colour);
    }
}

Status laterReads(const Canvas& canvas) {
    if (std::optional<Message> problem = canvas.readProblem()) {
        return std::move(*problem);
    }
    return Done{};
}

} // namespace kvistra
