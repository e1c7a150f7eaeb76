// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDescriptor.h"
#include "core/Image.h"
#include "core/Result.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace kvistra {

// A PNG file read a row at a time, top first, through libpng: only the rows asked
// for are inflated, so the top of a large picture is read without the rest. Any
// colour type and depth comes out as Image's rows (blue, green, red, 8 bits each):
// 16-bit channels scaled, palettes expanded, grey spread to all three, alpha
// dropped without blending. An interlaced file spreads each row over the whole
// file, so it is read whole (readWhole) instead.
class PngReader {
public:
    // How chunks with a wrong CRC are taken: as libpng's usual reading takes them
    // (an ancillary chunk's is passed over), or all refused, as a check of a file
    // just written needs.
    enum class Crc { Usual, Strict };

    // Takes the open file and reads its header. PictureMalformed or PictureTooLarge.
    static Result<PngReader> open(FileDescriptor file, std::string path, Crc crc = Crc::Usual);

    PngReader(PngReader&&) noexcept;
    PngReader& operator=(PngReader&&) noexcept;
    ~PngReader();

    int width() const;
    int height() const;
    bool interlaced() const;
    const std::string& path() const;
    // The row readNextRow() gives next.
    int nextRow() const;

    // The next row into row (at least width() * 3 bytes); PictureMalformed or
    // PictureTruncated when the file gives out.
    Status readNextRow(std::span<std::uint8_t> row);
    // Back to the first row, from the same open file.
    Status rewind();
    // The rows not yet read, and every chunk after them up to the end chunk, which
    // must end the file. PictureMalformed or PictureTruncated.
    Status readToEnd();
    // Every row, for interlaced files too; the memory is checked first.
    Result<Image> readWhole();

    // Whether a file starts with the PNG signature.
    static bool hasSignature(std::span<const std::uint8_t> head);

    struct State; // libpng's structures and the file, kept in the source file

private:
    explicit PngReader(std::unique_ptr<State> state);

    std::unique_ptr<State> state_;
};

} // namespace kvistra
