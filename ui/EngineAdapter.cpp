// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineAdapter.h"

#include "core/NumericText.h"
#include "core/SealedMessage.h"
#include "core/SecureRandom.h"
#include "core/Windows1252.h"
#include "toolkit/MessageBoxes.h"
#include "words/MessageCatalogue.h"

#include <QCoreApplication>
#include <chrono>
#include <future>

namespace kvistra {

namespace {

constexpr int kPaintIntervalMs = 33; // about thirty updates a second during a run

// Work of a quarter of a second or more (the passphrase's key derivation) runs on a
// thread of its own, while the window goes on painting; input waits until it ends.
template <class Work> auto whileWindowPaints(Work work) {
    std::future result = std::async(std::launch::async, std::move(work));
    while (result.wait_for(std::chrono::milliseconds(kPaintIntervalMs)) !=
           std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return result.get();
}

} // namespace

// Marks a long run, during which the window is repainted but takes no input.
class EngineAdapter::RunScope {
public:
    explicit RunScope(EngineAdapter& adapter)
        : adapter_(adapter) {
        adapter_.running_ = true;
        adapter_.sincePainted_.start();
    }
    ~RunScope() {
        adapter_.running_ = false;
        adapter_.heldNotices_ = nullptr;
        adapter_.display_.drawingChanged();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    EngineAdapter& adapter_;
};

EngineAdapter::EngineAdapter(RunDisplay& display, MessageBoxes& messageBoxes)
    : display_(display)
    , messageBoxes_(messageBoxes) {}

std::optional<Generation> EngineAdapter::generate(EncodeRequest request, Canvas& surface,
                                                  const std::optional<Sealing>& sealing) {
    const RunScope run(*this);
    if (sealing) {
        const Status sealed = whileWindowPaints(
            [&] { return sealRequest(request, sealing->passphrase, sealing->setting); });
        if (!sealed) {
            message(sealed.problem());
            return std::nullopt;
        }
    }
    encoding_ = &request;
    sealing_ = sealing.has_value();
    generation_.emplace();
    // A generator of its own for each picture, keyed when it is asked for: nothing
    // of the kind is set up while the window starts.
    SecureRandom random;
    const Result<EncodeResult> result = Encoder(surface, random, *this).generate(request);
    encoding_ = nullptr;
    sealing_ = false;
    heldNotices_ = nullptr;
    std::optional<Generation> written = std::move(generation_);
    generation_.reset();
    if (!result) {
        message(result.problem());
        return std::nullopt;
    }
    return written;
}

std::optional<Reading> EngineAdapter::decrypt(const DecodeRunRequest& request,
                                              const Canvas& picture,
                                              const std::optional<Sealing>& sealing) {
    const RunScope run(*this);
    if (sealing) {
        return decryptSealed(request, picture, *sealing);
    }
    runDecoder(picture, request, *this);
    return takeReading();
}

std::optional<Reading> EngineAdapter::decryptSealed(const DecodeRunRequest& request,
                                                    const Canvas& picture, const Sealing& sealing) {
    caption(StatusCaption::Decoding);
    const auto start = now();
    const float length = static_cast<float>(request.readingLength.value.value_or(0));
    if (request.readingLength.value) {
        progress({0.0f, length, 0.0f});
    }
    // Whatever went wrong, one message, and the fields stay as they were.
    const Result<std::string> opened = whileWindowPaints(
        [&] { return readSealed(picture, request, sealing.passphrase, sealing.setting); });
    if (!opened) {
        message(opened.problem());
        return std::nullopt;
    }
    started();
    std::vector<std::string> lines;
    lines.reserve(opened->size());
    for (const char character : *opened) {
        const auto code = static_cast<unsigned char>(character);
        lines.push_back(listLine({code, code}));
    }
    decoded(lines, utf8FromWindows1252(*opened));
    progress({0.0f, length, length});
    // Opening the message is part of the decryption.
    const double elapsed = std::chrono::duration<double>(now() - start).count();
    message({MessageId::DecodeFinished, {formatGeneral(elapsed, request.locale)}});
    clockStopped();
    return takeReading();
}

std::optional<Reading> EngineAdapter::takeReading() {
    heldNotices_ = nullptr;
    std::optional<Reading> read = std::move(reading_);
    reading_.reset();
    return read;
}

void EngineAdapter::caption(StatusCaption caption) {
    display_.caption(caption);
    // A new stage is worth showing at once.
    keepPainted(PaintWhen::Now);
}

void EngineAdapter::progress(const Progress& progress) {
    display_.progress(progress);
    keepPainted(PaintWhen::Due);
}

void EngineAdapter::message(const Message& message) {
    if (heldNotices_) {
        heldNotices_->push_back(message);
        return;
    }
    messageBoxes_.show(describe(message));
}

void EngineAdapter::shiftChanged(int shift) {
    generation_->shift = shift;
}

void EngineAdapter::messageWritten(const EncodeResult& result) {
    heldNotices_ = &generation_->notices;
    generation_->message = encoding_->message;
    generation_->readingLength = result.readingLength;
    if (encoding_->adapt) {
        generation_->key = result.key;
    }
    if (sealing_) {
        generation_->shift = result.shift;
    }
}

void EngineAdapter::started() {
    reading_.emplace();
}

void EngineAdapter::decoded(const std::vector<std::string>& listLines, const std::string& text) {
    reading_->listLines = listLines;
    reading_->text = text;
    heldNotices_ = &reading_->notices;
}

void EngineAdapter::clockStopped() {
    reading_->clockStopped = true;
}

void EngineAdapter::keepPainted(PaintWhen when) {
    if (!running_ || (when == PaintWhen::Due && sincePainted_.elapsed() < kPaintIntervalMs)) {
        return;
    }
    display_.drawingChanged();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePainted_.restart();
}

} // namespace kvistra
