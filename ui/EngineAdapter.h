// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "ui/Sealing.h"

#include <QElapsedTimer>
#include <optional>
#include <string>
#include <vector>

namespace kvistra {

class MessageBoxes;

// What a generation wrote: the window keeps the message and shows the key values.
struct Generation {
    std::string message; // as written into the picture, Windows-1252
    int readingLength = 0;
    std::optional<KeyPosition> key; // an adapted run's
    std::optional<int> shift;       // when the analysis changed it, or the message was sealed
    // What the encoder said once the message was written, for after the key values show.
    std::vector<Message> notices;
};

// What a decryption read, once it began: earlier output goes and the clock runs.
struct Reading {
    std::vector<std::string> listLines;
    std::string text; // UTF-8
    // What the decoder said once it had read, for after the text and list show.
    std::vector<Message> notices;
    bool clockStopped = false; // after the notices
};

// What the window shows of a run while it goes.
class RunDisplay {
public:
    virtual ~RunDisplay() = default;
    virtual void caption(StatusCaption caption) = 0;
    virtual void progress(const Progress& progress) = 0;
    // The canvas may have been drawn on: it is painted anew.
    virtual void drawingChanged() = 0;
};

// Runs the encoder and the decoder for the main window on the requests it is
// given, shows what the run reports as it comes, and returns what a run made.
// During a run the window is painted at each new stage and every few dozen
// milliseconds in between; user input waits until the run ends.
class EngineAdapter final : private EncodeReport, private DecodeReport {
public:
    EngineAdapter(RunDisplay& display, MessageBoxes& messageBoxes);

    // "Generera kryptobild" on `surface`, the message sealed with `sealing` when given:
    // what was written, or nothing when a box said why not.
    std::optional<Generation> generate(EncodeRequest request, Canvas& surface,
                                       const std::optional<Sealing>& sealing);
    // "Dekryptera" of `picture`, opening a sealed message with `sealing` when given:
    // what was read, or nothing when a box said why nothing was.
    std::optional<Reading> decrypt(const DecodeRunRequest& request, const Canvas& picture,
                                   const std::optional<Sealing>& sealing);

    bool running() const { return running_; }

private:
    class RunScope;
    enum class PaintWhen { Now, Due };

    // Both runs.
    void caption(StatusCaption caption) override;
    void progress(const Progress& progress) override;
    void message(const Message& message) override;
    // The encoder's.
    void shiftChanged(int shift) override;
    void messageWritten(const EncodeResult& result) override;
    // The decoder's.
    void started() override;
    void decoded(const std::vector<std::string>& listLines, const std::string& text) override;
    void clockStopped() override;

    void keepPainted(PaintWhen when);
    std::optional<Reading> decryptSealed(const DecodeRunRequest& request, const Canvas& picture,
                                         const Sealing& sealing);
    std::optional<Reading> takeReading();

    RunDisplay& display_;
    MessageBoxes& messageBoxes_;
    const EncodeRequest* encoding_ = nullptr; // while the encoder runs
    std::optional<Generation> generation_;    // what it wrote, as it reports it
    bool sealing_ = false;                    // while it writes a sealed message
    std::optional<Reading> reading_;          // what the decoder read, as it reports it
    // From when the message is written or read: notices wait here for the window.
    std::vector<Message>* heldNotices_ = nullptr;

    bool running_ = false;
    QElapsedTimer sincePainted_;
};

} // namespace kvistra
