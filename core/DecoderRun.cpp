#include "DecoderRun.h"

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

DecoderRunResult runDecoder(WindowHost& host, const Canvas& canvas,
                            const ProgramWideValues& shared) {
    DecoderRunResult run;
    if (!shared.DecryptEnabled) {
        return run;
    }
    host.setCaption("Status: Dekrypterar");

    run.ReadLength = readingLengthOf(host.text(Field::Text4));
    if (!run.ReadLength) {
        run.result.outcome = DecodeOutcome::Failed;
        run.result.failureNumber = static_cast<int>(FailureNumber::Overflow);
        run.result.failure = {DecodeValue::ReadingLength, host.text(Field::Text4)};
        host.showMessage(decodeFailedMessage(run.result.failureNumber, run.result.failure));
        return run;
    }
    host.setClockRunning(true);
    // A monotonic clock: a run across midnight or a clock change still takes its real time.
    const auto start = host.now();
    host.setText(Field::Text2, "");
    host.setText(Field::Text3, "");
    host.clearList();
    host.setProgress({0.0f, static_cast<float>(*run.ReadLength), 0.0f});

    const NumberLocale locale = host.numberLocale();
    run.result = decode(canvas, {*run.ReadLength, host.text(Field::Combo1),
                                 host.text(Field::Combo2), host.text(Field::Stepping), locale});

    std::vector<std::string> lines;
    lines.reserve(run.result.positions.size());
    run.text.reserve(run.result.positions.size());
    for (const DecodedPosition& position : run.result.positions) {
        lines.push_back(listLine(position));
        run.text += static_cast<char>(position.character);
    }
    host.appendListLines(lines);
    host.setText(Field::Text2, utf8FromWindows1252(run.text));
    host.setProgress(
        {0.0f, static_cast<float>(*run.ReadLength), static_cast<float>(run.result.positionCount)});

    switch (run.result.outcome) {
    case DecodeOutcome::Finished: {
        const double elapsed = std::chrono::duration<double>(host.now() - start).count();
        host.showMessage({MessageId::DecodeFinished, {formatGeneral(elapsed, locale)}});
        host.setClockRunning(false);
        break;
    }
    case DecodeOutcome::Exhausted:
        host.showMessage(
            {MessageId::DecodeExhausted,
             {std::to_string(run.result.positions.size()), std::to_string(*run.ReadLength)}});
        host.setClockRunning(false);
        break;
    case DecodeOutcome::Failed:
        host.showMessage(decodeFailedMessage(run.result.failureNumber, run.result.failure));
        break;
    }
    return run;
}

} // namespace kvistra
