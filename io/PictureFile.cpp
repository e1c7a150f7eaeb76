// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFile.h"

#include "BmpFileCanvas.h"
#include "BmpFormat.h"
#include "BmpReader.h"
#include "FileDescriptor.h"
#include "PendingFile.h"
#include "PngFileCanvas.h"
#include "PngReader.h"
#include "PngWriter.h"
#include "core/Capacity.h"
#include "core/MemoryBudget.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cerrno>

namespace kvistra {

namespace {

// A picture in a format other than bitmap and PNG goes through Qt, and may take at
// most this much memory to decode: such a file of a few bytes can claim a huge size.
constexpr std::uint64_t kDecodeLimit = std::uint64_t{1} << 30;
constexpr std::uint64_t kMiB = 1024 * 1024;

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

std::string lowerExtension(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    return extension;
}

Message cannotOpen(const std::string& path, int error) {
    return {MessageId::CannotOpenFile, {path, errorText(error)}};
}

Message tooLarge(const std::string& path, int width, int height) {
    return {MessageId::PictureTooLarge, {path, std::to_string(width), std::to_string(height)}};
}

enum class Signature { Bmp, Png, Other };

// What the file's first bytes say it is.
Result<Signature> signatureOf(int fd, const std::string& path) {
    std::array<std::uint8_t, 8> head{};
    const long long got = readAt(fd, head.data(), head.size(), 0);
    if (got < 0) {
        return cannotOpen(path, errno);
    }
    const std::span<const std::uint8_t> read(head.data(), static_cast<std::size_t>(got));
    if (read.size() >= 2 && hasBmpSignature(read.first(2))) {
        return Signature::Bmp;
    }
    return PngReader::hasSignature(read) ? Signature::Png : Signature::Other;
}

// An opened picture file: a bitmap's or a PNG file's reader, which holds the file,
// or for any other format the file itself, for Qt's readers.
struct OpenedPicture {
    std::optional<BmpReader> bitmap;
    std::optional<PngReader> png;
    FileDescriptor other;
};

Result<OpenedPicture> openPictureFile(const std::string& path) {
    Result<FileDescriptor> opened = openRegularFile(path);
    if (!opened) {
        return opened.problem();
    }
    const Result<Signature> signature = signatureOf(opened->get(), path);
    if (!signature) {
        return signature.problem();
    }
    OpenedPicture picture;
    if (*signature == Signature::Bmp) {
        Result<BmpReader> reader = BmpReader::open(std::move(*opened), path);
        if (!reader) {
            return reader.problem();
        }
        picture.bitmap.emplace(std::move(*reader));
    } else if (*signature == Signature::Png) {
        Result<PngReader> reader = PngReader::open(std::move(*opened), path);
        if (!reader) {
            return reader.problem();
        }
        picture.png.emplace(std::move(*reader));
    } else {
        picture.other = std::move(*opened);
    }
    return picture;
}

// Qt reads from the descriptor we opened, so the name is never re-encoded by Qt.
Result<Image> loadWithQt(int fd, const std::string& path) {
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

// The whole picture, by whichever reader the file needs.
Result<Image> readOpenedPicture(OpenedPicture& opened, const std::string& path) {
    if (opened.bitmap) {
        return opened.bitmap->read();
    }
    if (opened.png) {
        return opened.png->readWhole();
    }
    return loadWithQt(opened.other.get(), path);
}

Status writePng(PendingFile& pending, const Image& image) {
    Result<PngWriter> writer = PngWriter::start(pending, image.width(), image.height());
    if (!writer) {
        return writer.problem();
    }
    for (int y = 0; y < image.height(); ++y) {
        if (Status written = writer->writeRow(image.row(y)); !written) {
            return written;
        }
    }
    return writer->finish();
}

} // namespace

bool isLossyPictureName(const std::string& path) {
    static constexpr std::array<std::string_view, 11> kLossy = {
        "jpg", "jpeg", "jpe", "jfif", "webp", "gif", "heic", "heif", "avif", "jp2", "jxl"};
    const std::string extension = lowerExtension(path);
    return std::find(kLossy.begin(), kLossy.end(), extension) != kLossy.end();
}

Result<Image> loadPicture(const std::string& path) {
    Result<OpenedPicture> opened = openPictureFile(path);
    if (!opened) {
        return opened.problem();
    }
    return readOpenedPicture(*opened, path);
}

Status laterReads(const Canvas& canvas) {
    if (const auto* file = dynamic_cast<const FileCanvas*>(&canvas)) {
        if (const std::optional<Message>& problem = file->readProblem()) {
            return *problem;
        }
    }
    return Done{};
}

Result<std::unique_ptr<Canvas>> openPictureForReading(const std::string& path) {
    Result<OpenedPicture> opened = openPictureFile(path);
    if (!opened) {
        return opened.problem();
    }
    if (opened->bitmap && opened->bitmap->layout().everyRowValid()) {
        Result<std::unique_ptr<BmpFileCanvas>> canvas =
            BmpFileCanvas::open(std::move(*opened->bitmap));
        if (!canvas) {
            return canvas.problem();
        }
        return std::unique_ptr<Canvas>(std::move(*canvas));
    }
    if (opened->png && !opened->png->interlaced()) {
        Result<std::unique_ptr<PngFileCanvas>> canvas =
            PngFileCanvas::open(std::move(*opened->png));
        if (!canvas) {
            return canvas.problem();
        }
        return std::unique_ptr<Canvas>(std::move(*canvas));
    }
    Result<Image> image = readOpenedPicture(*opened, path);
    if (!image) {
        return image.problem();
    }
    return std::unique_ptr<Canvas>(std::make_unique<Image>(std::move(*image)));
}

Result<std::pair<int, int>> pictureSize(const std::string& path) {
    const Result<OpenedPicture> opened = openPictureFile(path);
    if (!opened) {
        return opened.problem();
    }
    if (opened->bitmap) {
        // Every pixel is checked, so that a bitmap that cannot be read is refused here too.
        if (const Status pixels = opened->bitmap->checkPixels(); !pixels) {
            return pixels.problem();
        }
        return std::pair(opened->bitmap->layout().width, opened->bitmap->layout().height);
    }
    if (opened->png) {
        // Its header, checked by its checksum, is enough: whoever needs the pixels
        // reads them as they go and is told if the rest of the file fails.
        return std::pair(opened->png->width(), opened->png->height());
    }
    const Result<Image> image = loadWithQt(opened->other.get(), path);
    if (!image) {
        return image.problem();
    }
    return std::pair(image->width(), image->height());
}

bool isPngPictureName(const std::string& path) {
    return lowerExtension(path) == "png";
}

Status writePicture(PendingFile& file, const Image& image) {
    return isPngPictureName(file.path()) ? writePng(file, image) : writeBmp(file, image);
}

Status savePicture(const std::string& path, const Image& image) {
    if (isLossyPictureName(path)) {
        return Message{MessageId::LossyPictureFormat, {path}};
    }
    Result<PendingFile> pending = PendingFile::create(path);
    if (!pending) {
        return pending.problem();
    }
    if (Status written = writePicture(*pending, image); !written) {
        return written;
    }
    return pending->commit();
}

} // namespace kvistra
