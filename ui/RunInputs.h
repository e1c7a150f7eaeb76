// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "ui/Sealing.h"

#include <optional>

namespace kvistra {

class KeyFields;
class MainWindowControls;
class MessageBoxes;
class PassphraseProtection;

// What the window hands a run: the request its fields make, and the passphrase
// when the protection is on.
template <class Request> struct RunInput {
    Request request;
    std::optional<Sealing> sealing;
};

// For "Generera kryptobild": the message, the keys as the encoder takes them and
// the adapt mode. Nothing when a box said why not, or the passphrase was cancelled.
std::optional<RunInput<EncodeRequest>> generationInput(const MainWindowControls& controls,
                                                       const KeyFields& fields,
                                                       PassphraseProtection& protection,
                                                       MessageBoxes& messageBoxes);
// For "Dekryptera": the four fields as the decoder reads them. Nothing when the
// passphrase was cancelled or refused.
std::optional<RunInput<DecodeRunRequest>> decryptionInput(const KeyFields& fields,
                                                          PassphraseProtection& protection);

} // namespace kvistra
