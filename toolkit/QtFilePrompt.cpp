// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtFilePrompt.h"

#include <QApplication>
#include <QFileDialog>

namespace kvistra {

std::string QtFilePrompt::ask(FileDialogMode mode, const std::string& suggestedName,
                              const std::string& defaultExtension) {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setFileMode(QFileDialog::AnyFile);
    if (mode == FileDialogMode::Open) {
        // Any name goes back as chosen, and a missing file is reported when it is
        // opened: the dialog object adds the default extension only to a name that
        // does not exist, where the toolkit would add it to every name without one
        // and take "nyckel" for "nyckel.txt".
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The toolkit's own here, so that it asks before replacing that file.
        dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    }
    // Words the toolkit's Swedish catalogue lacks.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Leta i:"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Avbryt"));
    if (!suggestedName.empty()) {
        dialog.selectFile(QString::fromStdString(suggestedName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace kvistra
