// SPDX-License-Identifier: GPL-3.0-or-later
#include "BmpReader.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <sys/uio.h>

namespace kvistra {

namespace {

// Row padding may hold whatever the file had there; pictures compare by their bytes.
void clearPadding(Image& image) {
    const std::size_t used = static_cast<std::size_t>(image.width()) * 3;
    for (int y = 0; y < image.height(); ++y) {
        const std::span<std::uint8_t> row = image.row(y);
        std::fill(row.begin() + static_cast<std::ptrdiff_t>(used), row.end(), std::uint8_t{0});
    }
}

// Rows of other depths go through a buffer of whole file rows, about a megabyte at a
// time; without a picture they are only checked.
Status decodeRowsInChunks(int fd, const BmpLayout& layout, const std::string& path, Image* image) {
    const auto height = static_cast<std::uint64_t>(layout.height);
    const std::uint64_t rowsPerChunk = std::max<std::uint64_t>(1, (1u << 20) / layout.rowStride);
    std::vector<std::uint8_t> chunk(static_cast<std::size_t>(rowsPerChunk * layout.rowStride));
    std::vector<std::uint8_t> scratch(image == nullptr ? Image::strideFor(layout.width) : 0);
    for (std::uint64_t first = 0; first < height; first += rowsPerChunk) {
        const std::uint64_t rows = std::min(rowsPerChunk, height - first);
        const std::uint64_t offset = layout.pixelOffset + first * layout.rowStride;
        const std::uint64_t wanted = std::min(rows * layout.rowStride, layout.fileSize - offset);
        const FileRead got = readAt(fd, chunk.data(), wanted, offset);
        if (!got.ok()) {
            return Message{MessageId::CannotOpenFile, {path}, got.systemError};
        }
        if (got.bytes < (rows - 1) * layout.rowStride + layout.rowBytes) {
            return Message{MessageId::PictureTruncated, {path}};
        }
        for (std::uint64_t i = 0; i < rows; ++i) {
            const std::uint64_t fileRow = first + i;
            const int y = static_cast<int>(layout.topDown ? fileRow : height - 1 - fileRow);
            std::uint8_t* out = image != nullptr ? image->row(y).data() : scratch.data();
            if (!decodeBmpRow(layout, chunk.data() + i * layout.rowStride, out)) {
                return Message{MessageId::PictureMalformed, {path}};
            }
        }
    }
    return Done{};
}

// The headers, read from the file's first bytes and checked against its size.
Result<BmpLayout> readHeader(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return Message{MessageId::CannotOpenFile, {path}, errno};
    }
    const auto fileSize = static_cast<std::uint64_t>(info.st_size);
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kBmpHeadSize)));
    const FileRead got = readAt(fd, head.data(), head.size(), 0);
    if (!got.ok()) {
        return Message{MessageId::CannotOpenFile, {path}, got.systemError};
    }
    head.resize(got.bytes);
    return parseBmpHeader(head, fileSize, path);
}

} // namespace

Result<BmpReader> BmpReader::open(FileDescriptor file, std::string path) {
    Result<BmpLayout> layout = readHeader(file.get(), path);
    if (!layout) {
        return layout.problem();
    }
    return BmpReader(std::move(file), std::move(path), std::move(*layout));
}

Result<BmpReader> BmpReader::open(std::string path) {
    Result<FileDescriptor> file = openForReading(path);
    if (!file) {
        return file.problem();
    }
    return open(std::move(*file), std::move(path));
}

BmpReader::BmpReader(FileDescriptor file, std::string path, BmpLayout layout)
    : file_(std::move(file))
    , path_(std::move(path))
    , layout_(std::move(layout)) {}

// Runs are small next to the picture they make: they are decoded from memory.
Result<std::vector<std::uint8_t>> BmpReader::readRuns() const {
    std::vector<std::uint8_t> runs(
        static_cast<std::size_t>(layout_.fileSize - layout_.pixelOffset));
    const FileRead got = readAt(fd(), runs.data(), runs.size(), layout_.pixelOffset);
    if (!got.ok()) {
        return Message{MessageId::CannotOpenFile, {path_}, got.systemError};
    }
    // A file that shrank since its headers were read ends its runs early: they say so.
    runs.resize(got.bytes);
    return runs;
}

Result<Image> BmpReader::read() const {
    if (const Status memory =
            checkBmpMemory(layout_, path_, layout_.runLength ? layout_.fileSize : 0);
        !memory) {
        return memory.problem();
    }
    Image image(layout_.width, layout_.height);
    if (layout_.runLength) {
        const Result<std::vector<std::uint8_t>> runs = readRuns();
        if (!runs) {
            return runs.problem();
        }
        if (const Status decoded = decodeBmpRuns(layout_, *runs, &image, path_); !decoded) {
            return decoded.problem();
        }
        return image;
    }
    const auto height = static_cast<std::uint64_t>(layout_.height);

    if (layout_.sameRowsAsImage()) {
        // One buffer per row, in file order, straight into the picture.
        std::vector<iovec> vectors;
        vectors.reserve(layout_.height);
        for (std::uint64_t fileRow = 0; fileRow < height; ++fileRow) {
            const int y = static_cast<int>(layout_.topDown ? fileRow : height - 1 - fileRow);
            vectors.push_back({image.row(y).data(), layout_.rowStride});
        }
        const std::uint64_t wanted =
            std::min(layout_.rowStride * height, layout_.fileSize - layout_.pixelOffset);
        vectors.back().iov_len -= layout_.rowStride * height - wanted;
        const FileRead got = readVectorsAt(fd(), std::move(vectors), layout_.pixelOffset);
        if (!got.ok()) {
            return Message{MessageId::CannotOpenFile, {path_}, got.systemError};
        }
        // The file may have shrunk since we looked at its size.
        if (got.bytes < wanted) {
            return Message{MessageId::PictureTruncated, {path_}};
        }
        clearPadding(image);
        return image;
    }

    if (const Status rows = decodeRowsInChunks(fd(), layout_, path_, &image); !rows) {
        return rows.problem();
    }
    return image;
}

Status BmpReader::checkPixels() const {
    if (layout_.everyRowValid()) {
        return Done{};
    }
    if (layout_.runLength) {
        const Result<std::vector<std::uint8_t>> runs = readRuns();
        if (!runs) {
            return runs.problem();
        }
        return decodeBmpRuns(layout_, *runs, nullptr, path_);
    }
    return decodeRowsInChunks(fd(), layout_, path_, nullptr);
}

Result<Image> readBmpFile(const std::string& path) {
    const Result<BmpReader> reader = BmpReader::open(path);
    if (!reader) {
        return reader.problem();
    }
    return reader->read();
}

} // namespace kvistra
