// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Colour.h"

#include <cstddef>
#include <functional>
#include <span>

namespace kvistra {

// Makes chunk `index` into the span given.
using MakeChunk = std::function<void(std::size_t index, std::span<Colour> chunk)>;
// Takes the chunks, in order.
using UseChunk = std::function<void(std::span<const Colour> chunk)>;

// Splits `count` colours into chunks of `chunk` (the last one shorter) and makes
// each on the calling thread just before `use` takes it.
void makeChunksInTurn(std::size_t count, std::size_t chunk, const MakeChunk& make,
                      const UseChunk& use);

// Splits `count` colours into chunks of `chunk` (the last one shorter), makes them
// on worker threads a few chunks ahead of the one in use, and hands them to `use`
// in order on the calling thread. `make` must not depend on the order in which
// chunks are made. Without threads to be had, each chunk is made just before use.
// What `make` or `use` throws ends the work and is thrown here.
void makeChunksAhead(std::size_t count, std::size_t chunk, const MakeChunk& make,
                     const UseChunk& use);

} // namespace kvistra
