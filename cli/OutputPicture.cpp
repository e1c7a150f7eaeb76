// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputPicture.h"

#include "io/FileDescriptor.h"
#include "io/PairCommit.h"
#include "io/PictureFile.h"

#include <array>
#include <cerrno>
#include <cstdlib>

namespace kvistra::cli {

namespace {

// Where a picture for standard output is drawn: a file without a name, so that
// no other user can plant one for it in a shared folder.
Result<PendingFile> standardOutDraft() {
    const char* folder = std::getenv("TMPDIR");
    return PendingFile::createUnnamed(folder != nullptr && *folder != '\0' ? folder : "/tmp",
                                      kStandardOut);
}

} // namespace

Result<OutputPicture> OutputPicture::open(const Arguments& arguments, Size size) {
    const std::string out = arguments.value("--out").value_or(std::string(kStandardOut));
    OutputPicture picture;
    picture.toStandardOut_ = out == kStandardOut;
    picture.name_ = out;
    Result<PendingFile> pending =
        picture.toStandardOut_ ? standardOutDraft() : PendingFile::create(out);
    if (!pending) {
        return pending.problem();
    }
    if (const auto cover = arguments.value("--cover")) {
        if (arguments.has("--adapt")) {
            Result<std::unique_ptr<Canvas>> opened = openPictureForReading(*cover);
            if (!opened) {
                return opened.problem();
            }
            picture.cover_ = std::move(*opened);
            size = {picture.cover_->width(), picture.cover_->height()};
        } else {
            const Result<std::pair<int, int>> measured = pictureSize(*cover);
            if (!measured) {
                return measured.problem();
            }
            size = {measured->first, measured->second};
        }
    }
    if (!picture.toStandardOut_ && isPngPictureName(out)) {
        // Key-position mode draws every pixel a random character, or one of the message.
        const PngContent content =
            arguments.has("--adapt") ? PngContent::Picture : PngContent::RandomCharacters;
        Result<std::unique_ptr<PngOutputCanvas>> png = PngOutputCanvas::create(
            std::move(*pending), size.width, size.height, picture.cover_.get(), content);
        if (!png) {
            return png.problem();
        }
        picture.png_ = std::move(*png);
    } else {
        picture.bitmap_ = BmpOutputCanvas::create(std::move(*pending), size.width, size.height,
                                                  picture.cover_.get());
    }
    if (arguments.has("--verify")) {
        picture.bitmap_ ? picture.bitmap_->keepRowDigests() : picture.png_->keepRowDigests();
    }
    return picture;
}

Canvas& OutputPicture::canvas() {
    return bitmap_ ? static_cast<Canvas&>(*bitmap_) : *png_;
}

PendingFile& OutputPicture::file() {
    return bitmap_ ? bitmap_->file() : png_->file();
}

Status OutputPicture::finish() {
    if (!finished_) {
        finished_ = bitmap_ ? bitmap_->finish() : png_->finish();
        // A cover that failed partway gave black rows, which must not be saved as its own.
        if (*finished_ && cover_) {
            finished_ = laterReads(*cover_);
        }
    }
    return *finished_;
}

Status OutputPicture::save(std::ostream& standardOut, PendingFile* keyFile,
                           const std::optional<ExpectedMessage>& readBack) {
    if (Status finished = finish(); !finished) {
        return finished;
    }
    if (readBack) {
        if (Status checked = check(*readBack); !checked) {
            return checked;
        }
    }
    if (toStandardOut_) {
        if (Status copied = copyToStream(standardOut); !copied) {
            return copied;
        }
        return keyFile ? keyFile->commit() : Status(Done{});
    }
    // The key goes in place first: cut off between the two, the new key names a
    // picture that is not there, and a reader refuses the old one.
    return keyFile ? commitPair(*keyFile, file()) : file().commit();
}

Status OutputPicture::check(const ExpectedMessage& readBack) {
    const Canvas& drawn = canvas();
    return checkWrittenPicture(file().temporaryPath(), name_, drawn.width(),
                               bitmap_ ? bitmap_->rowDigests() : png_->rowDigests(), readBack);
}

Status OutputPicture::copyToStream(std::ostream& stream) {
    const Message failed{MessageId::CannotWriteFile, {kStandardOut}, EIO};
    Result<FileDescriptor> draft = openRegularFile(file().temporaryPath());
    if (!draft) {
        return draft.problem();
    }
    std::array<std::uint8_t, std::size_t{256} * 1024> buffer{};
    std::uint64_t offset = 0;
    for (;;) {
        const FileRead got = readAt(draft->get(), buffer.data(), buffer.size(), offset);
        if (!got.ok()) {
            return failed;
        }
        if (got.bytes == 0) {
            break;
        }
        stream.write(reinterpret_cast<const char*>(buffer.data()),
                     static_cast<std::streamsize>(got.bytes));
        offset += got.bytes;
    }
    stream.flush();
    if (!stream) {
        return failed;
    }
    return Done{};
}

} // namespace kvistra::cli
