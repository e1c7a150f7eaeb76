// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFile.h"

#include "BmpFileCanvas.h"
#include "BmpFormat.h"
#include "BmpReader.h"
#include "FileDescriptor.h"
#include "OtherPictureFormats.h"
#include "PendingFile.h"
#include "PngFileCanvas.h"
#include "PngReader.h"
#include "PngWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace kvistra {

namespace {

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
    return {MessageId::CannotOpenFile, {path}, error};
}

enum class Signature { Bmp, Png, Other };

// What the file's first bytes say it is.
Result<Signature> signatureOf(int fd, const std::string& path) {
    std::array<std::uint8_t, 8> head{};
    const FileRead got = readAt(fd, head.data(), head.size(), 0);
    if (!got.ok()) {
        return cannotOpen(path, got.systemError);
    }
    const std::span<const std::uint8_t> read(head.data(), got.bytes);
    if (read.size() >= 2 && hasBmpSignature(read.first(2))) {
        return Signature::Bmp;
    }
    return PngReader::hasSignature(read) ? Signature::Png : Signature::Other;
}

// An opened picture file: a bitmap's or a PNG file's reader, which holds the file,
// or for any other format the file itself, for the readers of other formats.
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

// Any other format by the readers for other formats, loaded when first needed.
Result<Image> loadOtherFormat(int fd, const std::string& path) {
    const Result<const OtherPictureFormats*> formats = otherPictureFormats(path);
    if (!formats) {
        return formats.problem();
    }
    return (*formats)->load(fd, path);
}

// The whole picture, by whichever reader the file needs.
Result<Image> readOpenedPicture(OpenedPicture& opened, const std::string& path) {
    if (opened.bitmap) {
        return opened.bitmap->read();
    }
    if (opened.png) {
        return opened.png->readWhole();
    }
    return loadOtherFormat(opened.other.get(), path);
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
    const Result<Image> image = loadOtherFormat(opened->other.get(), path);
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
