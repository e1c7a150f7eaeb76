// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Decoder.h"
#include "core/Image.h"
#include "core/Result.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kvistra {

// The message a generated picture must give back, and the key values to read it with.
struct ExpectedMessage {
    DecodeRequest request;
    std::string message; // Windows-1252
};

// Reads a just-saved picture back and compares it with what was saved, pixel for
// pixel, then reads the expected message out of the file's pixels. The first
// difference as SavedPictureUnreadable, SavedPictureSizeDiffers,
// SavedPictureDiffers or SavedMessageMisread.
Status checkSavedPicture(const std::string& path, const Image& saved,
                         const std::optional<ExpectedMessage>& expected);

// The same for a picture written row by row and not yet in place: the file at
// `path` is compared, row for row, with the digests of the rows as they were
// written (`width` pixels each), and reported under `name`, the name it is to
// have, as WrittenPictureUnreadable, WrittenPictureDiffers or WrittenMessageMisread.
Status checkWrittenPicture(const std::string& path, const std::string& name, int width,
                           std::span<const std::uint64_t> rowDigests,
                           const std::optional<ExpectedMessage>& expected);

} // namespace kvistra
