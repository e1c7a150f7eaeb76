// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowControls.h"

#include "toolkit/ListBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <iterator>

namespace kvistra {

namespace {

constexpr int kClockIntervalMs = 250;
constexpr QSize kCanvasOuterSize{273, 257};
constexpr int kRightColumnWidth = 285;

QFrame* line(QFrame::Shape shape) {
    auto* frame = new QFrame;
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

// The caption as a screen reader should speak it: without its access key's mark
// and its colon.
QString spoken(const std::string& caption) {
    QString name = QString::fromStdString(caption).remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    return name;
}

// The label names its control for a screen reader too, and an editable combo
// box's text part with it, which is what takes the focus.
QLabel* label(const char* name, const std::string& caption, QWidget* buddy) {
    auto* created = new QLabel(QString::fromStdString(caption));
    created->setObjectName(QLatin1String(name));
    created->setBuddy(buddy);
    buddy->setAccessibleName(spoken(caption));
    if (auto* combo = qobject_cast<QComboBox*>(buddy); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(spoken(caption));
        combo->lineEdit()->setAccessibleDescription(combo->toolTip());
    }
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

// For a screen reader: the canvas's size, which a double click can change, and
// what the keys do with it.
void describe(PictureBox& canvas) {
    canvas.setAccessibleDescription(
        QStringLiteral("%1 %2 × %3 bildpunkter. Piltangenterna rullar en bild som är större "
                       "än rutan; ett dubbelklick öppnar Granskning.")
            .arg(canvas.toolTip())
            .arg(canvas.scaleWidth())
            .arg(canvas.scaleHeight()));
}

} // namespace

MainWindowControls::MainWindowControls(QWidget& window) {
    create(window);
    layOut();
}

void MainWindowControls::create(QWidget& window) {
    // `Text1`: the message to hide.
    inputBox = textBox("Text1", "Mata in det du vill kryptera här.", true);
    // `Label7`
    inputLabel = label("Label7", "&Indata", inputBox);
    // The room line: the message's length and the room for it.
    roomLabel = new QLabel;
    roomLabel->setObjectName(QStringLiteral("roomLine"));
    roomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // However long its words, it takes the row's room and never widens the column.
    roomLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // `Tid`: the time of day.
    clockLabel = new QLabel;
    clockLabel->setObjectName(QStringLiteral("Tid"));
    clockLabel->setAlignment(Qt::AlignCenter);

    // `Command2`: reads the message back.
    decryptButton = button("Command2", "&Dekryptera");
    decryptButton->setToolTip(QStringLiteral("Klicka för att dekryptera"));

    // `Stepping`: the shift.
    shiftBox = keyCombo("Stepping", "Välj förskjutning (caesarprincipen).");
    // `Label4`
    shiftLabel = label("Label4", keyFieldCaption(KeyField::Shift), shiftBox);
    // `Combo2`: the x-key.
    xKeyBox = keyCombo("Combo2", "Ange en x-nyckel för position i x-led.");
    // `Label1`
    xKeyLabel = label("Label1", keyFieldCaption(KeyField::XKey), xKeyBox);
    // `Combo1`: the y-key.
    yKeyBox = keyCombo("Combo1", "Ange en y-nyckel för position i y-led.");
    // `Label2`
    yKeyLabel = label("Label2", keyFieldCaption(KeyField::YKey), yKeyBox);

    // `Command4`: writes the cipher picture.
    generateButton = button("Command4", "&Generera kryptobild");
    // `Command5`: shows the decrypted text in its own window.
    viewerButton = button("Command5", "&Visa dialogruta för dekrypterad fil");
    // `OpenPicture`
    openPictureButton = button("OpenPicture", "&öppna bild");
    // `SavePicture`
    savePictureButton = button("SavePicture", "&spara bild");

    // `Text2`: the decrypted text.
    decryptedBox = textBox("Text2", "Här visas den dekrypterade datan.", true);
    // `Label8`
    decryptedLabel = label("Label8", "D&ekrypterad data:", decryptedBox);
    // `Text4`: the reading length.
    readingLengthBox = new QLineEdit;
    readingLengthBox->setObjectName(QStringLiteral("Text4"));
    // `Label3`
    readingLengthLabel =
        label("Label3", keyFieldCaption(KeyField::ReadingLength), readingLengthBox);
    // `List1`: each decoded green byte and its character.
    decodedList = new ListBox;
    decodedList->setObjectName(QStringLiteral("List1"));
    decodedList->setToolTip(
        QStringLiteral("Här visas dekrypterade data i form av ascii-kod och karaktär."));
    // `Label6`
    decodedListLabel = label("Label6", "De&krypteringsdata:", decodedList);

    // `Picture1`: the canvas the cipher picture is drawn on.
    const int frame = 2 * PictureBox::kFrameWidth;
    canvas = new PictureBox(kCanvasOuterSize - QSize(frame, frame));
    canvas->setObjectName(QStringLiteral("Picture1"));
    canvas->setToolTip(QStringLiteral("Här visas krypterade data i bitmapsformat."));
    // Reached by Tab, it lets the arrow keys scroll a canvas larger than its place.
    canvas->setFocusPolicy(Qt::StrongFocus);
    canvas->setAccessibleName(QStringLiteral("Bildruta"));
    describe(*canvas);
    QObject::connect(canvas, &PictureBox::sizeChanged, canvas,
                     [shown = canvas] { describe(*shown); });

    // `Command3`: clears the canvas.
    clearCanvasButton = button("Command3", "&Rensa");
    // `Command1`: clears the canvas and the text boxes.
    clearAllButton = button("Command1", "Rensa a&llt");
    // `Anpassa`: only the message, from the top left.
    adaptCheck = new QCheckBox(QStringLiteral("An&passa efter indata"));
    adaptCheck->setObjectName(QStringLiteral("Anpassa"));
    adaptCheck->setToolTip(QStringLiteral("Om denna ruta är ikryssad kommer endast indatat att "
                                          "skrivas. Ej villospårsdata."));
    // Seals the message with a passphrase, so that it reads like the random pixels.
    protectCheck = new QCheckBox(QStringLiteral("Skydda &med lösenfras"));
    protectCheck->setObjectName(QStringLiteral("protectCheck"));
    protectCheck->setToolTip(QStringLiteral(
        "Om denna ruta är ikryssad förseglas meddelandet med en lösenfras och skrivs så att det "
        "inte går att skilja från slumpdata. Samma lösenfras behövs för att dekryptera."));
    // Shown while the protection is on.
    protectionSign = new QLabel(QStringLiteral("Lösenfrasskydd på"));
    protectionSign->setObjectName(QStringLiteral("protectionSign"));
    protectionSign->setStyleSheet(
        QStringLiteral("QLabel { background: #1e6b2e; color: white; font-weight: bold; "
                       "padding: 1px 6px; border-radius: 3px; }"));

    // `Bar`
    progressBar = new ProgressBar;
    progressBar->setObjectName(QStringLiteral("Bar"));
    progressBar->setToolTip(QStringLiteral("Visar fortskridningsprocess."));
    // `Text3`: the characters under the mouse pointer, not decoded.
    directDataBox = textBox("Text3",
                            "Här visas odekrypterade data (direktdata) när musmarkören förs över "
                            "bildrutan.",
                            false);
    // `Label5`
    directDataLabel = label("Label5", "Direk&tdata:", directDataBox);

    // `Timer1`: ticks the time of day.
    clock = new QTimer(&window);
    clock->setObjectName(QStringLiteral("Timer1"));
    clock->setInterval(kClockIntervalMs);
}

void MainWindowControls::layOut() {
    auto* keys = new QHBoxLayout;
    keys->addLayout(labelled(shiftLabel, shiftBox));
    keys->addLayout(labelled(xKeyLabel, xKeyBox));
    keys->addLayout(labelled(yKeyLabel, yKeyBox));

    auto* commands = new QHBoxLayout;
    commands->addWidget(generateButton);
    commands->addWidget(decryptButton);
    auto* protection = new QHBoxLayout;
    protection->addWidget(protectCheck);
    protection->addStretch();
    protection->addWidget(protectionSign);
    auto* files = new QHBoxLayout;
    files->addWidget(openPictureButton);
    files->addWidget(savePictureButton);

    auto* readingLength = new QHBoxLayout;
    readingLength->addWidget(readingLengthLabel);
    readingLength->addWidget(readingLengthBox);

    // The room line shares the caption's row, so that nothing below it moves.
    auto* inputCaption = new QHBoxLayout;
    inputCaption->addWidget(inputLabel);
    inputCaption->addWidget(roomLabel, 1);
    auto* input = new QVBoxLayout;
    input->setSpacing(2);
    input->addLayout(inputCaption);
    input->addWidget(inputBox);

    auto* left = new QVBoxLayout;
    left->addLayout(input, 3);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(keys);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(commands);
    left->addLayout(protection);
    left->addWidget(line(QFrame::HLine));
    left->addWidget(viewerButton);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(files);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(labelled(decryptedLabel, decryptedBox), 2);
    left->addLayout(readingLength);
    left->addWidget(line(QFrame::HLine));
    left->addLayout(labelled(decodedListLabel, decodedList), 3);

    // A canvas that follows a large picture's size scrolls within its place.
    auto* canvasPlace = new QScrollArea;
    canvasPlace->setObjectName(QStringLiteral("canvasPlace"));
    canvasPlace->setFrameShape(QFrame::NoFrame);
    // The canvas itself takes the focus and shows it.
    canvasPlace->setFocusPolicy(Qt::NoFocus);
    canvasPlace->setFixedSize(kCanvasOuterSize);
    canvasPlace->setWidget(canvas);

    auto* clearing = new QHBoxLayout;
    clearing->addWidget(clearCanvasButton);
    clearing->addWidget(clearAllButton);

    auto* right = new QVBoxLayout;
    right->addWidget(clockLabel);
    right->addWidget(line(QFrame::HLine));
    right->addWidget(canvasPlace, 0, Qt::AlignHCenter);
    right->addLayout(clearing);
    right->addWidget(line(QFrame::HLine));
    right->addWidget(adaptCheck);
    right->addWidget(line(QFrame::HLine));
    right->addWidget(progressBar);
    right->addWidget(line(QFrame::HLine));
    right->addLayout(labelled(directDataLabel, directDataBox), 1);

    auto* rightColumn = new QWidget;
    rightColumn->setFixedWidth(kRightColumnWidth);
    rightColumn->setLayout(right);
    right->setContentsMargins(0, 0, 0, 0);

    client_ = new QWidget;
    auto* columns = new QHBoxLayout(client_);
    columns->addLayout(left, 1);
    columns->addWidget(line(QFrame::VLine));
    columns->addWidget(rightColumn);
    client_->setFixedSize(kClientWidth, kClientHeight);
}

void MainWindowControls::orderTabs() const {
    // Tab follows the layout: down the left column, then down the right one.
    QWidget* const order[] = {inputBox,          shiftBox,       xKeyBox,
                              yKeyBox,           generateButton, decryptButton,
                              protectCheck,      viewerButton,   openPictureButton,
                              savePictureButton, decryptedBox,   readingLengthBox,
                              decodedList,       canvas,         clearCanvasButton,
                              clearAllButton,    adaptCheck,     directDataBox};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

} // namespace kvistra
