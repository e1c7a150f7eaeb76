#pragma once

#include "core/ClockSeededRandom.h"
#include "core/Colour.h"
#include "core/ProgramWideValues.h"
#include "core/WindowHost.h"
#include "toolkit/FileDialog.h"
#include "toolkit/SystemServices.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace kvistra {

class Granskning;
class frmAbout;
class ListBox;
class MessageBoxes;
class PictureBox;
class ProgressBar;
class TextBox;
class Visningsform;

// The main window: message input, key fields, the canvas, the decoded output,
// the progress bar and the clock. Its caption is the status line.
class Kvistra : public QMainWindow, private WindowHost {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 737;
    static constexpr int kClientHeight = 521;

    Kvistra(ProgramWideValues& shared, MessageBoxes& messageBoxes, FilePrompt& filePrompt,
            SystemServices system, QWidget* parent = nullptr);
    ~Kvistra() override;

    std::int16_t readLength() const { return ReadLength; }
    Colour pointerColor() const { return PointerColor; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void Timer1_Timer();
    void Combo1_Change();
    void Combo2_Change();
    void Stepping_Change();
    void Text4_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Picture1_DblClick();
    void Picture1_MouseMove(float x, float y);
    void OpenPicture_Click();
    void SavePicture_Click();
    void mnuOpenKeyFile_Click();
    void mnuSaveKeyFile_Click();
    void mnuInsertTextFile_Click();
    void mnuAvsluta_Click();
    void mnuShowActive_Click();
    void mnuHideActive_Click();
    void mnuAboutApp_Click();
    void mnuAboutMe_Click();
    void mnuAboutSystemOption_Click();
    void mnuHelpingMan_Click();

private:
    // WindowHost, for the encoder and the decoder.
    std::string text(Field field) const override;
    void setText(Field field, const std::string& text) override;
    bool adaptTicked() const override;
    NumberLocale numberLocale() const override;
    void setCaption(const std::string& caption) override;
    void setProgress(const Progress& progress) override;
    int showMessage(const Message& message) override;
    void clearList() override;
    void appendListLines(const std::vector<std::string>& lines) override;
    void setClockRunning(bool running) override;

    void createControls();
    void createMenus();
    void layOutControls();
    void Form_Load();

    // A name from the picture dialog; an empty one is reported.
    std::string choosePictureFile(FileDialogMode mode);
    // A name from the key-file dialog, remembered as the current file name.
    std::string chooseKeyDialogFile(FileDialogMode mode);
    void checkField(Field field);
    // A key, shift or reading-length field's text, not checked.
    void putFieldText(Field field, const std::string& text);
    // Saving a canvas that shows only part of the opened picture over that
    // picture's own file loses the rest: the user is asked first.
    bool confirmSavingPart(const std::string& name);
    QComboBox* comboOf(Field field) const;
    TextBox* textBoxOf(Field field) const;
    // During a run the window is painted at each new stage and every few dozen
    // milliseconds in between; user input waits until the run ends.
    enum class PaintWhen { Now, Due };
    void keepPainted(PaintWhen when);

    class RunScope;

    ProgramWideValues& shared_;
    MessageBoxes& messageBoxes_;
    FilePrompt& filePrompt_;
    SystemServices system_;
    FileDialog KeyCmdlg;
    FileDialog cmdlg;
    ClockSeededRandom random_;

    // Window-level values.
    std::int16_t ReadLength = 0;
    std::int16_t Red = 0;
    std::int16_t Green = 0;
    std::int16_t Blue = 0;
    Colour PointerColor = 0;
    // The file the canvas's picture was last opened from.
    std::string openedPicture_;

    bool running_ = false;
    QElapsedTimer sincePainted_;

    QLabel* Label7 = nullptr;
    TextBox* Text1 = nullptr;
    QLabel* Tid = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Stepping = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* OpenPicture = nullptr;
    QPushButton* SavePicture = nullptr;
    QLabel* Label8 = nullptr;
    TextBox* Text2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel* Label6 = nullptr;
    ListBox* List1 = nullptr;
    PictureBox* Picture1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command1 = nullptr;
    QCheckBox* Anpassa = nullptr;
    ProgressBar* Bar = nullptr;
    QLabel* Label5 = nullptr;
    TextBox* Text3 = nullptr;
    QTimer* Timer1 = nullptr;

    // Created when first shown; each exists once.
    std::unique_ptr<Visningsform> viewer_;
    std::unique_ptr<Granskning> zoom_;
    // Deletes itself when closed; the next opening creates it anew.
    QPointer<frmAbout> about_;
};

} // namespace kvistra
