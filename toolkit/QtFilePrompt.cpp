#include "QtFilePrompt.h"

#include <QApplication>
#include <QFileDialog>

namespace kvistra {

std::string QtFilePrompt::ask(FileDialogMode mode, const std::string& suggestedName,
                              const std::string& defaultExtension) {
    QFileDialog dialog(QApplication::activeWindow());
    if (mode == FileDialogMode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    // Words the toolkit's Swedish catalogue lacks.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Leta i:"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Avbryt"));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (!suggestedName.empty()) {
        dialog.selectFile(QString::fromStdString(suggestedName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace kvistra
