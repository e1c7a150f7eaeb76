// SPDX-License-Identifier: GPL-3.0-or-later
#include "Encoder.h"

#include "Capacity.h"
#include "Rounding.h"
#include "Windows1252.h"

#include <algorithm>
#include <vector>

namespace kvistra {

namespace {

// Random positions are drawn this many at a time, between two progress reports:
// enough to share among threads, little enough to stay in the cache.
constexpr std::size_t kRandomChunk = std::size_t{1} << 16;

float positionCount(const Canvas& canvas) {
    return static_cast<float>(canvas.height()) * static_cast<float>(canvas.width());
}

} // namespace

DecodeRequest readerOf(const EncodeResult& result) {
    return {result.readingLength, keyNumber(result.key.y), keyNumber(result.key.x),
            shiftNumber(result.shift)};
}

Result<std::string> messageBytesOf(const std::string& typed) {
    if (typed.empty()) {
        return Message{MessageId::NothingEntered, {}};
    }
    return windows1252FromUtf8(typed);
}

std::optional<std::int64_t> roomFor(const Canvas& canvas, const EncodeRequest& request) {
    if (request.adapt) {
        return roomFromKey(canvas.width(), canvas.height(), 0, 0);
    }
    const std::optional<int> x = request.xKey.value;
    const std::optional<int> y = request.yKey.value;
    if (!x || !y || !canvas.contains(*x, *y)) {
        return std::nullopt;
    }
    return roomFromKey(canvas.width(), canvas.height(), *x, *y);
}

Encoder::Encoder(Canvas& canvas, RandomSource& random, EncodeReport& report)
    : canvas_(canvas)
    , random_(random)
    , report_(report) {}

void Encoder::reportProgress() {
    report_.progress(progress_);
}

std::optional<KeyPosition> Encoder::keyPosition(const EncodeRequest& request) const {
    const std::optional<int> x = request.xKey.value;
    const std::optional<int> y = request.yKey.value;
    if (!x || !y || !canvas_.contains(*x, *y)) {
        return std::nullopt;
    }
    return KeyPosition{*x, *y};
}

Status Encoder::refusalBeforeWriting(const EncodeRequest& request) const {
    const std::int64_t length = static_cast<std::int64_t>(request.message.size());
    if (length > kLongestMessage) {
        return Message{MessageId::InputTooLong, {std::to_string(length)}};
    }
    if (Status shift = checkWholeShift(request.shift); !shift) {
        return shift;
    }
    KeyPosition from;
    if (!request.adapt) {
        const std::optional<KeyPosition> key = keyPosition(request);
        if (!key) {
            return Message{MessageId::KeyOutsideGrid,
                           {request.xKey.text, request.yKey.text, std::to_string(canvas_.width()),
                            std::to_string(canvas_.height())}};
        }
        from = *key;
    }
    const std::int64_t capacity = roomFromKey(canvas_.width(), canvas_.height(), from.x, from.y);
    if (length > capacity) {
        return Message{MessageId::MessageDoesNotFit,
                       {std::to_string(length), std::to_string(capacity)}};
    }
    return Done{};
}

Result<EncodeResult> Encoder::generate(const EncodeRequest& request) {
    if (Status refusal = refusalBeforeWriting(request); !refusal) {
        return refusal.problem();
    }
    const std::string& message = request.message;
    progress_ = {0.0f, static_cast<float>(message.size()), 0.0f};
    reportProgress();
    report_.caption(StatusCaption::Analysing);
    const double shift = analyzeInput(message, request.shift);
    report_.caption(StatusCaption::AnalysisDone);

    EncodeResult result;
    result.readingLength = static_cast<int>(message.size());
    // The analysis brings the shift within -255 ... 255.
    result.shift = static_cast<int>(shift);
    if (request.adapt) {
        writeAdaptedData(message, shift, result);
        return result;
    }
    result.key = *keyPosition(request); // checked before writing
    writeLeadIn(message, shift, result);
    return result;
}

double Encoder::analyzeInput(const std::string& message, const ShiftNumber& typedShift) {
    double shift = typedShift.value.value_or(0.0);
    int highest = 0;
    int lowest = 255;
    for (const char character : message) {
        const int code = static_cast<unsigned char>(character);
        highest = std::max(highest, code);
        lowest = std::min(lowest, code);
        progress_.value += 1.0f;
    }
    reportProgress();

    std::string shownShift = typedShift.text;
    const auto changeShift = [&](MessageId why, int newShift) {
        report_.message({why, {shownShift, std::to_string(newShift)}});
        report_.shiftChanged(newShift);
        shownShift = std::to_string(newShift);
        shift = newShift;
    };
    if (shift + highest > 255) {
        changeShift(MessageId::ShiftTooHigh, 255 - highest);
    }
    // A green byte must stay within 0 ... 255 for every character, or it is lost.
    if (shift > lowest) {
        changeShift(MessageId::ShiftAboveLowestCode, lowest);
    } else if (shift < highest - 255) {
        changeShift(MessageId::ShiftBelowHighestCode, highest - 255);
    }
    return shift;
}

void Encoder::writeLeadIn(const std::string& message, double shift, EncodeResult& result) {
    progress_.max = positionCount(canvas_);
    progress_.value = 0.0f;
    report_.caption(StatusCaption::WritingLeadIn);
    reportProgress();

    // Every position up to and including the key gets lead-in colours; the key
    // position is overwritten at once by the first message character.
    const KeyPosition key = result.key;
    const std::int64_t keyIndex = static_cast<std::int64_t>(key.y) * canvas_.width() + key.x;
    writeRandomPositions({0, 0}, keyIndex + 1, StepRule::RaiseBeforeReaching);
    generateDecoys(writeCryptoData(message, shift, result));
}

KeyPosition Encoder::writeMessageRun(const std::string& message, double shift, KeyPosition from) {
    const int width = canvas_.width();
    std::vector<Colour> row(static_cast<std::size_t>(width));
    std::size_t written = 0;
    KeyPosition at = from;
    while (at.y < canvas_.height() && written < message.size()) {
        const std::size_t count =
            std::min(static_cast<std::size_t>(width - at.x), message.size() - written);
        for (std::size_t k = 0; k < count; ++k) {
            const int code = static_cast<unsigned char>(message[written + k]);
            const int green = static_cast<int>(roundHalfEven(code - shift));
            row[k] = random_.messageColour(green);
        }
        canvas_.writeRun(at.x, at.y, std::span<const Colour>(row.data(), count));
        written += count;
        advance(progress_, static_cast<std::int64_t>(count), StepRule::RaiseBeforePassing);
        reportProgress();
        at.x += static_cast<int>(count);
        if (at.x == width) {
            at = {0, at.y + 1};
        }
    }
    return at;
}

KeyPosition Encoder::writeCryptoData(const std::string& message, double shift,
                                     EncodeResult& result) {
    progress_.max = positionCount(canvas_);
    report_.caption(StatusCaption::WritingCipherData);
    reportProgress();

    const KeyPosition end = writeMessageRun(message, shift, result.key);
    KeyPosition runStart = result.key;
    if (end.y > runStart.y) {
        runStart.x = 0; // at least one row was finished
    }
    result.runStart = runStart;
    report_.messageWritten(result);
    return end;
}

void Encoder::writeRandomPositions(KeyPosition from, std::int64_t count, StepRule rule) {
    KeyPosition at = from;
    random_.fillReseededChunks(
        static_cast<std::size_t>(count), kRandomChunk, [&](std::span<const Colour> colours) {
            at = writeColours(at, colours);
            advance(progress_, static_cast<std::int64_t>(colours.size()), rule);
            reportProgress();
        });
}

KeyPosition Encoder::writeColours(KeyPosition at, std::span<const Colour> colours) {
    const int width = canvas_.width();
    for (std::size_t done = 0; done < colours.size();) {
        const std::size_t run =
            std::min(colours.size() - done, static_cast<std::size_t>(width - at.x));
        canvas_.writeRun(at.x, at.y, colours.subspan(done, run));
        done += run;
        at.x += static_cast<int>(run);
        if (at.x == width) {
            at = {0, at.y + 1};
        }
    }
    return at;
}

void Encoder::generateDecoys(KeyPosition start) {
    progress_.max = positionCount(canvas_) + 1.0f;
    report_.caption(StatusCaption::WritingDecoys);
    reportProgress();
    const std::int64_t width = canvas_.width();
    const std::int64_t first = start.y * width + start.x;
    writeRandomPositions(start, width * canvas_.height() - first, StepRule::RaiseBeforePassing);
    progress_.value = progress_.max;
    reportProgress();
    report_.caption(StatusCaption::Waiting);
}

void Encoder::writeAdaptedData(const std::string& message, double shift, EncodeResult& result) {
    progress_.value = 0.0f;
    progress_.max = static_cast<float>(message.size());
    report_.caption(StatusCaption::WritingCipherData);
    reportProgress();

    writeMessageRun(message, shift, {0, 0});
    result.key = {0, 0};
    report_.messageWritten(result);
    report_.message({MessageId::EncryptionFinished, {}});
}

} // namespace kvistra
