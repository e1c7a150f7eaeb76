#include "MainWindow.h"

#include "AboutDialog.h"
#include "EngineAdapter.h"
#include "KeyFields.h"
#include "MainWindowControls.h"
#include "PassphraseProtection.h"
#include "TextViewer.h"
#include "ZoomWindow.h"
#include "core/ColourSplit.h"
#include "core/FieldChecks.h"
#include "core/MessageBoxStyle.h"
#include "core/MessageCatalogue.h"
#include "core/NumericText.h"
#include "core/Windows1252.h"
#include "io/KeyFile.h"
#include "io/PictureFile.h"
#include "io/TextImport.h"
#include "system/DisplayModeSwitch.h"
#include "toolkit/Clock.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/WhileRepainting.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <new>

namespace kvistra {

namespace {
constexpr int kHighestListedShift = 29;
} // namespace

MainWindow::MainWindow(ProgramWideValues& shared, MessageBoxes& messageBoxes,
                       FilePrompt& filePrompt, SystemServices system,
                       PassphrasePrompt& passphrasePrompt, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , shared_(shared)
    , messageBoxes_(messageBoxes)
    , filePrompt_(filePrompt)
    , system_(system)
    , keyFileDialog_(filePrompt, "txt")
    , pictureDialog_(filePrompt, "bmp")
    , controls_(std::make_unique<MainWindowControls>(*this))
    , fields_(std::make_unique<KeyFields>(*controls_, messageBoxes))
    , engine_(std::make_unique<EngineAdapter>(*this, *controls_, *fields_, messageBoxes, shared))
    , protection_(std::make_unique<PassphraseProtection>(
          *controls_->protectCheck, *controls_->protectionSign, passphrasePrompt, messageBoxes)) {
    setObjectName(QStringLiteral("Kvistra"));
    setWindowTitle(QStringLiteral("Kvistra beta ver 1.0"));
    connectControls();
    createMenus();
    setCentralWidget(controls_->client());
    setFixedSize(MainWindowControls::kClientWidth,
                 MainWindowControls::kClientHeight + menuBar()->sizeHint().height());
    controls_->orderTabs();
    loadDefaults();
}

MainWindow::~MainWindow() {
    // An about dialog left open goes with the window that opened it.
    delete about_;
}

void MainWindow::connectControls() {
    const MainWindowControls& c = *controls_;
    connect(c.clock, &QTimer::timeout, this, &MainWindow::onClockTick);
    connect(c.yKeyBox->lineEdit(), &QLineEdit::textEdited, this, &MainWindow::onYKeyEdited);
    connect(c.xKeyBox->lineEdit(), &QLineEdit::textEdited, this, &MainWindow::onXKeyEdited);
    connect(c.shiftBox->lineEdit(), &QLineEdit::textEdited, this, &MainWindow::onShiftEdited);
    connect(c.readingLengthBox, &QLineEdit::textEdited, this, &MainWindow::onReadingLengthEdited);
    connect(c.clearAllButton, &QPushButton::clicked, this, &MainWindow::onClearAllClicked);
    connect(c.decryptButton, &QPushButton::clicked, this, &MainWindow::onDecryptClicked);
    connect(c.clearCanvasButton, &QPushButton::clicked, this, &MainWindow::onClearCanvasClicked);
    connect(c.generateButton, &QPushButton::clicked, this, &MainWindow::onGenerateClicked);
    connect(c.viewerButton, &QPushButton::clicked, this, &MainWindow::onShowViewerClicked);
    connect(c.openPictureButton, &QPushButton::clicked, this, &MainWindow::onOpenPictureClicked);
    connect(c.savePictureButton, &QPushButton::clicked, this, &MainWindow::onSavePictureClicked);
    connect(c.canvas, &PictureBox::doubleClicked, this, &MainWindow::onCanvasDoubleClicked);
    connect(c.canvas, &PictureBox::mouseMoved, this, &MainWindow::onCanvasMouseMoved);

    // The usual keys of the commands that have one; the buttons keep their access keys.
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, c.openPictureButton,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, c.savePictureButton,
            &QPushButton::click);
}

void MainWindow::createMenus() {
    const auto item = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };
    const auto menu = [this](const char* name, const char* title) {
        QMenu* created = menuBar()->addMenu(QString::fromUtf8(title));
        created->setObjectName(QLatin1String(name));
        return created;
    };

    // `mnuArkiv`
    QMenu* fileMenu = menu("mnuArkiv", "&Arkiv");
    connect(item(fileMenu, "mnuNewProject", "Nytt projekt"), &QAction::triggered, this,
            &MainWindow::onClearAllClicked);
    separator(fileMenu, "mnuTheBorder");
    connect(item(fileMenu, "mnuInsertTextFile", "Infoga textfil"), &QAction::triggered, this,
            &MainWindow::onInsertTextFile);
    separator(fileMenu, "mnuBorder3");
    connect(item(fileMenu, "mnuOpenKeyFile", "Öppna nyckelfil..."), &QAction::triggered, this,
            &MainWindow::onOpenKeyFile);
    connect(item(fileMenu, "mnuSaveKeyFile", "Spara nyckelfil som..."), &QAction::triggered, this,
            &MainWindow::onSaveKeyFile);
    separator(fileMenu, "mnuBorder");
    // `mnuAvsluta`
    QAction* exitItem = item(fileMenu, "mnuAvsluta", "Avsluta");
    // Named outright: some platform themes bind no key to the standard Quit.
    exitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exitItem, &QAction::triggered, this, &MainWindow::onExit);

    // `mnuSpecial`
    QMenu* specialMenu = menu("mnuSpecial", "Special");
    connect(item(specialMenu, "mnuShowActive", "Visa för Aktivitetshanteraren"),
            &QAction::triggered, this, &MainWindow::onShowInTaskList);
    connect(item(specialMenu, "mnuHideActive", "Göm för Aktivitetshanteraren"), &QAction::triggered,
            this, &MainWindow::onHideFromTaskList);

    // `mnuAbout`
    QMenu* aboutMenu = menu("mnuAbout", "Om");
    connect(item(aboutMenu, "mnuAboutApp", "Applikationen"), &QAction::triggered, this,
            &MainWindow::onAboutProgram);
    connect(item(aboutMenu, "mnuAboutMe", "Programmeraren"), &QAction::triggered, this,
            &MainWindow::onAboutProgrammer);
    separator(aboutMenu, "mnuTheBorder2");
    connect(item(aboutMenu, "mnuAboutSystemOption", "Systeminställningar"), &QAction::triggered,
            this, &MainWindow::onDisplaySettings);
    connect(item(aboutMenu, "mnuHelpingMan", "Medhjälpare"), &QAction::triggered, this,
            &MainWindow::onAboutHelper);
}

void MainWindow::loadDefaults() {
    controls_->adaptCheck->setChecked(true);
    const int width = controls_->canvas->scaleWidth();
    for (int i = 0; i <= width; ++i) {
        controls_->yKeyBox->addItem(QString::number(i));
        controls_->xKeyBox->addItem(QString::number(i));
    }
    for (int i = 0; i <= kHighestListedShift; ++i) {
        controls_->shiftBox->addItem(QString::number(i));
    }
    fields_->set(KeyField::Shift, kDefaultShift);
    fields_->set(KeyField::YKey, kDefaultKey);
    fields_->set(KeyField::XKey, kDefaultKey);
    setWindowTitle(QString::fromStdString(captionText(StatusCaption::Waiting)));
    controls_->clock->start();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run holds the window's state; it ends within moments.
    if (engine_->running()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

int MainWindow::showMessage(const Message& message) {
    return messageBoxes_.show(describe(message));
}

void MainWindow::onExit() {
    showMessage({MessageId::ExitReminder, {}});
    close();
    // Every other window goes with the program, unsaved and without asking.
    QCoreApplication::exit(0);
}

void MainWindow::onShowInTaskList() {
    if (!system_.taskList.setVisible(true)) {
        showMessage({MessageId::TaskListNotAllowed, {}});
    }
}

void MainWindow::onHideFromTaskList() {
    if (!system_.taskList.setVisible(false)) {
        showMessage({MessageId::TaskListNotAllowed, {}});
    }
}

void MainWindow::onAboutProgram() {
    if (!about_) {
        about_ = new AboutDialog(system_.registry, system_.programs, messageBoxes_);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::onDisplaySettings() {
    confirmDisplayModeSwitch(system_.display, system_.screen,
                             [this](const Message& message) { return showMessage(message); });
}

void MainWindow::onAboutProgrammer() {
    showMessage({MessageId::AboutProgrammer, {}});
}

void MainWindow::onAboutHelper() {
    showMessage({MessageId::AboutHelper, {}});
}

void MainWindow::onClockTick() {
    controls_->clockLabel->setText(timeOfDayText());
}

void MainWindow::onYKeyEdited() {
    fields_->check(KeyField::YKey);
}

void MainWindow::onXKeyEdited() {
    fields_->check(KeyField::XKey);
}

void MainWindow::onShiftEdited() {
    fields_->check(KeyField::Shift);
}

void MainWindow::onReadingLengthEdited() {
    fields_->check(KeyField::ReadingLength);
}

void MainWindow::onClearAllClicked() {
    controls_->inputBox->setProgramText("");
    controls_->decryptedBox->setProgramText("");
    controls_->directDataBox->setProgramText("");
    controls_->decodedList->clear();
    onClearCanvasClicked();
}

void MainWindow::onDecryptClicked() {
    if (const std::optional<std::int16_t> read = engine_->decrypt(*protection_)) {
        readingLength_ = *read;
    }
}

void MainWindow::onClearCanvasClicked() {
    controls_->canvas->clear();
}

void MainWindow::onGenerateClicked() {
    engine_->generate(*protection_);
}

void MainWindow::onShowViewerClicked() {
    if (!viewer_) {
        viewer_ = std::make_unique<TextViewer>(messageBoxes_, filePrompt_, *this);
    }
    viewer_->open(controls_->decryptedBox->programText());
}

void MainWindow::onCanvasDoubleClicked() {
    // The canvas takes the picture's size: a copy of it is made.
    try {
        controls_->canvas->setAutoSize(true);
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
        return;
    }
    if (!zoom_) {
        zoom_ = std::make_unique<ZoomWindow>(*controls_->canvas, *this);
    }
    zoom_->open();
}

void MainWindow::onCanvasMouseMoved(float x, float y) {
    pointerColour_ = controls_->canvas->image().pixel(static_cast<int>(std::floor(x)),
                                                      static_cast<int>(std::floor(y)));
    const int green = convert(pointerColour_).green;

    const NumberLocale locale = userNumberLocale();
    setWindowTitle(QString::fromStdString(std::to_string(pointerColour_) + " - " +
                                          formatGeneral(x, locale) + "x" +
                                          formatGeneral(y, locale)));
    // An empty canvas is white: green 255 adds nothing.
    if (green != 255) {
        std::string character;
        appendUtf8(character, unicodeOfWindows1252(static_cast<unsigned char>(green)));
        controls_->directDataBox->appendProgramText(character);
    }
}

std::string MainWindow::choosePictureFile(FileDialogMode mode) {
    std::string name =
        mode == FileDialogMode::Open ? pictureDialog_.showOpen() : pictureDialog_.showSave();
    if (name.empty()) {
        showMessage({MessageId::NoFileName, {}});
    }
    return name;
}

std::string MainWindow::chooseKeyDialogFile(FileDialogMode mode) {
    std::string name =
        mode == FileDialogMode::Open ? keyFileDialog_.showOpen() : keyFileDialog_.showSave();
    if (!name.empty()) {
        shared_.currentFileName = name;
    }
    return name;
}

void MainWindow::onOpenPictureClicked() {
    const std::string name = choosePictureFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    // Pictures are checked against the memory there is before they are read;
    // this catches what the check could not foresee.
    try {
        Result<Image> picture = whileRepainting([&name] { return loadPicture(name); });
        if (!picture) {
            showMessage(picture.problem());
            return;
        }
        controls_->canvas->setPicture(std::move(*picture));
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
        return;
    }
    openedPicture_ = name;
    shared_.decryptEnabled = true;
}

void MainWindow::onSavePictureClicked() {
    const std::string name = choosePictureFile(FileDialogMode::Save);
    if (name.empty() || !confirmSavingPart(name)) {
        return;
    }
    try {
        if (const Status saved = savePicture(name, controls_->canvas->image()); !saved) {
            showMessage(saved.problem());
        }
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
    }
}

bool MainWindow::confirmSavingPart(const std::string& name) {
    const PictureBox& canvas = *controls_->canvas;
    const std::optional<QSize> whole = canvas.pictureSize();
    const int width = canvas.scaleWidth();
    const int height = canvas.scaleHeight();
    if (!whole || (whole->width() <= width && whole->height() <= height)) {
        return true;
    }
    // Only the opened file itself, under whatever name it is reached.
    std::error_code error;
    if (openedPicture_.empty() || !std::filesystem::equivalent(openedPicture_, name, error)) {
        return true;
    }
    const Message warning{MessageId::PictureLargerThanCanvas,
                          {name, std::to_string(whole->width()), std::to_string(whole->height()),
                           std::to_string(width), std::to_string(height)}};
    return showMessage(warning) == MessageBoxAnswer::Yes;
}

void MainWindow::onOpenKeyFile() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    const Result<KeyFileLines> lines = readKeyFile(name);
    if (!lines) {
        showMessage(lines.problem());
        return;
    }
    // The key in the fields may be the only copy: a file with any line the fields
    // would refuse changes none of them, and one message names the file and the line.
    if (const Status usable =
            checkKeyFileLines(*lines, name, controls_->canvas->scaleWidth(),
                              controls_->canvas->scaleHeight(), userNumberLocale());
        !usable) {
        showMessage(usable.problem());
        return;
    }
    fields_->set(KeyField::YKey, lines->yKey);
    fields_->set(KeyField::XKey, lines->xKey);
    fields_->set(KeyField::Shift, lines->shift);
    fields_->set(KeyField::ReadingLength, lines->readingLength);
    shared_.decryptEnabled = true;
}

void MainWindow::onSaveKeyFile() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Save);
    if (name.empty()) {
        return;
    }
    const Result<KeyValues> values = convertKeyFields(
        fields_->text(KeyField::YKey), fields_->text(KeyField::XKey),
        fields_->text(KeyField::Shift), fields_->text(KeyField::ReadingLength), userNumberLocale());
    if (!values) {
        showMessage(values.problem());
        return;
    }
    if (const Status written = writeKeyFile(name, *values); !written) {
        showMessage(written.problem());
    }
}

void MainWindow::onInsertTextFile() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    const Result<std::string> imported = importTextFile(name);
    if (!imported) {
        showMessage(imported.problem());
        return;
    }
    controls_->inputBox->setProgramText(utf8FromWindows1252(*imported));
}

} // namespace kvistra
