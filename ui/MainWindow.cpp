// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "AboutDialog.h"
#include "EngineAdapter.h"
#include "FileDrops.h"
#include "KeyFields.h"
#include "KeyFileCommands.h"
#include "MainWindowControls.h"
#include "MainWindowMenus.h"
#include "MemoryGuard.h"
#include "PassphraseProtection.h"
#include "PictureFileCommands.h"
#include "RunInputs.h"
#include "TextViewer.h"
#include "WindowRunDisplay.h"
#include "ZoomWindow.h"
#include "core/ColourSplit.h"
#include "core/Decoder.h"
#include "core/FieldChecks.h"
#include "core/NumericText.h"
#include "core/Rounding.h"
#include "core/Windows1252.h"
#include "io/QtPictureFormats.h"
#include "io/TextImport.h"
#include "system/DisplayModeSwitch.h"
#include "toolkit/Clock.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"
#include "words/MessageRoom.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <cmath>

namespace kvistra {

namespace {

constexpr int kHighestListedShift = 29;
// The room line's colour when the message would be refused.
constexpr QColor kWarningColour(0xB0, 0x00, 0x18);

} // namespace

MainWindow::MainWindow(MessageBoxes& messageBoxes, FilePrompt& filePrompt, SystemServices system,
                       PassphrasePrompt& passphrasePrompt, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , messageBoxes_(messageBoxes)
    , filePrompt_(filePrompt)
    , system_(system)
    , controls_(std::make_unique<MainWindowControls>(*this))
    , fields_(std::make_unique<KeyFields>(*controls_, messageBoxes))
    , display_(std::make_unique<WindowRunDisplay>(*this, *controls_, messageBoxes))
    , engine_(std::make_unique<EngineAdapter>(*display_, messageBoxes))
    , protection_(std::make_unique<PassphraseProtection>(
          *controls_->protectCheck, *controls_->protectionSign, passphrasePrompt, messageBoxes))
    , pictures_(std::make_unique<PictureFileCommands>(*controls_->canvas, *fields_, work_,
                                                      filePrompt, messageBoxes))
    , keys_(std::make_unique<KeyFileCommands>(*fields_, *controls_->canvas, *controls_->inputBox,
                                              work_, filePrompt)) {
    // The window links Qt's image readers anyway: no plugin to load for other formats.
    static const QtPictureFormats otherFormats;
    useOtherPictureFormats(otherFormats);
    setObjectName(QStringLiteral("Kvistra"));
    setWindowTitle(QStringLiteral("Kvistra beta ver 1.0"));
    connectControls();
    createMenus();
    setCentralWidget(controls_->client());
    setFixedSize(MainWindowControls::kClientWidth,
                 MainWindowControls::kClientHeight + menuBar()->sizeHint().height());
    controls_->orderTabs();
    // A child of the window, which deletes it.
    new FileDrops(
        *this, [this] { return engine_->running(); },
        [this](const std::vector<std::string>& names) { openDroppedFiles(names); });
    loadDefaults();
}

MainWindow::~MainWindow() {
    // An about dialog left open goes with the window that opened it.
    delete about_;
}

void MainWindow::guarded(const std::function<void()>& command) {
    done(unlessMemoryRunsOut([&command] {
        command();
        return Status(Done{});
    }));
}

template <class Sender, class Signal>
void MainWindow::onCommand(Sender* sender, Signal signal, std::function<void()> command) {
    connect(sender, signal, this, [this, command = std::move(command)] { guarded(command); });
}

template <class Sender, class Signal>
void MainWindow::onCommand(Sender* sender, Signal signal, void (MainWindow::*command)()) {
    onCommand(sender, signal, std::bind_front(command, this));
}

void MainWindow::connectControls() {
    const MainWindowControls& c = *controls_;
    onCommand(c.clock, &QTimer::timeout, &MainWindow::onClockTick);
    const std::pair<QLineEdit*, KeyField> edits[] = {{c.yKeyBox->lineEdit(), KeyField::YKey},
                                                     {c.xKeyBox->lineEdit(), KeyField::XKey},
                                                     {c.shiftBox->lineEdit(), KeyField::Shift},
                                                     {c.readingLengthBox, KeyField::ReadingLength}};
    for (const auto& [edit, field] : edits) {
        onCommand(edit, &QLineEdit::textEdited,
                  [this, checked = field] { fields_->check(checked); });
    }
    onCommand(c.clearAllButton, &QPushButton::clicked, &MainWindow::onClearAllClicked);
    onCommand(c.decryptButton, &QPushButton::clicked, &MainWindow::onDecryptClicked);
    onCommand(c.clearCanvasButton, &QPushButton::clicked, &MainWindow::onClearCanvasClicked);
    onCommand(c.generateButton, &QPushButton::clicked, &MainWindow::onGenerateClicked);
    onCommand(c.viewerButton, &QPushButton::clicked, &MainWindow::onShowViewerClicked);
    onCommand(c.openPictureButton, &QPushButton::clicked, &MainWindow::onOpenPictureClicked);
    onCommand(c.savePictureButton, &QPushButton::clicked, &MainWindow::onSavePictureClicked);
    onCommand(c.canvas, &PictureBox::doubleClicked, &MainWindow::onCanvasDoubleClicked);
    connect(c.canvas, &PictureBox::mouseMoved, this, &MainWindow::onCanvasMouseMoved);

    onCommand(c.inputBox, &QPlainTextEdit::textChanged, &MainWindow::onRoomChanged);
    onCommand(c.adaptCheck, &QCheckBox::toggled, &MainWindow::onRoomChanged);
    onCommand(c.protectCheck, &QCheckBox::toggled, &MainWindow::onRoomChanged);
    onCommand(c.canvas, &PictureBox::sizeChanged, &MainWindow::onRoomChanged);
    for (QComboBox* key : {c.xKeyBox, c.yKeyBox}) {
        onCommand(key, &QComboBox::editTextChanged, &MainWindow::onRoomChanged);
        onCommand(key, &QComboBox::editTextChanged, &MainWindow::onReadingPlaceChanged);
    }
    onCommand(c.readingLengthBox, &QLineEdit::textChanged, &MainWindow::onReadingPlaceChanged);

    // The usual keys of the commands that have one; the buttons keep their access keys.
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, c.openPictureButton,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, c.savePictureButton,
            &QPushButton::click);
}

void MainWindow::createMenus() {
    const MainWindowMenus m(*menuBar());
    const auto on = [this](QAction* item, void (MainWindow::*command)()) {
        onCommand(item, &QAction::triggered, command);
    };
    on(m.newProject, &MainWindow::onClearAllClicked);
    on(m.insertTextFile, &MainWindow::onInsertTextFile);
    on(m.openKeyFile, &MainWindow::onOpenKeyFile);
    on(m.saveKeyFile, &MainWindow::onSaveKeyFile);
    on(m.exit, &MainWindow::onExit);
    const auto show = [this](MessageId id) {
        return [this, id] {
            showMessage({id, {}});
        };
    };
    const auto taskList = [this](bool shown) {
        return [this, shown] {
            showInTaskList(shown);
        };
    };
    onCommand(m.showInTaskList, &QAction::triggered, taskList(true));
    onCommand(m.hideFromTaskList, &QAction::triggered, taskList(false));
    on(m.aboutProgram, &MainWindow::onAboutProgram);
    onCommand(m.aboutProgrammer, &QAction::triggered, show(MessageId::AboutProgrammer));
    on(m.displaySettings, &MainWindow::onDisplaySettings);
    onCommand(m.aboutHelper, &QAction::triggered, show(MessageId::AboutHelper));
}

void MainWindow::loadDefaults() {
    controls_->adaptCheck->setChecked(true);
    // Each list in one insertion: item by item, the lists took a good part of the start.
    const auto numbers = [](int last) {
        QStringList list;
        list.reserve(last + 1);
        for (int i = 0; i <= last; ++i) {
            list.append(QString::number(i));
        }
        return list;
    };
    const QStringList keys = numbers(controls_->canvas->scaleWidth());
    controls_->yKeyBox->addItems(keys);
    controls_->xKeyBox->addItems(keys);
    controls_->shiftBox->addItems(numbers(kHighestListedShift));
    fields_->set(KeyField::Shift, kDefaultShift);
    fields_->set(KeyField::YKey, kDefaultKey);
    fields_->set(KeyField::XKey, kDefaultKey);
    setWindowTitle(QString::fromStdString(captionText(StatusCaption::Waiting)));
    controls_->clock->start();
    onRoomChanged();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run holds the window's state; it ends within moments.
    bool mayClose = false;
    guarded(
        [this, &mayClose] { mayClose = !engine_->running() && (exiting_ || confirmLosingWork()); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::openDroppedFiles(const std::vector<std::string>& names) {
    const DroppedFiles sorted = sortDroppedFiles(names);
    for (const std::string& name : sorted.special) {
        showMessage({MessageId::NotARegularFile, {name}});
    }
    // The picture first: a key is checked against the canvas it will be read on.
    // Each file is a command of its own.
    for (const std::string& name : sorted.pictures) {
        guarded([this, &name] { done(pictures_->openNamed(name)); });
    }
    for (const std::string& name : sorted.keyFiles) {
        guarded([this, &name] { done(keys_->openNamed(name)); });
    }
    for (const std::string& name : sorted.texts) {
        guarded([this, &name] { done(keys_->insertNamedText(name)); });
    }
}

bool MainWindow::confirmLosingWork() {
    switch (work_.ask(messageBoxes_)) {
    case WorkInHand::Answer::GoOn:
        return true;
    case WorkInHand::Answer::Stay:
        return false;
    case WorkInHand::Answer::Save:
        break;
    }
    // As "spara bild" and "Spara nyckelfil som..." would; a cancelled or failed save stays.
    if (work_.pictureUnsaved()) {
        done(pictures_->saveFromDialog());
        if (work_.pictureUnsaved()) {
            return false;
        }
    }
    if (work_.keyUnsaved()) {
        done(keys_->saveFromDialog());
    }
    return !work_.keyUnsaved();
}

void MainWindow::onRoomChanged() {
    const PictureBox& canvas = *controls_->canvas;
    const RoomEstimate estimate =
        estimateRoom({controls_->inputBox->programText(), fields_->wholeKey(KeyField::XKey),
                      fields_->wholeKey(KeyField::YKey), controls_->adaptCheck->isChecked(),
                      canvas.scaleWidth(), canvas.scaleHeight(), protection_->on()});
    QLabel& line = *controls_->roomLabel;
    line.setText(QString::fromStdString(roomLineText(estimate)));
    // Cut off in a narrow window: the whole line shows over it.
    line.setToolTip(line.text());
    QPalette palette = controls_->client()->palette();
    if (estimate.warns()) {
        palette.setColor(QPalette::WindowText, kWarningColour);
    }
    line.setPalette(palette);
}

void MainWindow::onReadingPlaceChanged() {
    if (zoom_) {
        zoom_->setReadingPlace(fields_->readingPlace());
    }
}

int MainWindow::showMessage(const Message& message) {
    return messageBoxes_.show(describe(message));
}

void MainWindow::onExit() {
    if (!confirmLosingWork()) {
        return;
    }
    showMessage({MessageId::ExitReminder, {}});
    exiting_ = true;
    close();
    // Every other window goes with the program, unsaved and without asking.
    QCoreApplication::exit(0);
}

void MainWindow::showInTaskList(bool shown) {
    if (!system_.taskList.setVisible(shown)) {
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

void MainWindow::onClockTick() {
    controls_->clockLabel->setText(timeOfDayText());
}

void MainWindow::onClearAllClicked() {
    if (!confirmLosingWork()) {
        return;
    }
    controls_->inputBox->setProgramText("");
    controls_->decryptedBox->setProgramText("");
    controls_->directDataBox->setProgramText("");
    controls_->decodedList->clear();
    onClearCanvasClicked();
}

void MainWindow::onDecryptClicked() {
    if (!work_.readable()) {
        return;
    }
    if (const std::optional<Message> refusal = keys_->refusal(pictures_->openedPicture())) {
        showMessage(*refusal);
        return;
    }
    const std::optional<RunInput<DecodeRunRequest>> input = decryptionInput(*fields_, *protection_);
    if (!input) {
        return;
    }
    if (const std::optional<Reading> read =
            engine_->decrypt(input->request, controls_->canvas->image(), input->sealing)) {
        display_->show(*read);
    }
}

void MainWindow::onClearCanvasClicked() {
    controls_->canvas->clear();
    keys_->forgetOpenedKey();
    // The picture is gone: nothing of it is left to save.
    work_.pictureGone();
}

void MainWindow::onGenerateClicked() {
    std::optional<RunInput<EncodeRequest>> input =
        generationInput(*controls_, *fields_, *protection_, messageBoxes_);
    if (!input) {
        return;
    }
    std::optional<Generation> written = engine_->generate(
        std::move(input->request), controls_->canvas->surfaceToDrawOn(), input->sealing);
    if (!written) {
        return;
    }
    fields_->set(KeyField::ReadingLength, std::to_string(written->readingLength));
    if (written->key) {
        fields_->set(KeyField::YKey, std::to_string(written->key->y));
        fields_->set(KeyField::XKey, std::to_string(written->key->x));
    }
    if (written->shift) {
        fields_->set(KeyField::Shift, std::to_string(*written->shift));
    }
    // The canvas is no longer the picture an opened key file names.
    keys_->forgetOpenedKey();
    work_.generated(std::move(written->message));
    for (const Message& notice : written->notices) {
        showMessage(notice);
    }
}

void MainWindow::onShowViewerClicked() {
    if (!viewer_) {
        viewer_ = std::make_unique<TextViewer>(messageBoxes_, filePrompt_, *this);
    }
    viewer_->open(controls_->decryptedBox->programText());
}

void MainWindow::onCanvasDoubleClicked() {
    // The canvas takes the picture's size: a copy of it is made.
    controls_->canvas->setAutoSize(true);
    if (!zoom_) {
        zoom_ = std::make_unique<ZoomWindow>(*controls_->canvas, *this);
        zoom_->setReadingPlace(fields_->readingPlace());
    }
    zoom_->open();
}

void MainWindow::onCanvasMouseMoved(float x, float y) {
    const Colour colour = controls_->canvas->image().pixel(static_cast<int>(std::floor(x)),
                                                           static_cast<int>(std::floor(y)));
    const int green = convert(colour).green;

    const NumberLocale locale = userNumberLocale();
    setWindowTitle(QString::fromStdString(std::to_string(colour) + " - " +
                                          formatGeneral(x, locale) + "x" +
                                          formatGeneral(y, locale)));
    // An empty canvas is white: green 255 adds nothing.
    if (green != 255) {
        std::string character;
        appendUtf8(character, unicodeOfWindows1252(static_cast<unsigned char>(green)));
        controls_->directDataBox->appendProgramText(character);
    }
}

void MainWindow::openStartFiles(const std::string& picture, const std::string& keyFile) {
    // The picture first: a key is checked against the canvas it will be read on.
    guarded([&] { done(pictures_->openNamed(picture)); });
    if (!keyFile.empty()) {
        guarded([&] { done(keys_->openNamed(keyFile)); });
    }
}

void MainWindow::onOpenPictureClicked() {
    done(pictures_->openFromDialog());
}

void MainWindow::onSavePictureClicked() {
    done(pictures_->saveFromDialog());
}

void MainWindow::onOpenKeyFile() {
    done(keys_->openFromDialog());
}

void MainWindow::onSaveKeyFile() {
    done(keys_->saveFromDialog());
}

void MainWindow::onInsertTextFile() {
    done(keys_->insertTextFromDialog());
}

} // namespace kvistra
