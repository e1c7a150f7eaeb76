// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecoderRun.h"

#include "DecodeFailedMessage.h"
#include "NumericText.h"
#include "Windows1252.h"

#include <chrono>
#include <vector>

namespace kvistra {

std::string listLine(const DecodedPosition& position) {
    std::string line = std::to_string(position.green) + " - ";
    appendUtf8(line, unicodeOfWindows1252(position.character));
    return line;
}

DecodeRunRequest readingRequest(const std::string& readingLength, const std::string& yKey,
                                const std::string& xKey, const std::string& shift,
                                const NumberLocale& locale) {
    return {readingLengthNumber(readingLength), roundedKey(yKey, locale), roundedKey(xKey, locale),
            shiftNumber(shift, locale), locale};
}

DecoderRunResult runDecoder(const Canvas& canvas, const DecodeRunRequest& request,
                            DecodeReport& report) {
    DecoderRunResult run;
    report.caption(StatusCaption::Decoding);

    if (request.readingLength.value) {
        run.readingLength = static_cast<std::int16_t>(*request.readingLength.value);
    } else {
        run.result.outcome = DecodeOutcome::Failed;
        run.result.failureNumber = request.readingLength.failure;
        run.result.failure = {DecodeValue::ReadingLength, request.readingLength.text};
        report.message(decodeFailedMessage(run.result.failureNumber, run.result.failure));
        return run;
    }
    const int readingLength = *run.readingLength;
    report.started();
    // A monotonic clock: a run across midnight or a clock change still takes its real time.
    const auto start = report.now();
    report.progress({0.0f, static_cast<float>(readingLength), 0.0f});

    run.result = decode(canvas, {readingLength, request.yKey, request.xKey, request.shift});

    std::vector<std::string> lines;
    lines.reserve(run.result.positions.size());
    run.text.reserve(run.result.positions.size());
    for (const DecodedPosition& position : run.result.positions) {
        lines.push_back(listLine(position));
        run.text += static_cast<char>(position.character);
    }
    report.decoded(lines, utf8FromWindows1252(run.text));
    report.progress(
        {0.0f, static_cast<float>(readingLength), static_cast<float>(run.result.positionCount)});

    switch (run.result.outcome) {
    case DecodeOutcome::Finished: {
        const double elapsed = std::chrono::duration<double>(report.now() - start).count();
        report.message({MessageId::DecodeFinished, {formatGeneral(elapsed, request.locale)}});
        report.clockStopped();
        break;
    }
    case DecodeOutcome::Exhausted:
        report.message(
            {MessageId::DecodeExhausted,
             {std::to_string(run.result.positions.size()), std::to_string(readingLength)}});
        report.clockStopped();
        break;
    case DecodeOutcome::Failed:
        report.message(decodeFailedMessage(run.result.failureNumber, run.result.failure));
        break;
    }
    return run;
}

} // namespace kvistra
