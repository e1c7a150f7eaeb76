// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPictureFormats.h"

#include "FileDescriptor.h"
#include "core/Capacity.h"
#include "core/MemoryBudget.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <cerrno>

namespace kvistra {

namespace {

// A picture in a format other than bitmap and PNG goes through Qt, and may take at
// most this much memory to decode: such a file of a few bytes can claim a huge size.
constexpr std::uint64_t kDecodeLimit = std::uint64_t{1} << 30;
constexpr std::uint64_t kMiB = std::uint64_t{1024} * 1024;

// Qt decodes to at least 32 bits a pixel; a deeper form (16 bits a channel, as many
// PNG files are) is copied to 32 bits, and our copy takes Image's bytes beside them.
std::uint64_t decodingBytes(int width, int height, int decodedBitsPerPixel) {
    const std::uint64_t decoded = std::max(decodedBitsPerPixel, 32) / 8;
    const std::uint64_t copy = decoded > 4 ? 4 : 0;
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) *
               (decoded + copy) +
           Image::bytesFor(width, height);
}

// Bits a pixel that Qt will decode to, where the format's reader says so (GIF's does not).
int decodedBitsPerPixel(const QImageReader& reader) {
    const QImage::Format format = reader.imageFormat();
    return format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
}

Message cannotOpen(const std::string& path, int error) {
    return {MessageId::CannotOpenFile, {path}, error};
}

Message tooLarge(const std::string& path, int width, int height) {
    return {MessageId::PictureTooLarge, {path, std::to_string(width), std::to_string(height)}};
}

} // namespace

bool QtPictureFormats::canRead(int fd) const {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return false;
    }
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    return reader.canRead();
}

Result<Image> QtPictureFormats::load(int fd, const std::string& path) const {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return cannotOpen(path, EBADF);
    }
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead()) {
        return Message{MessageId::NotAPicture, {path}};
    }
    // Only the header has been read yet: the size is checked before anything is decoded.
    const QSize declared = reader.size();
    const int bitsPerPixel = decodedBitsPerPixel(reader);
    std::uint64_t limit = kDecodeLimit;
    if (declared.isValid()) {
        if (declared.width() > kLongestSide || declared.height() > kLongestSide) {
            return tooLarge(path, declared.width(), declared.height());
        }
        const std::uint64_t needed =
            decodingBytes(declared.width(), declared.height(), bitsPerPixel);
        if (const Status fits =
                checkPictureMemory(path, declared.width(), declared.height(), needed,
                                   std::min(limit, systemMemoryBounds().available()));
            !fits) {
            return fits.problem();
        }
        limit = needed;
    }
    // Qt's own bound on what it decodes, should the header have told too little.
    reader.setAllocationLimit(static_cast<int>(
        std::min(limit, decodingBytes(kLongestSide, kLongestSide, bitsPerPixel)) / kMiB + 1));
    QImage decoded;
    if (!reader.read(&decoded)) {
        if (reader.error() == QImageReader::DeviceError) {
            return cannotOpen(path, EIO);
        }
        if (reader.error() == QImageReader::InvalidDataError) {
            return Message{MessageId::PictureMalformed, {path}};
        }
        return Message{MessageId::NotAPicture, {path}};
    }
    if (decoded.width() > kLongestSide || decoded.height() > kLongestSide) {
        return tooLarge(path, decoded.width(), decoded.height());
    }
    // Straight (not premultiplied) ARGB keeps the colour channels as stored; alpha
    // is then ignored rather than blended onto a background.
    const QImage argb = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                          : QImage::Format_RGB32);
    if (argb.isNull()) {
        return tooLarge(path, decoded.width(), decoded.height());
    }
    if (const Status fits = checkPictureMemory(path, argb.width(), argb.height(),
                                               Image::bytesFor(argb.width(), argb.height()));
        !fits) {
        return fits.problem();
    }
    Image image(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* out = image.row(y).data();
        for (int x = 0; x < argb.width(); ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(qBlue(in[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(in[x]));
            out[2] = static_cast<std::uint8_t>(qRed(in[x]));
        }
    }
    return image;
}

} // namespace kvistra
