// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"
#include "KeyNumbers.h"
#include "Message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

struct DecodeRequest {
    int readingLength = 0;
    KeyNumber yKey; // read by roundedKey()
    KeyNumber xKey;
    ShiftNumber shift;
};

struct DecodedPosition {
    std::uint8_t green = 0;      // as stored, not shifted
    unsigned char character = 0; // Windows-1252 code

    friend bool operator==(const DecodedPosition&, const DecodedPosition&) = default;
};

enum class DecodeOutcome {
    Finished,  // every asked character was read
    Exhausted, // the walk ended first
    Failed,
};

// The value a failed decoding could not use.
enum class DecodeValue { None, YKey, XKey, Shift, ReadingLength };

// What made a decoding fail: a value that is not a usable number, or a character
// of the run (1-based position, its pixel and stored green byte) that gives no code.
struct DecodeFailure {
    DecodeValue value = DecodeValue::None;
    std::string text; // the value's text
    int position = 0; // 0: no character was being read
    int x = 0;
    int y = 0;
    int green = 0;

    friend bool operator==(const DecodeFailure&, const DecodeFailure&) = default;
};

struct DecodeResult {
    std::vector<DecodedPosition> positions;
    DecodeOutcome outcome = DecodeOutcome::Finished;
    FailureNumber failureNumber = FailureNumber::None;
    DecodeFailure failure;
    int positionCount = 0; // the progress value at the end
};

// Walks the message run from the key position and shifts each green byte back.
DecodeResult decode(const Canvas& canvas, const DecodeRequest& request);

} // namespace kvistra
