#pragma once

#include <QPlainTextEdit>
#include <string>

namespace kvistra {

// A multi-line text box that hands the program its text with CR LF line breaks
// (UTF-8), and shows CR LF in a text the program puts there as a line break.
class TextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr);

    std::string programText() const;
    void setProgramText(const std::string& text);
    // Adds at the end and leaves the caret there, showing the end.
    void appendProgramText(const std::string& text);
};

} // namespace kvistra
