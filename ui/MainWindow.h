#pragma once

#include "core/Colour.h"
#include "core/Message.h"
#include "toolkit/FileDialog.h"
#include "toolkit/SystemServices.h"
#include "ui/ProgramWideValues.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

namespace kvistra {

class AboutDialog;
class EngineAdapter;
class KeyFields;
class MainWindowControls;
class MessageBoxes;
class PassphrasePrompt;
class PassphraseProtection;
class TextViewer;
class ZoomWindow;

// `Kvistra`, the main window: message input, key fields, the canvas, the decoded
// output, the progress bar and the clock. Its caption is the status line.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(ProgramWideValues& shared, MessageBoxes& messageBoxes, FilePrompt& filePrompt,
               SystemServices system, PassphrasePrompt& passphrasePrompt,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    std::int16_t readingLength() const { return readingLength_; }
    Colour pointerColour() const { return pointerColour_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void onClockTick();
    void onYKeyEdited();
    void onXKeyEdited();
    void onShiftEdited();
    void onReadingLengthEdited();
    void onClearAllClicked();
    void onDecryptClicked();
    void onClearCanvasClicked();
    void onGenerateClicked();
    void onShowViewerClicked();
    void onCanvasDoubleClicked();
    void onCanvasMouseMoved(float x, float y);
    void onOpenPictureClicked();
    void onSavePictureClicked();
    void onOpenKeyFile();
    void onSaveKeyFile();
    void onInsertTextFile();
    void onExit();
    void onShowInTaskList();
    void onHideFromTaskList();
    void onAboutProgram();
    void onAboutProgrammer();
    void onDisplaySettings();
    void onAboutHelper();

private:
    void connectControls();
    void createMenus();
    void loadDefaults();

    int showMessage(const Message& message);
    // A name from the picture dialog; an empty one is reported.
    std::string choosePictureFile(FileDialogMode mode);
    // A name from the key-file dialog, remembered as the current file name.
    std::string chooseKeyDialogFile(FileDialogMode mode);
    // Saving a canvas that shows only part of the opened picture over that
    // picture's own file loses the rest: the user is asked first.
    bool confirmSavingPart(const std::string& name);

    ProgramWideValues& shared_;
    MessageBoxes& messageBoxes_;
    FilePrompt& filePrompt_;
    SystemServices system_;
    FileDialog keyFileDialog_;
    FileDialog pictureDialog_;

    std::int16_t readingLength_ = 0;
    Colour pointerColour_ = 0;
    // The file the canvas's picture was last opened from.
    std::string openedPicture_;

    std::unique_ptr<MainWindowControls> controls_;
    std::unique_ptr<KeyFields> fields_;
    std::unique_ptr<EngineAdapter> engine_;
    std::unique_ptr<PassphraseProtection> protection_;

    // Created when first shown; each exists once.
    std::unique_ptr<TextViewer> viewer_;
    std::unique_ptr<ZoomWindow> zoom_;
    // Deletes itself when closed; the next opening creates it anew.
    QPointer<AboutDialog> about_;
};

} // namespace kvistra
