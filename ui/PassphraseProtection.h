// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Sealing.h"

#include <optional>

class QCheckBox;
class QLabel;

namespace kvistra {

class MessageBoxes;
class PassphrasePrompt;

// Whether the window seals its message with a passphrase: the check box next to
// the generate and decrypt commands, the sign shown while it is on, and the
// passphrase dialog.
class PassphraseProtection {
public:
    PassphraseProtection(QCheckBox& check, QLabel& sign, PassphrasePrompt& prompt,
                         MessageBoxes& messageBoxes);

    bool on() const;
    // The passphrase to write with (typed twice) or to read with, and how the
    // message is sealed. Nullopt when the user cancels, or when the typing is
    // refused, which a message box says.
    std::optional<Sealing> ask(bool writing);

private:
    QCheckBox& check_;
    PassphrasePrompt& prompt_;
    MessageBoxes& messageBoxes_;
};

} // namespace kvistra
