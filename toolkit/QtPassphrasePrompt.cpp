// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtPassphrasePrompt.h"

#include "core/Seal.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kvistra {

namespace {

QLineEdit* hiddenField(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(name));
    field->setEchoMode(QLineEdit::Password);
    return field;
}

// The field's text as UTF-8, after which the field's own copy is overwritten:
// the toolkit keeps no other that we can reach. Room for the longest in any
// characters, so that a longer one is told apart from an empty one.
SecretBytes taken(QLineEdit& field) {
    SecretBytes bytes(4 * kLongestPassphrase + 4);
    const QString text = field.text(); // shares the field's buffer
    QByteArray utf8 = text.toUtf8();
    bytes.append(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    wipeBytes(utf8.data(), static_cast<std::size_t>(utf8.size()));
    wipeBytes(const_cast<QChar*>(text.constData()),
              static_cast<std::size_t>(text.size()) * sizeof(QChar));
    field.clear();
    return bytes;
}

} // namespace

std::optional<PassphraseAnswer> QtPassphrasePrompt::ask(bool repeat) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("passphraseDialog"));
    dialog.setWindowTitle(QStringLiteral("Lösenfras"));
    auto* layout = new QFormLayout(&dialog);
    QLineEdit* first = hiddenField("passphrase");
    // One character more than may be used, so that a longer passphrase (pasted, say)
    // is refused after rather than cut short without a word.
    first->setMaxLength(static_cast<int>(kLongestPassphrase) + 1);
    layout->addRow(QStringLiteral("&Lösenfras:"), first);
    QLineEdit* again = nullptr;
    if (repeat) {
        again = hiddenField("passphraseAgain");
        again->setMaxLength(static_cast<int>(kLongestPassphrase) + 1);
        layout->addRow(QStringLiteral("Lösenfras &igen:"), again);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // In Swedish also where the toolkit's translations are missing.
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Avbryt"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);

    const bool accepted = dialog.exec() == QDialog::Accepted;
    PassphraseAnswer answer{taken(*first), again ? taken(*again) : SecretBytes(0)};
    if (!accepted) {
        return std::nullopt;
    }
    return answer;
}

} // namespace kvistra
