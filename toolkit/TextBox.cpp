#include "TextBox.h"

#include "core/ShownText.h"

#include <QTextCursor>

namespace kvistra {

TextBox::TextBox(QWidget* parent)
    : QPlainTextEdit(parent) {}

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
