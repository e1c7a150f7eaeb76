// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutDialog.h"

#include "ProgramIcon.h"
#include "core/Version.h"
#include "system/SystemInformation.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/X11TaskList.h"
#include "words/MessageCatalogue.h"

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

AboutDialog::AboutDialog(Registry& registry, ProgramStarter& programs, MessageBoxes& messageBoxes,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , registry_(registry)
    , programs_(programs)
    , messageBoxes_(messageBoxes) {
    // `frmAbout`
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);
    // The dialog is laid out for an 8-point font: the description's run of blanks
    // then carries its second sentence onto a line of its own.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    createControls();
    showTitleAndVersion();

    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    setListedInTaskList(*this, false);
}

void AboutDialog::createControls() {
    // `picIcon`
    iconLabel_ = labelAt(this, "picIcon", {16, 16, 36, 36});
    iconLabel_->setPixmap(QPixmap(QString::fromLatin1(kAboutPicturePath)));
    iconLabel_->setAlignment(Qt::AlignCenter);

    // `lblTitle`
    titleLabel_ = labelAt(this, "lblTitle", {70, 16, 259, 24});
    // `lblVersion`
    versionLabel_ = labelAt(this, "lblVersion", {72, 40, 259, 15});
    // `lblDescription`
    descriptionLabel_ = labelAt(this, "lblDescription", {16, 64, 259, 54});
    descriptionLabel_->setWordWrap(true);
    descriptionLabel_->setText(QString::fromUtf8(kDescription));

    // White under grey: the grey line looks cut into the dialog.
    lineAt(this, "Line1_0", 2, Qt::white);
    lineAt(this, "Line1_1", 1, QColor(128, 128, 128));

    // `lblDisclaimer`
    disclaimerLabel_ = labelAt(this, "lblDisclaimer", {16, 144, 258, 47});
    disclaimerLabel_->setWordWrap(true);
    disclaimerLabel_->setContentsMargins(0, 0, kDisclaimerClearOfButtons, 0);
    disclaimerLabel_->setText(QString::fromUtf8(kDisclaimer));

    // `cmdOK`. Enter and Esc alike press it; it comes first in the tab order.
    okButton_ = buttonAt(this, "cmdOK", "OK", {256, 136, 84, 23});
    okButton_->setDefault(true);
    okButton_->setFocus();
    // `cmdSysInfo`: starts the system-information program.
    systemInfoButton_ = buttonAt(this, "cmdSysInfo", "&System Info...", {256, 168, 83, 23});
    systemInfoButton_->setAutoDefault(false);
    setTabOrder(okButton_, systemInfoButton_);

    connect(okButton_, &QPushButton::clicked, this, &AboutDialog::onOkClicked);
    connect(systemInfoButton_, &QPushButton::clicked, this, &AboutDialog::onSystemInfoClicked);
}

void AboutDialog::showTitleAndVersion() {
    const QString title = QString::fromLatin1(kApplicationTitle);
    setWindowTitle(QStringLiteral("Om ") + title);
    versionLabel_->setText(QStringLiteral("Version %1.%2.%3")
                               .arg(kVersionMajor)
                               .arg(kVersionMinor)
                               .arg(kVersionRevision));
    titleLabel_->setText(title + QStringLiteral(", Brennvik"));
}

void AboutDialog::onOkClicked() {
    close();
}

void AboutDialog::onSystemInfoClicked() {
    startSystemInformation(registry_, programs_, [this](const Message& message) {
        return messageBoxes_.show(describe(message));
    });
}

} // namespace kvistra
