#include "Encoder.h"

#include "FieldChecks.h"
#include "NumericText.h"
#include "Rounding.h"
#include "Windows1252.h"

#include <algorithm>
#include <vector>

namespace kvistra {

namespace {

constexpr std::size_t kLongestMessage = 32767;
// Random positions are drawn this many at a time, between two progress reports.
constexpr std::int64_t kRandomChunk = 1 << 20;

float positionCount(const Canvas& canvas) {
    return static_cast<float>(canvas.height()) * static_cast<float>(canvas.width());
}

// A key is met only by a whole number inside the grid.
std::optional<int> wholeNumber(const std::string& text, const NumberLocale& locale) {
    const std::optional<double> value = parseNumber(text, locale);
    if (!value || *value != roundHalfEven(*value) || *value < -32768.0 || *value > 32767.0) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

} // namespace

Encoder::Encoder(WindowHost& host, Canvas& canvas, RandomSource& random, ProgramWideValues& shared)
    : host_(host)
    , canvas_(canvas)
    , random_(random)
    , shared_(shared)
    , locale_(host.numberLocale()) {}

void Encoder::report() {
    host_.setProgress(progress_);
}

void Encoder::setCaption(const char* caption) {
    host_.setCaption(caption);
}

double Encoder::shift() const {
    return parseNumber(host_.text(Field::Stepping), locale_).value_or(0.0);
}

std::optional<Encoder::Position> Encoder::keyPosition() const {
    const std::optional<int> x = wholeNumber(host_.text(Field::Combo2), locale_);
    const std::optional<int> y = wholeNumber(host_.text(Field::Combo1), locale_);
    if (!x || !y || !canvas_.contains(*x, *y)) {
        return std::nullopt;
    }
    return Position{*x, *y};
}

std::optional<Message> Encoder::refusalBeforeWriting() const {
    if (input_.size() > kLongestMessage) {
        return Message{MessageId::InputTooLong, {std::to_string(input_.size())}};
    }
    if (std::optional<Message> shift = checkShiftForWriting(host_.text(Field::Stepping), locale_)) {
        return shift;
    }
    const std::int64_t width = canvas_.width();
    std::int64_t capacity = width * canvas_.height();
    if (!host_.adaptTicked()) {
        const std::optional<Position> key = keyPosition();
        if (!key) {
            return Message{MessageId::KeyOutsideGrid,
                           {host_.text(Field::Combo2), host_.text(Field::Combo1),
                            std::to_string(canvas_.width()), std::to_string(canvas_.height())}};
        }
        capacity = (width - key->x) + (canvas_.height() - 1 - key->y) * width;
    }
    if (static_cast<std::int64_t>(input_.size()) > capacity) {
        return Message{MessageId::MessageDoesNotFit,
                       {std::to_string(input_.size()), std::to_string(capacity)}};
    }
    return std::nullopt;
}

bool Encoder::generate() {
    const std::string typed = host_.text(Field::Text1);
    if (typed.empty()) {
        host_.showMessage({MessageId::NothingEntered, {}});
        return false;
    }
    Result<std::string> converted = windows1252FromUtf8(typed);
    if (!converted) {
        host_.showMessage(converted.problem());
        return false;
    }
    input_ = std::move(*converted);
    if (const std::optional<Message> refusal = refusalBeforeWriting()) {
        host_.showMessage(*refusal);
        return false;
    }

    progress_ = {0.0f, static_cast<float>(input_.size()), 0.0f};
    report();
    setCaption("Status: Utför analys");
    AnalyzeInput();
    setCaption("Status: Analys klar");

    if (host_.adaptTicked()) {
        WriteAdaptedData();
        return true;
    }
    writeLeadIn();
    return true;
}

void Encoder::AnalyzeInput() {
    int highest = 0;
    int lowest = 255;
    for (const char character : input_) {
        const int code = static_cast<unsigned char>(character);
        highest = std::max(highest, code);
        lowest = std::min(lowest, code);
        progress_.value += 1.0f;
    }
    report();

    const auto changeShift = [&](MessageId why, int newShift) {
        host_.showMessage({why, {host_.text(Field::Stepping), std::to_string(newShift)}});
        host_.setText(Field::Stepping, std::to_string(newShift));
    };
    if (shift() + highest > 255) {
        changeShift(MessageId::ShiftTooHigh, 255 - highest);
    }
    // A green byte must stay within 0 ... 255 for every character, or it is lost.
    if (shift() > lowest) {
        changeShift(MessageId::ShiftAboveLowestCode, lowest);
    } else if (shift() < highest - 255) {
        changeShift(MessageId::ShiftBelowHighestCode, highest - 255);
    }
}

void Encoder::writeLeadIn() {
    const std::optional<Position> key = keyPosition();
    progress_.max = positionCount(canvas_);
    progress_.value = 0.0f;
    shared_.DecryptEnabled = true;
    setCaption("Status: Genererar inledningsdata");
    report();
    if (!key) {
        return; // refused earlier; kept for callers that run the stage alone
    }

    // Every position up to and including the key gets lead-in colours; the key
    // position is overwritten at once by the first message character.
    const std::int64_t keyIndex = static_cast<std::int64_t>(key->y) * canvas_.width() + key->x;
    writeRandomPositions({0, 0}, keyIndex + 1, StepRule::RaiseBeforeReaching);
    shared_.KeyX = static_cast<std::int16_t>(key->x);
    shared_.KeyY = static_cast<std::int16_t>(key->y);
    WriteCryptoData();
}

Encoder::Position Encoder::writeMessageRun(Position from) {
    const int width = canvas_.width();
    const double currentShift = shift();
    const std::string& message = shared_.MessageText;
    std::vector<Colour> row(static_cast<std::size_t>(width));
    std::size_t written = 0;
    Position at = from;
    while (at.y < canvas_.height() && written < message.size()) {
        const std::size_t count =
            std::min(static_cast<std::size_t>(width - at.x), message.size() - written);
        for (std::size_t k = 0; k < count; ++k) {
            const int code = static_cast<unsigned char>(message[written + k]);
            const int green = static_cast<int>(roundHalfEven(code - currentShift));
            row[k] = random_.messageColour(green);
        }
        canvas_.writeRun(at.x, at.y, std::span<const Colour>(row.data(), count));
        written += count;
        advance(progress_, static_cast<std::int64_t>(count), StepRule::RaiseBeforePassing);
        report();
        at.x += static_cast<int>(count);
        if (at.x == width) {
            at = {0, at.y + 1};
        }
    }
    return at;
}

void Encoder::WriteCryptoData() {
    progress_.max = positionCount(canvas_);
    shared_.MessageText = input_;
    setCaption("Status: Skriver kryptodata");
    report();

    const Position end = writeMessageRun({shared_.KeyX, shared_.KeyY});
    if (end.y > shared_.KeyY) {
        shared_.KeyX = 0; // at least one row was finished
    }
    host_.setText(Field::Text4, std::to_string(shared_.MessageText.size()));
    GenerateDecoys(static_cast<std::int16_t>(end.x), static_cast<std::int16_t>(end.y));
}

void Encoder::writeRandomPositions(Position from, std::int64_t count, StepRule rule) {
    const int width = canvas_.width();
    std::vector<Colour> chunk(static_cast<std::size_t>(std::min(count, kRandomChunk)));
    Position at = from;
    while (count > 0) {
        const std::span<Colour> colours(chunk.data(),
                                        static_cast<std::size_t>(std::min(count, kRandomChunk)));
        random_.fillReseededColours(colours);
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
        count -= static_cast<std::int64_t>(colours.size());
        advance(progress_, static_cast<std::int64_t>(colours.size()), rule);
        report();
    }
}

void Encoder::GenerateDecoys(std::int16_t startColumn, std::int16_t startRow) {
    progress_.max = positionCount(canvas_) + 1.0f;
    setCaption("Status: Genererar villospår");
    report();
    const std::int64_t width = canvas_.width();
    const std::int64_t first = startRow * width + startColumn;
    writeRandomPositions({startColumn, startRow}, width * canvas_.height() - first,
                         StepRule::RaiseBeforePassing);
    progress_.value = progress_.max;
    report();
    setCaption("Status: Väntar");
}

void Encoder::WriteAdaptedData() {
    progress_.value = 0.0f;
    shared_.MessageText = input_;
    progress_.max = static_cast<float>(shared_.MessageText.size());
    setCaption("Status: Skriver kryptodata");
    report();

    writeMessageRun({0, 0});
    host_.setText(Field::Text4, std::to_string(shared_.MessageText.size()));
    host_.setText(Field::Combo1, "0");
    host_.setText(Field::Combo2, "0");
    shared_.DecryptEnabled = true;
    host_.showMessage({MessageId::EncryptionFinished, {}});
}

} // namespace kvistra
