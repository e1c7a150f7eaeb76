#pragma once

#include "Canvas.h"
#include "NumberLocale.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

struct DecodeRequest {
    int readingLength = 0;
    std::string yKey; // field texts, read in the locale
    std::string xKey;
    std::string shift;
    NumberLocale locale;
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

struct DecodeResult {
    std::vector<DecodedPosition> positions;
    DecodeOutcome outcome = DecodeOutcome::Finished;
    int failureNumber = 0;
    int positionCount = 0; // the progress value at the end
};

// The reading length: the number at the start of the text, as a 16-bit integer.
std::optional<std::int16_t> readingLengthOf(const std::string& text);

// Walks the message run from the key position and shifts each green byte back.
DecodeResult decode(const Canvas& canvas, const DecodeRequest& request);

} // namespace kvistra
