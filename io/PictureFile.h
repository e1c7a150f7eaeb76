// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PendingFile.h"
#include "core/Canvas.h"
#include "core/Image.h"
#include "core/Result.h"

#include <memory>
#include <string>
#include <utility>

namespace kvistra {

// Bitmap files (by their signature) through our own strict reader, PNG files
// through libpng, anything else through Qt's image readers. CannotOpenFile when the file cannot be
// opened, NotAPicture when nothing can read it. Alpha is dropped: the colour channels are kept as
// stored, not blended onto any background.
Result<Image> loadPicture(const std::string& path);

// A canvas for revealing: uncompressed bitmaps and PNG files that are not
// interlaced are read lazily from the file, everything else is loaded whole.
Result<std::unique_ptr<Canvas>> openPictureForReading(const std::string& path);

// Width and height, without holding the picture: every pixel of a bitmap whose
// headers allow bad values is checked, a PNG file's checked header is enough.
Result<std::pair<int, int>> pictureSize(const std::string& path);

// PNG for names ending .png, a 24-bit bitmap for anything else; names of lossy
// formats are refused with LossyPictureFormat. Written atomically.
Status savePicture(const std::string& path, const Image& image);

// The picture as savePicture writes it, into a file not yet in place; the format
// follows the file's name, which is not lossy.
Status writePicture(PendingFile& file, const Image& image);

// Whether savePicture writes PNG for this name (anything else not lossy is a bitmap).
bool isPngPictureName(const std::string& path);

// Whether the name's extension is that of a format that would alter pixels.
bool isLossyPictureName(const std::string& path);

} // namespace kvistra
