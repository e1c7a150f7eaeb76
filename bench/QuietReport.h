// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/Encoder.h"

#include <string>
#include <vector>

namespace kvistra {

// Runs that report to nobody, so that only the engine is timed.
class QuietEncodeReport final : public EncodeReport {
public:
    void caption(StatusCaption) override {}
    void progress(const Progress&) override {}
    void message(const Message&) override {}
    void shiftChanged(int) override {}
    void messageWritten(const EncodeResult&) override {}
};

class QuietDecodeReport final : public DecodeReport {
public:
    void caption(StatusCaption) override {}
    void progress(const Progress&) override {}
    void message(const Message&) override {}
    void started() override {}
    void decoded(const std::vector<std::string>&, const std::string&) override {}
    void clockStopped() override {}
};

// `message` is Windows-1252.
inline EncodeRequest quietRequestFor(const std::string& message, bool adapt,
                                     const std::string& yKey = "5", const std::string& xKey = "5",
                                     const std::string& shift = "3") {
    const NumberLocale locale;
    return {message, wholeKey(xKey, locale), wholeKey(yKey, locale), shiftNumber(shift, locale),
            adapt};
}

} // namespace kvistra
