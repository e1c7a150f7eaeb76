// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedToolkit.h"
#include "core/MessageBoxStyle.h"
#include "toolkit/DeferredIconStyle.h"
#include "toolkit/FileDialog.h"
#include "toolkit/PictureBox.h"
#include "toolkit/QtFilePrompt.h"
#include "toolkit/QtMessageBoxes.h"
#include "toolkit/WhileRepainting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>
#include <utility>

using namespace kvistra;
using kvistra::test::ScriptedFilePrompt;

class ToolkitTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxStylesAndAnswers_data();
    void messageBoxStylesAndAnswers();
    void fileDialogKeepsItsNameAndExtension_data();
    void fileDialogKeepsItsNameAndExtension();
    void canvasPaintsItsExactColours();
    void canvasHoldsALargePictureOnce();
    void windowsRepaintWhileWorkRuns();
    void secondButtonCanBeTheDefault();
    void openFormKeepsAnExistingName_data();
    void openFormKeepsAnExistingName();
    void toolkitDialogReturnsTheNameAsChosen_data();
    void toolkitDialogReturnsTheNameAsChosen();
    void deferredIconsAreTheStylesOwn_data();
    void deferredIconsAreTheStylesOwn();
};

namespace {

// The empty files "nyckel" and "nyckel.txt" that the dialog tests choose among.
bool putKeyFiles(const QTemporaryDir& folder) {
    for (const char* name : {"nyckel", "nyckel.txt"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
    }
    return true;
}

} // namespace

void ToolkitTest::messageBoxStylesAndAnswers_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("answer");

    using namespace MessageBoxStyle;
    QTest::newRow("untitled error")
        << Error << "" << int(QMessageBox::Critical) << QStringList{"OK"} << "OK" << 1;
    QTest::newRow("field check") << Error << "Information" << int(QMessageBox::Critical)
                                 << QStringList{"OK"} << "OK" << 1;
    QTest::newRow("no icon") << OkOnly << "" << int(QMessageBox::NoIcon) << QStringList{"OK"}
                             << "OK" << 1;
    QTest::newRow("information") << Information << "" << int(QMessageBox::Information)
                                 << QStringList{"OK"} << "OK" << 1;
    QTest::newRow("warning, cancelled") << (Warning | OkCancel) << "" << int(QMessageBox::Warning)
                                        << QStringList{"OK", "Avbryt"} << "Avbryt" << 2;
    QTest::newRow("question, yes")
        << (Question | YesNo | SystemModal) << "" << int(QMessageBox::Question)
        << QStringList{"Ja", "Nej"} << "Ja" << 6;
    QTest::newRow("question, no") << (Question | YesNo) << "" << int(QMessageBox::Question)
                                  << QStringList{"Ja", "Nej"} << "Nej" << 7;
    for (const auto& [press, answer] :
         {std::pair{"Ja", 6}, std::pair{"Nej", 7}, std::pair{"Avbryt", 2}}) {
        QTest::addRow("three buttons, %s", press)
            << (Warning | YesNoCancel) << "" << int(QMessageBox::Warning)
            << QStringList{"Ja", "Nej", "Avbryt"} << press << answer;
    }
}

void ToolkitTest::messageBoxStylesAndAnswers() {
    QFETCH(int, style);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(QString, press);
    QFETCH(int, answer);

    QString shownTitle;
    QString shownText;
    int shownIcon = -1;
    QStringList shownButtons;
    QList<QKeySequence> accessKeys;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        shownTitle = box->windowTitle();
        shownText = box->text();
        shownIcon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            shownButtons << QString(button->text()).remove(QLatin1Char('&'));
            // Every button but a lone OK is reached by a letter of its own.
            const QKeySequence key = QKeySequence::mnemonic(button->text());
            if (!key.isEmpty() && !accessKeys.contains(key)) {
                accessKeys << key;
            }
        }
        for (QAbstractButton* button : box->buttons()) {
            if (QString(button->text()).remove(QLatin1Char('&')) == press) {
                button->click();
            }
        }
    });

    QtMessageBoxes boxes;
    const int given = boxes.show({"rad ett\r\nrad två", title.toStdString(), style});

    QCOMPARE(given, answer);
    QCOMPARE(shownTitle, title.isEmpty() ? QStringLiteral("Kvistra") : title);
    QCOMPARE(shownText, QStringLiteral("rad ett\nrad två"));
    QCOMPARE(shownIcon, icon);
    shownButtons.sort();
    buttons.sort();
    QCOMPARE(shownButtons, buttons);
    QCOMPARE(accessKeys.size(), buttons.size() - int(buttons.contains(QStringLiteral("OK"))));
}

void ToolkitTest::fileDialogKeepsItsNameAndExtension_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("no extension") << "/tmp/bild"
                                  << "/tmp/bild.bmp";
    QTest::newRow("own extension") << "/tmp/bild.png"
                                   << "/tmp/bild.png";
    QTest::newRow("dot in a folder only") << "/tmp/a.b/bild"
                                          << "/tmp/a.b/bild.bmp";
}

void ToolkitTest::fileDialogKeepsItsNameAndExtension() {
    QFETCH(QString, typed);
    QFETCH(QString, chosen);

    ScriptedFilePrompt prompt;
    FileDialog dialog(prompt, "bmp");
    prompt.answers = {typed.toStdString()};
    QCOMPARE(QString::fromStdString(dialog.showSave()), chosen);

    // Cancelled: an empty name, but the dialog still offers the last one.
    QCOMPARE(dialog.showOpen(), std::string());
    QCOMPARE(dialog.fileName(), chosen.toStdString());
    QCOMPARE(prompt.asked.back().suggestedName, chosen.toStdString());
    QCOMPARE(prompt.asked.back().defaultExtension, std::string("bmp"));
    QVERIFY(prompt.asked.back().mode == FileDialogMode::Open);
}

// A picture the canvas takes whole becomes its surface, and a snapshot of the
// surface shares its pixels until the canvas is drawn on again.
void ToolkitTest::canvasHoldsALargePictureOnce() {
    PictureBox canvas(QSize(40, 30));
    Image picture(300, 200);
    picture.setPixel(299, 199, 0x123456);
    const std::uint8_t* pixels = picture.bytes().data();
    canvas.setPicture(std::move(picture));
    canvas.surfaceToDrawOn().setPixel(0, 0, 0x010203);
    canvas.setAutoSize(true);
    QCOMPARE(canvas.image().bytes().data(), pixels);
    QCOMPARE(canvas.image().pixel(299, 199), 0x123456);
    QCOMPARE(canvas.image().pixel(0, 0), 0x010203);

    const std::shared_ptr<const Image> snapshot = canvas.snapshot();
    QCOMPARE(snapshot.get(), &canvas.image());
    canvas.surfaceToDrawOn().setPixel(299, 199, 0x654321);
    QCOMPARE(snapshot->pixel(299, 199), 0x123456);
    QCOMPARE(canvas.image().pixel(299, 199), 0x654321);
}

// The work finishes only once a timer of the window's thread has fired: it can
// only when events go on being handled while it runs.
void ToolkitTest::windowsRepaintWhileWorkRuns() {
    std::atomic<bool> timerFired = false;
    QTimer::singleShot(50, [&timerFired] { timerFired = true; });
    const bool sawTheTimer = whileRepainting([&timerFired] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!timerFired && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return timerFired.load();
    });
    QVERIFY(sawTheTimer);
}

void ToolkitTest::canvasPaintsItsExactColours() {
    PictureBox canvas(QSize(40, 30));
    const int border = PictureBox::kFrameWidth;
    QCOMPARE(canvas.size(), QSize(40 + 2 * border, 30 + 2 * border));
    const Colour red = 250;
    const Colour green = 251 * 256;
    const Colour blue = 252 * 65536;
    canvas.surfaceToDrawOn().setPixel(0, 0, red);
    canvas.surfaceToDrawOn().setPixel(20, 10, green + 1);
    canvas.surfaceToDrawOn().setPixel(39, 29, blue + 2);

    const auto rgbOf = [](Colour colour) {
        return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    };
    const QImage whole = canvas.grab().toImage();
    for (const QPoint at : {QPoint(0, 0), QPoint(20, 10), QPoint(39, 29), QPoint(5, 5)}) {
        QCOMPARE(whole.pixel(at + QPoint(border, border)),
                 rgbOf(canvas.image().pixel(at.x(), at.y())));
    }
    // A part alone, as a scrolled view paints it.
    const QImage part = canvas.grab(QRect(20, 10, 10, 10)).toImage();
    QCOMPARE(part.pixel(border, border), rgbOf(green + 1));
}

void ToolkitTest::secondButtonCanBeTheDefault() {
    QString defaultCaption;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->defaultButton()) {
            return;
        }
        defaultCaption = box->defaultButton()->text();
        box->defaultButton()->click();
    });
    QtMessageBoxes boxes;
    using namespace MessageBoxStyle;
    QCOMPARE(boxes.show({"Spara ändå?", "", Warning | YesNo | DefaultButton2}),
             MessageBoxAnswer::No);
    QCOMPARE(defaultCaption, QStringLiteral("&Nej"));
}

void ToolkitTest::openFormKeepsAnExistingName_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");

    // The folder holds the files "nyckel" and "nyckel.txt" and the folder "mapp".
    QTest::newRow("existing, without an extension") << true << "nyckel"
                                                    << "nyckel";
    QTest::newRow("missing gets the extension") << true << "ny"
                                                << "ny.txt";
    QTest::newRow("a folder is no file") << true << "mapp"
                                         << "mapp.txt";
    QTest::newRow("existing with its extension") << true << "nyckel.txt"
                                                 << "nyckel.txt";
    QTest::newRow("saving adds it all the same") << false << "nyckel"
                                                 << "nyckel.txt";
}

void ToolkitTest::openFormKeepsAnExistingName() {
    QFETCH(bool, open);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);

    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(putKeyFiles(folder));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("mapp")));

    ScriptedFilePrompt prompt;
    FileDialog dialog(prompt, "txt");
    prompt.answers = {folder.filePath(typed).toStdString()};
    const std::string name = open ? dialog.showOpen() : dialog.showSave();
    QCOMPARE(QString::fromStdString(name), folder.filePath(chosen));
}

void ToolkitTest::toolkitDialogReturnsTheNameAsChosen_data() {
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");

    // The folder holds the files "nyckel" and "nyckel.txt".
    QTest::newRow("open an existing name") << true << "nyckel"
                                           << "nyckel";
    QTest::newRow("open a missing name") << true << "ny"
                                         << "ny";
    QTest::newRow("save under a new name") << false << "ny"
                                           << "ny.txt";
}

void ToolkitTest::toolkitDialogReturnsTheNameAsChosen() {
    QFETCH(bool, open);
    QFETCH(QString, typed);
    QFETCH(QString, chosen);

    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(putKeyFiles(folder));

    // Types the name into the dialog and accepts it; whatever the dialog brings up
    // next (a "not found" box, say) is closed, so that nothing waits for a person.
    bool typedIn = false;
    QTimer closer;
    closer.setInterval(50);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(window) && window->isVisible()) {
                QMetaObject::invokeMethod(window, "reject");
                return;
            }
        }
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        if (typedIn) {
            QMetaObject::invokeMethod(dialog, "reject");
            return;
        }
        typedIn = true;
        dialog->setDirectory(folder.path());
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        // Queued: a box it brings up runs while this timer is still busy.
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
    closer.start();

    QtFilePrompt prompt;
    const std::string name =
        prompt.ask(open ? FileDialogMode::Open : FileDialogMode::Save, "", "txt");
    QVERIFY(typedIn);
    QCOMPARE(QString::fromStdString(name), folder.filePath(chosen));
}

void ToolkitTest::deferredIconsAreTheStylesOwn_data() {
    QTest::addColumn<QStyle::StandardPixmap>("which");
    QTest::newRow("menu bar's extension") << QStyle::SP_ToolBarHorizontalExtensionButton;
    QTest::newRow("vertical extension") << QStyle::SP_ToolBarVerticalExtensionButton;
    QTest::newRow("passed through") << QStyle::SP_MessageBoxWarning;
}

// Made late or at once, an icon draws as the style's own at every size asked for.
void ToolkitTest::deferredIconsAreTheStylesOwn() {
    QFETCH(QStyle::StandardPixmap, which);
    const DeferredIconStyle deferred(QStringLiteral("Fusion"));
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const QIcon late = deferred.standardIcon(which);
    const QIcon own = fusion->standardIcon(which);
    QVERIFY(!late.isNull());
    for (const int size : {8, 16, 32}) {
        QCOMPARE(late.pixmap(size).toImage(), own.pixmap(size).toImage());
    }
    QCOMPARE(late.availableSizes(), own.availableSizes());
}

QTEST_MAIN(ToolkitTest)
#include "ToolkitTest.moc"
