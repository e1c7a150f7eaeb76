#include "Visningsform.h"

#include "core/LineMarkers.h"
#include "core/MessageCatalogue.h"
#include "io/PendingFile.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/TextBox.h"

#include <QCloseEvent>
#include <QMenuBar>

namespace kvistra {

Visningsform::Visningsform(MessageBoxes& messageBoxes, FilePrompt& filePrompt,
                           const QWidget& mainWindow)
    : ToolWindow(mainWindow)
    , messageBoxes_(messageBoxes)
    , Visningcmdlg(filePrompt, "") {
    setObjectName(QStringLiteral("Visningsform"));
    setWindowTitle(QStringLiteral("Visningsfönster"));

    auto* client = new QWidget;
    Visning = new TextBox(client);
    Visning->setObjectName(QStringLiteral("Visning"));
    Visning->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Visning->setGeometry(kMargin, kMargin, kClientWidth - kMargin, kClientHeight - kMargin);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    createMenus();
    setFixedSize(sizeHint());
}

void Visningsform::createMenus() {
    QMenu* mnuVisningArkiv = menuBar()->addMenu(QStringLiteral("Arkiv"));
    mnuVisningArkiv->setObjectName(QStringLiteral("mnuVisningArkiv"));
    const auto item = [&](const char* name, const QString& caption, auto slot) {
        QAction* action = mnuVisningArkiv->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, slot);
    };
    const auto separator = [&](const char* name) {
        mnuVisningArkiv->addSeparator()->setObjectName(QLatin1String(name));
    };
    item("mnuSave", QStringLiteral("Spara"), &Visningsform::mnuSave_Click);
    item("mnuSaveAs", QStringLiteral("Spara som"), &Visningsform::mnuSaveAs_Click);
    separator("mnuVBorder");
    item("mnuClearTextBox", QStringLiteral("Rensa textruta"), &Visningsform::mnuClearTextBox_Click);
    separator("mnuVBorder2");
    item("mnuVAvsluta", QStringLiteral("Avsluta"), &Visningsform::mnuVAvsluta_Click);
}

void Visningsform::open(const std::string& decryptedText) {
    if (!isVisible()) {
        VisningText = decryptedText;
        Form_Load();
    }
    bringToFront();
}

void Visningsform::Form_Load() {
    FillVisning();
}

void Visningsform::FillVisning() {
    Visning->appendProgramText(lineBreaksFromMarkers(VisningText));
}

void Visningsform::closeEvent(QCloseEvent* event) {
    // Unloaded: the next opening shows the decrypted text afresh.
    Visning->clear();
    QMainWindow::closeEvent(event);
}

void Visningsform::mnuSaveAs_Click() {
    VisningFileName = Visningcmdlg.showSave();
    if (!VisningFileName.empty()) {
        saveTo(VisningFileName);
    }
}

void Visningsform::mnuSave_Click() {
    if (VisningFileName.empty()) {
        mnuSaveAs_Click();
        return;
    }
    saveTo(VisningFileName);
}

void Visningsform::saveTo(const std::string& path) {
    // A text file of this platform: UTF-8, each line ended by LF.
    const std::string text = Visning->programText() + "\r\n";
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

void Visningsform::mnuClearTextBox_Click() {
    Visning->clear();
}

void Visningsform::mnuVAvsluta_Click() {
    close();
}

} // namespace kvistra
