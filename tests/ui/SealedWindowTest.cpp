// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"
#include "MainWindowFixture.h"
#include "core/Capacity.h"
#include "core/NumericText.h"
#include "core/SealedMessage.h"
#include "core/Windows1252.h"
#include "toolkit/ListBox.h"
#include "toolkit/PictureBox.h"
#include "toolkit/QtPassphrasePrompt.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <charconv>
#include <sys/prctl.h>

using namespace kvistra;
using kvistra::test::MainWindowFixture;

namespace {

constexpr int kCanvasWidth = 269;
constexpr int kCanvasHeight = 253;

std::string boxText(MessageId id, std::vector<std::string> args = {}) {
    return describe({id, std::move(args)}).text;
}

// Letters, digits, signs and line markers, over and over, as UTF-8 for the input box.
std::string messageOfLength(std::int64_t length) {
    const std::string letters =
        windows1252FromUtf8("Möt mig vid bron klockan tolv, ta med kartan! Å Ä Ö | 0123456789")
            .value();
    std::string bytes;
    while (static_cast<std::int64_t>(bytes.size()) < length) {
        bytes += letters;
    }
    bytes.resize(static_cast<std::size_t>(length));
    return utf8FromWindows1252(bytes);
}

} // namespace

class SealedWindowTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        openWindow();
    }
    void cleanup() { closeWindow(); }

    void protectionIsOffUntilTickedAndThenShowsASign();
    void generateAndDecryptRoundTrip_data();
    void generateAndDecryptRoundTrip();
    void refusedReadingLeavesEveryFieldAsItWas_data();
    void refusedReadingLeavesEveryFieldAsItWas();
    void refusedWritingChangesNothing_data();
    void refusedWritingChangesNothing();
    void dialogHidesTheTypingAndAsksTwiceWhenHiding();
    void roomLineCountsWhatASealedMessageMayHold();

private:
    template <class T> T* control(const char* name) const {
        return childOf<T>(window_.get(), name);
    }
    void click(const char* name) { control<QPushButton>(name)->click(); }
    QString fieldText(const char* name) const {
        if (auto* combo = window_->findChild<QComboBox*>(QLatin1String(name))) {
            return combo->currentText();
        }
        return control<QLineEdit>(name)->text();
    }
    void setField(const char* name, const QString& text) {
        QLineEdit* field = window_->findChild<QComboBox*>(QLatin1String(name))
                               ? control<QComboBox>(name)->lineEdit()
                               : control<QLineEdit>(name);
        field->setText(text);
    }
    std::string programText(const char* name) const {
        return control<TextBox>(name)->programText();
    }
    QStringList listLines() const {
        QStringList lines;
        const ListBox* list = control<ListBox>("List1");
        for (int row = 0; row < list->count(); ++row) {
            lines << list->line(row);
        }
        return lines;
    }
    // A sealed message written with the passphrase "fras"; its reading length.
    int writeSealed(const std::string& message, bool adapt);
};

int SealedWindowTest::writeSealed(const std::string& message, bool adapt) {
    control<TextBox>("Text1")->setProgramText(message);
    control<QCheckBox>("Anpassa")->setChecked(adapt);
    control<QCheckBox>("protectCheck")->setChecked(true);
    passphrases_.answers = {{"fras", "fras"}};
    click("Command4");
    return fieldText("Text4").toInt();
}

void SealedWindowTest::protectionIsOffUntilTickedAndThenShowsASign() {
    auto* check = control<QCheckBox>("protectCheck");
    auto* sign = control<QLabel>("protectionSign");
    QVERIFY(!check->isChecked());
    QVERIFY(!sign->isVisible());
    // Beside the commands it changes, and the access key is its own.
    QCOMPARE(check->text(), QStringLiteral("Skydda &med lösenfras"));
    ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
    check->click();
    QVERIFY(check->isChecked());
    QVERIFY(sign->isVisible());
    QVERIFY(!sign->text().isEmpty());
    // The message typed is now to be sealed: no core dump may hold it.
    QCOMPARE(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);

    const QWidget* client = window_->centralWidget();
    QCOMPARE(client->size(), QSize(737, 521));
    const auto placeOf = [client](const QWidget* part) {
        return QRect(part->mapTo(client, QPoint(0, 0)), part->size());
    };
    for (const QWidget* part :
         {static_cast<const QWidget*>(check), static_cast<const QWidget*>(sign)}) {
        QVERIFY(client->rect().contains(placeOf(part)));
        for (const char* other :
             {"Command4", "Command2", "Command5", "Stepping", "Text1", "Text2"}) {
            QVERIFY2(!placeOf(part).intersects(placeOf(control<QWidget>(other))), other);
        }
    }
    QVERIFY(placeOf(check).top() >= placeOf(control<QWidget>("Command4")).bottom());
    QVERIFY(placeOf(check).bottom() <= placeOf(control<QWidget>("Command5")).top());
    check->click();
    QVERIFY(!sign->isVisible());
}

void SealedWindowTest::generateAndDecryptRoundTrip_data() {
    QTest::addColumn<bool>("adapt");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("standard"); // the key setting the program itself uses
    // The canvas holds more than a reading length: the most is what 32767 characters seal.
    const qint64 most = sealedCapacity(kLongestMessage);
    QTest::newRow("key position, 1 character") << false << qint64{1} << true;
    QTest::newRow("key position, the most that fits") << false << most << false;
    QTest::newRow("adapt, 1 character") << true << qint64{1} << false;
    QTest::newRow("adapt, the most that fits") << true << most << false;
}

void SealedWindowTest::generateAndDecryptRoundTrip() {
    QFETCH(bool, adapt);
    QFETCH(qint64, length);
    QFETCH(bool, standard);
    passphrases_.sealing = standard ? SealSetting::Standard : SealSetting::Quick;
    const std::string message = messageOfLength(length);
    const int written = writeSealed(message, adapt);
    QCOMPARE(passphrases_.asked, std::vector<bool>{true});
    QCOMPARE(written, sealedLength(length));
    QCOMPARE(fieldText("Stepping"), QStringLiteral("0"));
    QCOMPARE(boxes_.texts(), adapt
                                 ? std::vector<std::string>{boxText(MessageId::EncryptionFinished)}
                                 : std::vector<std::string>{});

    boxes_.shown.clear();
    passphrases_.answers = {{"fras", ""}};
    click("Command2");
    QCOMPARE(passphrases_.asked, (std::vector<bool>{true, false}));
    QCOMPARE(programText("Text2"), message);
    const QStringList lines = listLines();
    QCOMPARE(lines.size(), static_cast<qsizetype>(length));
    QCOMPARE(lines.front(), QStringLiteral("77 - M"));
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QVERIFY(boxes_.shown.front().text.starts_with("Det tog "));
    if (standard) {
        // The time told includes opening the message, its key derivation with it.
        const std::string& told = boxes_.shown.front().text;
        double seconds = 0;
        std::from_chars(told.data() + 8, told.data() + told.size(), seconds);
        QVERIFY2(seconds > 0.02, boxes_.shown.front().text.c_str());
    }

    // Without the protection the same picture reads as a run of random characters.
    control<QCheckBox>("protectCheck")->setChecked(false);
    click("Command2");
    QCOMPARE(static_cast<int>(programText("Text2").size()) >= written, true);
    QVERIFY(programText("Text2") != message);
}

void SealedWindowTest::refusedReadingLeavesEveryFieldAsItWas_data() {
    QTest::addColumn<QString>("passphrase");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("change");       // added to the field's number
    QTest::addColumn<int>("changedPixel"); // -1: none; else the character whose green changes

    QTest::newRow("wrong passphrase") << "Fras"
                                      << "" << 0 << -1;
    QTest::newRow("wrong x-key") << "fras"
                                 << "Combo2" << 1 << -1;
    QTest::newRow("wrong y-key") << "fras"
                                 << "Combo1" << -1 << -1;
    QTest::newRow("reading length cut by one") << "fras"
                                               << "Text4" << -1 << -1;
    QTest::newRow("reading length one more") << "fras"
                                             << "Text4" << 1 << -1;
    QTest::newRow("first green byte changed") << "fras"
                                              << "" << 0 << 0;
    QTest::newRow("a green byte in the middle changed") << "fras"
                                                        << "" << 0 << 40;
    QTest::newRow("last green byte changed") << "fras"
                                             << "" << 0 << 74;
}

void SealedWindowTest::refusedReadingLeavesEveryFieldAsItWas() {
    QFETCH(QString, passphrase);
    QFETCH(QString, field);
    QFETCH(int, change);
    QFETCH(int, changedPixel);
    setField("Combo2", QStringLiteral("20"));
    setField("Combo1", QStringLiteral("9"));
    const int length = writeSealed("H", false);
    QCOMPARE(length, 75);
    if (!field.isEmpty()) {
        const QByteArray name = field.toLatin1();
        setField(name.constData(), QString::number(fieldText(name.constData()).toInt() + change));
    }
    if (changedPixel >= 0) {
        Image& canvas = control<PictureBox>("Picture1")->surfaceToDrawOn();
        const int position = 9 * kCanvasWidth + 20 + changedPixel;
        const int x = position % kCanvasWidth;
        const int y = position / kCanvasWidth;
        canvas.setPixel(x, y, canvas.pixel(x, y) ^ 0x100); // the green byte's lowest bit
    }
    control<TextBox>("Text2")->setProgramText("förra texten");
    control<TextBox>("Text3")->setProgramText("direkt");
    control<ListBox>("List1")->addLines({"förra raden"});
    const QStringList fieldsBefore{fieldText("Combo1"), fieldText("Combo2"), fieldText("Stepping"),
                                   fieldText("Text4")};
    boxes_.shown.clear();

    passphrases_.answers = {{passphrase.toStdString(), ""}};
    click("Command2");
    QCOMPARE(boxes_.texts(), std::vector<std::string>{boxText(MessageId::SealedMessageRefused)});
    QCOMPARE(programText("Text2"), std::string("förra texten"));
    QCOMPARE(programText("Text3"), std::string("direkt"));
    QCOMPARE(listLines(), QStringList{QStringLiteral("förra raden")});
    QCOMPARE((QStringList{fieldText("Combo1"), fieldText("Combo2"), fieldText("Stepping"),
                          fieldText("Text4")}),
             fieldsBefore);
}

void SealedWindowTest::refusedWritingChangesNothing_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("again");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QString>("says");

    const qint64 most = sealedCapacity(kLongestMessage);
    QTest::newRow("the two differ")
        << "fras"
        << "frax" << true << qint64{5}
        << QString::fromStdString(boxText(MessageId::PassphrasesDiffer));
    QTest::newRow("empty") << ""
                           << "" << true << qint64{5}
                           << QString::fromStdString(boxText(MessageId::PassphraseEmpty));
    QTest::newRow("too long")
        << QString(static_cast<qsizetype>(kLongestPassphrase) + 1, QLatin1Char('a'))
        << QString(static_cast<qsizetype>(kLongestPassphrase) + 1, QLatin1Char('a')) << true
        << qint64{5}
        << QString::fromStdString(
               boxText(MessageId::PassphraseTooLong, {std::to_string(kLongestPassphrase)}));
    QTest::newRow("cancelled") << ""
                               << "" << false << qint64{5} << "";
    QTest::newRow("one character more than fits: not asked")
        << "fras"
        << "fras" << true << most + 1
        << QString::fromStdString(boxText(MessageId::SealedMessageDoesNotFit,
                                          {std::to_string(most + 1), std::to_string(most)}));
}

void SealedWindowTest::refusedWritingChangesNothing() {
    QFETCH(QString, first);
    QFETCH(QString, again);
    QFETCH(bool, answered);
    QFETCH(qint64, length);
    QFETCH(QString, says);
    const std::vector<std::uint8_t> canvasBefore(
        control<PictureBox>("Picture1")->image().bytes().begin(),
        control<PictureBox>("Picture1")->image().bytes().end());
    control<TextBox>("Text1")->setProgramText(messageOfLength(length));
    control<QCheckBox>("protectCheck")->setChecked(true);
    setField("Stepping", QStringLiteral("3"));
    setField("Text4", QStringLiteral("12"));
    if (answered) {
        passphrases_.answers = {{first.toStdString(), again.toStdString()}};
    }
    click("Command4");
    QCOMPARE(passphrases_.asked, length > 5 ? std::vector<bool>{} : std::vector<bool>{true});
    QCOMPARE(boxes_.texts(), says.isEmpty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{says.toStdString()});
    const Image& canvas = control<PictureBox>("Picture1")->image();
    QVERIFY(std::equal(canvasBefore.begin(), canvasBefore.end(), canvas.bytes().begin(),
                       canvas.bytes().end()));
    QCOMPARE(fieldText("Stepping"), QStringLiteral("3"));
    QCOMPARE(fieldText("Text4"), QStringLiteral("12"));
}

// The toolkit's dialog itself, typed into as a user would.
void SealedWindowTest::dialogHidesTheTypingAndAsksTwiceWhenHiding() {
    for (const bool repeat : {true, false}) {
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const QList<QLineEdit*> fields = dialog->findChildren<QLineEdit*>();
            QCOMPARE(fields.size(), repeat ? 2 : 1);
            test::verifyFocusableControlsNamed(dialog, repeat ? 4 : 3);
            for (QLineEdit* typed : fields) {
                QCOMPARE(typed->echoMode(), QLineEdit::Password);
                QTest::keyClicks(typed, QStringLiteral("hemlig "));
                typed->insert(QStringLiteral("fras ö")); // beyond what a key click types
                seen << typed->displayText();
            }
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        QtPassphrasePrompt prompt;
        const std::optional<PassphraseAnswer> answer = prompt.ask(repeat);
        QVERIFY(answer);
        QCOMPARE(std::string(reinterpret_cast<const char*>(answer->passphrase.data()),
                             answer->passphrase.size()),
                 std::string("hemlig fras ö"));
        QCOMPARE(answer->repeated.size(), repeat ? answer->passphrase.size() : std::size_t{0});
        for (const QString& shown : seen) {
            QVERIFY(!shown.contains(QStringLiteral("hemlig")));
        }
    }
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->reject();
    });
    QVERIFY(!QtPassphrasePrompt().ask(true));

    // A pasted passphrase one character too long reaches the check whole, never cut
    // to a length that would seal with another passphrase than the one given.
    const QString tooLong(static_cast<qsizetype>(kLongestPassphrase) + 1, QLatin1Char('a'));
    QTimer::singleShot(0, [&tooLong] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        for (QLineEdit* typed : dialog->findChildren<QLineEdit*>()) {
            typed->insert(tooLong);
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    const std::optional<PassphraseAnswer> pasted = QtPassphrasePrompt().ask(true);
    QVERIFY(pasted);
    QCOMPARE(pasted->passphrase.size(), kLongestPassphrase + 1);
}

void SealedWindowTest::roomLineCountsWhatASealedMessageMayHold() {
    const auto line = [this] {
        return control<QLabel>("roomLine")->text().toStdString();
    };
    const qint64 most = sealedCapacity(kLongestMessage);
    const std::string mostText = formatGrouped(most, NumberLocale::swedish());
    control<TextBox>("Text1")->setProgramText(messageOfLength(most));
    const std::string open = line();
    QVERIFY2(open.find("plats för " + mostText) == std::string::npos, open.c_str());

    control<QCheckBox>("protectCheck")->setChecked(true);
    QCOMPARE(line(), mostText + " tecken, plats för " + mostText);
    control<TextBox>("Text1")->setProgramText(messageOfLength(most + 1));
    QVERIFY2(line().ends_with(": får inte plats"), line().c_str());
    control<QCheckBox>("protectCheck")->setChecked(false);
    QVERIFY2(!line().ends_with(": får inte plats"), line().c_str());
}

QTEST_MAIN(SealedWindowTest)
#include "SealedWindowTest.moc"
