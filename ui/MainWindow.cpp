// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "AboutDialog.h"
#include "EngineAdapter.h"
#include "KeyFields.h"
#include "MainWindowControls.h"
#include "PassphraseProtection.h"
#include "TextViewer.h"
#include "ZoomWindow.h"
#include "core/ColourSplit.h"
#include "core/Decoder.h"
#include "core/FieldChecks.h"
#include "core/MessageBoxStyle.h"
#include "core/NumericText.h"
#include "core/RunCheck.h"
#include "core/Windows1252.h"
#include "io/DroppedFile.h"
#include "io/KeyFile.h"
#include "io/PictureFile.h"
#include "io/QtPictureFormats.h"
#include "io/SavedPictureCheck.h"
#include "io/TextImport.h"
#include "system/DisplayModeSwitch.h"
#include "toolkit/Clock.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/WhileRepainting.h"
#include "words/MessageCatalogue.h"
#include "words/MessageRoom.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <new>

namespace kvistra {

namespace {

constexpr int kHighestListedShift = 29;
// The room line's colour when the message would be refused.
constexpr QColor kWarningColour(0xB0, 0x00, 0x18);

// Local files only: a remote one would have to be fetched first.
std::vector<std::string> droppedFileNames(const QMimeData* data) {
    std::vector<std::string> names;
    if (!data || !data->hasUrls()) {
        return names;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            names.push_back(url.toLocalFile().toStdString());
        }
    }
    return names;
}

// Where a reader with the fields' values starts, read as the decoder reads them.
std::optional<ReadingPlace> readingPlaceOf(const KeyFields& fields) {
    const DecodeRunRequest reading = fields.readingRequest();
    const std::optional<int> x = reading.xKey.value;
    const std::optional<int> y = reading.yKey.value;
    const std::optional<int> length = reading.readingLength.value;
    if (!x || !y || !length) {
        return std::nullopt;
    }
    return ReadingPlace{*x, *y, *length};
}

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
    acceptFileDrops();
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

    connect(c.inputBox, &QPlainTextEdit::textChanged, this, &MainWindow::onRoomChanged);
    connect(c.adaptCheck, &QCheckBox::toggled, this, &MainWindow::onRoomChanged);
    connect(c.protectCheck, &QCheckBox::toggled, this, &MainWindow::onRoomChanged);
    connect(c.canvas, &PictureBox::sizeChanged, this, &MainWindow::onRoomChanged);
    for (QComboBox* key : {c.xKeyBox, c.yKeyBox}) {
        connect(key, &QComboBox::editTextChanged, this, &MainWindow::onRoomChanged);
        connect(key, &QComboBox::editTextChanged, this, &MainWindow::onReadingPlaceChanged);
    }
    connect(c.readingLengthBox, &QLineEdit::textChanged, this, &MainWindow::onReadingPlaceChanged);

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
    connect(item(fileMenu, "mnuNewProject", "&Nytt projekt"), &QAction::triggered, this,
            &MainWindow::onClearAllClicked);
    separator(fileMenu, "mnuTheBorder");
    connect(item(fileMenu, "mnuInsertTextFile", "&Infoga textfil"), &QAction::triggered, this,
            &MainWindow::onInsertTextFile);
    separator(fileMenu, "mnuBorder3");
    connect(item(fileMenu, "mnuOpenKeyFile", "&Öppna nyckelfil..."), &QAction::triggered, this,
            &MainWindow::onOpenKeyFile);
    connect(item(fileMenu, "mnuSaveKeyFile", "&Spara nyckelfil som..."), &QAction::triggered, this,
            &MainWindow::onSaveKeyFile);
    separator(fileMenu, "mnuBorder");
    // `mnuAvsluta`
    QAction* exitItem = item(fileMenu, "mnuAvsluta", "&Avsluta");
    // Named outright: some platform themes bind no key to the standard Quit.
    exitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exitItem, &QAction::triggered, this, &MainWindow::onExit);

    // Each item has an access key of its own within its menu; the menus' titles
    // share none with the window's controls (hence "Spe&cial": S and p are taken).
    // `mnuSpecial`
    QMenu* specialMenu = menu("mnuSpecial", "Spe&cial");
    connect(item(specialMenu, "mnuShowActive", "&Visa för Aktivitetshanteraren"),
            &QAction::triggered, this, &MainWindow::onShowInTaskList);
    connect(item(specialMenu, "mnuHideActive", "&Göm för Aktivitetshanteraren"),
            &QAction::triggered, this, &MainWindow::onHideFromTaskList);

    // `mnuAbout`
    QMenu* aboutMenu = menu("mnuAbout", "&Om");
    connect(item(aboutMenu, "mnuAboutApp", "&Applikationen"), &QAction::triggered, this,
            &MainWindow::onAboutProgram);
    connect(item(aboutMenu, "mnuAboutMe", "&Programmeraren"), &QAction::triggered, this,
            &MainWindow::onAboutProgrammer);
    separator(aboutMenu, "mnuTheBorder2");
    connect(item(aboutMenu, "mnuAboutSystemOption", "&Systeminställningar"), &QAction::triggered,
            this, &MainWindow::onDisplaySettings);
    connect(item(aboutMenu, "mnuHelpingMan", "&Medhjälpare"), &QAction::triggered, this,
            &MainWindow::onAboutHelper);
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

void MainWindow::acceptFileDrops() {
    setAcceptDrops(true);
    // The text boxes take drops themselves; files dropped on them come here.
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->acceptDrops()) {
            child->installEventFilter(this);
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A run holds the window's state; it ends within moments.
    if (engine_->running() || (!exiting_ && !confirmLosingWork())) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool MainWindow::acceptFileDrag(QDropEvent& event) const {
    if (engine_->running() || !(event.possibleActions() & Qt::CopyAction) ||
        droppedFileNames(event.mimeData()).empty()) {
        return false;
    }
    // Always a copy: a move would let the source remove the user's file.
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!acceptFileDrag(*event)) {
        QMainWindow::dragEnterEvent(event);
    }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!acceptFileDrag(*event)) {
        QMainWindow::dragMoveEvent(event);
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!acceptFileDrag(*event)) {
        QMainWindow::dropEvent(event);
        return;
    }
    openDroppedFiles(droppedFileNames(event->mimeData()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        if (acceptFileDrag(*static_cast<QDragMoveEvent*>(event))) {
            return true;
        }
        break;
    case QEvent::Drop:
        if (acceptFileDrag(*static_cast<QDropEvent*>(event))) {
            openDroppedFiles(droppedFileNames(static_cast<QDropEvent*>(event)->mimeData()));
            return true;
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::openDroppedFiles(const std::vector<std::string>& names) {
    std::vector<std::string> pictures;
    std::vector<std::string> keyFiles;
    std::vector<std::string> texts;
    for (const std::string& name : names) {
        switch (classifyDroppedFile(name, userNumberLocale())) {
        case DroppedFileKind::Picture:
            pictures.push_back(name);
            break;
        case DroppedFileKind::KeyFile:
            keyFiles.push_back(name);
            break;
        case DroppedFileKind::Text:
            texts.push_back(name);
            break;
        case DroppedFileKind::Special:
            showMessage({MessageId::NotARegularFile, {name}});
            break;
        }
    }
    // The picture first: a key is checked against the canvas it will be read on.
    for (const std::string& name : pictures) {
        openNamedPicture(name);
    }
    for (const std::string& name : keyFiles) {
        openNamedKeyFile(name);
    }
    for (const std::string& name : texts) {
        keyFileDialog_.setFileName(name);
        shared_.currentFileName = name;
        insertTextFile(name);
    }
}

bool MainWindow::confirmLosingWork() {
    if (!pictureUnsaved_ && !keyUnsaved_) {
        return true;
    }
    const char* what = pictureUnsaved_ && keyUnsaved_ ? "both"
                       : pictureUnsaved_              ? "picture"
                                                      : "key";
    switch (showMessage({MessageId::UnsavedGeneration, {what}})) {
    case MessageBoxAnswer::Yes:
        return saveUnsavedWork();
    case MessageBoxAnswer::No:
        return true;
    default:
        return false;
    }
}

bool MainWindow::saveUnsavedWork() {
    // As "spara bild" and "Spara nyckelfil som..." would; a cancelled or failed save stays.
    if (pictureUnsaved_) {
        const std::string name = choosePictureFile(FileDialogMode::Save);
        if (name.empty() || !confirmSavingPart(name) || !savePictureAs(name)) {
            return false;
        }
    }
    if (keyUnsaved_) {
        const std::string name = chooseKeyDialogFile(FileDialogMode::Save);
        if (name.empty() || !saveKeyFileAs(name)) {
            return false;
        }
    }
    return true;
}

void MainWindow::forgetGeneratedPicture() {
    // The key values stay in the fields: for a picture that was saved they are the only
    // way to read it, so they are still asked about until they are saved too.
    keyUnsaved_ = keyUnsaved_ && !pictureUnsaved_;
    generated_ = false;
    pictureUnsaved_ = false;
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
        zoom_->setReadingPlace(readingPlaceOf(*fields_));
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
    if (!confirmLosingWork()) {
        return;
    }
    controls_->inputBox->setProgramText("");
    controls_->decryptedBox->setProgramText("");
    controls_->directDataBox->setProgramText("");
    controls_->decodedList->clear();
    onClearCanvasClicked();
}

std::optional<Message> MainWindow::keyFileRefusal() const {
    if (!openedKey_ || openedKey_->check.empty() || openedPicture_.empty() ||
        fields_->text(KeyField::YKey) != openedKey_->yKey ||
        fields_->text(KeyField::XKey) != openedKey_->xKey ||
        fields_->text(KeyField::ReadingLength) != openedKey_->readingLength) {
        return std::nullopt;
    }
    const Image& image = controls_->canvas->image();
    const NumberLocale locale = userNumberLocale();
    const std::optional<int> x = roundedKey(openedKey_->xKey, locale).value;
    const std::optional<int> y = roundedKey(openedKey_->yKey, locale).value;
    const std::optional<int> length = roundedKey(openedKey_->readingLength, locale).value;
    // A run the canvas does not hold whole is the decoder's to report.
    if (!x || !y || !length || !image.contains(*x, *y) || *length < 0 ||
        std::int64_t{*y} * image.width() + *x + *length >
            std::int64_t{image.width()} * image.height() ||
        runCheckOf(image, *x, *y, *length) == openedKey_->check) {
        return std::nullopt;
    }
    return Message{MessageId::KeyFileForAnotherPicture, {openedKeyName_, openedPicture_}};
}

void MainWindow::onDecryptClicked() {
    if (const std::optional<Message> refusal = keyFileRefusal()) {
        showMessage(*refusal);
        return;
    }
    if (const std::optional<std::int16_t> read = engine_->decrypt(*protection_)) {
        readingLength_ = *read;
    }
}

void MainWindow::onClearCanvasClicked() {
    controls_->canvas->clear();
    openedKey_.reset();
    // The picture is gone: nothing of it is left to save.
    forgetGeneratedPicture();
}

void MainWindow::onGenerateClicked() {
    if (engine_->generate(*protection_)) {
        // The canvas is no longer the picture an opened key file names.
        openedKey_.reset();
        generated_ = true;
        pictureUnsaved_ = true;
        keyUnsaved_ = true;
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
    try {
        controls_->canvas->setAutoSize(true);
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
        return;
    }
    if (!zoom_) {
        zoom_ = std::make_unique<ZoomWindow>(*controls_->canvas, *this);
        zoom_->setReadingPlace(readingPlaceOf(*fields_));
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

void MainWindow::openStartFiles(const std::string& picture, const std::string& keyFile) {
    // The picture first: a key is checked against the canvas it will be read on.
    openNamedPicture(picture);
    if (!keyFile.empty()) {
        openNamedKeyFile(keyFile);
    }
}

void MainWindow::openNamedPicture(const std::string& name) {
    pictureDialog_.setFileName(name);
    openPicture(name);
}

void MainWindow::openNamedKeyFile(const std::string& name) {
    keyFileDialog_.setFileName(name);
    shared_.currentFileName = name;
    openKeyFile(name);
}

void MainWindow::onOpenPictureClicked() {
    const std::string name = choosePictureFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    openPicture(name);
}

void MainWindow::openPicture(const std::string& name) {
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
    // The generated picture was replaced.
    forgetGeneratedPicture();
}

void MainWindow::onSavePictureClicked() {
    const std::string name = choosePictureFile(FileDialogMode::Save);
    if (name.empty() || !confirmSavingPart(name)) {
        return;
    }
    savePictureAs(name);
}

bool MainWindow::savePictureAs(const std::string& name) {
    const Image& image = controls_->canvas->image();
    // A generated picture must also give its message back with the fields' key values.
    std::optional<ExpectedMessage> expected;
    if (generated_) {
        const DecodeRunRequest reading = fields_->readingRequest();
        expected = ExpectedMessage{
            {reading.readingLength.value.value_or(0), reading.yKey, reading.xKey, reading.shift},
            shared_.messageText};
    }
    try {
        if (const Status saved = savePicture(name, image); !saved) {
            showMessage(saved.problem());
            return false;
        }
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
        return false;
    }
    // The file is in place now: whatever goes wrong from here says so.
    Status readable = Done{};
    try {
        readable = checkSavedPicture(name, image, expected);
    } catch (const std::bad_alloc&) {
        readable = Message{MessageId::SavedPictureUnreadable, {name, systemErrorText(ENOMEM)}};
    }
    if (!readable) {
        showMessage(readable.problem());
        return false;
    }
    pictureUnsaved_ = false;
    return true;
}

bool MainWindow::confirmSavingPart(const std::string& name) {
    const PictureBox& canvas = *controls_->canvas;
    const std::optional<QSize> whole = canvas.pictureSize();
    const int width = canvas.scaleWidth();
    const int height = canvas.scaleHeight();
    if (!whole || (whole->width() <= width && whole->height() <= height)) {
        return true;
    }
    // Under any name: a new file would hold the cut-off part as silently as the
    // opened one.
    const Message warning{MessageId::PictureLargerThanCanvas,
                          {openedPicture_.empty() ? name : openedPicture_,
                           std::to_string(whole->width()), std::to_string(whole->height()),
                           std::to_string(width), std::to_string(height), name}};
    return showMessage(warning) == MessageBoxAnswer::Yes;
}

void MainWindow::onOpenKeyFile() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    openKeyFile(name);
}

void MainWindow::openKeyFile(const std::string& name) {
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
    openedKey_ = *lines;
    openedKeyName_ = name;
    shared_.decryptEnabled = true;
}

void MainWindow::onSaveKeyFile() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Save);
    if (name.empty()) {
        return;
    }
    saveKeyFileAs(name);
}

bool MainWindow::saveKeyFileAs(const std::string& name) {
    const Result<KeyValues> values = convertKeyFields(
        fields_->text(KeyField::YKey), fields_->text(KeyField::XKey),
        fields_->text(KeyField::Shift), fields_->text(KeyField::ReadingLength), userNumberLocale());
    if (!values) {
        showMessage(values.problem());
        return false;
    }
    if (const Status written = writeKeyFile(name, *values); !written) {
        showMessage(written.problem());
        return false;
    }
    keyUnsaved_ = false;
    return true;
}

void MainWindow::onInsertTextFile() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    insertTextFile(name);
}

void MainWindow::insertTextFile(const std::string& name) {
    const Result<std::string> imported = importTextFile(name);
    if (!imported) {
        showMessage(imported.problem());
        return;
    }
    controls_->inputBox->setProgramText(utf8FromWindows1252(*imported));
}

} // namespace kvistra
