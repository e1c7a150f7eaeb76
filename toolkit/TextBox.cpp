#include "TextBox.h"

#include "core/ShownText.h"

#include <QKeyEvent>
#include <QTextCursor>

namespace kvistra {

TextBox::TextBox(QWidget* parent)
    : QPlainTextEdit(parent) {
    // A typed tab would go unseen into the message.
    setTabChangesFocus(true);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    // The toolkit moves the focus on a plain Tab only; with Ctrl held the box
    // would take it as a character.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier)) {
        const bool back =
            event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        focusNextPrevChild(!back);
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
