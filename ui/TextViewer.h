// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ToolWindow.h"
#include "toolkit/FileDialog.h"

#include <string>

namespace kvistra {

class MessageBoxes;
class TextBox;

// `Visningsform`, "Visningsfönster": the decrypted text with its line ends restored, editable,
// and saved as a UTF-8 text file with LF line ends. Closing unloads the window's text;
// the file name chosen with "Spara som" is kept for the program's run.
class TextViewer : public ToolWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 600;
    static constexpr int kClientHeight = 400;

    // First shown beside the main window.
    TextViewer(MessageBoxes& messageBoxes, FilePrompt& filePrompt, const QWidget& mainWindow);

    // Loads the text when the window is not open, then brings it to the front.
    void open(const std::string& decryptedText);

    const std::string& fileName() const { return fileName_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onSave();
    void onSaveAs();
    void onClearText();
    void onExit();

private:
    void createMenus();
    void load();
    void fillText();
    void saveTo(const std::string& path);

    MessageBoxes& messageBoxes_;
    FileDialog saveDialog_;
    std::string decryptedText_;
    std::string fileName_;

    TextBox* textBox_ = nullptr;
};

} // namespace kvistra
