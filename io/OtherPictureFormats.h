// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Image.h"
#include "core/Result.h"

#include <string>

namespace kvistra {

// Pictures in formats other than bitmap and PNG (JPEG, GIF, ...), read by the
// toolkit's image readers. Those readers pull in the toolkit's whole graphics stack,
// which takes longer to load than most commands take to run, so the command-line
// tool loads them only when such a picture is met.
class OtherPictureFormats {
public:
    virtual ~OtherPictureFormats() = default;
    // Whether a reader knows the content of the open file.
    virtual bool canRead(int fd) const = 0;
    // The whole picture from the open file, alpha dropped; `path` names it in messages.
    virtual Result<Image> load(int fd, const std::string& path) const = 0;
};

// From now on, read other formats with `formats` (a program that links the toolkit
// anyway); they must outlive every picture read.
void useOtherPictureFormats(const OtherPictureFormats& formats);

// The readers given above, or else those of the plugin installed beside the
// program, loaded on first use; PictureFormatsMissing when it cannot be loaded.
// `path` is the picture that needs them.
Result<const OtherPictureFormats*> otherPictureFormats(const std::string& path);

} // namespace kvistra
