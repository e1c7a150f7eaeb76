#pragma once

#include "ToolWindow.h"
#include "toolkit/FileDialog.h"

#include <string>

namespace kvistra {

class MessageBoxes;
class TextBox;

// "Visningsfönster": the decrypted text with its line ends restored, editable,
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

    const std::string& fileName() const { return VisningFileName; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void mnuSave_Click();
    void mnuSaveAs_Click();
    void mnuClearTextBox_Click();
    void mnuVAvsluta_Click();

private:
    void createMenus();
    void Form_Load();
    void FillVisning();
    void saveTo(const std::string& path);

    MessageBoxes& messageBoxes_;
    FileDialog Visningcmdlg;
    std::string VisningText;
    std::string VisningFileName;

    TextBox* Visning = nullptr;
};

} // namespace kvistra
