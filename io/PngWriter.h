// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PendingFile.h"
#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <span>

namespace kvistra {

// What a picture holds, for how hard its rows are worth compressing.
enum class PngContent {
    Picture,          // anything, photographs above all: quick, still well compressed
    RandomCharacters, // drawn almost wholly of random characters: stored as they are
};

// How hard rows are compressed: zlib's level (0 to 9) and strategy (its Z_ value),
// and libpng's row filters (its PNG_FILTER_ bits; with more than one, libpng
// chooses for each row).
struct PngCompression {
    int level;
    int strategy;
    int filters;
};
PngCompression compressionFor(PngContent content);

// A PNG file written a row at a time, top first, through libpng: 8 bits a channel,
// no alpha, not interlaced. Its bytes go through the pending file, so that a full
// disk names the file in our words.
class PngWriter {
public:
    // Writes the header into file, which must outlive the writer.
    static Result<PngWriter> start(PendingFile& file, int width, int height,
                                   PngContent content = PngContent::Picture);
    static Result<PngWriter> start(PendingFile& file, int width, int height,
                                   PngCompression compression);

    PngWriter(PngWriter&&) noexcept;
    PngWriter& operator=(PngWriter&&) noexcept;
    ~PngWriter();

    // One row in Image's layout (blue, green, red), at least width * 3 bytes.
    Status writeRow(std::span<const std::uint8_t> row);
    // After the last row: the end of the file, everything handed to the pending file.
    Status finish();

    struct State; // libpng's structures, kept in the source file

private:
    explicit PngWriter(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

} // namespace kvistra
