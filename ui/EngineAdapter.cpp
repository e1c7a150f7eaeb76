#include "EngineAdapter.h"

#include "KeyFields.h"
#include "MainWindowControls.h"
#include "core/MessageCatalogue.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/TextBox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

namespace kvistra {

namespace {
constexpr int kPaintIntervalMs = 33; // about thirty updates a second during a run
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

EngineAdapter::EngineAdapter(QWidget& window, const MainWindowControls& controls, KeyFields& fields,
                             MessageBoxes& messageBoxes, ProgramWideValues& shared)
    : window_(window)
    , controls_(controls)
    , fields_(fields)
    , messageBoxes_(messageBoxes)
    , shared_(shared) {}

bool EngineAdapter::generate() {
    const RunScope run(*this);
    EncodeRequest request{{},
                          fields_.text(KeyField::XKey),
                          fields_.text(KeyField::YKey),
                          fields_.text(KeyField::Shift),
                          controls_.adaptCheck->isChecked(),
                          userNumberLocale()};
    Result<std::string> bytes = messageBytesOf(controls_.inputBox->programText());
    if (!bytes) {
        message(bytes.problem());
        return false;
    }
    request.message = std::move(*bytes);
    encoding_ = &request;
    const Result<EncodeResult> result =
        Encoder(controls_.canvas->surfaceToDrawOn(), random_, *this).generate(request);
    encoding_ = nullptr;
    if (!result) {
        message(result.problem());
    }
    return result.ok();
}

std::optional<std::int16_t> EngineAdapter::decrypt() {
    const RunScope run(*this);
    if (!shared_.decryptEnabled) {
        return std::nullopt;
    }
    const DecodeRunRequest request{fields_.text(KeyField::ReadingLength),
                                   fields_.text(KeyField::YKey), fields_.text(KeyField::XKey),
                                   fields_.text(KeyField::Shift), userNumberLocale()};
    return runDecoder(controls_.canvas->image(), request, *this).readingLength;
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
    messageBoxes_.show(describe(message));
}

void EngineAdapter::shiftChanged(int shift) {
    fields_.set(KeyField::Shift, std::to_string(shift));
}

void EngineAdapter::messageWritten(const EncodeResult& result) {
    fields_.set(KeyField::ReadingLength, std::to_string(result.readingLength));
    if (encoding_->adapt) {
        fields_.set(KeyField::YKey, std::to_string(result.key.y));
        fields_.set(KeyField::XKey, std::to_string(result.key.x));
    }
    shared_.messageText = encoding_->message;
    shared_.decryptEnabled = true;
    if (result.runStart) {
        shared_.keyX = static_cast<std::int16_t>(result.runStart->x);
        shared_.keyY = static_cast<std::int16_t>(result.runStart->y);
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
