// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OtherPictureFormats.h"

namespace kvistra {

// Other formats through Qt's image readers (and their plugins), from the descriptor
// we opened, so that Qt never re-encodes a name. A picture is refused, before it
// is decoded, when its declared size would not fit the memory the program may use,
// and it may take at most 1 GiB to decode: a file of a few bytes can claim a huge size.
class QtPictureFormats final : public OtherPictureFormats {
public:
    bool canRead(int fd) const override;
    Result<Image> load(int fd, const std::string& path) const override;
};

} // namespace kvistra
