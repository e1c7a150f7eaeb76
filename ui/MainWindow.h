// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Message.h"
#include "core/Result.h"
#include "toolkit/FileDialog.h"
#include "toolkit/SystemServices.h"
#include "ui/WorkInHand.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvistra {

class AboutDialog;
class EngineAdapter;
class KeyFields;
class KeyFileCommands;
class MainWindowControls;
class MessageBoxes;
class PassphrasePrompt;
class PassphraseProtection;
class PictureFileCommands;
class TextViewer;
class WindowRunDisplay;
class ZoomWindow;

// `Kvistra`, the main window: message input, key fields, the canvas, the decoded
// output, the progress bar and the clock. Its caption is the status line.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(MessageBoxes& messageBoxes, FilePrompt& filePrompt, SystemServices system,
               PassphrasePrompt& passphrasePrompt, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The files named when the program was started, opened as "öppna bild" and
    // "Öppna nyckelfil..." open them; an empty key file name opens none.
    void openStartFiles(const std::string& picture, const std::string& keyFile);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Every command runs through here: memory running out stops it with a box.
    void guarded(const std::function<void()>& command);
    template <class Sender, class Signal>
    void onCommand(Sender* sender, Signal signal, std::function<void()> command);
    template <class Sender, class Signal>
    void onCommand(Sender* sender, Signal signal, void (MainWindow::*command)());
    // Shows the problem of a failed step; whether the step was done.
    template <class T> bool done(const Result<T>& step) {
        if (!step) {
            showMessage(step.problem());
        }
        return step.ok();
    }

    void onClockTick();
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
    void showInTaskList(bool shown);
    void onAboutProgram();
    void onDisplaySettings();
    // The message, the key fields, the canvas or the mode changed.
    void onRoomChanged();
    void onReadingPlaceChanged();

    void connectControls();
    void createMenus();
    void loadDefaults();

    void openDroppedFiles(const std::vector<std::string>& names);
    // The picture of the last generation, or its key values, not saved since:
    // the user chooses to save first, go on, or stay (false).
    bool confirmLosingWork();

    int showMessage(const Message& message);

    MessageBoxes& messageBoxes_;
    FilePrompt& filePrompt_;
    SystemServices system_;

    WorkInHand work_;
    // "Avsluta" has asked already; the close that follows does not ask again.
    bool exiting_ = false;

    std::unique_ptr<MainWindowControls> controls_;
    std::unique_ptr<KeyFields> fields_;
    std::unique_ptr<WindowRunDisplay> display_;
    std::unique_ptr<EngineAdapter> engine_;
    std::unique_ptr<PassphraseProtection> protection_;
    std::unique_ptr<PictureFileCommands> pictures_;
    std::unique_ptr<KeyFileCommands> keys_;

    // Created when first shown; each exists once.
    std::unique_ptr<TextViewer> viewer_;
    std::unique_ptr<ZoomWindow> zoom_;
    // Deletes itself when closed; the next opening creates it anew.
    QPointer<AboutDialog> about_;
};

} // namespace kvistra
