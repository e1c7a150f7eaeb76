// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Canvas.h"
#include "core/Message.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kvistra {

// Row y of canvas in Image's layout (blue, green, red), through a scratch row of
// colours that the caller keeps between calls.
void readRowBytes(const Canvas& canvas, int y, std::span<std::uint8_t> row,
                  std::vector<Colour>& scratch);

// What has gone wrong reading a background from its file (a picture whose rows
// run out, say), if anything: its rows from then on read as black, so a picture
// drawn over it is refused at once rather than written to its end.
std::optional<Message> backgroundProblem(const Canvas* background);

// A digest of a row's pixel bytes (width * 3 of them, without padding): what a
// picture written row by row keeps of each row to check the file read back.
std::uint64_t rowDigest(std::span<const std::uint8_t> pixels);

// A row of white pixels in Image's layout, its padding left zero.
void fillWhite(std::span<std::uint8_t> row, int width);

} // namespace kvistra
