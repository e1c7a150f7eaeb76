// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Arguments.h"
#include "CommandLine.h"
#include "core/Canvas.h"
#include "core/Result.h"
#include "io/BmpOutputCanvas.h"
#include "io/PendingFile.h"
#include "io/PngOutputCanvas.h"
#include "io/SavedPictureCheck.h"

#include <memory>
#include <optional>
#include <ostream>

namespace kvistra::cli {

// The canvas to draw on and how to save it. The picture is never held whole: its
// rows go straight to the file as the encoder draws them, a bitmap or a PNG file
// by the name, and in adapt mode the rows the message leaves alone are copied from
// the cover as they pass (in key-position mode every pixel is drawn, so of the
// cover only its size matters). Standard output gets a bitmap, drawn into a
// temporary file first, since a bitmap's rows run from the bottom up. The file is
// opened first, so that a name that cannot be written is refused before any work.
class OutputPicture {
public:
    static Result<OutputPicture> open(const Arguments& arguments, Size size);

    Canvas& canvas();

    // The whole file, written but not yet in place: a write that failed while
    // rows were drawn is reported here, naming the picture. Once is enough.
    Status finish();

    // Puts the picture in place, as one with the key file when there is one. With
    // `readBack`, the written file is read back first, its rows compared with those
    // drawn and the message read out of it; a difference leaves nothing in place.
    Status save(std::ostream& standardOut, PendingFile* keyFile,
                const std::optional<ExpectedMessage>& readBack);

private:
    OutputPicture() = default;

    PendingFile& file();
    Status copyToStream(std::ostream& stream);
    Status check(const ExpectedMessage& readBack);

    std::unique_ptr<Canvas> cover_;           // before the canvases, which read it to the end
    std::unique_ptr<BmpOutputCanvas> bitmap_; // one of these two
    std::unique_ptr<PngOutputCanvas> png_;
    std::optional<Status> finished_;
    bool toStandardOut_ = false;
    std::string name_; // as given, "-" for standard output
};

} // namespace kvistra::cli
