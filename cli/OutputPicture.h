#pragma once

#include "Arguments.h"
#include "CommandLine.h"
#include "core/Canvas.h"
#include "core/Image.h"
#include "core/Result.h"
#include "io/BmpOutputCanvas.h"
#include "io/PendingFile.h"

#include <memory>
#include <optional>
#include <ostream>

namespace kvistra::cli {

// The canvas to draw on and how to save it. In key-position mode every pixel is
// overwritten, so a bitmap goes straight to its file row by row and of the cover
// only its size matters; otherwise the picture is held whole and saved at the end.
// The file is opened first, so that a name that cannot be written is refused
// before any work is done.
class OutputPicture {
public:
    static Result<OutputPicture> open(const Arguments& arguments, Size size);

    Canvas& canvas() { return file_ ? static_cast<Canvas&>(*file_) : *image_; }

    // Puts the picture in place, as one with the key file when there is one.
    Status save(std::ostream& standardOut, PendingFile* keyFile);

private:
    OutputPicture(std::unique_ptr<BmpOutputCanvas> file, std::unique_ptr<Image> image,
                  std::optional<PendingFile> pending);

    // A bitmap, since a stream has no name to tell another format by.
    Status writeToStream(std::ostream& stream) const;

    std::unique_ptr<BmpOutputCanvas> file_; // streamed, or
    std::unique_ptr<Image> image_;          // held whole,
    std::optional<PendingFile> pending_;    // to be written here, or to standard output
};

} // namespace kvistra::cli
