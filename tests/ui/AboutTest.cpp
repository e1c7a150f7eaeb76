// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"
#include "FakeSystem.h"
#include "ScriptedToolkit.h"
#include "system/SystemInformation.h"
#include "ui/AboutDialog.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <memory>

using namespace kvistra;
using kvistra::test::FakeSystem;
using kvistra::test::ScriptedMessageBoxes;

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadFillsCaptionAndLabels();
    void controlsSitWhereTheyBelong_data();
    void controlsSitWhereTheyBelong();
    void disclaimerWordsStopShortOfTheButtons();
    void fixedCentredDialogWithoutMinimiseOrMaximise();
    void pictureIsThirtyTwoSquareInSixteenColours();
    void separatorIsGreyOverWhite();
    void okComesFirstInTheTabOrder();
    void enterAndEscapeCloseAndDelete_data();
    void enterAndEscapeCloseAndDelete();
    void systemInfoStartsTheProgramTheRegistryNames();
    void systemInfoWithoutAProgramSaysSoAndStaysOpen();

private:
    template <typename T> T* child(const char* name) const {
        T* found = about_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no control %s", name);
        }
        return found;
    }
    void showAbout();

    std::unique_ptr<FakeSystem> system_;
    std::unique_ptr<ScriptedMessageBoxes> messageBoxes_;
    QPointer<AboutDialog> about_;
};

void AboutTest::init() {
    system_ = std::make_unique<FakeSystem>();
    messageBoxes_ = std::make_unique<ScriptedMessageBoxes>();
    about_ = new AboutDialog(system_->registry, system_->programs, *messageBoxes_);
}

void AboutTest::cleanup() {
    delete about_.data();
}

void AboutTest::showAbout() {
    about_->show();
    about_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(about_));
}

void AboutTest::loadFillsCaptionAndLabels() {
    QCOMPARE(about_->windowTitle(), QStringLiteral("Om Kvistra"));
    QCOMPARE(child<QLabel>("lblTitle")->text(), QStringLiteral("Kvistra, Brennvik"));
    QCOMPARE(child<QLabel>("lblVersion")->text(), QStringLiteral("Version 1.0.0"));
    const QLabel* description = child<QLabel>("lblDescription");
    QCOMPARE(description->text(),
             QStringLiteral("Kvistra är ett program för att kryptera data och sedan spara datat "
                            "som en bitmapsbild.") +
                 QString(18, QLatin1Char(' ')) +
                 QStringLiteral("Programmet är utvecklat och skrivet under ca 2 veckor."));
    QVERIFY(description->wordWrap());
    QVERIFY(!child<QLabel>("lblDisclaimer")->text().isEmpty());
    QVERIFY(child<QLabel>("lblDisclaimer")->wordWrap());
    QCOMPARE(child<QPushButton>("cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>("cmdSysInfo")->text(), QStringLiteral("&System Info..."));
}

void AboutTest::controlsSitWhereTheyBelong_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("picIcon") << "picIcon" << QRect(16, 16, 36, 36);
    QTest::newRow("lblTitle") << "lblTitle" << QRect(70, 16, 259, 24);
    QTest::newRow("lblVersion") << "lblVersion" << QRect(72, 40, 259, 15);
    QTest::newRow("lblDescription") << "lblDescription" << QRect(16, 64, 259, 54);
    QTest::newRow("lblDisclaimer") << "lblDisclaimer" << QRect(16, 144, 258, 47);
    QTest::newRow("cmdOK") << "cmdOK" << QRect(256, 136, 84, 23);
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(256, 168, 83, 23);
}

void AboutTest::controlsSitWhereTheyBelong() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    showAbout();
    QCOMPARE(child<QWidget>(name.toLatin1().constData())->geometry(), geometry);
}

void AboutTest::disclaimerWordsStopShortOfTheButtons() {
    const QLabel* disclaimer = child<QLabel>("lblDisclaimer");
    const int wordsEnd = disclaimer->mapTo(about_, disclaimer->contentsRect().topRight()).x();
    QVERIFY(wordsEnd < child<QPushButton>("cmdOK")->x());
    QVERIFY(wordsEnd < child<QPushButton>("cmdSysInfo")->x());
}

void AboutTest::fixedCentredDialogWithoutMinimiseOrMaximise() {
    showAbout();
    QCOMPARE(about_->size(), QSize(350, 202));
    QCOMPARE(about_->minimumSize(), about_->maximumSize());
    const Qt::WindowFlags flags = about_->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about_->parentWidget() == nullptr);
    const QPoint screenCentre = about_->screen()->availableGeometry().center();
    const QPoint offCentre = about_->frameGeometry().center() - screenCentre;
    QVERIFY2(offCentre.manhattanLength() <= 40, "the dialog opens centred");
}

void AboutTest::pictureIsThirtyTwoSquareInSixteenColours() {
    const QPixmap picture = child<QLabel>("picIcon")->pixmap();
    QCOMPARE(picture.size(), QSize(32, 32));
    const QImage image = picture.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    QVERIFY2(colours.size() > 4 && colours.size() <= 16,
             qPrintable(QString::number(colours.size())));
}

void AboutTest::separatorIsGreyOverWhite() {
    showAbout();
    const QImage shot = about_->grab().toImage();
    const qreal scale = shot.devicePixelRatio();
    const auto at = [&](int x, int y) {
        return QColor(shot.pixel(qRound(x * scale), qRound(y * scale)));
    };
    for (const int x : {10, 175, 340}) {
        QCOMPARE(at(x, 128), QColor(128, 128, 128));
        QCOMPARE(at(x, 129), QColor(Qt::white));
    }
    QVERIFY(at(175, 127) != QColor(128, 128, 128));
}

void AboutTest::okComesFirstInTheTabOrder() {
    showAbout();
    QPushButton* ok = child<QPushButton>("cmdOK");
    QCOMPARE(QApplication::focusWidget(), ok);
    QVERIFY(ok->isDefault());
    QTest::keyClick(about_, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child<QPushButton>("cmdSysInfo"));
    test::verifyFocusableControlsNamed(about_, 2);
}

void AboutTest::enterAndEscapeCloseAndDelete_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void AboutTest::enterAndEscapeCloseAndDelete() {
    QFETCH(int, key);
    showAbout();
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    QTRY_VERIFY(about_.isNull());
    QVERIFY(messageBoxes_->shown.empty());
    QVERIFY(system_->programs.started.empty());
}

void AboutTest::systemInfoStartsTheProgramTheRegistryNames() {
    system_->registry.setString(kSystemInformationKey, kSystemInformationPathValue,
                                "/usr/bin/hardinfo");
    showAbout();
    child<QPushButton>("cmdSysInfo")->click();
    QCOMPARE(system_->programs.started, std::vector<std::string>{"/usr/bin/hardinfo"});
    QVERIFY(messageBoxes_->shown.empty());
}

void AboutTest::systemInfoWithoutAProgramSaysSoAndStaysOpen() {
    showAbout();
    QTest::keyClick(about_, Qt::Key_S, Qt::AltModifier); // the access key clicks after a moment
    QTRY_COMPARE(messageBoxes_->texts(),
                 std::vector<std::string>{"System Information Is Unavailable At This Time"});
    QCOMPARE(messageBoxes_->shown[0].title, std::string());
    QVERIFY(system_->programs.started.empty());
    QTest::qWait(0); // a deletion would happen here
    QVERIFY(!about_.isNull());
    QVERIFY(about_->isVisible());
}

QTEST_MAIN(AboutTest)
#include "AboutTest.moc"
