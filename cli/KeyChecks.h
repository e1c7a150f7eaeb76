// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLine.h"
#include "core/Encoder.h"
#include "core/Result.h"

#include <string>

namespace kvistra::cli {

// The key values as a key file or the options give them.
struct KeyTexts {
    std::string yKey;
    std::string xKey;
    std::string shift;
    std::string readingLength;
};

// The checks a window field runs when its text changes; the first refusal.
// The keys are left alone when they are not used.
Status checkKeyTexts(const KeyTexts& texts, Size size, bool withKeys, bool withReadingLength);

// The key position, or a pixel, read by the decoder's rule; KeyOutsideGrid, the
// refusal hide and capacity give, when it lies outside the picture (every pixel read
// from there would be the colour -1).
Result<KeyPosition> keyInsidePicture(const KeyNumber& x, const KeyNumber& y, Size size);

} // namespace kvistra::cli
