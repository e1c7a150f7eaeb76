// SPDX-License-Identifier: GPL-3.0-or-later
// The main window against the engine alone, side by side: what the widgets add
// to a generation on a 12-megapixel canvas and to a full-length decode.
#include "QuietReport.h"
#include "core/Decoder.h"
#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "core/SecureRandom.h"
#include "core/Windows1252.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/QtPassphrasePrompt.h"
#include "toolkit/QtSystemServices.h"
#include "toolkit/TextBox.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace kvistra {
namespace {

constexpr int kLongestMessage = 32767;
constexpr const char* kShortMessage = "Möt mig vid bron när klockan slår sju.";
constexpr const char* kYKey = "1500";
constexpr const char* kXKey = "2345";
constexpr const char* kShift = "3";

[[noreturn]] void abortWith(const std::string& why) {
    std::fprintf(stderr, "window_bench: %s\n", why.c_str());
    std::exit(EXIT_FAILURE);
}

// Windows-1252 text of the longest length, with letters beyond ASCII so that the
// list and the text box get real conversions to do.
std::string longestMessage() {
    const Result<std::string> pattern =
        windows1252FromUtf8("Kvistra gömmer en text i bildens pixlar; ingen ser den där. ");
    if (!pattern) {
        abortWith("the message pattern is not Windows-1252");
    }
    std::string message;
    while (message.size() < kLongestMessage) {
        message += *pattern;
    }
    message.resize(kLongestMessage);
    return message;
}

// Every benchmark alike, so their medians compare side by side.
void sideBySide(benchmark::internal::Benchmark* benchmark) {
    benchmark->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

class SilentBoxes final : public MessageBoxes {
public:
    int show(const MessageBoxText& box) override {
        last = box.text;
        return 1;
    }
    std::string last;
};

class NoFileName final : public FilePrompt {
public:
    std::string ask(FileDialogMode, const std::string&, const std::string&) override { return {}; }
};

// Counts the canvas's paint events, to show that a timed run did paint.
class PaintCounter final : public QObject {
public:
    long paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A shown main window whose message boxes and file dialogs answer at once.
class ShownWindow {
public:
    ShownWindow() {
        window.show();
        QElapsedTimer waited;
        waited.start();
        while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
            if (waited.elapsed() > 5000) {
                abortWith("the window was never exposed");
            }
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        settle();
    }

    template <class Widget> Widget* child(const char* name) {
        auto* found = window.findChild<Widget*>(QLatin1String(name));
        if (!found) {
            abortWith(std::string("no control named ") + name);
        }
        return found;
    }

    // The click and the repaint it leaves behind, as the user waits for both.
    void click(const char* name) {
        child<QPushButton>(name)->click();
        settle();
    }

    static void settle() { QApplication::processEvents(); }

    SilentBoxes boxes;
    NoFileName files;
    QtSystemServices system;
    QtPassphrasePrompt passphrases; // never asked: the protection stays off
    MainWindow window{boxes, files, system.services(), passphrases};
};

void windowGenerate(benchmark::State& state) {
    ShownWindow shown;
    auto* canvas = shown.child<PictureBox>("Picture1");
    canvas->setAutoSize(true);
    canvas->setPicture(Image(4000, 3000));
    shown.child<TextBox>("Text1")->setProgramText(kShortMessage);
    shown.child<QCheckBox>("Anpassa")->setChecked(false);
    shown.child<QComboBox>("Combo1")->setEditText(QLatin1String(kYKey));
    shown.child<QComboBox>("Combo2")->setEditText(QLatin1String(kXKey));
    shown.child<QComboBox>("Stepping")->setEditText(QLatin1String(kShift));
    ShownWindow::settle();

    // A refused run would time nothing but a message box.
    shown.click("Command4");
    const std::string written = shown.child<QLineEdit>("Text4")->text().toStdString();
    const Result<std::string> expected = windows1252FromUtf8(kShortMessage);
    if (!shown.boxes.last.empty() || !expected || written != std::to_string(expected->size())) {
        abortWith("the window did not generate: " + shown.boxes.last);
    }

    PaintCounter counter;
    canvas->installEventFilter(&counter);
    for (auto _ : state) {
        shown.click("Command4");
    }
    canvas->removeEventFilter(&counter);
    state.counters["canvasPaints"] =
        benchmark::Counter(static_cast<double>(counter.paints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(windowGenerate)->Apply(sideBySide);

void engineGenerate(benchmark::State& state) {
    Image canvas(4000, 3000);
    const EncodeRequest request =
        quietRequestFor(*windows1252FromUtf8(kShortMessage), false, kYKey, kXKey, kShift);
    SecureRandom random;
    QuietEncodeReport report;
    if (!Encoder(canvas, random, report).generate(request)) {
        abortWith("the engine did not generate");
    }
    for (auto _ : state) {
        Encoder(canvas, random, report).generate(request);
        benchmark::DoNotOptimize(canvas.bytes().data());
    }
}
BENCHMARK(engineGenerate)->Apply(sideBySide);

void windowDecode32767(benchmark::State& state) {
    const std::string message = longestMessage();
    const std::string typed = utf8FromWindows1252(message);
    ShownWindow shown;
    auto* text2 = shown.child<TextBox>("Text2");
    auto* list = shown.child<ListBox>("List1");
    // Adapted to the input, the message runs from 0,0 and fits the default canvas.
    shown.child<TextBox>("Text1")->setProgramText(typed);
    shown.child<QCheckBox>("Anpassa")->setChecked(true);
    shown.click("Command4");

    shown.click("Command2");
    if (text2->programText() != typed) {
        abortWith("Text2 does not hold the message; last box: " + shown.boxes.last);
    }
    if (list->count() != kLongestMessage) {
        abortWith("List1 has " + std::to_string(list->count()) + " lines");
    }

    for (auto _ : state) {
        shown.click("Command2");
    }
}
BENCHMARK(windowDecode32767)->Apply(sideBySide);

// The same canvas and message as the window decode, without any widget.
struct QuietDecodeSetup {
    QuietDecodeSetup() {
        SecureRandom random;
        QuietEncodeReport encodeReport;
        Encoder(canvas, random, encodeReport)
            .generate(quietRequestFor(message, true, "0", "0", "0"));
        if (runDecoder(canvas, request, report).text != message) {
            abortWith("the engine did not read the message back");
        }
    }
    std::string message = longestMessage();
    Image canvas{269, 253};
    DecodeRunRequest request = readingRequest(std::to_string(kLongestMessage), "0", "0", "0", {});
    QuietDecodeReport report;
};

void engineDecode32767(benchmark::State& state) {
    const QuietDecodeSetup setup;
    const DecodeRequest request{kLongestMessage, keyNumber(0), keyNumber(0), shiftNumber(0)};
    for (auto _ : state) {
        benchmark::DoNotOptimize(decode(setup.canvas, request));
    }
}
BENCHMARK(engineDecode32767)->Apply(sideBySide);

// Decoding plus the list lines and the text the window is handed.
void engineDecoderRun32767(benchmark::State& state) {
    QuietDecodeSetup setup;
    for (auto _ : state) {
        benchmark::DoNotOptimize(runDecoder(setup.canvas, setup.request, setup.report));
    }
}
BENCHMARK(engineDecoderRun32767)->Apply(sideBySide);

} // namespace
} // namespace kvistra

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
