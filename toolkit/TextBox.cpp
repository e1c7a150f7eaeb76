// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextBox.h"

#include "FocusFrame.h"
#include "words/ShownText.h"

#include <QKeyEvent>
#include <QTextCursor>

namespace kvistra {

TextBox::TextBox(QWidget* parent)
    : QPlainTextEdit(parent) {
    // A typed tab would go unseen into the message.
    setTabChangesFocus(true);
}

bool TextBox::event(QEvent* event) {
    // The frame is painted here; the text is the viewport's.
    const bool handled = QPlainTextEdit::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        paintFocusFrame(*this, frameRect(), frameWidth());
    }
    return handled;
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    // A tab gets here with Ctrl held (the toolkit moves the focus on a plain Tab
    // only) or when there is no other control to go to; it is never typed.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        if (event->modifiers() & Qt::ControlModifier) {
            focusNextPrevChild(event->key() == Qt::Key_Tab &&
                               !(event->modifiers() & Qt::ShiftModifier));
        }
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

std::string TextBox::programText() const {
    // The raw text keeps no-break spaces, which the plain text turns into spaces.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return programTextFromShown(raw.toStdString());
}

void TextBox::setProgramText(const std::string& text) {
    setPlainText(QString::fromStdString(shownFromProgramText(text)));
}

void TextBox::appendProgramText(const std::string& text) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromStdString(shownFromProgramText(text)));
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace kvistra
