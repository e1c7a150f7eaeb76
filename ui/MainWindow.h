// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Colour.h"
#include "core/Message.h"
#include "io/KeyFile.h"
#include "toolkit/FileDialog.h"
#include "toolkit/SystemServices.h"
#include "ui/ProgramWideValues.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

    // The files named when the program was started, opened as "öppna bild" and
    // "Öppna nyckelfil..." open them; an empty key file name opens none.
    void openStartFiles(const std::string& picture, const std::string& keyFile);

    std::int16_t readingLength() const { return readingLength_; }
    Colour pointerColour() const { return pointerColour_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Files dropped anywhere on the window, its text boxes included.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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
    // The message, the key fields, the canvas or the mode changed.
    void onRoomChanged();
    void onReadingPlaceChanged();

private:
    void connectControls();
    void createMenus();
    void loadDefaults();
    void acceptFileDrops();

    // The file commands, from their menu or button, or from a drop.
    void openPicture(const std::string& name);
    void openKeyFile(const std::string& name);
    // A file named outside the dialogs, dropped or given at start: the dialogs go on
    // from its name.
    void openNamedPicture(const std::string& name);
    void openNamedKeyFile(const std::string& name);
    void insertTextFile(const std::string& name);
    // Saved and read back as it should be.
    bool savePictureAs(const std::string& name);
    bool saveKeyFileAs(const std::string& name);
    void openDroppedFiles(const std::vector<std::string>& names);
    // Whether the event carries files to drop; accepts it when it does.
    bool acceptFileDrag(QDropEvent& event) const;

    // The picture of the last generation, or its key values, not saved since:
    // the user chooses to save first, go on, or stay (false).
    bool confirmLosingWork();
    bool saveUnsavedWork();
    void forgetGeneratedPicture();
    // KeyFileForAnotherPicture when the fields hold the opened key file's values and
    // its check does not match the canvas.
    std::optional<Message> keyFileRefusal() const;

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
    // The key file last opened, with the check of its picture's pixels that the
    // command-line tool writes: "Dekryptera" with its values refuses another picture.
    std::optional<KeyFileLines> openedKey_;
    std::string openedKeyName_;
    // The canvas holds the picture of the last generation; what of it is unsaved.
    bool generated_ = false;
    bool pictureUnsaved_ = false;
    bool keyUnsaved_ = false;
    // "Avsluta" has asked already; the close that follows does not ask again.
    bool exiting_ = false;

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
