// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PendingFile.h"
#include "core/Image.h"
#include "core/Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kvistra {

// Where and how the pixel rows of a bitmap file lie, as read from its headers.
// Everything in it has been checked against the file's size.
struct BmpLayout {
    int width = 0;
    int height = 0; // rows, always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint64_t fileSize = 0;
    std::uint64_t pixelOffset = 0;
    std::uint64_t rowStride = 0; // bytes per row in the file, padding included
    std::uint64_t rowBytes = 0;  // bytes of a row that hold pixels
    std::vector<Colour> palette;
    std::array<std::uint32_t, 3> masks{}; // red, green, blue at 16 and 32 bits

    // File offset of the row that is y-th from the top.
    std::uint64_t rowOffset(int y) const {
        const auto fileRow = static_cast<std::uint64_t>(topDown ? y : height - 1 - y);
        return pixelOffset + fileRow * rowStride;
    }
    bool runLength = false; // RLE8 or RLE4: rows must be decoded in order
    // No stored value can be out of range, so any row can be decoded on its own.
    bool everyRowValid() const {
        return !runLength && (bitsPerPixel > 8 || palette.size() == (1u << bitsPerPixel));
    }
    // Rows are stored exactly as Image holds them.
    bool sameRowsAsImage() const { return bitsPerPixel == 24; }
};

// Every header and palette we accept lies within this many bytes from the start.
inline constexpr std::size_t kBmpHeadSize = 2048;

bool hasBmpSignature(std::span<const std::uint8_t> head);

// head: the first min(fileSize, kBmpHeadSize) bytes of the file.
// PictureMalformed, PictureTooLarge {path, width, height} or PictureTruncated.
Result<BmpLayout> parseBmpHeader(std::span<const std::uint8_t> head, std::uint64_t fileSize,
                                 const std::string& path);

// One file row (layout.rowBytes bytes) into an Image row; false when it holds a
// palette index that the palette does not have.
bool decodeBmpRow(const BmpLayout& layout, const std::uint8_t* fileRow, std::uint8_t* imageRow);

// A whole bitmap file in memory. NotAPicture when it does not start like one.
Result<Image> decodeBmp(std::span<const std::uint8_t> file, const std::string& pathForMessages);

// Runs of palette indices (RLE8 or RLE4), from the bottom row up, data starting at
// the first pixel byte; without a picture they are only checked. PictureMalformed
// or PictureTruncated.
Status decodeBmpRuns(const BmpLayout& layout, std::span<const std::uint8_t> data, Image* image,
                     const std::string& path);

// Refused before the picture is made when it, and `alongside` bytes held with it,
// would not fit in the memory the process may use.
Status checkBmpMemory(const BmpLayout& layout, const std::string& path,
                      std::uint64_t alongside = 0);

// File and info headers of an uncompressed 24-bit bottom-up bitmap; its pixel rows follow.
inline constexpr std::size_t kBmpHeaderBytes = 54;
std::array<std::uint8_t, kBmpHeaderBytes> bmpHeader(int width, int height);

// Uncompressed 24-bit, bottom-up, into a file not yet in place.
Status writeBmp(PendingFile& file, const Image& image);

} // namespace kvistra
