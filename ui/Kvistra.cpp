#include "Kvistra.h"

#include "Granskning.h"
#include "Visningsform.h"
#include "core/ColourSplit.h"
#include "core/DecoderRun.h"
#include "core/Encoder.h"
#include "core/FieldChecks.h"
#include "core/MessageBoxStyle.h"
#include "core/MessageCatalogue.h"
#include "core/NumericText.h"
#include "core/Windows1252.h"
#include "frmAbout.h"
#include "io/KeyFile.h"
#include "io/PictureFile.h"
#include "io/TextImport.h"
#include "system/DisplayModeSwitch.h"
#include "toolkit/Clock.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/TextBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <new>

namespace kvistra {

namespace {

constexpr int kClockIntervalMs = 250;
constexpr int kPaintIntervalMs = 33; // about thirty updates a second during a run
constexpr int kHighestListedShift = 29;
constexpr QSize kCanvasOuterSize{273, 257};
constexpr int kRightColumnWidth = 285;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QFrame* line(QFrame::Shape shape) {
    auto* frame = new QFrame;
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QLabel* label(const char* name, const char* caption, QWidget* buddy) {
    auto* created = new QLabel(QString::fromUtf8(caption));
    created->setObjectName(QLatin1String(name));
    created->setBuddy(buddy);
    return created;
}

QPushButton* button(const char* name, const char* caption) {
    auto* created = new QPushButton(QString::fromUtf8(caption));
    created->setObjectName(QLatin1String(name));
    return created;
}

QComboBox* keyCombo(const char* name, const char* tooltip) {
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setToolTip(QString::fromUtf8(tooltip));
    return combo;
}

TextBox* textBox(const char* name, const char* tooltip, bool scrollBar) {
    auto* box = new TextBox;
    box->setObjectName(QLatin1String(name));
    box->setToolTip(QString::fromUtf8(tooltip));
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    return box;
}

QVBoxLayout* labelled(QLabel* caption, QWidget* field) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(caption);
    column->addWidget(field);
    return column;
}

} // namespace

// Marks a long run, during which the window is repainted but takes no input.
class Kvistra::RunScope {
public:
    explicit RunScope(Kvistra& window)
        : window_(window) {
        window_.running_ = true;
        window_.sincePainted_.start();
    }
    ~RunScope() {
        window_.running_ = false;
        window_.Picture1->update();
    }
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

private:
    Kvistra& window_;
};

Kvistra::Kvistra(ProgramWideValues& shared, MessageBoxes& messageBoxes, FilePrompt& filePrompt,
                 SystemServices system, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , shared_(shared)
    , messageBoxes_(messageBoxes)
    , filePrompt_(filePrompt)
    , system_(system)
    , KeyCmdlg(filePrompt, "txt")
    , cmdlg(filePrompt, "bmp") {
    setObjectName(QStringLiteral("Kvistra"));
    setWindowTitle(QStringLiteral("Kvistra beta ver 1.0"));
    createControls();
    createMenus();
    layOutControls();
    Form_Load();
}

Kvistra::~Kvistra() {
    // An about dialog left open goes with the window that opened it.
    delete about_;
}

void Kvistra::createControls() {
    Text1 = textBox("Text1", "Mata in det du vill kryptera här.", true);
    Label7 = label("Label7", "&Indata", Text1);

    Tid = new QLabel;
    Tid->setObjectName(QStringLiteral("Tid"));
    Tid->setAlignment(Qt::AlignCenter);

    Command2 = button("Command2", "&Dekryptera");
    Command2->setToolTip(QStringLiteral("Klicka för att dekryptera"));

    Stepping = keyCombo("Stepping", "Välj förskjutning (caesarprincipen).");
    Label4 = label("Label4", "&Förskjutning:", Stepping);
    Combo2 = keyCombo("Combo2", "Ange en x-nyckel för position i x-led.");
    Label1 = label("Label1", "Nyckel-&x:", Combo2);
    Combo1 = keyCombo("Combo1", "Ange en y-nyckel för position i y-led.");
    Label2 = label("Label2", "Nyckel-&y:", Combo1);

    Command4 = button("Command4", "&Generera kryptobild");
    Command5 = button("Command5", "&Visa dialogruta för dekrypterad fil");
    OpenPicture = button("OpenPicture", "&öppna bild");
    SavePicture = button("SavePicture", "&spara bild");

    Text2 = textBox("Text2", "Här visas den dekrypterade datan.", true);
    Label8 = label("Label8", "D&ekrypterad data:", Text2);
    Text4 = new QLineEdit;
    Text4->setObjectName(QStringLiteral("Text4"));
    Label3 = label("Label3", "I&nläsningslängd:", Text4);
    List1 = new ListBox;
    List1->setObjectName(QStringLiteral("List1"));
    List1->setToolTip(
        QStringLiteral("Här visas dekrypterade data i form av ascii-kod och karaktär."));
    Label6 = label("Label6", "De&krypteringsdata:", List1);

    const int frame = 2 * PictureBox::kFrameWidth;
    Picture1 = new PictureBox(kCanvasOuterSize - QSize(frame, frame));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setToolTip(QStringLiteral("Här visas krypterade data i bitmapsformat."));
    // Reached by Tab, it lets the arrow keys scroll a canvas larger than its place.
    Picture1->setFocusPolicy(Qt::StrongFocus);

    Command3 = button("Command3", "&Rensa");
    Command1 = button("Command1", "Rensa a&llt");
    Anpassa = new QCheckBox(QStringLiteral("An&passa efter indata"));
    Anpassa->setObjectName(QStringLiteral("Anpassa"));
    Anpassa->setToolTip(QStringLiteral("Om denna ruta är ikryssad kommer endast indatat att "
                                       "skrivas. Ej villospårsdata."));
    Bar = new ProgressBar;
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setToolTip(QStringLiteral("Visar fortskridningsprocess."));
    Text3 = textBox("Text3",
                    "Här visas odekrypterade data (direktdata) när musmarkören förs över "
                    "bildrutan.",
                    false);
    Label5 = label("Label5", "Direk&tdata:", Text3);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kClockIntervalMs);

    connect(Timer1, &QTimer::timeout, this, &Kvistra::Timer1_Timer);
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, &Kvistra::Combo1_Change);
    connect(Combo2->lineEdit(), &QLineEdit::textEdited, this, &Kvistra::Combo2_Change);
    connect(Stepping->lineEdit(), &QLineEdit::textEdited, this, &Kvistra::Stepping_Change);
    connect(Text4, &QLineEdit::textEdited, this, &Kvistra::Text4_Change);
    connect(Command1, &QPushButton::clicked, this, &Kvistra::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Kvistra::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Kvistra::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Kvistra::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Kvistra::Command5_Click);
    connect(OpenPicture, &QPushButton::clicked, this, &Kvistra::OpenPicture_Click);
    connect(SavePicture, &QPushButton::clicked, this, &Kvistra::SavePicture_Click);
    connect(Picture1, &PictureBox::doubleClicked, this, &Kvistra::Picture1_DblClick);
    connect(Picture1, &PictureBox::mouseMoved, this, &Kvistra::Picture1_MouseMove);

    // The usual keys of the commands that have one; the buttons keep their access keys.
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, OpenPicture,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, SavePicture,
            &QPushButton::click);
}

void Kvistra::createMenus() {
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

    QMenu* mnuArkiv = menu("mnuArkiv", "&Arkiv");
    connect(item(mnuArkiv, "mnuNewProject", "Nytt projekt"), &QAction::triggered, this,
            &Kvistra::Command1_Click);
    separator(mnuArkiv, "mnuTheBorder");
    connect(item(mnuArkiv, "mnuInsertTextFile", "Infoga textfil"), &QAction::triggered, this,
            &Kvistra::mnuInsertTextFile_Click);
    separator(mnuArkiv, "mnuBorder3");
    connect(item(mnuArkiv, "mnuOpenKeyFile", "Öppna nyckelfil..."), &QAction::triggered, this,
            &Kvistra::mnuOpenKeyFile_Click);
    connect(item(mnuArkiv, "mnuSaveKeyFile", "Spara nyckelfil som..."), &QAction::triggered, this,
            &Kvistra::mnuSaveKeyFile_Click);
    separator(mnuArkiv, "mnuBorder");
    QAction* mnuAvsluta = item(mnuArkiv, "mnuAvsluta", "Avsluta");
    // Named outright: some platform themes bind no key to the standard Quit.
    mnuAvsluta->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(mnuAvsluta, &QAction::triggered, this, &Kvistra::mnuAvsluta_Click);

    QMenu* mnuSpecial = menu("mnuSpecial", "Special");
    connect(item(mnuSpecial, "mnuShowActive", "Visa för Aktivitetshanteraren"), &QAction::triggered,
            this, &Kvistra::mnuShowActive_Click);
    connect(item(mnuSpecial, "mnuHideActive", "Göm för Aktivitetshanteraren"), &QAction::triggered,
            this, &Kvistra::mnuHideActive_Click);

    QMenu* mnuAbout = menu("mnuAbout", "Om");
    connect(item(mnuAbout, "mnuAboutApp", "Applikationen"), &QAction::triggered, this,
            &Kvistra::mnuAboutApp_Click);
    connect(item(mnuAbout, "mnuAboutMe", "Programmeraren"), &QAction::triggered, this,
            &Kvistra::mnuAboutMe_Click);
    separator(mnuAbout, "mnuTheBorder2");
    connect(item(mnuAbout, "mnuAboutSystemOption", "Systeminställningar"), &QAction::triggered,
            this, &Kvistra::mnuAboutSystemOption_Click);
    connect(item(mnuAbout, "mnuHelpingMan", "Medhjälpare"), &QAction::triggered, this,
            &Kvistra::mnuHelpingMan_Click);
}

void Kvistra::layOutControls() {
    auto* keys = new QHBoxLayout;
    keys->addLayout(labelled(Label4, Stepping));
    keys->addLayout(labelled(Label1, Combo2));
    keys->addLayout(labelled(Label2, Combo1));

    auto* commands = new QHBoxLayout;
    commands->addWidget(Command4);
    commands->addWidget(Command2);
    auto* files = new QHBoxLayout;
    files->addWidget(OpenPicture);
    files->addWidget(SavePicture);

    auto* readingLength = new QHBoxLayout;
    readingLength->addWidget(Label3);
    readingLength->addWidget(Text4);

    auto* left = new QVBoxLayout;
    left->addLayout(labelled(Label7, Text1), 3);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(keys);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(commands);
    left->addWidget(line(QFrame::HLine));
    left->addWidget(Command5);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(files);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(labelled(Label8, Text2), 2);
    left->addLayout(readingLength);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(labelled(Label6, List1), 3);

    // A canvas that follows a large picture's size scrolls within its place.
    auto* canvasPlace = new QScrollArea;
    canvasPlace->setObjectName(QStringLiteral("canvasPlace"));
    canvasPlace->setFrameShape(QFrame::NoFrame);
    // The canvas itself takes the focus and shows it.
    canvasPlace->setFocusPolicy(Qt::NoFocus);
    canvasPlace->setFixedSize(kCanvasOuterSize);
    canvasPlace->setWidget(Picture1);

    auto* clearing = new QHBoxLayout;
    clearing->addWidget(Command3);
    clearing->addWidget(Command1);

    auto* right = new QVBoxLayout;
    right->addWidget(Tid);
    right->addWidget(line(QFrame::HLine));
    right->addWidget(canvasPlace, 0, Qt::AlignHCenter);
    right->addLayout(clearing);
    right->addWidget(line(QFrame::HLine));
    right->addWidget(Anpassa);
    right->addWidget(line(QFrame::HLine));
    right->addWidget(Bar);
    right->addWidget(line(QFrame::HLine));
    right->addLayout(labelled(Label5, Text3), 1);

    auto* rightColumn = new QWidget;
    rightColumn->setFixedWidth(kRightColumnWidth);
    rightColumn->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);

    auto* client = new QWidget;
    auto* columns = new QHBoxLayout(client);
    columns->addLayout(left, 1);
    columns->addWidget(line(QFrame::VLine));
    columns->addWidget(rightColumn);
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

    // Tab follows the layout: down the left column, then down the right one.
    QWidget* const order[] = {Text1,    Stepping,    Combo2,      Combo1,  Command4, Command2,
                              Command5, OpenPicture, SavePicture, Text2,   Text4,    List1,
                              Picture1, Command3,    Command1,    Anpassa, Text3};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void Kvistra::Form_Load() {
    Anpassa->setChecked(true);
    const int width = Picture1->scaleWidth();
    for (int i = 0; i <= width; ++i) {
        Combo1->addItem(QString::number(i));
        Combo2->addItem(QString::number(i));
    }
    for (int i = 0; i <= kHighestListedShift; ++i) {
        Stepping->addItem(QString::number(i));
    }
    setText(Field::Stepping, kDefaultShift);
    setText(Field::Combo1, kDefaultKey);
    setText(Field::Combo2, kDefaultKey);
    setCaption("Status: Väntar");
    Timer1->start();
}

void Kvistra::closeEvent(QCloseEvent* event) {
    // A run holds the window's state; it ends within moments.
    if (running_) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void Kvistra::mnuAvsluta_Click() {
    showMessage({MessageId::ExitReminder, {}});
    close();
    // Every other window goes with the program, unsaved and without asking.
    QCoreApplication::exit(0);
}

void Kvistra::mnuShowActive_Click() {
    if (!system_.taskList.setVisible(true)) {
        showMessage({MessageId::TaskListNotAllowed, {}});
    }
}

void Kvistra::mnuHideActive_Click() {
    if (!system_.taskList.setVisible(false)) {
        showMessage({MessageId::TaskListNotAllowed, {}});
    }
}

void Kvistra::mnuAboutApp_Click() {
    if (!about_) {
        about_ = new frmAbout(system_.registry, system_.programs, messageBoxes_);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void Kvistra::mnuAboutSystemOption_Click() {
    ConfirmDisplayModeSwitch(system_.display, system_.screen,
                             [this](const Message& message) { return showMessage(message); });
}

void Kvistra::mnuAboutMe_Click() {
    showMessage({MessageId::AboutProgrammer, {}});
}

void Kvistra::mnuHelpingMan_Click() {
    showMessage({MessageId::AboutHelper, {}});
}

void Kvistra::Timer1_Timer() {
    Tid->setText(timeOfDayText());
}

void Kvistra::checkField(Field field) {
    const std::string value = text(field);
    const NumberLocale locale = numberLocale();
    std::optional<FieldRefusal> refusal;
    switch (field) {
    case Field::Combo2:
        refusal = checkKey(value, Picture1->scaleWidth(), locale);
        break;
    case Field::Combo1:
        refusal = checkKey(value, Picture1->scaleHeight(), locale);
        break;
    case Field::Stepping:
        refusal = checkShift(value, locale);
        break;
    case Field::Text4:
        refusal = checkReadingLength(value, locale);
        break;
    default:
        break;
    }
    if (refusal) {
        showMessage(refusal->message);
        // Put back unchecked: on a canvas under five pixels the default key is
        // refused in turn, and the boxes would never end.
        putFieldText(field, refusal->defaultText);
    }
}

void Kvistra::Combo1_Change() {
    checkField(Field::Combo1);
}

void Kvistra::Combo2_Change() {
    checkField(Field::Combo2);
}

void Kvistra::Stepping_Change() {
    checkField(Field::Stepping);
}

void Kvistra::Text4_Change() {
    checkField(Field::Text4);
}

void Kvistra::Command1_Click() {
    setText(Field::Text1, "");
    setText(Field::Text2, "");
    setText(Field::Text3, "");
    clearList();
    Command3_Click();
}

void Kvistra::Command2_Click() {
    const RunScope run(*this);
    const DecoderRunResult result = runDecoder(*this, Picture1->image(), shared_);
    if (result.ReadLength) {
        ReadLength = *result.ReadLength;
    }
}

void Kvistra::Command3_Click() {
    Picture1->clear();
}

void Kvistra::Command4_Click() {
    const RunScope run(*this);
    Encoder encoder(*this, Picture1->image(), random_, shared_);
    encoder.generate();
}

void Kvistra::Command5_Click() {
    if (!viewer_) {
        viewer_ = std::make_unique<Visningsform>(messageBoxes_, filePrompt_, *this);
    }
    viewer_->open(Text2->programText());
}

void Kvistra::Picture1_DblClick() {
    // The canvas takes the picture's size: a copy of it is made.
    try {
        Picture1->setAutoSize(true);
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
        return;
    }
    if (!zoom_) {
        zoom_ = std::make_unique<Granskning>(*Picture1, *this);
    }
    zoom_->open();
}

void Kvistra::Picture1_MouseMove(float x, float y) {
    PointerColor =
        Picture1->image().pixel(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
    const ColourChannels channels = convert(PointerColor);
    Red = channels.Red;
    Green = channels.Green;
    Blue = channels.Blue;

    const NumberLocale locale = numberLocale();
    setCaption(std::to_string(PointerColor) + " - " + formatGeneral(x, locale) + "x" +
               formatGeneral(y, locale));
    // An empty canvas is white: green 255 adds nothing.
    if (Green != 255) {
        std::string character;
        appendUtf8(character, unicodeOfWindows1252(static_cast<unsigned char>(Green)));
        Text3->appendProgramText(character);
    }
}

std::string Kvistra::choosePictureFile(FileDialogMode mode) {
    std::string name = mode == FileDialogMode::Open ? cmdlg.showOpen() : cmdlg.showSave();
    if (name.empty()) {
        showMessage({MessageId::NoFileName, {}});
    }
    return name;
}

std::string Kvistra::chooseKeyDialogFile(FileDialogMode mode) {
    std::string name = mode == FileDialogMode::Open ? KeyCmdlg.showOpen() : KeyCmdlg.showSave();
    if (!name.empty()) {
        shared_.CurrentFileName = name;
    }
    return name;
}

void Kvistra::OpenPicture_Click() {
    const std::string name = choosePictureFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    // Pictures are checked against the memory there is before they are read;
    // this catches what the check could not foresee.
    try {
        Result<Image> picture = loadPicture(name);
        if (!picture) {
            showMessage(picture.problem());
            return;
        }
        Picture1->setPicture(std::move(*picture));
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
        return;
    }
    openedPicture_ = name;
    shared_.DecryptEnabled = true;
}

void Kvistra::SavePicture_Click() {
    const std::string name = choosePictureFile(FileDialogMode::Save);
    if (name.empty() || !confirmSavingPart(name)) {
        return;
    }
    try {
        if (const Status saved = savePicture(name, Picture1->image()); !saved) {
            showMessage(saved.problem());
        }
    } catch (const std::bad_alloc&) {
        showMessage({MessageId::OutOfMemory, {}});
    }
}

bool Kvistra::confirmSavingPart(const std::string& name) {
    const std::optional<QSize> whole = Picture1->pictureSize();
    const int width = Picture1->scaleWidth();
    const int height = Picture1->scaleHeight();
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

void Kvistra::mnuOpenKeyFile_Click() {
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
    if (const Status usable = checkKeyFileLines(*lines, name, Picture1->scaleWidth(),
                                                Picture1->scaleHeight(), numberLocale());
        !usable) {
        showMessage(usable.problem());
        return;
    }
    setText(Field::Combo1, lines->yKey);
    setText(Field::Combo2, lines->xKey);
    setText(Field::Stepping, lines->shift);
    setText(Field::Text4, lines->readingLength);
    shared_.DecryptEnabled = true;
}

void Kvistra::mnuSaveKeyFile_Click() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Save);
    if (name.empty()) {
        return;
    }
    const Result<KeyValues> values =
        convertKeyFields(text(Field::Combo1), text(Field::Combo2), text(Field::Stepping),
                         text(Field::Text4), numberLocale());
    if (!values) {
        showMessage(values.problem());
        return;
    }
    if (const Status written = writeKeyFile(name, *values); !written) {
        showMessage(written.problem());
    }
}

void Kvistra::mnuInsertTextFile_Click() {
    const std::string name = chooseKeyDialogFile(FileDialogMode::Open);
    if (name.empty()) {
        return;
    }
    const Result<std::string> imported = importTextFile(name);
    if (!imported) {
        showMessage(imported.problem());
        return;
    }
    setText(Field::Text1, utf8FromWindows1252(*imported));
}

QComboBox* Kvistra::comboOf(Field field) const {
    switch (field) {
    case Field::Combo1:
        return Combo1;
    case Field::Combo2:
        return Combo2;
    case Field::Stepping:
        return Stepping;
    default:
        return nullptr;
    }
}

TextBox* Kvistra::textBoxOf(Field field) const {
    switch (field) {
    case Field::Text1:
        return Text1;
    case Field::Text2:
        return Text2;
    case Field::Text3:
        return Text3;
    default:
        return nullptr;
    }
}

std::string Kvistra::text(Field field) const {
    if (const TextBox* box = textBoxOf(field)) {
        return box->programText();
    }
    if (const QComboBox* combo = comboOf(field)) {
        return combo->currentText().toStdString();
    }
    return Text4->text().toStdString();
}

void Kvistra::setText(Field field, const std::string& text) {
    if (TextBox* box = textBoxOf(field)) {
        box->setProgramText(text);
        return;
    }
    putFieldText(field, text);
    // A change by the program is checked as typing would be.
    checkField(field);
}

void Kvistra::putFieldText(Field field, const std::string& text) {
    if (QComboBox* combo = comboOf(field)) {
        combo->setEditText(qt(text));
    } else {
        Text4->setText(qt(text));
    }
}

bool Kvistra::adaptTicked() const {
    return Anpassa->isChecked();
}

NumberLocale Kvistra::numberLocale() const {
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

void Kvistra::setCaption(const std::string& caption) {
    setWindowTitle(qt(caption));
    // A new stage is worth showing at once.
    keepPainted(PaintWhen::Now);
}

void Kvistra::setProgress(const Progress& progress) {
    Bar->setProgress(progress);
    keepPainted(PaintWhen::Due);
}

int Kvistra::showMessage(const Message& message) {
    return messageBoxes_.show(describe(message));
}

void Kvistra::clearList() {
    List1->clear();
}

void Kvistra::appendListLines(const std::vector<std::string>& lines) {
    List1->addLines(lines);
}

void Kvistra::setClockRunning(bool running) {
    if (running) {
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

void Kvistra::keepPainted(PaintWhen when) {
    if (!running_ || (when == PaintWhen::Due && sincePainted_.elapsed() < kPaintIntervalMs)) {
        return;
    }
    Picture1->update();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sincePainted_.restart();
}

} // namespace kvistra
