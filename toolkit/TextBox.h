// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <string>

namespace kvistra {

// A multi-line text box that hands the program its text with CR LF line breaks
// (UTF-8), and shows CR LF in a text the program puts there as a line break.
// Tab and Ctrl+Tab move the keyboard focus on, as Shift+Tab moves it back; a tab
// character comes in only by pasting. Its frame shows when it has the keyboard
// focus, as the other controls show it, not by the caret alone.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    std::string programText() const;
    void setProgramText(const std::string& text);
    // Adds at the end and leaves the caret there, showing the end.
    void appendProgramText(const std::string& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace kvistra
