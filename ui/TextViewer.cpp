// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextViewer.h"

#include "core/LineMarkers.h"
#include "io/PendingFile.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace kvistra {

TextViewer::TextViewer(MessageBoxes& messageBoxes, FilePrompt& filePrompt,
                       const QWidget& mainWindow)
    : ToolWindow(mainWindow)
    , messageBoxes_(messageBoxes)
    , saveDialog_(filePrompt, "") {
    setObjectName(QStringLiteral("Visningsform"));
    setWindowTitle(QStringLiteral("Visningsfönster"));

    auto* client = new QWidget;
    // `Visning`: the decrypted text, editable.
    textBox_ = new TextBox(client);
    textBox_->setObjectName(QStringLiteral("Visning"));
    textBox_->setAccessibleName(QStringLiteral("Dekrypterad text"));
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setGeometry(kMargin, kMargin, kClientWidth - kMargin, kClientHeight - kMargin);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    createMenus();
    setFixedSize(sizeHint());
}

void TextViewer::createMenus() {
    // `mnuVisningArkiv`
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&Arkiv"));
    fileMenu->setObjectName(QStringLiteral("mnuVisningArkiv"));
    const auto item = [&](const char* name, const QString& caption, auto slot) {
        QAction* action = fileMenu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
    };
    const auto separator = [&](const char* name) {
        fileMenu->addSeparator()->setObjectName(QLatin1String(name));
    };
    item("mnuSave", QStringLiteral("&Spara"), &TextViewer::onSave);
    item("mnuSaveAs", QStringLiteral("Spara s&om"), &TextViewer::onSaveAs);
    separator("mnuVBorder");
    item("mnuClearTextBox", QStringLiteral("&Rensa textruta"), &TextViewer::onClearText);
    separator("mnuVBorder2");
    item("mnuVAvsluta", QStringLiteral("&Avsluta"), &TextViewer::onExit);
}

void TextViewer::open(const std::string& decryptedText) {
    if (!isVisible()) {
        decryptedText_ = decryptedText;
        load();
    }
    bringToFront();
}

void TextViewer::load() {
    fillText();
}

void TextViewer::fillText() {
    textBox_->appendProgramText(lineBreaksFromMarkers(decryptedText_));
}

void TextViewer::closeEvent(QCloseEvent* event) {
    // Unloaded: the next opening shows the decrypted text afresh.
    textBox_->clear();
    QMainWindow::closeEvent(event);
}

void TextViewer::onSaveAs() {
    fileName_ = saveDialog_.showSave();
    if (!fileName_.empty()) {
        saveTo(fileName_);
    }
}

void TextViewer::onSave() {
    if (fileName_.empty()) {
        onSaveAs();
        return;
    }
    saveTo(fileName_);
}

void TextViewer::saveTo(const std::string& path) {
    // A text file of this platform: UTF-8, each line ended by LF.
    const std::string text = textBox_->programText() + "\r\n";
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            bytes += text[i];
        }
    }
    if (const Status written = writeFileAtomically(path, bytes); !written) {
        messageBoxes_.show(describe(written.problem()));
    }
}

void TextViewer::onClearText() {
    textBox_->clear();
}

void TextViewer::onExit() {
    close();
}

} // namespace kvistra
