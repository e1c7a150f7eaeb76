// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "Accessibility.h"
#include "FileBytes.h"
#include "FocusShown.h"
#include "MainWindowFixture.h"
#include "core/ColourSplit.h"
#include "core/Image.h"
#include "core/MessageBoxStyle.h"
#include "core/RunCheck.h"
#include "io/KeyFile.h"
#include "io/PictureFile.h"
#include "toolkit/ListBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/TextBox.h"
#include "ui/ToolkitLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <clocale>
#include <string>
#include <sys/stat.h>
#include <utility>

using namespace kvistra;
using kvistra::test::fileBytes;
using kvistra::test::MainWindowFixture;
using kvistra::test::writeBytes;

namespace {

constexpr int kCanvasWidth = 269;
constexpr int kCanvasHeight = 253;

// A drag whose source proposes to move the files.
template <class Event> struct ProposedAsMove : Event {
    template <class... Args>
    explicit ProposedAsMove(Args&&... args)
        : Event(std::forward<Args>(args)...) {
        this->m_defaultAction = Qt::MoveAction;
        this->m_dropAction = Qt::MoveAction;
    }
};

Colour colourOf(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

} // namespace

class MainWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadSetsTheDefaults();
    void fieldChecks_data();
    void fieldChecks();
    void fieldChecksReadNumbersInTheUsersLocale();
    void pickingFromTheListIsNoTextChange();
    void keyPositionGeneration();
    void adaptGeneration();
    void generationRefusalsAreStopBoxes();
    void wrongKeyFileChangesNothing_data();
    void wrongKeyFileChangesNothing();
    void wholeRoadThroughFiles();
    void decoderReportsFailures_data();
    void decoderReportsFailures();
    void decoderDoesNothingUntilEnabled();
    void clearingCommands();
    void pixelInspector();
    void doubleClickMakesTheCanvasFollowThePicture();
    void textImport();
    void fileFailuresChangeNothing();
    void textBoxesUseCrLf();
    void windowStaysPaintedDuringLongRun();
    void creditMessages_data();
    void displaySettingsThroughTheWindow();
    void taskListCommands();
    void taskListCommandsWhereTheDesktopDoesNotAllowThem();
    void aboutDialogExistsOnce();
    void creditMessages();
    void refusedDefaultIsNotCheckedAgain_data();
    void refusedDefaultIsNotCheckedAgain();
    void tabWalksTheWindowInLayoutOrder_data();
    void tabWalksTheWindowInLayoutOrder();
    void ctrlTabLeavesTheTextBoxes();
    void tabCharacterComesInOnlyByPasting();
    void framedControlsShowTheFocus_data();
    void framedControlsShowTheFocus();
    void focusableControlsHaveNames();
    void menuItemsHaveAccessKeys();
    void accessKeys_data();
    void accessKeys();
    void accessKeysDoNotClash();
    void standardShortcuts();
    void savingPartOfAPictureAsksFirst_data();
    void savingPartOfAPictureAsksFirst();
    void openDialogKeepsAnExistingName();
    void toolkitDialogsSpeakSwedish();
    void keyFileOfAnotherPictureIsRefused();
    void elevenLinesDivideTheWindow();
    void startFilesOpenAsTheMenusOpenThem();
    void startFileFailuresGiveTheMenusMessages_data();
    void startFileFailuresGiveTheMenusMessages();
    void droppedFilesOpenAsTheirCommands_data();
    void droppedFilesOpenAsTheirCommands();
    void droppedPictureComesBeforeItsKey();
    void droppedTextIsNoDropOfFiles();
    void roomLineFollowsTheMessageKeysCanvasAndMode();
    void roomLineWarnsExactlyWhenGenerationWouldRefuse_data();
    void roomLineWarnsExactlyWhenGenerationWouldRefuse();
    void savedPictureIsReadBackWithTheKeyValues();
    void unsavedGenerationIsAskedAbout_data();
    void unsavedGenerationIsAskedAbout();
    void answeringYesSavesBothBeforeGoingOn();
    void keyOfASavedPictureIsAskedAboutAfterTheCanvasIsCleared();

private:
    template <class T> T* control(const char* name) const {
        return childOf<T>(window_.get(), name);
    }
    QLineEdit* lineEditOf(const QString& name) const;
    // One edit by the user that replaces the whole text, as a paste would.
    void type(QLineEdit* field, const QString& text);
    void click(const char* name) { control<QPushButton>(name)->click(); }
    // "Generera kryptobild", and the captions it showed in order.
    QStringList generateCollectingCaptions();
    void trigger(const char* name) { control<QAction>(name)->trigger(); }
    QString fieldText(const char* name) const;
    std::string boxText(const char* name) const { return control<TextBox>(name)->programText(); }
    void moveOverCanvas(int x, int y);
    // The window active, so that it has a focus and its shortcuts work.
    void activate();
    // The named control that has the keyboard focus (a combo box for its line edit).
    QString focusedControl() const;
    // Files dragged onto a control and dropped there, as the desktop's drag and drop
    // delivers them; whether the window took the drop, as a copy.
    bool drop(QWidget* target, const QStringList& names);
    // A generated picture, saved or not.
    void generate(const char* message);
    QString roomLine() const { return control<QLabel>("roomLine")->text(); }
    bool roomLineWarns() const;
    // Whether "Dekryptera" reads the canvas: a reading ends with a box, whether it read
    // the message or failed. The texts, caption and boxes are put back as they were.
    bool decryptReads();
    // The name the key-file dialog offers next; the dialog is cancelled and forgotten.
    std::string keyDialogOffers();
};

void MainWindowTest::init() {
    QLocale::setDefault(QLocale::c());
    openWindow();
}

void MainWindowTest::cleanup() {
    closeWindow();
}

QLineEdit* MainWindowTest::lineEditOf(const QString& name) const {
    if (auto* combo = window_->findChild<QComboBox*>(name)) {
        return combo->lineEdit();
    }
    return window_->findChild<QLineEdit*>(name);
}

void MainWindowTest::type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
    } else {
        field->insert(text);
    }
}

QString MainWindowTest::fieldText(const char* name) const {
    return lineEditOf(QLatin1String(name))->text();
}

void MainWindowTest::moveOverCanvas(int x, int y) {
    auto* canvas = control<PictureBox>("Picture1");
    const QPointF at(x + PictureBox::kFrameWidth, y + PictureBox::kFrameWidth);
    QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
}

void MainWindowTest::activate() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

QString MainWindowTest::focusedControl() const {
    for (QWidget* widget = QApplication::focusWidget(); widget; widget = widget->parentWidget()) {
        if (!widget->objectName().isEmpty() &&
            !widget->objectName().startsWith(QLatin1String("qt_"))) {
            return widget->objectName();
        }
    }
    return QStringLiteral("(none)");
}

bool MainWindowTest::drop(QWidget* target, const QStringList& names) {
    QList<QUrl> urls;
    for (const QString& name : names) {
        urls << QUrl::fromLocalFile(name);
    }
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    // Delivered as Qt delivers a drag: to the nearest control that takes drops.
    // Offered as a move first, as file managers do; taken only as a copy.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    ProposedAsMove<QDragEnterEvent> enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction) {
        return false;
    }
    ProposedAsMove<QDropEvent> dropped(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
}

bool MainWindowTest::decryptReads() {
    auto* decrypted = control<TextBox>("Text2");
    auto* direct = control<TextBox>("Text3");
    const std::string decryptedText = decrypted->programText();
    const std::string directText = direct->programText();
    const QString caption = window_->windowTitle();
    const std::size_t boxes = boxes_.shown.size();
    click("Command2");
    const bool read = boxes_.shown.size() > boxes;
    boxes_.shown.resize(boxes);
    decrypted->setProgramText(decryptedText);
    direct->setProgramText(directText);
    window_->setWindowTitle(caption);
    return read;
}

std::string MainWindowTest::keyDialogOffers() {
    const std::size_t asked = prompt_.asked.size();
    trigger("mnuOpenKeyFile");
    if (prompt_.asked.size() != asked + 1) {
        qFatal("the key-file dialog was not shown");
    }
    std::string offered = prompt_.asked.back().suggestedName;
    prompt_.asked.pop_back();
    return offered;
}

void MainWindowTest::generate(const char* message) {
    control<TextBox>("Text1")->setProgramText(message);
    click("Command4");
    boxes_.shown.clear();
}

bool MainWindowTest::roomLineWarns() const {
    const auto* line = control<QLabel>("roomLine");
    return line->palette().color(QPalette::WindowText) !=
           window_->centralWidget()->palette().color(QPalette::WindowText);
}

QStringList MainWindowTest::generateCollectingCaptions() {
    const QSignalSpy captions(window_.get(), &QWidget::windowTitleChanged);
    click("Command4");
    QStringList seen;
    for (const QList<QVariant>& caption : captions) {
        seen << caption.at(0).toString();
    }
    return seen;
}

void MainWindowTest::loadSetsTheDefaults() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Status: Väntar"));
    QCOMPARE(fieldText("Stepping"), QStringLiteral("0"));
    QCOMPARE(fieldText("Combo1"), QStringLiteral("5"));
    QCOMPARE(fieldText("Combo2"), QStringLiteral("5"));
    QCOMPARE(fieldText("Text4"), QString());
    QVERIFY(control<QCheckBox>("Anpassa")->isChecked());
    QTRY_VERIFY(!control<QLabel>("Tid")->text().isEmpty()); // the clock's first tick
    QVERIFY(boxes_.shown.empty());

    for (const char* key : {"Combo1", "Combo2"}) {
        const auto* combo = control<QComboBox>(key);
        QCOMPARE(combo->count(), kCanvasWidth + 1);
        QCOMPARE(combo->itemText(0), QStringLiteral("0"));
        QCOMPARE(combo->itemText(kCanvasWidth), QString::number(kCanvasWidth));
    }
    const auto* stepping = control<QComboBox>("Stepping");
    QCOMPARE(stepping->count(), 30);
    QCOMPARE(stepping->itemText(29), QStringLiteral("29"));

    const auto* canvas = control<PictureBox>("Picture1");
    QCOMPARE(canvas->size(), QSize(273, 257));
    QCOMPARE(canvas->scaleWidth(), kCanvasWidth);
    QCOMPARE(canvas->scaleHeight(), kCanvasHeight);
    QCOMPARE(canvas->image().pixel(0, 0), kWhite);
    QCOMPARE(window_->centralWidget()->size(), QSize(737, 521));
    QVERIFY(control<ProgressBar>("Bar")->progress() == (Progress{0.0f, 100.0f, 0.0f}));
}

void MainWindowTest::fieldChecks_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QString>("after");

    const char* keyNotNumeric = "Du måste mata in numeriska data!";
    const char* notNumeric = "Du måste mata in numeriska värden!";
    struct Case {
        const char* name;
        const char* field;
        const char* typed;
        const char* message;
        const char* after;
    };
    const Case cases[] = {
        {"x-key letters", "Combo2", "abc", keyNotNumeric, "5"},
        {"x-key emptied", "Combo2", "", keyNotNumeric, "5"},
        {"x-key equal to the width", "Combo2", "269", "", "269"},
        {"x-key above the width", "Combo2", "270", "Du måste mata in ett tal under 269!", "5"},
        {"y-key equal to the height", "Combo1", "253", "", "253"},
        {"y-key above the height", "Combo1", "254", "Du måste mata in ett tal under 253!", "5"},
        {"y-key negative and fractional", "Combo1", "-3.5", "", "-3.5"},
        {"y-key with blanks around", "Combo1", " 7 ", "", " 7 "},
        {"shift 30", "Stepping", "30", "Du måste mata in ett tal som är högst 29!", "0"},
        {"shift 29", "Stepping", "29", "", "29"},
        {"shift -3", "Stepping", "-3", "", "-3"},
        {"shift letters", "Stepping", "x", notNumeric, "0"},
        {"length emptied", "Text4", "", notNumeric, "0"},
        {"length letters", "Text4", "tio", notNumeric, "0"},
        {"length without a range", "Text4", "99999", "", "99999"},
    };
    for (const Case& c : cases) {
        QTest::newRow(c.name) << QString::fromUtf8(c.field) << QString::fromUtf8(c.typed)
                              << QString::fromUtf8(c.message) << QString::fromUtf8(c.after);
    }
}

void MainWindowTest::fieldChecks() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QString, after);

    QLineEdit* edit = lineEditOf(field);
    QVERIFY(edit);
    if (typed.isEmpty()) {
        type(edit, QStringLiteral("1")); // something to empty
    }
    type(edit, typed);
    QCOMPARE(edit->text(), after);
    if (message.isEmpty()) {
        QVERIFY(boxes_.shown.empty());
        return;
    }
    // One message: the default put back passes its own check.
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes_.shown[0].text), message);
    QCOMPARE(boxes_.shown[0].title, std::string("Information"));
    QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
}

void MainWindowTest::fieldChecksReadNumbersInTheUsersLocale() {
    // As under LANG=sv_SE.UTF-8, where the C library's own number reading would
    // expect a comma too, when the system has that locale.
    struct NumericLocale {
        std::string saved = std::setlocale(LC_NUMERIC, nullptr);
        NumericLocale() { std::setlocale(LC_NUMERIC, "sv_SE.UTF-8"); }
        ~NumericLocale() { std::setlocale(LC_NUMERIC, saved.c_str()); }
        NumericLocale(const NumericLocale&) = delete;
        NumericLocale& operator=(const NumericLocale&) = delete;
    } const swedishNumbers;
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    type(lineEditOf("Stepping"), QStringLiteral("2,5"));
    type(lineEditOf("Combo2"), QStringLiteral("268,5"));
    type(lineEditOf("Combo1"), QStringLiteral("-1,25e2"));
    QVERIFY(boxes_.shown.empty());
    type(lineEditOf("Combo2"), QStringLiteral("269,5"));
    // The full stop is no decimal separator in Swedish.
    type(lineEditOf("Stepping"), QStringLiteral("2.5"));
    QCOMPARE(boxes_.texts(), (std::vector<std::string>{"Du måste mata in ett tal under 269!",
                                                       "Du måste mata in numeriska värden!"}));
}

void MainWindowTest::pickingFromTheListIsNoTextChange() {
    // The y-key list runs to the width, past the height, and picking is not checked.
    control<QComboBox>("Combo1")->setCurrentIndex(kCanvasWidth);
    QCOMPARE(fieldText("Combo1"), QString::number(kCanvasWidth));
    QVERIFY(boxes_.shown.empty());
}

void MainWindowTest::keyPositionGeneration() {
    control<QCheckBox>("Anpassa")->setChecked(false);
    control<TextBox>("Text1")->setProgramText("Hej");
    type(lineEditOf("Combo2"), QStringLiteral("7"));
    type(lineEditOf("Stepping"), QStringLiteral("3"));
    const QStringList seen = generateCollectingCaptions();
    QCOMPARE(seen, (QStringList{"Status: Utför analys", "Status: Analys klar",
                                "Status: Genererar inledningsdata", "Status: Skriver kryptodata",
                                "Status: Genererar villospår", "Status: Väntar"}));
    const auto last = static_cast<float>(kCanvasWidth * kCanvasHeight + 1);
    QVERIFY(control<ProgressBar>("Bar")->progress() == (Progress{0.0f, last, last}));
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(fieldText("Text4"), QStringLiteral("3"));
    QVERIFY(decryptReads());
    // The message is kept for the saved picture's check: saving it reads "Hej" back.
    prompt_.answers = {path("bild.png").toStdString()};
    click("SavePicture");
    QVERIFY(boxes_.shown.empty());

    const Image& canvas = control<PictureBox>("Picture1")->image();
    // Where the message run began; it finished no row.
    QCOMPARE(convert(canvas.pixel(7, 5)).green, 'H' - 3);
    QCOMPARE(convert(canvas.pixel(8, 5)).green, 'e' - 3);
    QCOMPARE(convert(canvas.pixel(9, 5)).green, 'j' - 3);
    QVERIFY(canvas.pixel(0, 0) != kWhite);
    QVERIFY(canvas.pixel(kCanvasWidth - 1, kCanvasHeight - 1) != kWhite);
}

void MainWindowTest::adaptGeneration() {
    control<TextBox>("Text1")->setProgramText("Hej");
    const QStringList seen = generateCollectingCaptions();
    QCOMPARE(seen, (QStringList{"Status: Utför analys", "Status: Analys klar",
                                "Status: Skriver kryptodata"}));
    QVERIFY(control<ProgressBar>("Bar")->progress() == (Progress{0.0f, 3.0f, 3.0f}));
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(boxes_.shown[0].text, std::string("Krypteringsprocess slutförd!"));
    QCOMPARE(boxes_.shown[0].title, std::string("Kvistra"));
    QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Information);
    QCOMPARE(fieldText("Text4"), QStringLiteral("3"));
    QCOMPARE(fieldText("Combo1"), QStringLiteral("0"));
    QCOMPARE(fieldText("Combo2"), QStringLiteral("0"));
    QVERIFY(decryptReads());

    const Image& canvas = control<PictureBox>("Picture1")->image();
    QCOMPARE(convert(canvas.pixel(0, 0)).green, 'H');
    QCOMPARE(canvas.pixel(3, 0), kWhite); // nothing after the message
}

void MainWindowTest::generationRefusalsAreStopBoxes() {
    click("Command4");
    QCOMPARE(boxes_.texts(), std::vector<std::string>{"Du har inte matat in något!"});
    QCOMPARE(boxes_.shown[0].title, std::string("Kvistra"));
    QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);

    // A y-key picked past the height: refused before anything is written.
    boxes_.shown.clear();
    control<QCheckBox>("Anpassa")->setChecked(false);
    control<TextBox>("Text1")->setProgramText("Hej");
    control<QComboBox>("Combo1")->setCurrentIndex(260);
    click("Command4");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
    QCOMPARE(boxes_.shown[0].title, std::string("Kvistra"));
    QVERIFY(!decryptReads());
    QCOMPARE(control<PictureBox>("Picture1")->image().pixel(0, 0), kWhite);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Status: Väntar"));

    // A fractional shift is taken by the field but refused before anything is written,
    // with key position and in adapt mode alike.
    for (const bool adapt : {false, true}) {
        boxes_.shown.clear();
        control<QCheckBox>("Anpassa")->setChecked(adapt);
        control<QComboBox>("Combo1")->setCurrentIndex(5);
        type(lineEditOf("Stepping"), QStringLiteral("0.5"));
        QVERIFY(boxes_.shown.empty());
        click("Command4");
        QCOMPARE(
            boxes_.texts(),
            std::vector<std::string>{
                "Förskjutningen du har valt (0.5) är inget heltal.\r\nFörskjutningen måste "
                "vara ett heltal, annars ändras tecknen i meddelandet. Ingenting har skrivits."});
        QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
        QVERIFY(!decryptReads());
        QCOMPARE(control<PictureBox>("Picture1")->image().pixel(0, 0), kWhite);
        QCOMPARE(fieldText("Stepping"), QStringLiteral("0.5"));
        QCOMPARE(fieldText("Text4"), QString());
    }
}

void MainWindowTest::wrongKeyFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // after the file's quoted name

    QTest::newRow("four text lines")
        << QByteArray("Kära dagbok\r\nidag\r\nregnade\r\ndet\r\n")
        << QStringLiteral(" kan inte användas: rad 1 (Nyckel-y:) är \"K\u00C3\u00A4ra dagbok\".\r\n"
                          "Du måste mata in numeriska data!");
    QTest::newRow("x-key past the canvas")
        << QByteArray("5\r\n300\r\n0\r\n3\r\n")
        << QStringLiteral(" kan inte användas: rad 2 (Nyckel-x:) är \"300\".\r\n"
                          "Du måste mata in ett tal under 269!");
    QTest::newRow("shift above 29")
        << QByteArray("5\r\n5\r\n31\r\n3\r\n")
        << QStringLiteral(" kan inte användas: rad 3 (Förskjutning:) är \"31\".\r\n"
                          "Du måste mata in ett tal som är högst 29!");
    QTest::newRow("reading length not a number")
        << QByteArray("5\r\n5\r\n0\r\ntre\r\n")
        << QStringLiteral(" kan inte användas: rad 4 (Inläsningslängd:) är \"tre\".\r\n"
                          "Du måste mata in numeriska värden!");
    QTest::newRow("group separator")
        << QByteArray("0,4\r\n5\r\n0\r\n3\r\n")
        << QStringLiteral(" kan inte användas: rad 1 (Nyckel-y:) är "
                          "\"0,4\".\r\nDu måste mata in numeriska data!");
    QTest::newRow("one line") << QByteArray("5 5 0 3\n")
                              << QStringLiteral(
                                     " har bara 1 rad; en nyckelfil har fyra: nyckel-y, nyckel-x, "
                                     "förskjutning och inläsningslängd.");
}

void MainWindowTest::wrongKeyFileChangesNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    type(lineEditOf("Combo1"), QStringLiteral("12"));
    type(lineEditOf("Combo2"), QStringLiteral("34"));
    type(lineEditOf("Stepping"), QStringLiteral("4"));
    type(lineEditOf("Text4"), QStringLiteral("17"));
    writeBytes(path("fel.txt"), bytes);
    prompt_.answers = {path("fel.txt").toStdString()};
    trigger("mnuOpenKeyFile");

    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes_.shown[0].text),
             QStringLiteral("Nyckelfilen \"") + path("fel.txt") + QStringLiteral("\"") + message);
    QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
    QCOMPARE(fieldText("Combo1"), QStringLiteral("12"));
    QCOMPARE(fieldText("Combo2"), QStringLiteral("34"));
    QCOMPARE(fieldText("Stepping"), QStringLiteral("4"));
    QCOMPARE(fieldText("Text4"), QStringLiteral("17"));
    QVERIFY(!decryptReads());
}

void MainWindowTest::wholeRoadThroughFiles() {
    control<QCheckBox>("Anpassa")->setChecked(false);
    auto* input = control<TextBox>("Text1");
    QTest::keyClicks(input, QStringLiteral("Hej"));
    QTest::keyClick(input, Qt::Key_Return);
    input->insertPlainText(QStringLiteral("då | öl"));
    const std::string message = "Hej\r\ndå | öl";
    QCOMPARE(input->programText(), message);
    type(lineEditOf("Combo1"), QStringLiteral("12"));
    type(lineEditOf("Combo2"), QStringLiteral("34"));
    type(lineEditOf("Stepping"), QStringLiteral("4"));
    click("Command4");
    QVERIFY(boxes_.shown.empty());

    // Names typed without an extension get the dialog's default one.
    prompt_.answers = {path("bild").toStdString()};
    click("SavePicture");
    prompt_.answers = {path("nyckel").toStdString()};
    trigger("mnuSaveKeyFile");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(fileBytes(path("nyckel.txt")), QByteArray("12\r\n34\r\n4\r\n12\r\n"));
    QCOMPARE(keyDialogOffers(), path("nyckel.txt").toStdString());
    QVERIFY(QFile::exists(path("bild.bmp")));

    click("Command1"); // Rensa allt
    QCOMPARE(boxText("Text1"), std::string());
    QCOMPARE(control<PictureBox>("Picture1")->image().pixel(40, 12), kWhite);
    type(lineEditOf("Combo1"), QStringLiteral("0"));
    type(lineEditOf("Combo2"), QStringLiteral("0"));
    type(lineEditOf("Text4"), QStringLiteral("1"));

    prompt_.answers = {path("bild.bmp").toStdString()};
    click("OpenPicture");
    prompt_.answers = {path("nyckel.txt").toStdString()};
    trigger("mnuOpenKeyFile");
    // Each dialog offers the name last chosen in it.
    QCOMPARE(prompt_.asked.at(2).suggestedName, path("bild.bmp").toStdString());
    QCOMPARE(prompt_.asked.at(3).suggestedName, path("nyckel.txt").toStdString());
    QCOMPARE(fieldText("Combo1"), QStringLiteral("12"));
    QCOMPARE(fieldText("Combo2"), QStringLiteral("34"));
    QCOMPARE(fieldText("Stepping"), QStringLiteral("4"));
    QCOMPARE(fieldText("Text4"), QStringLiteral("12"));

    click("Command2"); // Dekryptera
    QCOMPARE(boxText("Text2"), message);
    const auto* list = control<ListBox>("List1");
    QCOMPARE(list->count(), 12);
    QCOMPARE(list->line(0), QStringLiteral("68 - H"));
    QCOMPARE(list->line(3), QStringLiteral("9 - \u240D")); // CR, shifted down by 4
    QVERIFY(control<ProgressBar>("Bar")->progress() == (Progress{0.0f, 12.0f, 12.0f}));
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(boxes_.shown[0].text)
                .contains(QRegularExpression("^Det tog [0-9.,Ee+-]+ sekunder att dekryptera "
                                             "meddelandet$")));
    QCOMPARE(boxes_.shown[0].title, std::string("Kvistra"));
    QCOMPARE(boxes_.shown[0].style, 0);
}

void MainWindowTest::decoderReportsFailures_data() {
    QTest::addColumn<QString>("shift");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("message");

    // A white canvas: every green byte is 255.
    const QString check = QStringLiteral("\r\nKontrollera att nyckel-x, nyckel-y, förskjutningen "
                                         "och inläsningslängden hör till den här bilden.");
    QTest::newRow("code above 255")
        << "1"
        << "1"
        << "Följande fel uppstod: Tecken nummer 1 (bildpunkt 5, 5) kunde inte läsas: det gröna "
           "värdet 255 med förskjutningen 1 ger ingen teckenkod mellan 0 och 255." +
               check + "\r\nFelkod: 5";
    QTest::newRow("reading length beyond 16 bits")
        << "0"
        << "40000"
        << "Följande fel uppstod: Inläsningslängden \"40000\" ligger utanför -32768 till 32767." +
               check + "\r\nFelkod: 6";
}

void MainWindowTest::decoderReportsFailures() {
    QFETCH(QString, shift);
    QFETCH(QString, length);
    QFETCH(QString, message);

    // A white picture of the canvas's size, opened so that "Dekryptera" reads.
    QVERIFY(savePicture(path("vit.bmp").toStdString(), Image(kCanvasWidth, kCanvasHeight)).ok());
    prompt_.answers = {path("vit.bmp").toStdString()};
    click("OpenPicture");
    type(lineEditOf("Stepping"), shift);
    type(lineEditOf("Text4"), length);
    QVERIFY(boxes_.shown.empty());
    click("Command2");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(boxes_.shown[0].text), message);
    QCOMPARE(boxes_.shown[0].title, std::string("Kvistra"));
    QCOMPARE(boxes_.shown[0].style, 0);
    QCOMPARE(window_->windowTitle(), QStringLiteral("Status: Dekrypterar"));
}

void MainWindowTest::decoderDoesNothingUntilEnabled() {
    control<TextBox>("Text2")->setProgramText("kvar");
    type(lineEditOf("Text4"), QStringLiteral("3"));
    click("Command2");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(boxText("Text2"), std::string("kvar"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Status: Väntar"));
    QCOMPARE(control<ListBox>("List1")->count(), 0);

    // What an earlier reading listed stays too.
    control<ListBox>("List1")->addLines({"72 - H"});
    click("Command2");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(control<ListBox>("List1")->count(), 1);
}

void MainWindowTest::clearingCommands() {
    control<TextBox>("Text1")->setProgramText("Hej");
    click("Command4");
    control<TextBox>("Text2")->setProgramText("ut");
    control<TextBox>("Text3")->setProgramText("direkt");
    type(lineEditOf("Combo2"), QStringLiteral("9"));
    boxes_.shown.clear();

    click("Command3"); // Rensa: the canvas only
    QCOMPARE(control<PictureBox>("Picture1")->image().pixel(0, 0), kWhite);
    QCOMPARE(boxText("Text1"), std::string("Hej"));
    QVERIFY(decryptReads());

    for (const char* command : {"Command1", "mnuNewProject"}) {
        control<TextBox>("Text1")->setProgramText("Hej");
        if (QByteArray(command).startsWith("mnu")) {
            trigger(command);
        } else {
            click(command);
        }
        QCOMPARE(boxText("Text1"), std::string());
        QCOMPARE(boxText("Text2"), std::string());
        QCOMPARE(boxText("Text3"), std::string());
        QCOMPARE(fieldText("Text4"), QStringLiteral("3"));
        QCOMPARE(fieldText("Combo2"), QStringLiteral("9"));
        QVERIFY(control<QCheckBox>("Anpassa")->isChecked());
        QVERIFY(decryptReads());
    }

    // Decryption still runs, now over white.
    type(lineEditOf("Combo1"), QStringLiteral("0"));
    type(lineEditOf("Combo2"), QStringLiteral("0"));
    click("Command2");
    QCOMPARE(boxText("Text2"), std::string("ÿÿÿ"));
    QCOMPARE(control<ListBox>("List1")->count(), 3);
}

void MainWindowTest::pixelInspector() {
    Image& canvas = control<PictureBox>("Picture1")->surfaceToDrawOn();
    const Colour letterH = colourOf(1, 72, 3);
    canvas.setPixel(120, 45, letterH);
    canvas.setPixel(121, 45, colourOf(9, 255, 9));
    canvas.setPixel(122, 45, colourOf(0, 0, 0));

    moveOverCanvas(0, 0);
    QCOMPARE(window_->windowTitle(), QStringLiteral("16777215 - 0x0"));
    QCOMPARE(boxText("Text3"), std::string());

    moveOverCanvas(120, 45);
    QCOMPARE(window_->windowTitle(), QString::number(letterH) + QStringLiteral(" - 120x45"));
    moveOverCanvas(121, 45); // green 255: nothing, whatever red and blue are
    moveOverCanvas(120, 45);
    moveOverCanvas(122, 45); // code 0, shown as its control picture
    QCOMPARE(boxText("Text3"), std::string("HH\0", 3));
    QCOMPARE(control<TextBox>("Text3")->toPlainText(), QStringLiteral("HH\u2400"));
    QCOMPARE(control<TextBox>("Text3")->textCursor().position(), 3);
}

void MainWindowTest::doubleClickMakesTheCanvasFollowThePicture() {
    Image picture(400, 300, colourOf(0, 100, 0));
    QVERIFY(savePicture(path("stor.bmp").toStdString(), picture).ok());
    prompt_.answers = {path("stor.bmp").toStdString()};
    click("OpenPicture");
    auto* canvas = control<PictureBox>("Picture1");
    QCOMPARE(canvas->scaleWidth(), kCanvasWidth); // cut off at the canvas's edges
    QCOMPARE(canvas->image().pixel(kCanvasWidth - 1, 0), colourOf(0, 100, 0));
    QVERIFY(decryptReads());

    QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(canvas->autoSize());
    QCOMPARE(canvas->scaleWidth(), 400);
    QCOMPARE(canvas->scaleHeight(), 300);
    QCOMPARE(canvas->image().pixel(399, 299), colourOf(0, 100, 0));

    type(lineEditOf("Combo2"), QStringLiteral("400"));
    type(lineEditOf("Combo1"), QStringLiteral("301"));
    QCOMPARE(boxes_.texts(), std::vector<std::string>{"Du måste mata in ett tal under 300!"});
    QCOMPARE(fieldText("Combo2"), QStringLiteral("400"));

    // Auto-size stays on: the next picture sets the size again.
    QVERIFY(savePicture(path("liten.bmp").toStdString(), Image(50, 40)).ok());
    prompt_.answers = {path("liten.bmp").toStdString()};
    click("OpenPicture");
    QCOMPARE(canvas->scaleWidth(), 50);
    QCOMPARE(canvas->scaleHeight(), 40);
}

void MainWindowTest::textImport() {
    writeBytes(path("brev.txt"), QByteArray("abc\r\n\r\nd\xE9"
                                            "f\r\n"));
    prompt_.answers = {path("brev").toStdString()};
    trigger("mnuInsertTextFile");
    QCOMPARE(boxText("Text1"), std::string("abc||déf|"));
    QCOMPARE(keyDialogOffers(), path("brev.txt").toStdString());
    QVERIFY(!decryptReads());

    // Cancelled: nothing changes, no message; the next dialog still offers the name.
    trigger("mnuInsertTextFile");
    QCOMPARE(boxText("Text1"), std::string("abc||déf|"));
    QVERIFY(boxes_.shown.empty());
    trigger("mnuOpenKeyFile");
    QCOMPARE(prompt_.asked.back().suggestedName, path("brev.txt").toStdString());
    QCOMPARE(prompt_.asked.back().defaultExtension, std::string("txt"));

    // A Linux text file, UTF-8 with LF alone; one character no picture can hold is
    // named with its line, and the input stays as it was.
    writeBytes(path("linux.txt"), QByteArray("Första raden\nandra € rad\n"));
    prompt_.answers = {path("linux.txt").toStdString()};
    trigger("mnuInsertTextFile");
    QCOMPARE(boxText("Text1"), std::string("Första raden|andra € rad|"));
    writeBytes(path("polska.txt"), QByteArray("God dag\nŁódź\n"));
    prompt_.answers = {path("polska.txt").toStdString()};
    trigger("mnuInsertTextFile");
    QCOMPARE(boxes_.texts(),
             std::vector<std::string>{"Textfilen \"" + path("polska.txt").toStdString() +
                                      "\" kan inte användas: tecknet \"Ł\" på rad 2 finns inte i "
                                      "teckentabellen Windows-1252 och kan inte lagras i bilden."});
    QCOMPARE(boxText("Text1"), std::string("Första raden|andra € rad|"));
}

void MainWindowTest::fileFailuresChangeNothing() {
    // The user's own message, key and canvas; nothing opened or generated yet, so
    // "Dekryptera" reads nothing until a file opens.
    control<TextBox>("Text1")->setProgramText("Hej");
    type(lineEditOf("Combo1"), QStringLiteral("0"));
    control<PictureBox>("Picture1")->surfaceToDrawOn().setPixel(0, 0, colourOf(1, 72, 3));
    boxes_.shown.clear();
    const Image before = control<PictureBox>("Picture1")->image();

    // Cancelled picture dialogs say so.
    click("OpenPicture");
    click("SavePicture");
    QCOMPARE(boxes_.texts(), (std::vector<std::string>{"Du måste välja ett filnamn",
                                                       "Du måste välja ett filnamn"}));
    QCOMPARE(boxes_.shown[0].title, std::string("Information"));
    QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
    boxes_.shown.clear();

    writeBytes(path("inte.bmp"), QByteArray("det här är ingen bild"));
    writeBytes(path("kort.txt"), QByteArray("1\r\n2\r\n"));
    writeBytes(path("finns.bmp"), QByteArray("gammal"));
    const std::string missingFolder = path("saknas/bild.bmp").toStdString();
    prompt_.answers = {path("inte.bmp").toStdString(), missingFolder,
                       path("kort.txt").toStdString(), path("saknas.txt").toStdString()};
    click("OpenPicture");
    click("SavePicture");
    trigger("mnuOpenKeyFile");
    trigger("mnuInsertTextFile");

    QCOMPARE(boxes_.shown.size(), std::size_t{4});
    for (const MessageBoxText& box : boxes_.shown) {
        QCOMPARE(box.title, std::string("Kvistra"));
        QCOMPARE(box.style, MessageBoxStyle::Error);
    }
    QVERIFY(control<PictureBox>("Picture1")->image() == before);
    QVERIFY(!decryptReads());
    QCOMPARE(fieldText("Combo1"), QStringLiteral("0"));
    QCOMPARE(boxText("Text1"), std::string("Hej"));

    // A key value that cannot be stored leaves an existing file as it was.
    writeBytes(path("nyckel.txt"), QByteArray("gammal"));
    type(lineEditOf("Text4"), QStringLiteral("99999"));
    prompt_.answers = {path("nyckel.txt").toStdString()};
    trigger("mnuSaveKeyFile");
    QCOMPARE(boxes_.shown.size(), std::size_t{5});
    QCOMPARE(fileBytes(path("nyckel.txt")), QByteArray("gammal"));
}

void MainWindowTest::textBoxesUseCrLf() {
    auto* box = control<TextBox>("Text2");
    box->setProgramText("a\r\nb");
    QCOMPARE(box->toPlainText(), QStringLiteral("a\nb"));
    QCOMPARE(box->programText(), std::string("a\r\nb"));

    // Lone line-end characters and no-break spaces come back as they went in.
    const std::string odd = "a\nb\rc\u00A0d\te\x7F";
    box->setProgramText(odd);
    QCOMPARE(box->programText(), odd);
    QCOMPARE(box->document()->blockCount(), 1);
}

void MainWindowTest::windowStaysPaintedDuringLongRun() {
    auto* canvas = control<PictureBox>("Picture1");
    canvas->setAutoSize(true);
    canvas->setPicture(Image(1000, 1000));
    control<QCheckBox>("Anpassa")->setChecked(false);
    control<TextBox>("Text1")->setProgramText("Hej");

    // Counts paints of the canvas while a run is under way.
    struct PaintCounter : QObject {
        const QWidget* window = nullptr;
        int paintsDuringRun = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint &&
                window->windowTitle() != QStringLiteral("Status: Väntar")) {
                ++paintsDuringRun;
            }
            return false;
        }
    } counter;
    counter.window = window_.get();
    canvas->installEventFilter(&counter);
    click("Command4");
    canvas->removeEventFilter(&counter);

    QCOMPARE(window_->windowTitle(), QStringLiteral("Status: Väntar"));
    QVERIFY(counter.paintsDuringRun > 0);
}

void MainWindowTest::creditMessages_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("style");

    QTest::newRow("Programmeraren") << "mnuAboutMe"
                                    << "Programmerat av Brennvik" << QString() << 0;
    QTest::newRow("Medhjälpare") << "mnuHelpingMan"
                                 << "Moraliskt stöd, Tolvmark"
                                 << "Information" << 64;
}

void MainWindowTest::creditMessages() {
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(int, style);

    trigger(item.toLatin1().constData());
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(boxes_.shown[0].text, text.toStdString());
    QCOMPARE(boxes_.shown[0].title, title.toStdString());
    QCOMPARE(boxes_.shown[0].style, style);
}

void MainWindowTest::displaySettingsThroughTheWindow() {
    boxes_.answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::Yes};
    system_->display.changeAnswers = {0, -1}; // a failed storing call goes unreported
    trigger("mnuAboutSystemOption");
    QCOMPARE(system_->display.calls,
             (std::vector<std::string>{"enum null 0", "change 4", "change 1"}));
    QCOMPARE(boxes_.shown.size(), std::size_t{3});
    QCOMPARE(boxes_.shown[0].title, std::string("Systeminställningar"));
    QCOMPARE(boxes_.shown[1].text, std::string("Följande inställningar kommer att träda i kraft:"
                                               "\r\n") +
                                       std::string(70, '-') +
                                       "\r\nX: 1024\r\nY: 768\r\nFärgdjup: 24, 32");
    QCOMPARE(boxes_.shown[2].text, std::string("Ändringen lyckades!"));
    QCOMPARE(boxes_.shown[2].style, 4096);

    // No to the warning: nothing more.
    boxes_ = {};
    boxes_.answers = {MessageBoxAnswer::No};
    trigger("mnuAboutSystemOption");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(system_->display.calls.size(), std::size_t{3});
}

void MainWindowTest::taskListCommands() {
    trigger("mnuHideActive");
    trigger("mnuHideActive");
    QVERIFY(!system_->taskList.visible());
    trigger("mnuShowActive");
    QCOMPARE(system_->taskList.changes, (std::vector<bool>{false, false, true}));
    QVERIFY(system_->taskList.visible());
    QVERIFY(window_->isVisible());
    QVERIFY(boxes_.shown.empty());
}

// A desktop without X11 (Wayland alone) lets no program leave its task list.
void MainWindowTest::taskListCommandsWhereTheDesktopDoesNotAllowThem() {
    system_->taskList.allowed = false;
    for (const char* command : {"mnuHideActive", "mnuShowActive"}) {
        boxes_ = {};
        trigger(command);
        QCOMPARE(boxes_.shown.size(), std::size_t{1});
        QCOMPARE(boxes_.shown[0].text, std::string("Skrivbordet tillåter inte att Kvistra göms "
                                                   "för eller visas i Aktivitetshanteraren."));
        QCOMPARE(boxes_.shown[0].title, std::string("Special"));
        QCOMPARE(boxes_.shown[0].style, 48);
    }
    QVERIFY(window_->isVisible());
}

void MainWindowTest::aboutDialogExistsOnce() {
    const auto dialogs = [] {
        QList<QWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("frmAbout") && widget->isVisible()) {
                found.append(widget);
            }
        }
        return found;
    };
    trigger("mnuAboutApp");
    trigger("mnuAboutApp");
    QCOMPARE(dialogs().size(), 1);
    QWidget* about = dialogs().constFirst();
    QCOMPARE(about->windowTitle(), QStringLiteral("Om Kvistra"));
    QVERIFY(!about->isModal());
    QVERIFY(window_->isEnabled());

    // OK unloads it; the next opening creates it anew.
    const QPointer<QWidget> first = about;
    about->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    QTRY_VERIFY(first.isNull());
    trigger("mnuAboutApp");
    QCOMPARE(dialogs().size(), 1);
}

void MainWindowTest::refusedDefaultIsNotCheckedAgain_data() {
    QTest::addColumn<int>("side");
    // Narrower and lower than the default key, so that the default is itself out of range.
    QTest::newRow("1 x 1") << 1;
    QTest::newRow("3 x 3") << 3;
}

void MainWindowTest::refusedDefaultIsNotCheckedAgain() {
    QFETCH(int, side);

    auto* canvas = control<PictureBox>("Picture1");
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(savePicture(path("liten.bmp").toStdString(), Image(side, side)).ok());
    prompt_.answers = {path("liten.bmp").toStdString()};
    click("OpenPicture");
    QCOMPARE(canvas->scaleWidth(), side);
    QVERIFY(boxes_.shown.empty());

    const std::string above = "Du måste mata in ett tal under " + std::to_string(side) + "!";
    for (const char* field : {"Combo2", "Combo1"}) {
        // One box per refusal; the default goes back unchecked, out of range as it is.
        for (const auto& [typed, message] :
             {std::pair{"a", std::string("Du måste mata in numeriska data!")},
              std::pair{"9", above}}) {
            boxes_.shown.clear();
            type(lineEditOf(QLatin1String(field)), QLatin1String(typed));
            QCOMPARE(boxes_.texts(), std::vector<std::string>{message});
            QCOMPARE(fieldText(field), QStringLiteral("5"));
        }
    }
}

void MainWindowTest::tabWalksTheWindowInLayoutOrder_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("forwards");

    QTest::newRow("Tab") << int(Qt::Key_Tab) << int(Qt::NoModifier) << true;
    QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << false;
}

void MainWindowTest::tabWalksTheWindowInLayoutOrder() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, forwards);

    // Down the left column, then down the right one.
    QStringList order{"Text1",    "Stepping",     "Combo2",   "Combo1",      "Command4",
                      "Command2", "protectCheck", "Command5", "OpenPicture", "SavePicture",
                      "Text2",    "Text4",        "List1",    "Picture1",    "Command3",
                      "Command1", "Anpassa",      "Text3"};
    if (!forwards) {
        std::reverse(order.begin() + 1, order.end());
    }
    order.append(order.front()); // round to the start again

    activate();
    control<QWidget>("Text1")->setFocus();
    QTRY_COMPARE(focusedControl(), QStringLiteral("Text1"));
    QStringList walked{focusedControl()};
    for (qsizetype step = 1; step < order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        walked << focusedControl();
    }
    QCOMPARE(walked, order);
    // Nothing typed on the way.
    for (const char* box : {"Text1", "Text2", "Text3"}) {
        QCOMPARE(boxText(box), std::string());
    }
    QCOMPARE(fieldText("Text4"), QString());
    QVERIFY(boxes_.shown.empty());
}

void MainWindowTest::ctrlTabLeavesTheTextBoxes() {
    activate();
    // Each box with the controls before and after it in the tab order.
    const char* const boxes[][3] = {{"Text3", "Text1", "Stepping"},
                                    {"SavePicture", "Text2", "Text4"},
                                    {"Anpassa", "Text3", "Text1"}};
    for (const auto& [before, box, after] : boxes) {
        for (const bool back : {false, true}) {
            control<QWidget>(box)->setFocus();
            QTRY_COMPARE(focusedControl(), QLatin1String(box));
            QTest::keyClick(QApplication::focusWidget(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                            back ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
            QCOMPARE(focusedControl(), QLatin1String(back ? before : after));
            QCOMPARE(boxText(box), std::string());
        }
    }
}

void MainWindowTest::tabCharacterComesInOnlyByPasting() {
    activate();
    auto* input = control<TextBox>("Text1");
    input->setFocus();
    QTest::keyClicks(input, QStringLiteral("ab"));
    QTest::keyClick(input, Qt::Key_Tab);
    QTRY_VERIFY(!input->hasFocus());
    QCOMPARE(input->programText(), std::string("ab"));

    QApplication::clipboard()->setText(QStringLiteral("c\td"));
    input->paste();
    QCOMPARE(input->programText(), std::string("abc\td"));
}

void MainWindowTest::framedControlsShowTheFocus_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("caretInside");
    QTest::newRow("list") << "List1" << false;
    QTest::newRow("canvas") << "Picture1" << false;
    QTest::newRow("Indata") << "Text1" << true;
    QTest::newRow("Dekrypterad data") << "Text2" << true;
    QTest::newRow("Direktdata") << "Text3" << true;
}

void MainWindowTest::framedControlsShowTheFocus() {
    QFETCH(QString, name);
    QFETCH(bool, caretInside);

    activate();
    test::verifyFocusShowsOnTheFrame(control<QFrame>(name.toLatin1().constData()), caretInside);
}

void MainWindowTest::focusableControlsHaveNames() {
    test::verifyFocusableControlsNamed(window_.get(), 18);

    // The key fields' text parts take the focus, and speak their labels.
    for (const auto& [name, spoken] :
         {std::pair{"Stepping", "Förskjutning"}, std::pair{"Combo2", "Nyckel-x"},
          std::pair{"Combo1", "Nyckel-y"}}) {
        QCOMPARE(test::spokenName(control<QComboBox>(name)->lineEdit()), QString::fromUtf8(spoken));
    }
    QCOMPARE(test::spokenName(control<QWidget>("List1")), QStringLiteral("Dekrypteringsdata"));
    QCOMPARE(test::spokenName(control<QWidget>("Text4")), QStringLiteral("Inläsningslängd"));

    // The canvas tells its size, as it follows a picture's.
    auto* canvas = control<PictureBox>("Picture1");
    const auto description = [canvas] {
        return QAccessible::queryAccessibleInterface(canvas)->text(QAccessible::Description);
    };
    QCOMPARE(test::spokenName(canvas), QStringLiteral("Bildruta"));
    QVERIFY2(description().contains(QStringLiteral("269 × 253 bildpunkter")),
             qPrintable(description()));
    QVERIFY(description().contains(QStringLiteral("Piltangenterna")));
    canvas->setAutoSize(true);
    canvas->setPicture(Image(40, 30));
    QVERIFY2(description().contains(QStringLiteral("40 × 30 bildpunkter")),
             qPrintable(description()));
}

void MainWindowTest::menuItemsHaveAccessKeys() {
    test::verifyMenusHaveAccessKeys(window_.get(), 3);

    // A letter in the open menu picks its item.
    activate();
    auto* menu = control<QMenu>("mnuArkiv");
    menu->popup(window_->mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QSignalSpy triggered(control<QAction>("mnuInsertTextFile"), &QAction::triggered);
    QTest::keyClick(menu, Qt::Key_I);
    QCOMPARE(triggered.count(), 1);
}

void MainWindowTest::accessKeys_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("reaches"); // the field a label leads to; empty for a button

    struct Case {
        const char* name;
        const char* caption;
        Qt::Key key;
        const char* reaches;
    };
    const Case cases[] = {
        {"Label7", "Indata", Qt::Key_I, "Text1"},
        {"Label4", "Förskjutning:", Qt::Key_F, "Stepping"},
        {"Label1", "Nyckel-x:", Qt::Key_X, "Combo2"},
        {"Label2", "Nyckel-y:", Qt::Key_Y, "Combo1"},
        {"Label8", "Dekrypterad data:", Qt::Key_E, "Text2"},
        {"Label3", "Inläsningslängd:", Qt::Key_N, "Text4"},
        {"Label6", "Dekrypteringsdata:", Qt::Key_K, "List1"},
        {"Label5", "Direktdata:", Qt::Key_T, "Text3"},
        {"Command4", "Generera kryptobild", Qt::Key_G, ""},
        {"Command2", "Dekryptera", Qt::Key_D, ""},
        {"Command5", "Visa dialogruta för dekrypterad fil", Qt::Key_V, ""},
        {"OpenPicture", "öppna bild", Qt::Key_Odiaeresis, ""},
        {"SavePicture", "spara bild", Qt::Key_S, ""},
        {"Command3", "Rensa", Qt::Key_R, ""},
        {"Command1", "Rensa allt", Qt::Key_L, ""},
        {"Anpassa", "Anpassa efter indata", Qt::Key_P, ""},
    };
    for (const Case& c : cases) {
        QTest::newRow(c.name) << QString::fromUtf8(c.name) << QString::fromUtf8(c.caption)
                              << int(c.key) << QString::fromUtf8(c.reaches);
    }
}

void MainWindowTest::accessKeys() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(int, key);
    QFETCH(QString, reaches);

    activate();
    const QByteArray objectName = name.toLatin1();
    QWidget* owner = control<QWidget>(objectName.constData());
    const QString text = owner->property("text").toString();
    QCOMPARE(QString(text).remove(QLatin1Char('&')), caption);
    QCOMPARE(QKeySequence::mnemonic(text), QKeySequence(Qt::ALT | Qt::Key(key)));

    control<QWidget>("Text3")->setFocus();
    QTRY_COMPARE(focusedControl(), QStringLiteral("Text3"));
    if (auto* button = qobject_cast<QAbstractButton*>(owner)) {
        const QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::keyClick(window_.get(), Qt::Key(key), Qt::AltModifier);
        QTRY_COMPARE(clicked.count(), 1);
        return;
    }
    QTest::keyClick(window_.get(), Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(focusedControl(), reaches);
}

void MainWindowTest::accessKeysDoNotClash() {
    QStringList captions;
    for (const QLabel* label : window_->findChildren<QLabel*>()) {
        captions << label->text();
    }
    for (const QAbstractButton* button : window_->findChildren<QAbstractButton*>()) {
        captions << button->text();
    }
    for (const QAction* action : window_->menuBar()->actions()) {
        captions << action->text();
    }
    QList<QKeySequence> keys;
    for (const QString& caption : captions) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty()) {
            continue;
        }
        QVERIFY2(!keys.contains(key), qPrintable(caption));
        keys << key;
    }
    QVERIFY(keys.size() >= 17);
}

void MainWindowTest::standardShortcuts() {
    activate();
    control<QWidget>("Text1")->setFocus();
    QTest::keyClick(window_.get(), Qt::Key_O, Qt::ControlModifier); // öppna bild
    QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier); // spara bild
    QCOMPARE(prompt_.asked.size(), std::size_t{2});
    QVERIFY(prompt_.asked[0].mode == FileDialogMode::Open);
    QVERIFY(prompt_.asked[1].mode == FileDialogMode::Save);
    QCOMPARE(prompt_.asked[1].defaultExtension, std::string("bmp"));
    boxes_.shown.clear();

    // Ctrl+Q: "Avsluta", its reminder and the end of the program.
    QTimer::singleShot(0, this,
                       [this] { QTest::keyClick(window_.get(), Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(10000, this, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QVERIFY(boxes_.shown[0].text.starts_with("Kom ihåg"));
}

void MainWindowTest::savingPartOfAPictureAsksFirst_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QString>("target"); // the name to save under, in the test's folder
    QTest::addColumn<int>("answer");     // 0: no question expected
    QTest::addColumn<QSize>("saved");    // empty: the file is left as it was

    const QSize large(400, 300);
    const QSize shown(kCanvasWidth, kCanvasHeight);
    QTest::newRow("own file, no") << large << false << "stor.bmp" << MessageBoxAnswer::No
                                  << QSize();
    QTest::newRow("own file, yes")
        << large << false << "stor.bmp" << MessageBoxAnswer::Yes << shown;
    QTest::newRow("own file by another path")
        << large << false << "mapp/../stor.bmp" << MessageBoxAnswer::No << QSize();
    QTest::newRow("higher only") << QSize(100, 300) << false << "stor.bmp" << MessageBoxAnswer::No
                                 << QSize();
    QTest::newRow("another file, no")
        << large << false << "kopia.bmp" << MessageBoxAnswer::No << QSize();
    QTest::newRow("another file, yes")
        << large << false << "kopia.bmp" << MessageBoxAnswer::Yes << shown;
    QTest::newRow("whole after a double click") << large << true << "stor.bmp" << 0 << large;
    QTest::newRow("a picture that fits") << QSize(50, 40) << false << "stor.bmp" << 0 << shown;
}

void MainWindowTest::savingPartOfAPictureAsksFirst() {
    QFETCH(QSize, picture);
    QFETCH(bool, doubleClick);
    QFETCH(QString, target);
    QFETCH(int, answer);
    QFETCH(QSize, saved);

    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("mapp")));
    const std::string opened = path("stor.bmp").toStdString();
    QVERIFY(savePicture(opened, Image(picture.width(), picture.height(), colourOf(1, 2, 3))).ok());
    const QByteArray before = fileBytes(path("stor.bmp"));
    prompt_.answers = {opened};
    click("OpenPicture");
    if (doubleClick) {
        QTest::mouseDClick(control<PictureBox>("Picture1"), Qt::LeftButton, {}, QPoint(5, 5));
    }

    const QString name = path(target.toLatin1().constData());
    boxes_.answers = {answer};
    prompt_.answers = {name.toStdString()};
    click("SavePicture");
    // The dialog offers the opened file's own name.
    QCOMPARE(prompt_.asked.back().suggestedName, opened);

    if (answer == 0) {
        QVERIFY(boxes_.shown.empty());
    } else {
        QCOMPARE(boxes_.shown.size(), std::size_t{1});
        const MessageBoxText& box = boxes_.shown[0];
        QVERIFY(box.text.starts_with("Bilden är större än bildrutan: \"" + opened + "\" har " +
                                     std::to_string(picture.width()) + " x " +
                                     std::to_string(picture.height())));
        QVERIFY(box.text.find("sparas i \"" + name.toStdString() + "\"") != std::string::npos);
        QVERIFY(box.text.find("Dubbelklicka på bildrutan") != std::string::npos);
        QCOMPARE(box.title, std::string("Kvistra"));
        QCOMPARE(box.style, MessageBoxStyle::Warning | MessageBoxStyle::YesNo |
                                MessageBoxStyle::DefaultButton2);
    }
    if (saved.isEmpty()) {
        if (target == QStringLiteral("kopia.bmp")) {
            QVERIFY(!QFile::exists(name));
        } else {
            QCOMPARE(fileBytes(name), before);
        }
        return;
    }
    const Result<std::pair<int, int>> size = pictureSize(name.toStdString());
    QVERIFY(size.ok());
    QCOMPARE(QSize(size->first, size->second), saved);
}

// The toolkit's own boxes (the save dialog's overwrite question among them) take
// their standard buttons' captions from the toolkit's translation.
void MainWindowTest::toolkitDialogsSpeakSwedish() {
    const ToolkitLanguage language;
    QVERIFY2(language.loaded(), "qt_sv.qm of qt6-translations-l10n is not installed");
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const auto caption = [&box](QMessageBox::StandardButton button) {
        return box.button(button)->text().remove(QLatin1Char('&'));
    };
    QCOMPARE(caption(QMessageBox::Yes), QStringLiteral("Ja"));
    QCOMPARE(caption(QMessageBox::No), QStringLiteral("Nej"));
    QCOMPARE(caption(QMessageBox::Cancel), QStringLiteral("Avbryt"));
}

// A key file from the command-line tool names its picture by a check of the pixels
// it reads: the picture it was written with reads, another one (a save cut off
// between the key and the picture) is refused instead of read as a message.
void MainWindowTest::keyFileOfAnotherPictureIsRefused() {
    Image picture(20, 10, colourOf(7, 'H' - 2, 9));
    Image other = picture;
    other.setPixel(4, 2, colourOf(8, 'H' - 2, 9)); // a red byte of the run
    QVERIFY(savePicture(path("bild.bmp").toStdString(), picture).ok());
    QVERIFY(savePicture(path("annan.bmp").toStdString(), other).ok());
    writeBytes(path("nyckel.txt"), QByteArray::fromStdString(
                                       formatKeyFile({2, 3, 2, 4}, runCheckOf(picture, 3, 2, 4))));
    prompt_.answers = {path("nyckel.txt").toStdString()};
    trigger("mnuOpenKeyFile");

    for (const char* name : {"bild.bmp", "annan.bmp"}) {
        boxes_.shown.clear();
        control<TextBox>("Text2")->setProgramText("");
        prompt_.answers = {path(name).toStdString()};
        click("OpenPicture");
        click("Command2"); // Dekryptera
        if (std::string(name) == "bild.bmp") {
            QCOMPARE(boxText("Text2"), std::string("HHHH"));
        } else {
            QCOMPARE(boxText("Text2"), std::string());
            QVERIFY(!boxes_.shown.empty());
            QVERIFY(boxes_.shown[0].text.starts_with(
                "Nyckelfilen \"" + path("nyckel.txt").toStdString() + "\" hör inte till bilden \"" +
                path(name).toStdString() + "\""));
        }
    }
    // Values typed over the key file's are the user's own: read as they stand.
    type(lineEditOf("Text4"), QStringLiteral("3"));
    boxes_.shown.clear();
    click("Command2");
    QCOMPARE(boxText("Text2"), std::string("HHH"));
}

void MainWindowTest::openDialogKeepsAnExistingName() {
    writeBytes(path("nyckel"), QByteArray("12\r\n34\r\n4\r\n7\r\n"));
    writeBytes(path("nyckel.txt"), QByteArray("1\r\n2\r\n3\r\n4\r\n"));
    prompt_.answers = {path("nyckel").toStdString()};
    trigger("mnuOpenKeyFile");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(fieldText("Combo1"), QStringLiteral("12"));
    QCOMPARE(fieldText("Text4"), QStringLiteral("7"));
    QCOMPARE(keyDialogOffers(), path("nyckel").toStdString());
}

void MainWindowTest::elevenLinesDivideTheWindow() {
    QList<const QFrame*> lines;
    for (const QFrame* frame : window_->findChildren<QFrame*>()) {
        if (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine) {
            lines << frame;
        }
    }
    QCOMPARE(lines.size(), 11);
    QCOMPARE(window_->centralWidget()->size(), QSize(737, 521));

    // Everything in the window, side by side without overlapping.
    const QWidget* client = window_->centralWidget();
    QList<const QWidget*> parts(lines.begin(), lines.end());
    for (const char* name :
         {"Label7",      "roomLine", "Text1",    "Tid",     "Command2", "Label4",   "Stepping",
          "Label1",      "Combo2",   "Label2",   "Combo1",  "Command4", "Command5", "OpenPicture",
          "SavePicture", "Label8",   "Text2",    "Label3",  "Text4",    "Label6",   "List1",
          "canvasPlace", "Command3", "Command1", "Anpassa", "Bar",      "Label5",   "Text3"}) {
        parts << control<QWidget>(name);
    }
    const auto placeOf = [client](const QWidget* part) {
        return QRect(part->mapTo(client, QPoint(0, 0)), part->size());
    };
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QRect place = placeOf(parts[i]);
        QVERIFY2(parts[i]->isVisible() && client->rect().contains(place),
                 qPrintable(parts[i]->objectName()));
        for (qsizetype j = i + 1; j < parts.size(); ++j) {
            QVERIFY2(!place.intersects(placeOf(parts[j])),
                     qPrintable(parts[i]->objectName() + " " + parts[j]->objectName()));
        }
    }
    // The boxes keep room for a few lines each.
    for (const char* box : {"Text1", "Text2", "List1", "Text3"}) {
        const auto* shown = control<QWidget>(box);
        QVERIFY2(shown->height() >= 3 * shown->fontMetrics().lineSpacing(), box);
    }
}

void MainWindowTest::startFilesOpenAsTheMenusOpenThem() {
    Image picture(30, 20);
    picture.setPixel(7, 3, colourOf(1, 72, 3));
    QVERIFY(savePicture(path("given.bmp").toStdString(), picture));
    writeBytes(path("given.txt"), QByteArray("3\r\n7\r\n2\r\n1\r\n"));

    window_->openStartFiles(path("given.bmp").toStdString(), path("given.txt").toStdString());

    QVERIFY(boxes_.shown.empty());
    QCOMPARE(control<PictureBox>("Picture1")->image().pixel(7, 3), colourOf(1, 72, 3));
    QCOMPARE(fieldText("Combo1"), QStringLiteral("3"));
    QCOMPARE(fieldText("Combo2"), QStringLiteral("7"));
    QCOMPARE(fieldText("Stepping"), QStringLiteral("2"));
    QCOMPARE(fieldText("Text4"), QStringLiteral("1"));
    QVERIFY(decryptReads());
    QCOMPARE(keyDialogOffers(), path("given.txt").toStdString());
    click("Command2"); // Dekryptera: green 72 shifted back by 2
    QCOMPARE(boxText("Text2"), std::string("J"));

    // The dialogs go on from the given files, as if they had chosen them.
    click("SavePicture");
    trigger("mnuSaveKeyFile");
    QCOMPARE(prompt_.asked.size(), std::size_t{2});
    QCOMPARE(prompt_.asked[0].suggestedName, path("given.bmp").toStdString());
    QCOMPARE(prompt_.asked[1].suggestedName, path("given.txt").toStdString());

    // A picture alone leaves the key fields as they are.
    type(lineEditOf("Combo1"), QStringLiteral("9"));
    boxes_.shown.clear();
    window_->openStartFiles(path("given.bmp").toStdString(), "");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(fieldText("Combo1"), QStringLiteral("9"));
}

void MainWindowTest::startFileFailuresGiveTheMenusMessages_data() {
    QTest::addColumn<QByteArray>("pictureBytes"); // empty: no such file
    QTest::addColumn<QByteArray>("keyBytes");     // empty: no such file

    const QByteArray goodKey("12\r\n1\r\n0\r\n1\r\n"); // y-key as typed below
    QTest::newRow("no picture") << QByteArray() << goodKey;
    QTest::newRow("not a picture") << QByteArray("det här är ingen bild") << goodKey;
    QTest::newRow("no key file") << QByteArray("BM") << QByteArray();
    QTest::newRow("short key file") << QByteArray() << QByteArray("1\r\n2\r\n");
    QTest::newRow("key beyond the canvas") << QByteArray() << QByteArray("1\r\n999\r\n0\r\n1\r\n");
}

void MainWindowTest::startFileFailuresGiveTheMenusMessages() {
    QFETCH(QByteArray, pictureBytes);
    QFETCH(QByteArray, keyBytes);
    const std::string picture = path("bild.bmp").toStdString();
    const std::string keyFile = path("nyckel.txt").toStdString();
    if (!pictureBytes.isEmpty()) {
        writeBytes(path("bild.bmp"), pictureBytes);
    }
    if (!keyBytes.isEmpty()) {
        writeBytes(path("nyckel.txt"), keyBytes);
    }
    type(lineEditOf("Combo1"), QStringLiteral("12"));

    prompt_.answers = {picture, keyFile};
    click("OpenPicture");
    trigger("mnuOpenKeyFile");
    const std::vector<MessageBoxText> fromMenus = boxes_.shown;
    QVERIFY(!fromMenus.empty());
    boxes_.shown.clear();

    window_->openStartFiles(picture, keyFile);
    QCOMPARE(boxes_.shown.size(), fromMenus.size());
    for (std::size_t i = 0; i < fromMenus.size(); ++i) {
        QCOMPARE(boxes_.shown[i].text, fromMenus[i].text);
        QCOMPARE(boxes_.shown[i].title, fromMenus[i].title);
        QCOMPARE(boxes_.shown[i].style, fromMenus[i].style);
    }
    // A refused key file changes no field.
    QCOMPARE(fieldText("Combo1"), QStringLiteral("12"));
}

void MainWindowTest::droppedFilesOpenAsTheirCommands_data() {
    QTest::addColumn<QString>("target");    // where the files are dropped
    QTest::addColumn<QStringList>("files"); // made in the test's folder
    QTest::addColumn<QString>("message");   // the one box expected, or empty

    const QStringList picture{"bild.bmp"};
    const QStringList key{"nyckel.txt"};
    const QStringList text{"brev.txt"};
    for (const char* target : {"Picture1", "Text1", "Combo2", "Label3", "Text2"}) {
        QTest::addRow("picture on %s", target) << target << picture << "";
        QTest::addRow("key file on %s", target) << target << key << "";
        QTest::addRow("text on %s", target) << target << text << "";
    }
    QTest::newRow("picture and key file together")
        << "Picture1" << QStringList{"nyckel.txt", "bild.bmp"} << "";
    QTest::newRow("key file the fields refuse")
        << "Text1" << QStringList{"fel-nyckel.txt"}
        << "kan inte användas: rad 2 (Nyckel-x:) är \"300\".\r\nDu måste mata in ett tal under "
           "269!";
    QTest::newRow("a picture that cannot be read")
        << "Picture1" << QStringList{"trasig.bmp"}
        << "är avkortad: filen innehåller inte alla bildpunkter.";
    QTest::newRow("a named pipe, which is never opened")
        << "Text1" << QStringList{"ror"}
        << "är ingen vanlig fil utan till exempel en enhet eller en namngiven rörledning; den "
           "varken läses eller skrivs.\r\nAnge en vanlig fil.";
    QTest::newRow("a text with a character Windows-1252 lacks")
        << "Text1" << QStringList{"tecken.txt"}
        << "kan inte användas: tecknet \"✓\" på rad 1 finns inte i teckentabellen "
           "Windows-1252 och kan inte lagras i bilden.";
}

void MainWindowTest::droppedFilesOpenAsTheirCommands() {
    QFETCH(QString, target);
    QFETCH(QStringList, files);
    QFETCH(QString, message);

    const Colour green = colourOf(0, 200, 0);
    QVERIFY(savePicture(path("bild.bmp").toStdString(), Image(30, 20, green)).ok());
    writeBytes(path("trasig.bmp"), QByteArray("BM\x10\0\0\0", 6));
    writeBytes(path("nyckel.txt"), QByteArray("12\r\n34\r\n4\r\n7\r\n"));
    writeBytes(path("fel-nyckel.txt"), QByteArray("12\r\n300\r\n4\r\n7\r\n"));
    writeBytes(path("brev.txt"), QByteArray("Hej\r\nd\xC3\xA5\r\n"));
    writeBytes(path("tecken.txt"), QByteArray("bock \xE2\x9C\x93\r\n"));
    QCOMPARE(::mkfifo(path("ror").toLocal8Bit().constData(), 0600), 0);
    QStringList names;
    for (const QString& file : files) {
        names << path(file.toLatin1().constData());
    }

    QWidget* on = lineEditOf(target);
    if (!on) {
        on = control<QWidget>(target.toLatin1().constData());
    }
    if (auto* box = qobject_cast<TextBox*>(on)) {
        on = box->viewport(); // where a drag over a text box arrives
    }
    QVERIFY(drop(on, names));
    QVERIFY(prompt_.asked.empty());

    if (!message.isEmpty()) {
        QCOMPARE(boxes_.shown.size(), std::size_t{1});
        QVERIFY2(QString::fromStdString(boxes_.shown[0].text).endsWith(message),
                 boxes_.shown[0].text.c_str());
        QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
        // Nothing changed, as after the same file through its menu command.
        QCOMPARE(fieldText("Combo2"), QStringLiteral("5"));
        QCOMPARE(boxText("Text1"), std::string());
        QCOMPARE(control<PictureBox>("Picture1")->image().pixel(0, 0), kWhite);
        QVERIFY(!decryptReads());
        return;
    }
    QVERIFY(boxes_.shown.empty());
    const bool picture = files.contains("bild.bmp");
    const bool key = files.contains("nyckel.txt");
    const bool text = files.contains("brev.txt");
    QCOMPARE(control<PictureBox>("Picture1")->image().pixel(29, 19), picture ? green : kWhite);
    QCOMPARE(fieldText("Combo2"), key ? QStringLiteral("34") : QStringLiteral("5"));
    QCOMPARE(fieldText("Text4"), key ? QStringLiteral("7") : QString());
    QCOMPARE(boxText("Text1"), text ? std::string("Hej|då|") : std::string());
    QCOMPARE(decryptReads(), picture || key);
    if (key || text) {
        const char* named = key ? "nyckel.txt" : "brev.txt";
        QCOMPARE(keyDialogOffers(), path(named).toStdString());
    }
    if (picture) {
        // "spara bild" offers the dropped picture's name, as after "öppna bild".
        click("SavePicture");
        QCOMPARE(prompt_.asked.back().suggestedName, path("bild.bmp").toStdString());
    }
}

void MainWindowTest::droppedPictureComesBeforeItsKey() {
    // A key beyond the canvas at start, within the picture that comes with it.
    QTest::mouseDClick(control<PictureBox>("Picture1"), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(savePicture(path("stor.png").toStdString(), Image(400, 300)).ok());
    writeBytes(path("nyckel.txt"), QByteArray("290\r\n380\r\n0\r\n3\r\n"));
    QVERIFY(drop(control<QWidget>("Picture1"), {path("nyckel.txt"), path("stor.png")}));
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(control<PictureBox>("Picture1")->scaleWidth(), 400);
    QCOMPARE(fieldText("Combo1"), QStringLiteral("290"));
    QCOMPARE(fieldText("Combo2"), QStringLiteral("380"));
}

void MainWindowTest::droppedTextIsNoDropOfFiles() {
    // Text dragged from elsewhere still goes where the text box puts it.
    QMimeData data;
    data.setText(QStringLiteral("släppt"));
    auto* input = control<TextBox>("Text1");
    const QPoint at = input->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(input->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(input->viewport(), &dropped);
    QCOMPARE(boxText("Text1"), std::string("släppt"));
    QVERIFY(boxes_.shown.empty());

    // A URL that is no local file opens nothing.
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/bild.bmp"))});
    QDragEnterEvent far(QPoint(5, 5), Qt::CopyAction, &remote, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control<QWidget>("Picture1"), &far);
    QVERIFY(!far.isAccepted());
}

void MainWindowTest::roomLineFollowsTheMessageKeysCanvasAndMode() {
    const QString space = QStringLiteral("\u00A0");
    // Adapt mode at start: the whole 269 x 253 canvas.
    QCOMPARE(roomLine(), "0 tecken, plats för 32" + space + "767");
    QVERIFY(!roomLineWarns());
    // Its own row beside "Indata": nothing below it moves.
    const auto* caption = control<QLabel>("Label7");
    const auto* line = control<QLabel>("roomLine");
    QCOMPARE(line->mapTo(window_.get(), QPoint(0, 0)).y(),
             caption->mapTo(window_.get(), QPoint(0, 0)).y());
    QCOMPARE(line->height(), caption->height());

    auto* input = control<TextBox>("Text1");
    QTest::keyClicks(input, QStringLiteral("Hej"));
    QCOMPARE(roomLine(), "3 tecken, plats för 32" + space + "767");
    QTest::keyClick(input, Qt::Key_Return); // CR and LF
    QCOMPARE(roomLine(), "5 tecken, plats för 32" + space + "767");

    control<QCheckBox>("Anpassa")->setChecked(false);
    QCOMPARE(roomLine(), "5 tecken, plats för 32" + space + "767"); // at most the longest message
    type(lineEditOf("Combo2"), QStringLiteral("266"));
    type(lineEditOf("Combo1"), QStringLiteral("252"));
    QCOMPARE(roomLine(), QStringLiteral("5 tecken, plats för 3: får inte plats"));
    QVERIFY(roomLineWarns());
    // Picked from the list: no check, but the room follows.
    control<QComboBox>("Combo2")->setCurrentIndex(264);
    QCOMPARE(roomLine(), QStringLiteral("5 tecken, plats för 5"));
    QVERIFY(!roomLineWarns());
    control<QComboBox>("Combo2")->setCurrentIndex(269);
    QCOMPARE(roomLine(), QStringLiteral("5 tecken: nyckelpositionen ligger utanför bilden"));
    QVERIFY(roomLineWarns());

    input->insertPlainText(QStringLiteral("✓"));
    QCOMPARE(roomLine(), QStringLiteral("6 tecken: tecknet \"✓\" (nummer 6) kan inte lagras"));
    QVERIFY(roomLineWarns());
    input->setPlainText(QStringLiteral("ok"));
    control<QCheckBox>("Anpassa")->setChecked(true);
    QCOMPARE(roomLine(), "2 tecken, plats för 32" + space + "767");

    // A canvas that takes a picture's size.
    QTest::mouseDClick(control<PictureBox>("Picture1"), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(savePicture(path("liten.bmp").toStdString(), Image(10, 3)).ok());
    prompt_.answers = {path("liten.bmp").toStdString()};
    click("OpenPicture");
    QCOMPARE(roomLine(), QStringLiteral("2 tecken, plats för 30"));
    QVERIFY(boxes_.shown.empty());
}

void MainWindowTest::roomLineWarnsExactlyWhenGenerationWouldRefuse_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("adapt");
    QTest::addColumn<QString>("xKey");
    QTest::addColumn<QString>("yKey");

    const QString fullRow(kCanvasWidth, QLatin1Char('a'));
    QTest::newRow("fits") << "Hej" << false << "5"
                          << "5";
    QTest::newRow("to the last position") << "ab" << false << "267"
                                          << "252";
    QTest::newRow("one past the last position") << "abc" << false << "267"
                                                << "252";
    QTest::newRow("key equal to the height") << "a" << false << "0"
                                             << "253";
    QTest::newRow("fractional key") << "a" << false << "2.5"
                                    << "0";
    QTest::newRow("adapt ignores the key") << "a" << true << "2.5"
                                           << "0";
    QTest::newRow("character outside Windows-1252") << "a ✓" << true << "0"
                                                    << "0";
    QTest::newRow("a full row from the last row") << fullRow << false << "0"
                                                  << "252";
    QTest::newRow("longer than the last row") << fullRow + "a" << false << "0"
                                              << "252";
}

void MainWindowTest::roomLineWarnsExactlyWhenGenerationWouldRefuse() {
    QFETCH(QString, message);
    QFETCH(bool, adapt);
    QFETCH(QString, xKey);
    QFETCH(QString, yKey);

    control<QCheckBox>("Anpassa")->setChecked(adapt);
    type(lineEditOf("Combo2"), xKey);
    type(lineEditOf("Combo1"), yKey);
    control<TextBox>("Text1")->setPlainText(message);
    QVERIFY(boxes_.shown.empty());
    const bool warned = roomLineWarns();
    click("Command4");
    const bool refused = !decryptReads();
    QCOMPARE(warned, refused);
    if (refused) {
        QCOMPARE(boxes_.shown.size(), std::size_t{1});
        QCOMPARE(boxes_.shown[0].style, MessageBoxStyle::Error);
    }
}

void MainWindowTest::savedPictureIsReadBackWithTheKeyValues() {
    control<QCheckBox>("Anpassa")->setChecked(false);
    generate("Hej");
    prompt_.answers = {path("bild.png").toStdString()};
    click("SavePicture");
    QVERIFY(boxes_.shown.empty());

    // A reading length that no longer matches the generation: said at once.
    type(lineEditOf("Text4"), QStringLiteral("4"));
    prompt_.answers = {path("bild2.bmp").toStdString()};
    click("SavePicture");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    const MessageBoxText& box = boxes_.shown[0];
    QCOMPARE(QString::fromStdString(box.text),
             "Bilden \"" + path("bild2.bmp") +
                 "\" har sparats, men med nyckel-x, nyckel-y, förskjutningen och "
                 "inläsningslängden i fälten blir tecken nummer 4 fel när meddelandet läses "
                 "tillbaka ur den.\r\nSätt tillbaka nyckelvärdena från genereringen, eller "
                 "generera bilden på nytt och spara den igen, innan du sparar nyckelfilen.");
    QCOMPARE(box.style, MessageBoxStyle::Error);
    // The file is there, as saved; the picture counts as unsaved still.
    QVERIFY(QFile::exists(path("bild2.bmp")));
    boxes_.shown.clear();
    boxes_.answers = {MessageBoxAnswer::Cancel};
    click("Command1");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(boxText("Text1"), std::string("Hej"));

    // A picture opened, not generated, is only compared pixel for pixel.
    boxes_.shown.clear();
    prompt_.answers = {path("bild.png").toStdString()};
    click("OpenPicture");
    prompt_.answers = {path("bild3.bmp").toStdString()};
    click("SavePicture");
    QVERIFY(boxes_.shown.empty());
}

void MainWindowTest::unsavedGenerationIsAskedAbout_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("saved"); // before the command: "", "picture", "key" or "both"
    QTest::addColumn<int>("answer");    // 0: no question expected
    QTest::addColumn<bool>("goesOn");

    const char* commands[] = {"mnuAvsluta", "close box", "Command1", "mnuNewProject"};
    for (const char* command : commands) {
        QTest::addRow("%s, nothing saved, Nej", command)
            << command << "" << MessageBoxAnswer::No << true;
        QTest::addRow("%s, nothing saved, Avbryt", command)
            << command << "" << MessageBoxAnswer::Cancel << false;
        QTest::addRow("%s, picture saved, Avbryt", command)
            << command << "picture" << MessageBoxAnswer::Cancel << false;
        QTest::addRow("%s, key saved, Nej", command)
            << command << "key" << MessageBoxAnswer::No << true;
        QTest::addRow("%s, both saved", command) << command << "both" << 0 << true;
    }
}

void MainWindowTest::unsavedGenerationIsAskedAbout() {
    QFETCH(QString, command);
    QFETCH(QString, saved);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);

    generate("Hej");
    if (saved == "picture" || saved == "both") {
        prompt_.answers = {path("bild.bmp").toStdString()};
        click("SavePicture");
    }
    if (saved == "key" || saved == "both") {
        prompt_.answers = {path("nyckel.txt").toStdString()};
        trigger("mnuSaveKeyFile");
    }
    QVERIFY(boxes_.shown.empty());

    boxes_.answers = {answer};
    if (command == "close box") {
        window_->close();
    } else if (command.startsWith("mnu")) {
        trigger(command.toLatin1().constData());
    } else {
        click(command.toLatin1().constData());
    }

    std::vector<std::string> texts = boxes_.texts();
    if (answer != 0) {
        QVERIFY(!texts.empty());
        const MessageBoxText& question = boxes_.shown[0];
        const std::string unsaved = saved == "picture" ? "Nyckelvärdena för den genererade bilden"
                                    : saved == "key"   ? "Den genererade bilden har inte"
                                                       : "Varken den genererade bilden";
        QVERIFY2(question.text.starts_with(unsaved), question.text.c_str());
        QVERIFY(question.text.find("Ja sparar först, Nej går vidare utan att spara och Avbryt "
                                   "låter allt vara som det är.") != std::string::npos);
        QCOMPARE(question.style, MessageBoxStyle::Warning | MessageBoxStyle::YesNoCancel);
        QCOMPARE(question.title, std::string("Kvistra"));
        texts.erase(texts.begin());
    }
    // "Avsluta" reminds as ever, once the user goes on.
    const bool exits = command == "mnuAvsluta";
    QCOMPARE(texts.size(), std::size_t{exits && goesOn ? 1u : 0u});
    if (command == "mnuAvsluta" || command == "close box") {
        QCOMPARE(window_->isVisible(), !goesOn);
    } else {
        QCOMPARE(boxText("Text1"), goesOn ? std::string() : std::string("Hej"));
        QCOMPARE(control<PictureBox>("Picture1")->image().pixel(0, 0) == kWhite, goesOn);
    }
    QCOMPARE(prompt_.asked.size(), static_cast<std::size_t>(saved.isEmpty()   ? 0
                                                            : saved == "both" ? 2
                                                                              : 1));
}

// The picture went to a file, its key values only stay in the fields: clearing the
// canvas or opening another picture must not make them forgettable.
void MainWindowTest::keyOfASavedPictureIsAskedAboutAfterTheCanvasIsCleared() {
    for (const char* command : {"Command3", "open picture"}) {
        generate("Hej");
        prompt_.answers = {path("bild.bmp").toStdString()};
        click("SavePicture");
        if (std::string(command) == "Command3") {
            click("Command3");
        } else {
            prompt_.answers = {path("bild.bmp").toStdString()};
            click("OpenPicture");
        }
        QVERIFY(boxes_.shown.empty());
        boxes_.answers = {MessageBoxAnswer::Cancel};
        window_->close();
        QVERIFY2(!boxes_.shown.empty(), command);
        QVERIFY2(boxes_.shown[0].text.starts_with("Nyckelvärdena för den genererade bilden"),
                 boxes_.shown[0].text.c_str());
        QVERIFY(window_->isVisible());
        boxes_.shown.clear();
        prompt_.answers = {path("nyckel.txt").toStdString()};
        trigger("mnuSaveKeyFile");
    }
    // An unsaved picture cleared away takes its key with it: nothing is left to read.
    generate("Hej");
    click("Command3");
    boxes_.shown.clear();
    window_->close();
    QVERIFY(boxes_.shown.empty());
}

void MainWindowTest::answeringYesSavesBothBeforeGoingOn() {
    control<QCheckBox>("Anpassa")->setChecked(false);
    generate("Hej");
    // Ja: each unsaved half through its own dialog, then the command.
    boxes_.answers = {MessageBoxAnswer::Yes};
    prompt_.answers = {path("bild").toStdString(), path("nyckel").toStdString()};
    click("Command1");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(prompt_.asked.size(), std::size_t{2});
    QVERIFY(prompt_.asked[0].mode == FileDialogMode::Save);
    QCOMPARE(prompt_.asked[0].defaultExtension, std::string("bmp"));
    QCOMPARE(prompt_.asked[1].defaultExtension, std::string("txt"));
    QCOMPARE(fileBytes(path("nyckel.txt")), QByteArray("5\r\n5\r\n0\r\n3\r\n"));
    QVERIFY(QFile::exists(path("bild.bmp")));
    QCOMPARE(boxText("Text1"), std::string());
    // Nothing unsaved is left: the next clearing asks nothing.
    boxes_.shown.clear();
    click("Command1");
    QVERIFY(boxes_.shown.empty());

    // Ja, then the save dialog cancelled: the command does not go on.
    generate("Hej");
    boxes_.answers = {MessageBoxAnswer::Yes};
    click("Command1");
    QCOMPARE(boxes_.texts().back(), std::string("Du måste välja ett filnamn"));
    QCOMPARE(boxText("Text1"), std::string("Hej"));

    // Ja, the picture saved, the key file's dialog cancelled: the question comes back
    // for the key alone.
    boxes_.shown.clear();
    boxes_.answers = {MessageBoxAnswer::Yes};
    prompt_.answers = {path("bild2.bmp").toStdString()};
    window_->close();
    QVERIFY(window_->isVisible());
    QVERIFY(QFile::exists(path("bild2.bmp")));
    boxes_.shown.clear();
    boxes_.answers = {MessageBoxAnswer::No};
    window_->close();
    QVERIFY(boxes_.shown.at(0).text.starts_with("Nyckelvärdena för den genererade bilden"));
    QVERIFY(!window_->isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
