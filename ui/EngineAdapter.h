// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/Seal.h"
#include "core/SecretBytes.h"
#include "core/SecureRandom.h"

#include <QElapsedTimer>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace kvistra {

class KeyFields;
class MainWindowControls;
class MessageBoxes;
class PassphraseProtection;

// What a generation wrote: the window keeps the message and shows the key values.
struct Generation {
    std::string message; // as written into the picture, Windows-1252
    int readingLength = 0;
    std::optional<KeyPosition> key; // an adapted run's
    std::optional<int> shift;       // when the analysis changed it, or the message was sealed
    // What the encoder said once the message was written, for after the key values show.
    std::vector<Message> notices;
};

// Runs the encoder and the decoder for the main window: reads the fields once,
// shows what the run reports as it comes, and returns what a generation wrote.
// During a run the window is painted at each new stage and every few dozen
// milliseconds in between; user input waits until the run ends.
class EngineAdapter final : private EncodeReport, private DecodeReport {
public:
    EngineAdapter(QWidget& window, const MainWindowControls& controls, const KeyFields& fields,
                  MessageBoxes& messageBoxes);

    // "Generera kryptobild", the message sealed when `protection` is on: what was
    // written, or nothing when a box said why not.
    std::optional<Generation> generate(PassphraseProtection& protection);
    // "Dekryptera": the reading length read, when the run got that far. With the
    // protection on, the text and list show the opened message, or nothing changes.
    std::optional<std::int16_t> decrypt(PassphraseProtection& protection);

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
    // Puts the sealed characters in the request's place; false when nothing is to be written.
    bool seal(EncodeRequest& request, PassphraseProtection& protection);
    std::optional<std::int16_t> decryptSealed(const DecodeRunRequest& request,
                                              const SecretBytes& passphrase, SealSetting strongest);

    QWidget& window_;
    const MainWindowControls& controls_;
    const KeyFields& fields_;
    MessageBoxes& messageBoxes_;
    SecureRandom random_;
    const EncodeRequest* encoding_ = nullptr; // while the encoder runs
    std::optional<Generation> generation_;    // what it wrote, as it reports it
    bool written_ = false;                    // from when the message is in the picture
    bool sealing_ = false;                    // while it writes a sealed message

    bool running_ = false;
    QElapsedTimer sincePainted_;
};

} // namespace kvistra
