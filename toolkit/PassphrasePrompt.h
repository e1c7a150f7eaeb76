// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Seal.h"
#include "core/SecretBytes.h"

#include <optional>

namespace kvistra {

// What the passphrase dialog gave: the passphrase, and a second typing of it
// when one was asked for (empty otherwise).
struct PassphraseAnswer {
    SecretBytes passphrase;
    SecretBytes repeated;
};

// The passphrase dialog, behind an interface so that tests script the answers.
class PassphrasePrompt {
public:
    virtual ~PassphrasePrompt() = default;

    // Nullopt when the user cancels. With `repeat`, the passphrase is asked twice.
    virtual std::optional<PassphraseAnswer> ask(bool repeat) = 0;
    // What deriving a key from the answer costs; tests take the quick setting.
    virtual SealSetting setting() const { return SealSetting::Standard; }
};

} // namespace kvistra
