#include "OutputPicture.h"

#include "core/MemoryBudget.h"
#include "io/BmpFormat.h"
#include "io/FileDescriptor.h"
#include "io/PairCommit.h"
#include "io/PictureFile.h"

#include <cerrno>

namespace kvistra::cli {

Result<OutputPicture> OutputPicture::open(const Arguments& arguments, Size size) {
    const std::string out = *arguments.value("--out");
    const auto cover = arguments.value("--cover");
    const bool toStandardOut = out == kStandardOut;
    if (!arguments.has("--adapt") && !isPngPictureName(out) && !toStandardOut) {
        if (cover) {
            const Result<std::pair<int, int>> measured = pictureSize(*cover);
            if (!measured) {
                return measured.problem();
            }
            size = {measured->first, measured->second};
        }
        Result<std::unique_ptr<BmpOutputCanvas>> file =
            BmpOutputCanvas::create(out, size.width, size.height);
        if (!file) {
            return file.problem();
        }
        return OutputPicture(std::move(*file), nullptr, std::nullopt);
    }
    std::optional<PendingFile> pending;
    if (!toStandardOut) {
        Result<PendingFile> created = PendingFile::create(out);
        if (!created) {
            return created.problem();
        }
        pending.emplace(std::move(*created));
    }
    if (!cover) {
        if (const Status fits = checkPictureMemory("", size.width, size.height,
                                                   Image::bytesFor(size.width, size.height));
            !fits) {
            return fits.problem();
        }
    }
    Result<Image> image = cover ? loadPicture(*cover) : Image(size.width, size.height);
    if (!image) {
        return image.problem();
    }
    return OutputPicture(nullptr, std::make_unique<Image>(std::move(*image)), std::move(pending));
}

Status OutputPicture::save(std::ostream& standardOut, PendingFile* keyFile) {
    PendingFile* picture = nullptr;
    if (file_) {
        if (Status finished = file_->finish(); !finished) {
            return finished;
        }
        picture = &file_->file();
    } else if (pending_) {
        if (Status written = writePicture(*pending_, *image_); !written) {
            return written;
        }
        picture = &*pending_;
    } else {
        if (Status written = writeToStream(standardOut); !written) {
            return written;
        }
        return keyFile ? keyFile->commit() : Status(Done{});
    }
    return keyFile ? commitPair(*picture, *keyFile) : picture->commit();
}

OutputPicture::OutputPicture(std::unique_ptr<BmpOutputCanvas> file, std::unique_ptr<Image> image,
                             std::optional<PendingFile> pending)
    : file_(std::move(file))
    , image_(std::move(image))
    , pending_(std::move(pending)) {}

Status OutputPicture::writeToStream(std::ostream& stream) const {
    const auto header = bmpHeader(image_->width(), image_->height());
    stream.write(reinterpret_cast<const char*>(header.data()),
                 static_cast<std::streamsize>(header.size()));
    for (int y = image_->height() - 1; y >= 0; --y) {
        const ByteSpan row = image_->row(y);
        stream.write(reinterpret_cast<const char*>(row.data()),
                     static_cast<std::streamsize>(row.size()));
    }
    stream.flush();
    if (!stream) {
        return Message{MessageId::CannotWriteFile, {kStandardOut, errorText(EIO)}};
    }
    return Done{};
}

} // namespace kvistra::cli
