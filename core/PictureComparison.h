// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"
#include "Decoder.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvistra {

struct PictureDifference {
    bool sizeDiffers = false;
    int x = 0; // the first pixel in raster order that differs, when the sizes agree
    int y = 0;

    friend bool operator==(const PictureDifference&, const PictureDifference&) = default;
};

// nullopt when both have the same size and every pixel the same colour.
std::optional<PictureDifference> firstDifference(const Canvas& expected, const Canvas& found);

// The 1-based place of the first character of `expected` (Windows-1252) that a reader
// with this request does not get back from the picture, one past the shorter when
// the lengths differ; nullopt when the whole message comes back.
std::optional<std::int64_t> firstMisreadCharacter(const Canvas& picture,
                                                  const DecodeRequest& request,
                                                  const std::string& expected);

} // namespace kvistra
