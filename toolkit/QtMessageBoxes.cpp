// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtMessageBoxes.h"

#include "core/MessageBoxStyle.h"
#include "words/ShownText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kvistra {

namespace {

QMessageBox::Icon iconFor(int style) {
    switch (MessageBoxStyle::iconOf(style)) {
    case MessageBoxStyle::Error:
        return QMessageBox::Critical;
    case MessageBoxStyle::Question:
        return QMessageBox::Question;
    case MessageBoxStyle::Warning:
        return QMessageBox::Warning;
    case MessageBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct Button {
    QMessageBox::StandardButton button;
    const char* caption;
    int answer;
};

} // namespace

int QtMessageBoxes::show(const MessageBoxText& box) {
    const QString title = QString::fromStdString(box.title.empty() ? kApplicationTitle : box.title);
    QMessageBox dialog(iconFor(box.style), title,
                       QString::fromStdString(shownFromProgramText(box.text)),
                       QMessageBox::NoButton, QApplication::activeWindow());

    const Button ok{QMessageBox::Ok, "OK", MessageBoxAnswer::Ok};
    const Button cancel{QMessageBox::Cancel, "&Avbryt", MessageBoxAnswer::Cancel};
    const Button yes{QMessageBox::Yes, "&Ja", MessageBoxAnswer::Yes};
    const Button no{QMessageBox::No, "&Nej", MessageBoxAnswer::No};
    std::vector<Button> buttons;
    switch (MessageBoxStyle::buttonsOf(box.style)) {
    case MessageBoxStyle::OkCancel:
        buttons = {ok, cancel};
        break;
    case MessageBoxStyle::YesNo:
        buttons = {yes, no};
        break;
    case MessageBoxStyle::YesNoCancel:
        buttons = {yes, no, cancel};
        break;
    default:
        buttons = {ok};
        break;
    }
    for (const Button& button : buttons) {
        dialog.addButton(button.button)->setText(QString::fromUtf8(button.caption));
    }
    const bool second = MessageBoxStyle::secondIsDefault(box.style) && buttons.size() > 1;
    dialog.setDefaultButton((second ? buttons[1] : buttons.front()).button);
    if (box.style & MessageBoxStyle::SystemModal) {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    }

    const auto clicked = static_cast<QMessageBox::StandardButton>(dialog.exec());
    for (const Button& button : buttons) {
        if (button.button == clicked) {
            return button.answer;
        }
    }
    // Closed without a button: the escape answer, Cancel or No where there is one.
    return buttons.size() > 1 ? buttons.back().answer : buttons.front().answer;
}

} // namespace kvistra
