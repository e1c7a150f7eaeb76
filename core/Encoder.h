// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"
#include "Decoder.h"
#include "KeyNumbers.h"
#include "Progress.h"
#include "RandomSource.h"
#include "Result.h"
#include "RunReport.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvistra {

struct EncodeRequest {
    std::string message; // Windows-1252
    KeyNumber xKey;      // read by wholeKey()
    KeyNumber yKey;
    ShiftNumber shift;
    bool adapt = false; // only the message, from the top left
};

struct KeyPosition {
    int x = 0;
    int y = 0;

    friend bool operator==(const KeyPosition&, const KeyPosition&) = default;
};

struct EncodeResult {
    int readingLength = 0;
    int shift = 0;   // after the analysis
    KeyPosition key; // where a reader starts: (0, 0) after an adapted run
    // Key-position mode only: where the message run began, its column set back to 0
    // once the run finished a row.
    std::optional<KeyPosition> runStart;
};

// What the encoder tells its front end besides captions, progress and notices.
class EncodeReport : public RunReport {
public:
    // The analysis moved the shift so that every green byte stays in range; it
    // follows the notice that says so.
    virtual void shiftChanged(int shift) = 0;
    // The message is in the picture: what a reader needs is known.
    virtual void messageWritten(const EncodeResult& result) = 0;
};

// What a reader of the message written needs, as the decoder takes it.
DecodeRequest readerOf(const EncodeResult& result);

// The typed text as the picture stores it: NothingEntered, or the character that
// Windows-1252 lacks.
Result<std::string> messageBytesOf(const std::string& typed);

// The positions a message has from the request's key, or the whole canvas in
// adapt mode; nullopt when the key is no whole number inside the canvas.
std::optional<std::int64_t> roomFor(const Canvas& canvas, const EncodeRequest& request);

// "Generera kryptobild": turns the canvas into a cipher picture in stages, each
// announced in the caption and advancing the progress bar.
class Encoder {
public:
    Encoder(Canvas& canvas, RandomSource& random, EncodeReport& report);

    // The whole command: the refusal when nothing was written, else the result.
    Result<EncodeResult> generate(const EncodeRequest& request);

private:
    // Everything that would stop the run halfway is refused before anything is written.
    Status refusalBeforeWriting(const EncodeRequest& request) const;
    std::optional<KeyPosition> keyPosition(const EncodeRequest& request) const;

    // The stages, in the order generate() runs them.
    double analyzeInput(const std::string& message, const ShiftNumber& shift);
    void writeAdaptedData(const std::string& message, double shift, EncodeResult& result);
    void writeLeadIn(const std::string& message, double shift, EncodeResult& result);
    KeyPosition writeCryptoData(const std::string& message, double shift, EncodeResult& result);
    void generateDecoys(KeyPosition start);

    // Writes the message along the walk from `from`; returns the position after it.
    KeyPosition writeMessageRun(const std::string& message, double shift, KeyPosition from);
    // Reseeded random colours at `count` positions along the walk from `from`.
    void writeRandomPositions(KeyPosition from, std::int64_t count, StepRule rule);
    // Writes the colours in raster order from `at`; where the next would go.
    KeyPosition writeColours(KeyPosition at, std::span<const Colour> colours);
    void reportProgress();

    Canvas& canvas_;
    RandomSource& random_;
    EncodeReport& report_;
    Progress progress_;
};

} // namespace kvistra
