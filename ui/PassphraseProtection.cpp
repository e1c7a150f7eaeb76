// SPDX-License-Identifier: GPL-3.0-or-later
#include "PassphraseProtection.h"

#include "core/SealedMessage.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PassphrasePrompt.h"
#include "words/MessageCatalogue.h"

#include <QCheckBox>
#include <QLabel>

namespace kvistra {

PassphraseProtection::PassphraseProtection(QCheckBox& check, QLabel& sign, PassphrasePrompt& prompt,
                                           MessageBoxes& messageBoxes)
    : check_(check)
    , prompt_(prompt)
    , messageBoxes_(messageBoxes) {
    sign.setVisible(check.isChecked());
    QObject::connect(&check, &QCheckBox::toggled, &sign, &QLabel::setVisible);
    // The message typed is to be sealed: it lives in the text box, beyond our locks.
    QObject::connect(&check, &QCheckBox::toggled, [](bool on) {
        if (on) {
            keepSecretsFromCoreDumps();
        }
    });
}

bool PassphraseProtection::on() const {
    return check_.isChecked();
}

std::optional<Sealing> PassphraseProtection::ask(bool writing) {
    keepSecretsFromCoreDumps();
    std::optional<PassphraseAnswer> answer = prompt_.ask(writing);
    if (!answer) {
        return std::nullopt;
    }
    if (const Status refusal =
            checkPassphrase(answer->passphrase, writing ? &answer->repeated : nullptr);
        !refusal) {
        messageBoxes_.show(describe(refusal.problem()));
        return std::nullopt;
    }
    return Sealing{std::move(answer->passphrase), prompt_.setting()};
}

} // namespace kvistra
