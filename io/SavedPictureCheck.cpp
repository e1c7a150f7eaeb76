// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavedPictureCheck.h"

#include "BmpFormat.h"
#include "CanvasRows.h"
#include "FileDescriptor.h"
#include "PictureFile.h"
#include "PngReader.h"
#include "core/PictureComparison.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace kvistra {

namespace {

Message unreadable(const std::string& path, const Message& why) {
    return {MessageId::SavedPictureUnreadable, {path}, 0, {}, {why}};
}

// The first row of `file` whose digest is not the one written, or the first row
// one of them lacks.
std::optional<int> firstRowDiffering(const Canvas& file, int width,
                                     std::span<const std::uint64_t> rowDigests) {
    if (file.width() != width) {
        return 0;
    }
    const int height = static_cast<int>(rowDigests.size());
    const int rows = std::min(height, file.height());
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(width));
    std::vector<Colour> scratch;
    for (int y = 0; y < rows; ++y) {
        readRowBytes(file, y, row, scratch);
        if (rowDigest(row) != rowDigests[static_cast<std::size_t>(y)]) {
            return y;
        }
    }
    return file.height() != height ? std::optional<int>(rows) : std::nullopt;
}

// The written file read as strictly as any reader could: a bitmap's header must be
// the one written, byte for byte, and the file end where it says; a PNG file's
// every chunk and its CRC are read, to the end chunk that ends the file. Rows
// compare alike in files that one reader or another refuses.
Status readWrittenFileStrictly(const std::string& path, int width, int height) {
    Result<FileDescriptor> file = openRegularFile(path);
    if (!file) {
        return file.problem();
    }
    std::array<std::uint8_t, kBmpHeaderBytes> head{};
    const FileRead got = readAt(file->get(), head.data(), head.size(), 0);
    if (!got.ok()) {
        return Message{MessageId::CannotOpenFile, {path}, got.systemError};
    }
    const std::span<const std::uint8_t> read(head.data(), got.bytes);
    if (PngReader::hasSignature(read)) {
        Result<PngReader> png = PngReader::open(std::move(*file), path, PngReader::Crc::Strict);
        if (!png) {
            return png.problem();
        }
        return png->readToEnd();
    }
    const Message malformed{MessageId::PictureMalformed, {path}};
    if (width <= 0 || height <= 0 || read.size() != head.size() ||
        head != bmpHeader(width, height)) {
        return malformed;
    }
    const std::uint64_t size = static_cast<std::uint64_t>(head[2]) | (head[3] << 8) |
                               (head[4] << 16) | (static_cast<std::uint64_t>(head[5]) << 24);
    struct stat info {};
    if (::fstat(file->get(), &info) != 0 || static_cast<std::uint64_t>(info.st_size) != size) {
        return malformed;
    }
    return Done{};
}

} // namespace

Status checkSavedPicture(const std::string& path, const Image& saved,
                         const std::optional<ExpectedMessage>& expected) {
    // Read row by row from the file, so that a large picture is not held twice.
    const Result<std::unique_ptr<Canvas>> readBack = openPictureForReading(path);
    if (!readBack) {
        return unreadable(path, readBack.problem());
    }
    const Canvas& file = **readBack;
    const std::optional<PictureDifference> difference = firstDifference(saved, file);
    if (const Status reads = laterReads(file); !reads) {
        return unreadable(path, reads.problem());
    }
    if (difference) {
        if (difference->sizeDiffers) {
            return Message{MessageId::SavedPictureSizeDiffers,
                           {path, std::to_string(file.width()), std::to_string(file.height()),
                            std::to_string(saved.width()), std::to_string(saved.height())}};
        }
        return Message{MessageId::SavedPictureDiffers,
                       {path, std::to_string(difference->x), std::to_string(difference->y)}};
    }
    if (expected) {
        const std::optional<std::int64_t> place =
            firstMisreadCharacter(file, expected->request, expected->message);
        if (const Status reads = laterReads(file); !reads) {
            return unreadable(path, reads.problem());
        }
        if (place) {
            return Message{MessageId::SavedMessageMisread, {path, std::to_string(*place)}};
        }
    }
    return Done{};
}

Status checkWrittenPicture(const std::string& path, const std::string& name, int width,
                           std::span<const std::uint64_t> rowDigests,
                           const std::optional<ExpectedMessage>& expected) {
    const auto unreadableWritten = [&name](const Message& why) {
        return Message{MessageId::WrittenPictureUnreadable, {name}, 0, {}, {why}};
    };
    const Result<std::unique_ptr<Canvas>> readBack = openPictureForReading(path);
    if (!readBack) {
        return unreadableWritten(readBack.problem());
    }
    const Canvas& file = **readBack;
    const std::optional<int> row = firstRowDiffering(file, width, rowDigests);
    if (const Status reads = laterReads(file); !reads) {
        return unreadableWritten(reads.problem());
    }
    if (row) {
        return Message{MessageId::WrittenPictureDiffers, {name, std::to_string(*row)}};
    }
    if (const Status strict = readWrittenFileStrictly(path, width, file.height()); !strict) {
        return unreadableWritten(strict.problem());
    }
    if (expected) {
        const std::optional<std::int64_t> place =
            firstMisreadCharacter(file, expected->request, expected->message);
        if (const Status reads = laterReads(file); !reads) {
            return unreadableWritten(reads.problem());
        }
        if (place) {
            return Message{MessageId::WrittenMessageMisread, {name, std::to_string(*place)}};
        }
    }
    return Done{};
}

} // namespace kvistra
