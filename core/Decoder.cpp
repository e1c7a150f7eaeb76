// SPDX-License-Identifier: GPL-3.0-or-later
#include "Decoder.h"

#include "ColourSplit.h"
#include "Message.h"
#include "Rounding.h"

#include <algorithm>

namespace kvistra {

namespace {

class Walk {
public:
    Walk(const Canvas& canvas, const DecodeRequest& request, DecodeResult& result)
        : canvas_(canvas)
        , request_(request)
        , result_(result) {}

    // Decodes positions of one row from column x on; false when the run ended.
    bool row(int x, int y) {
        const int width = canvas_.width();
        while (x < width) {
            if (result_.positionCount >= request_.readingLength) {
                return finish();
            }
            const int wanted = std::min(width - x, request_.readingLength - result_.positionCount);
            const int count = readColours(x, y, wanted);
            for (int k = 0; k < count; ++k) {
                ++result_.positionCount;
                if (!take(colours_[static_cast<std::size_t>(k)], x + k, y)) {
                    return false;
                }
            }
            x += count;
        }
        return true;
    }

    bool finish() {
        result_.outcome = DecodeOutcome::Finished;
        return false;
    }

private:
    int readColours(int x, int y, int wanted) {
        colours_.resize(static_cast<std::size_t>(wanted));
        if (y >= 0 && x >= 0) {
            canvas_.readRun(x, y, colours_);
        } else {
            // Left of or above the canvas, reachable with a negative key.
            for (int k = 0; k < wanted; ++k) {
                colours_[static_cast<std::size_t>(k)] = canvas_.pixel(x + k, y);
            }
        }
        return wanted;
    }

    bool take(Colour colour, int x, int y) {
        const ColourChannels channels = convert(colour);
        const std::optional<double>& shift = request_.shift.value;
        if (!shift) {
            return fail(FailureNumber::TypeMismatch, x, y, channels.green);
        }
        const double code = roundHalfEven(*shift + channels.green);
        if (!(code >= 0.0 && code <= 255.0)) {
            return fail(FailureNumber::InvalidArgument, x, y, channels.green);
        }
        result_.positions.push_back(
            {static_cast<std::uint8_t>(channels.green), static_cast<unsigned char>(code)});
        return true;
    }

    bool fail(FailureNumber number, int x, int y, int green) {
        result_.outcome = DecodeOutcome::Failed;
        result_.failureNumber = number;
        result_.failure = {
            DecodeValue::Shift, request_.shift.text, result_.positionCount, x, y, green};
        return false;
    }

    const Canvas& canvas_;
    const DecodeRequest& request_;
    DecodeResult& result_;
    std::vector<Colour> colours_;
};

} // namespace

DecodeResult decode(const Canvas& canvas, const DecodeRequest& request) {
    DecodeResult result;
    const auto failWith = [&](const KeyNumber& key, DecodeValue value) {
        result.outcome = DecodeOutcome::Failed;
        result.failureNumber = key.failure;
        result.failure = {value, key.text};
        return result;
    };

    const int height = canvas.height();
    const std::optional<int> yKey = request.yKey.value;
    if (!yKey) {
        return failWith(request.yKey, DecodeValue::YKey);
    }
    Walk walk(canvas, request, result);
    if (*yKey < height) {
        const std::optional<int> xKey = request.xKey.value;
        if (!xKey) {
            return failWith(request.xKey, DecodeValue::XKey);
        }
        for (int y = *yKey; y < height; ++y) {
            if (!walk.row(y == *yKey ? *xKey : 0, y)) {
                return result;
            }
        }
    }
    // The walk ended. Reading exactly to the last position is a full run.
    const bool allRead = result.positionCount >= request.readingLength;
    result.outcome = allRead ? DecodeOutcome::Finished : DecodeOutcome::Exhausted;
    return result;
}

} // namespace kvistra
