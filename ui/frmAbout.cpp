#include "frmAbout.h"

#include "ProgramIcon.h"
#include "core/MessageCatalogue.h"
#include "core/Version.h"
#include "system/SystemInformation.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/X11TaskList.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace kvistra {

namespace {

// The blanks put the second sentence on a line of its own.
const char* const kDescription =
    "Kvistra är ett program för att kryptera data och sedan spara datat som en bitmapsbild."
    "                  "
    "Programmet är utvecklat och skrivet under ca 2 veckor.";

const char* const kDisclaimer =
    "Texten skyddas bara av nyckeln. Programmet lämnas som det är, utan garantier.";

// The buttons stand over the disclaimer's right end; its words stop short of them.
constexpr int kDisclaimerClearOfButtons = 22;

constexpr int kLineY = 128;
constexpr int kLineLeft = 6;
constexpr int kLineWidth = 338;

QLabel* labelAt(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// One element of the etched separator: a flat band of one colour.
void lineAt(QWidget* parent, const char* name, int height, const QColor& colour) {
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(kLineLeft, kLineY, kLineWidth, height);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
}

QPushButton* buttonAt(QWidget* parent, const char* name, const char* caption,
                      const QRect& geometry) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace

frmAbout::frmAbout(Registry& registry, ProgramStarter& programs, MessageBoxes& messageBoxes,
                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , registry_(registry)
    , programs_(programs)
    , messageBoxes_(messageBoxes) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);
    // The dialog is laid out for an 8-point font: the description's run of blanks
    // then carries its second sentence onto a line of its own.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    createControls();
    Form_Load();

    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    setListedInTaskList(*this, false);
}

void frmAbout::createControls() {
    picIcon = labelAt(this, "picIcon", {16, 16, 36, 36});
    picIcon->setPixmap(QPixmap(QString::fromLatin1(kAboutPicturePath)));
    picIcon->setAlignment(Qt::AlignCenter);

    lblTitle = labelAt(this, "lblTitle", {70, 16, 259, 24});
    lblTitle->setText(QStringLiteral("Kvistra, Brennvik"));
    lblVersion = labelAt(this, "lblVersion", {72, 40, 259, 15});
    lblVersion->setText(QStringLiteral("Version 1.0"));
    lblDescription = labelAt(this, "lblDescription", {16, 64, 259, 54});
    lblDescription->setWordWrap(true);
    lblDescription->setText(QString::fromUtf8(kDescription));

    // White under grey: the grey line looks cut into the dialog.
    lineAt(this, "Line1_0", 2, Qt::white);
    lineAt(this, "Line1_1", 1, QColor(128, 128, 128));

    lblDisclaimer = labelAt(this, "lblDisclaimer", {16, 144, 258, 47});
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setContentsMargins(0, 0, kDisclaimerClearOfButtons, 0);
    lblDisclaimer->setText(QString::fromUtf8(kDisclaimer));

    // Enter and Esc alike press OK; it comes first in the tab order.
    cmdOK = buttonAt(this, "cmdOK", "OK", {256, 136, 84, 23});
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    cmdSysInfo = buttonAt(this, "cmdSysInfo", "&System Info...", {256, 168, 83, 23});
    cmdSysInfo->setAutoDefault(false);
    setTabOrder(cmdOK, cmdSysInfo);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load() {
    const QString title = QString::fromLatin1(kApplicationTitle);
    setWindowTitle(QStringLiteral("Om ") + title);
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(kVersionMajor)
                            .arg(kVersionMinor)
                            .arg(kVersionRevision));
    lblTitle->setText(title + QStringLiteral(", Brennvik"));
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo(registry_, programs_,
                 [this](const Message& message) { return messageBoxes_.show(describe(message)); });
}

} // namespace kvistra
