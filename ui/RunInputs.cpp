// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunInputs.h"

#include "KeyFields.h"
#include "MainWindowControls.h"
#include "PassphraseProtection.h"
#include "core/SealedMessage.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"

#include <QCheckBox>

namespace kvistra {

std::optional<RunInput<EncodeRequest>> generationInput(const MainWindowControls& controls,
                                                       const KeyFields& fields,
                                                       PassphraseProtection& protection,
                                                       MessageBoxes& messageBoxes) {
    RunInput<EncodeRequest> input{{{},
                                   fields.wholeKey(KeyField::XKey),
                                   fields.wholeKey(KeyField::YKey),
                                   fields.shift(),
                                   controls.adaptCheck->isChecked()},
                                  std::nullopt};
    Result<std::string> bytes = messageBytesOf(controls.inputBox->programText());
    if (!bytes) {
        messageBoxes.show(describe(bytes.problem()));
        return std::nullopt;
    }
    input.request.message = std::move(*bytes);
    if (!protection.on()) {
        return input;
    }
    // Whether it fits is told before the passphrase is asked for.
    if (const Status fits = checkSealedFits(controls.canvas->image(), input.request); !fits) {
        messageBoxes.show(describe(fits.problem()));
        return std::nullopt;
    }
    input.sealing = protection.ask(true);
    if (!input.sealing) {
        return std::nullopt;
    }
    return input;
}

std::optional<RunInput<DecodeRunRequest>> decryptionInput(const KeyFields& fields,
                                                          PassphraseProtection& protection) {
    RunInput<DecodeRunRequest> input{fields.readingRequest(), std::nullopt};
    if (!protection.on()) {
        return input;
    }
    input.sealing = protection.ask(false);
    if (!input.sealing) {
        return std::nullopt;
    }
    return input;
}

} // namespace kvistra
