#include "ScriptedToolkit.h"
#include "core/MessageBoxStyle.h"
#include "toolkit/FileDialog.h"
#include "toolkit/PictureBox.h"
#include "toolkit/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

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
};

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
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        shownTitle = box->windowTitle();
        shownText = box->text();
        shownIcon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            shownButtons << button->text();
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == press) {
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

void ToolkitTest::canvasPaintsItsExactColours() {
    PictureBox canvas(QSize(40, 30));
    const int border = PictureBox::kFrameWidth;
    QCOMPARE(canvas.size(), QSize(40 + 2 * border, 30 + 2 * border));
    const Colour red = 250;
    const Colour green = 251 * 256;
    const Colour blue = 252 * 65536;
    canvas.image().setPixel(0, 0, red);
    canvas.image().setPixel(20, 10, green + 1);
    canvas.image().setPixel(39, 29, blue + 2);

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

QTEST_MAIN(ToolkitTest)
#include "ToolkitTest.moc"
