// SPDX-License-Identifier: GPL-3.0-or-later
#include "EngineAdapter.h"

#include "KeyFields.h"
#include "MainWindowControls.h"
#include "PassphraseProtection.h"
#include "core/NumericText.h"
#include "core/SealedMessage.h"
#include "core/Windows1252.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
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
        adapter_.controls_.canvas->update();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    EngineAdapter& adapter_;
};

EngineAdapter::EngineAdapter(QWidget& window, const MainWindowControls& controls,
                             const KeyFields& fields, MessageBoxes& messageBoxes)
    : window_(window)
    , controls_(controls)
    , fields_(fields)
    , messageBoxes_(messageBoxes) {}

std::optional<Generation> EngineAdapter::generate(PassphraseProtection& protection) {
    const RunScope run(*this);
    EncodeRequest request{{},
                          fields_.wholeKey(KeyField::XKey),
                          fields_.wholeKey(KeyField::YKey),
                          fields_.shift(),
                          controls_.adaptCheck->isChecked()};
    Result<std::string> bytes = messageBytesOf(controls_.inputBox->programText());
    if (!bytes) {
        message(bytes.problem());
        return std::nullopt;
    }
    request.message = std::move(*bytes);
    if (protection.on() && !seal(request, protection)) {
        return std::nullopt;
    }
    encoding_ = &request;
    sealing_ = protection.on();
    generation_.emplace();
    const Result<EncodeResult> result =
        Encoder(controls_.canvas->surfaceToDrawOn(), random_, *this).generate(request);
    encoding_ = nullptr;
    sealing_ = false;
    written_ = false;
    std::optional<Generation> written = std::move(generation_);
    generation_.reset();
    if (!result) {
        message(result.problem());
        return std::nullopt;
    }
    return written;
}

bool EngineAdapter::seal(EncodeRequest& request, PassphraseProtection& protection) {
    if (const Status fits = checkSealedFits(controls_.canvas->image(), request); !fits) {
        message(fits.problem());
        return false;
    }
    const std::optional<SecretBytes> passphrase = protection.ask(true);
    if (!passphrase) {
        return false;
    }
    const SealSetting setting = protection.setting();
    const Status sealed =
        whileWindowPaints([&] { return sealRequest(request, *passphrase, setting); });
    if (!sealed) {
        message(sealed.problem());
    }
    return sealed.ok();
}

std::optional<std::int16_t> EngineAdapter::decrypt(PassphraseProtection& protection) {
    const RunScope run(*this);
    const DecodeRunRequest request = fields_.readingRequest();
    if (!protection.on()) {
        return runDecoder(controls_.canvas->image(), request, *this).readingLength;
    }
    const std::optional<SecretBytes> passphrase = protection.ask(false);
    if (!passphrase) {
        return std::nullopt;
    }
    return decryptSealed(request, *passphrase, protection.setting());
}

std::optional<std::int16_t> EngineAdapter::decryptSealed(const DecodeRunRequest& request,
                                                         const SecretBytes& passphrase,
                                                         SealSetting strongest) {
    caption(StatusCaption::Decoding);
    const auto start = now();
    const float length = static_cast<float>(request.readingLength.value.value_or(0));
    if (request.readingLength.value) {
        progress({0.0f, length, 0.0f});
    }
    // Whatever went wrong, one message, and the fields stay as they were.
    const Result<std::string> opened = whileWindowPaints(
        [&] { return readSealed(controls_.canvas->image(), request, passphrase, strongest); });
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
    return static_cast<std::int16_t>(*request.readingLength.value);
}

void EngineAdapter::caption(StatusCaption caption) {
    window_.setWindowTitle(QString::fromStdString(captionText(caption)));
    // A new stage is worth showing at once.
    keepPainted(PaintWhen::Now);
}

void EngineAdapter::progress(const Progress& progress) {
    controls_.progressBar->setProgress(progress);
    keepPainted(PaintWhen::Due);
}

void EngineAdapter::message(const Message& message) {
    if (written_) {
        generation_->notices.push_back(message);
        return;
    }
    messageBoxes_.show(describe(message));
}

void EngineAdapter::shiftChanged(int shift) {
    generation_->shift = shift;
}

void EngineAdapter::messageWritten(const EncodeResult& result) {
    written_ = true;
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
    controls_.clock->start();
    controls_.decryptedBox->setProgramText("");
    controls_.directDataBox->setProgramText("");
    controls_.decodedList->clear();
}

void EngineAdapter::decoded(const std::vector<std::string>& listLines, const std::string& text) {
    controls_.decodedList->addLines(listLines);
    controls_.decryptedBox->setProgramText(text);
}

void EngineAdapter::clockStopped() {
    controls_.clock->stop();
}

void EngineAdapter::keepPainted(PaintWhen when) {
    if (!running_ || (when == PaintWhen::Due && sincePainted_.elapsed() < kPaintIntervalMs)) {
        return;
    }
    controls_.canvas->update();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePainted_.restart();
}

} // namespace kvistra
