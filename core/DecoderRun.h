// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"
#include "Decoder.h"
#include "NumberLocale.h"
#include "RunReport.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

// The key values by the decoder's rule, and the locale the time it took is shown in.
struct DecodeRunRequest {
    KeyNumber readingLength; // read by readingLengthNumber()
    KeyNumber yKey;          // read by roundedKey()
    KeyNumber xKey;
    ShiftNumber shift;
    NumberLocale locale;
};

// The texts read by the decoder's rules.
DecodeRunRequest readingRequest(const std::string& readingLength, const std::string& yKey,
                                const std::string& xKey, const std::string& shift,
                                const NumberLocale& locale);

struct DecoderRunResult {
    std::optional<std::int16_t> readingLength; // empty when it is no 16-bit number
    DecodeResult result;
    std::string text; // the decoded Windows-1252 bytes
};

// What the decoder tells its front end besides captions, progress and notices.
class DecodeReport : public RunReport {
public:
    // The reading begins: earlier output goes and the clock runs.
    virtual void started() = 0;
    // What was read, also when not all of it: the list's lines and the text (UTF-8).
    virtual void decoded(const std::vector<std::string>& listLines, const std::string& text) = 0;
    virtual void clockStopped() = 0;
    // A monotonic clock for how long the reading takes; tests give their own.
    virtual std::chrono::steady_clock::time_point now() const {
        return std::chrono::steady_clock::now();
    }
};

// "Dekryptera": decodes, reports the lines and the text, and the elapsed time or
// the failure.
DecoderRunResult runDecoder(const Canvas& canvas, const DecodeRunRequest& request,
                            DecodeReport& report);

// One line of the list: the stored green byte, " - ", the character (UTF-8).
std::string listLine(const DecodedPosition& position);

} // namespace kvistra
