// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"
#include "FileBytes.h"
#include "FocusShown.h"
#include "MainWindowFixture.h"
#include "core/Image.h"
#include "core/RunRegions.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/ZoomBox.h"
#include "ui/MainWindow.h"
#include "ui/Placement.h"
#include "ui/TextViewer.h"
#include "ui/ZoomWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <optional>
#include <utility>

using namespace kvistra;
using kvistra::test::fileBytes;
using kvistra::test::MainWindowFixture;
using kvistra::test::writeBytes;

namespace {

// Every pixel its own colour, so that a zoomed pixel tells where it came from.
Colour colourAt(int x, int y) {
    return (x & 0xFF) + 256 * (y & 0xFF) + 65536 * ((x >> 8) | ((y >> 8) << 4));
}

QPoint sourceOf(QRgb shown) {
    const int blue = qBlue(shown);
    return {qRed(shown) | ((blue & 0x0F) << 8), qGreen(shown) | ((blue >> 4) << 8)};
}

Image patterned(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, colourAt(x, y));
        }
    }
    return image;
}

} // namespace

class ViewerTest : public QObject, private MainWindowFixture {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void viewerShowsAndSavesLineBreaks_data();
    void viewerShowsAndSavesLineBreaks();
    void saveAsksOnceForTheWholeRun();
    void cancelledSaveAsForgetsTheName();
    void viewerExistsOnceAndKeepsItsText();
    void viewerSavesEveryCharacterAndReportsFailures();
    void viewerBoxTakesNoTypedTab();
    void zoomFillsTheBoxWithBlocks_data();
    void zoomFillsTheBoxWithBlocks();
    void zoomIsASnapshot();
    void popUpMenuIsTheZoomMenu();
    void zoomWindowExistsOnceAndStartsAt100();
    void zoomBoxShowsTheFocus();
    void controlsHaveNamesAndMenusAccessKeys();
    void zoomWindowFitsItsScreen_data();
    void zoomWindowFitsItsScreen();
    void zoomWindowIsAsWideAsItsMenuBar_data();
    void zoomWindowIsAsWideAsItsMenuBar();
    void bothAreToolWindowsBesideTheMainWindow();
    void closeBoxClosesTheMainWindowAlone();
    void placedBesideTheMainWindow_data();
    void placedBesideTheMainWindow();
    void besideTheAnchor_data();
    void besideTheAnchor();
    void viewerLeavesTheMenuBarFree();
    void exitRemindsOnceAndEndsWithEveryWindow();
    void zoomOutlinesTheMessageRunOfTheKeyFields();

private:
    template <class T> static T* control(QWidget* window, const char* name) {
        return childOf<T>(window, name);
    }
    template <class W> W* topLevel() const;
    TextViewer* openViewer(const std::string& decrypted);
    ZoomWindow* openZoom();
    void trigger(QWidget* window, const char* name) { control<QAction>(window, name)->trigger(); }
    std::string viewerText() const {
        return control<TextBox>(topLevel<TextViewer>(), "Visning")->programText();
    }
    // Checks that the zoom box shows the whole canvas, each pixel as an unbroken block.
    void verifyBlocks(const Image& canvas, double factor);
    // Checks that the part in view shows the canvas pixels it stands for, in unbroken
    // blocks; returns the sources of its first and last pixels.
    static std::optional<std::pair<QPoint, QPoint>> verifyViewedBlocks(ZoomBox& box,
                                                                       const Image& canvas);
};

void ViewerTest::init() {
    openWindow();
}

void ViewerTest::cleanup() {
    closeWindow();
    QCOMPARE(topLevel<TextViewer>(), nullptr);
    QCOMPARE(topLevel<ZoomWindow>(), nullptr);
}

template <class W> W* ViewerTest::topLevel() const {
    W* found = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<W*>(widget)) {
            if (found) {
                qFatal("more than one %s", W::staticMetaObject.className());
            }
            found = window;
        }
    }
    return found;
}

TextViewer* ViewerTest::openViewer(const std::string& decrypted) {
    control<TextBox>(window_.get(), "Text2")->setProgramText(decrypted);
    control<QPushButton>(window_.get(), "Command5")->click();
    auto* viewer = topLevel<TextViewer>();
    if (!viewer || !viewer->isVisible()) {
        qFatal("no viewer");
    }
    return viewer;
}

ZoomWindow* ViewerTest::openZoom() {
    QTest::mouseDClick(control<PictureBox>(window_.get(), "Picture1"), Qt::LeftButton, {},
                       QPoint(10, 10));
    auto* zoom = topLevel<ZoomWindow>();
    if (!zoom || !zoom->isVisible()) {
        qFatal("no zoom window");
    }
    return zoom;
}

void ViewerTest::viewerShowsAndSavesLineBreaks_data() {
    QTest::addColumn<QString>("decrypted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("saved");

    // Saved as this platform's text files are: UTF-8, each line ended by LF.
    QTest::newRow("two lines") << "ab|cd"
                               << "ab\r\ncd" << QByteArray("ab\ncd\n");
    QTest::newRow("ends with a marker") << "ab|"
                                        << "ab\r\n"
                                        << QByteArray("ab\n\n");
    QTest::newRow("no marker") << "Hej då, öl för 5 €"
                               << "Hej då, öl för 5 €"
                               << QByteArray(
                                      "Hej d\xC3\xA5, \xC3\xB6l f\xC3\xB6r 5 \xE2\x82\xAC\n");
    QTest::newRow("only markers") << "||"
                                  << "\r\n\r\n"
                                  << QByteArray("\n\n\n");
    QTest::newRow("empty") << ""
                           << "" << QByteArray("\n");
}

void ViewerTest::viewerShowsAndSavesLineBreaks() {
    QFETCH(QString, decrypted);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);

    TextViewer* viewer = openViewer(decrypted.toStdString());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Visningsfönster"));
    QCOMPARE(viewerText(), shown.toStdString());

    prompt_.answers = {path("text.txt").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(fileBytes(path("text.txt")), saved);
    QVERIFY(boxes_.shown.empty());
}

void ViewerTest::saveAsksOnceForTheWholeRun() {
    TextViewer* viewer = openViewer("ab|cd");
    prompt_.answers = {path("utan-filtyp").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(prompt_.asked.size(), std::size_t{1});
    QVERIFY(prompt_.asked[0].mode == FileDialogMode::Save);
    QCOMPARE(prompt_.asked[0].defaultExtension, std::string()); // no extension added
    QCOMPARE(fileBytes(path("utan-filtyp")), QByteArray("ab\ncd\n"));

    trigger(viewer, "mnuClearTextBox");
    trigger(viewer, "mnuSave");
    QCOMPARE(fileBytes(path("utan-filtyp")), QByteArray("\n"));

    // Closed and opened again: a fresh text, the same file, still no dialog.
    trigger(viewer, "mnuVAvsluta");
    QVERIFY(!viewer->isVisible());
    viewer = openViewer("ny|text");
    QCOMPARE(viewerText(), std::string("ny\r\ntext"));
    trigger(viewer, "mnuSave");
    QCOMPARE(fileBytes(path("utan-filtyp")), QByteArray("ny\ntext\n"));
    QCOMPARE(prompt_.asked.size(), std::size_t{1});
    QVERIFY(boxes_.shown.empty());
}

void ViewerTest::cancelledSaveAsForgetsTheName() {
    TextViewer* viewer = openViewer("abc");
    prompt_.answers = {path("a.txt").toStdString()};
    trigger(viewer, "mnuSaveAs");
    QCOMPARE(viewer->fileName(), path("a.txt").toStdString());

    control<TextBox>(viewer, "Visning")->setProgramText("ändrad");
    trigger(viewer, "mnuSaveAs"); // cancelled: nothing written, no message
    QCOMPARE(fileBytes(path("a.txt")), QByteArray("abc\n"));
    QCOMPARE(viewer->fileName(), std::string());
    QVERIFY(boxes_.shown.empty());

    prompt_.answers = {path("b.txt").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(prompt_.asked.size(), std::size_t{3});
    QCOMPARE(fileBytes(path("b.txt")), QByteArray("\xC3\xA4ndrad\n"));
}

void ViewerTest::viewerExistsOnceAndKeepsItsText() {
    TextViewer* viewer = openViewer("först");
    control<TextBox>(viewer, "Visning")->appendProgramText(" och mer");
    // Open again: the same window, brought to the front, its text untouched.
    QCOMPARE(openViewer("sedan"), viewer);
    QCOMPARE(viewerText(), std::string("först och mer"));

    viewer->close(); // the close box unloads it like "Avsluta"
    QCOMPARE(openViewer("sedan"), viewer);
    QCOMPARE(viewerText(), std::string("sedan"));
    QVERIFY(window_->isVisible());
}

void ViewerTest::viewerSavesEveryCharacterAndReportsFailures() {
    // Characters outside Windows-1252 are saved too, and "Infoga textfil" reads them
    // back; the main window then names the one it cannot hide.
    writeBytes(path("gammal.txt"), "gammalt innehåll");
    TextViewer* viewer = openViewer("Ωmega|å ä ö €");
    prompt_.answers = {path("gammal.txt").toStdString()};
    trigger(viewer, "mnuSave");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(fileBytes(path("gammal.txt")), QByteArray("Ωmega\nå ä ö €\n"));

    control<TextBox>(viewer, "Visning")->setProgramText("rad 1\r\nå ä ö €");
    trigger(viewer, "mnuSave");
    prompt_.answers = {path("gammal.txt").toStdString()};
    trigger(window_.get(), "mnuInsertTextFile");
    QVERIFY(boxes_.shown.empty());
    QCOMPARE(control<TextBox>(window_.get(), "Text1")->programText(),
             std::string("rad 1|å ä ö €|"));

    // A folder that does not exist: reported, and the name stays chosen.
    control<TextBox>(viewer, "Visning")->setProgramText("omega");
    prompt_.answers = {path("saknas/fil.txt").toStdString()};
    trigger(viewer, "mnuSaveAs");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QVERIFY(boxes_.shown[0].text.starts_with("Filen \"" + path("saknas/fil.txt").toStdString() +
                                             "\" kunde inte sparas"));
    QCOMPARE(viewer->fileName(), path("saknas/fil.txt").toStdString());
}

std::optional<std::pair<QPoint, QPoint>> ViewerTest::verifyViewedBlocks(ZoomBox& box,
                                                                        const Image& canvas) {
    const QImage shown = box.viewport()->grab().toImage();
    const QRect part = box.visiblePart();
    if (shown.size() != part.size()) {
        qWarning("shown %dx%d, part %dx%d", shown.width(), shown.height(), part.width(),
                 part.height());
        return std::nullopt;
    }
    // Along each row and column the source pixels follow in order, none skipped.
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QPoint from = sourceOf(shown.pixel(x, y));
            if (canvas.pixel(from.x(), from.y()) != colourAt(from.x(), from.y())) {
                qWarning("no canvas pixel at %d, %d", x, y);
                return std::nullopt;
            }
            const QPoint left = x > 0 ? sourceOf(shown.pixel(x - 1, y)) : from;
            const QPoint above = y > 0 ? sourceOf(shown.pixel(x, y - 1)) : from;
            if (from.x() - left.x() > 1 || from.x() < left.x() || from.y() != left.y() ||
                from.y() - above.y() > 1 || from.y() < above.y() || from.x() != above.x()) {
                qWarning("broken block at %d, %d", x, y);
                return std::nullopt;
            }
        }
    }
    return std::pair{sourceOf(shown.pixel(0, 0)),
                     sourceOf(shown.pixel(shown.width() - 1, shown.height() - 1))};
}

void ViewerTest::verifyBlocks(const Image& canvas, double factor) {
    ZoomWindow* zoom = topLevel<ZoomWindow>();
    auto* box = control<ZoomBox>(zoom, "Picture2");
    const auto* canvasBox = control<PictureBox>(window_.get(), "Picture1");
    // Rounded to the nearest pixel, a half to even: 35 x 1.5 gives 52.
    const QSize zoomed(static_cast<int>(std::nearbyint(canvasBox->width() * factor)),
                       static_cast<int>(std::nearbyint(canvasBox->height() * factor)));
    QCOMPARE(box->outerSize(), zoomed);
    const QSize wanted =
        (box->outerSize() + QSize(23, 60)).expandedTo({zoom->menuBar()->sizeHint().width(), 0});
    if (zoom->screen()->availableGeometry().size().expandedTo(wanted) ==
        zoom->screen()->availableGeometry().size()) {
        QCOMPARE(box->size(), zoomed);
        QCOMPARE(zoom->size(), wanted);
    } else {
        QVERIFY(zoom->size().width() <= wanted.width() && zoom->size().height() <= wanted.height());
    }

    // From the first pixel to the last, scrolled to either end where the box scrolls.
    box->horizontalScrollBar()->setValue(0);
    box->verticalScrollBar()->setValue(0);
    const auto start = verifyViewedBlocks(*box, canvas);
    QVERIFY(start);
    QCOMPARE(start->first, QPoint(0, 0));
    box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->maximum());
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    const auto end = verifyViewedBlocks(*box, canvas);
    QVERIFY(end);
    QCOMPARE(end->second, QPoint(canvas.width() - 1, canvas.height() - 1));
}

void ViewerTest::viewerBoxTakesNoTypedTab() {
    TextViewer* viewer = openViewer("ab");
    auto* box = control<TextBox>(viewer, "Visning");
    box->setFocus();
    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ControlModifier}) {
        QTest::keyClick(box, Qt::Key_Tab, modifiers);
    }
    QTest::keyClick(box, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(viewerText(), std::string("ab"));
    box->insertPlainText(QStringLiteral("\t")); // as a paste puts it
    QCOMPARE(viewerText(), std::string("ab\t"));
}

void ViewerTest::zoomFillsTheBoxWithBlocks_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("factor");

    QTest::newRow("100") << "mnu100"
                         << "100 %" << 1.0;
    QTest::newRow("125") << "mnu125"
                         << "125 %" << 1.25;
    QTest::newRow("150") << "mnu150"
                         << "150 %" << 1.5;
    QTest::newRow("175") << "mnu175"
                         << "175" << 1.75;
    QTest::newRow("200") << "mnu200"
                         << "200 %" << 2.0;
    QTest::newRow("300") << "mnu300"
                         << "300 %" << 3.0;
    QTest::newRow("400") << "mnu400"
                         << "400 %" << 4.0;
}

void ViewerTest::zoomFillsTheBoxWithBlocks() {
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(double, factor);

    // The whole canvas at its start size, then a loaded picture of its own size.
    auto* canvas = control<PictureBox>(window_.get(), "Picture1");
    canvas->setPicture(patterned(269, 253));
    ZoomWindow* zoom = openZoom();
    auto* action = control<QAction>(zoom, item.toLatin1().constData());
    QCOMPARE(QString(action->text()).remove(QLatin1Char('&')), caption);
    action->trigger();
    verifyBlocks(canvas->image(), factor);

    canvas->setPicture(patterned(45, 31));
    action->trigger();
    QCOMPARE(canvas->size(), QSize(49, 35));
    verifyBlocks(canvas->image(), factor);
}

void ViewerTest::zoomIsASnapshot() {
    auto* canvas = control<PictureBox>(window_.get(), "Picture1");
    canvas->setPicture(patterned(20, 10));
    ZoomWindow* zoom = openZoom();
    auto* box = control<ZoomBox>(zoom, "Picture2");
    const QPoint corner = box->contentsRect().topLeft();
    QCOMPARE(box->grab().toImage().pixel(corner), QColor(Qt::black).rgb());

    canvas->surfaceToDrawOn().setPixel(0, 0, colourAt(0, 0) + 0x3300);
    openZoom(); // only brought to the front
    QCOMPARE(box->grab().toImage().pixel(corner), QColor(Qt::black).rgb());

    trigger(zoom, "mnu100");
    QCOMPARE(box->grab().toImage().pixel(corner), qRgb(0, 0x33, 0));
}

void ViewerTest::popUpMenuIsTheZoomMenu() {
    ZoomWindow* zoom = openZoom();
    QVERIFY(QTest::qWaitForWindowExposed(zoom));
    auto* box = control<ZoomBox>(zoom, "Picture2");
    // The picture is shown in the box's view.
    QWidget* view = box->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(30, 20));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("mnuZooming"));
    QCOMPARE(menu->title(), QStringLiteral("&Förstoring"));
    QCOMPARE(menu->pos(), view->mapToGlobal(QPoint(30, 20)));

    // Its items are the menu bar's.
    QAction* twice = control<QAction>(zoom, "mnu200");
    QVERIFY(menu->actions().contains(twice));
    menu->setActiveAction(twice);
    QTest::keyClick(menu, Qt::Key_Return);
    QVERIFY(!menu->isVisible());
    QCOMPARE(box->outerSize(), QSize(546, 514));

    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(QApplication::activePopupWidget());
    QApplication::activePopupWidget()->close();
}

void ViewerTest::zoomWindowExistsOnceAndStartsAt100() {
    ZoomWindow* zoom = openZoom();
    trigger(zoom, "mnu400");
    QCOMPARE(openZoom(), zoom);
    QCOMPARE(control<ZoomBox>(zoom, "Picture2")->outerSize(), QSize(1092, 1028));

    trigger(zoom, "mnuGrAvsluta");
    QVERIFY(!zoom->isVisible());
    QVERIFY(window_->isVisible());
    QCOMPARE(openZoom(), zoom);
    QCOMPARE(control<ZoomBox>(zoom, "Picture2")->size(), QSize(273, 257));
    QCOMPARE(zoom->size(), QSize(296, 317));
}

void ViewerTest::zoomBoxShowsTheFocus() {
    ZoomWindow* zoom = openZoom();
    QVERIFY(QTest::qWaitForWindowExposed(zoom));
    zoom->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(zoom));
    test::verifyFocusShowsOnTheFrame(control<ZoomBox>(zoom, "Picture2"));
}

void ViewerTest::controlsHaveNamesAndMenusAccessKeys() {
    TextViewer* viewer = openViewer("hej");
    test::verifyFocusableControlsNamed(viewer, 1);
    test::verifyMenusHaveAccessKeys(viewer, 1);
    viewer->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(viewer));
    test::verifyFocusShowsOnTheFrame(control<TextBox>(viewer, "Visning"), true);

    ZoomWindow* zoom = openZoom();
    test::verifyFocusableControlsNamed(zoom, 1);
    test::verifyMenusHaveAccessKeys(zoom, 1);
    // The enlarged view tells what it shows, at the factor chosen.
    auto* box = control<ZoomBox>(zoom, "Picture2");
    const auto description = [box] {
        return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description);
    };
    QVERIFY2(description().contains(QStringLiteral("269 × 253 bildpunkter, förstorad till 100 %")),
             qPrintable(description()));
    trigger(zoom, "mnu175");
    QVERIFY2(description().contains(QStringLiteral("förstorad till 175 %")),
             qPrintable(description()));
}

void ViewerTest::zoomWindowFitsItsScreen_data() {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QString>("item");

    QTest::newRow("2000 x 2000 at 100 %") << QSize(2000, 2000) << "mnu100";
    QTest::newRow("the start canvas at 400 %") << QSize(269, 253) << "mnu400";
    QTest::newRow("4000 x 3000 at 400 %") << QSize(4000, 3000) << "mnu400";
}

// Sized as the rule says up to the screen's room and scrolled beyond it; no widget
// larger than the screen, so nothing holds the enlarged picture whole.
void ViewerTest::zoomWindowFitsItsScreen() {
    QFETCH(QSize, picture);
    QFETCH(QString, item);

    ZoomWindow* zoom = openZoom(); // the canvas follows the picture from now on
    auto* canvas = control<PictureBox>(window_.get(), "Picture1");
    canvas->setPicture(patterned(picture.width(), picture.height()));
    trigger(zoom, item.toLatin1().constData());
    QVERIFY(QTest::qWaitForWindowExposed(zoom));
    auto* box = control<ZoomBox>(zoom, "Picture2");

    const QRect available = zoom->screen()->availableGeometry();
    QTRY_VERIFY(available.contains(zoom->frameGeometry()));
    QVERIFY(box->outerSize().width() > available.width() ||
            box->outerSize().height() > available.height());
    QVERIFY(box->horizontalScrollBar()->isVisible() || box->verticalScrollBar()->isVisible());
    // The box takes the room the window leaves it, within the window's margins.
    QVERIFY(zoom->rect().contains(QRect(box->mapTo(zoom, QPoint(0, 0)), box->size())));
    for (const QWidget* widget : zoom->findChildren<QWidget*>()) {
        QVERIFY2(widget->width() <= available.width() && widget->height() <= available.height(),
                 qPrintable(widget->metaObject()->className()));
    }
    QVERIFY(box->viewport()->width() <= box->width());
    QVERIFY(box->viewport()->height() <= box->height());

    // Each part scrolled into view shows its own pixels.
    const Image& shown = canvas->image();
    QScrollBar* across = box->horizontalScrollBar();
    QScrollBar* down = box->verticalScrollBar();
    for (const double at : {0.0, 0.5, 1.0}) {
        across->setValue(static_cast<int>(across->maximum() * at));
        down->setValue(static_cast<int>(down->maximum() * at));
        const auto sources = verifyViewedBlocks(*box, shown);
        QVERIFY(sources);
        const QRect part = box->visiblePart();
        const double scaleX = double(shown.width()) / (box->outerSize().width() - 4);
        const double scaleY = double(shown.height()) / (box->outerSize().height() - 4);
        QVERIFY(std::abs(sources->first.x() - part.left() * scaleX) <= 1);
        QVERIFY(std::abs(sources->first.y() - part.top() * scaleY) <= 1);
        QVERIFY(std::abs(sources->second.x() - part.right() * scaleX) <= 1);
        QVERIFY(std::abs(sources->second.y() - part.bottom() * scaleY) <= 1);
    }
    QCOMPARE(box->visiblePart().bottomRight(),
             QPoint(box->outerSize().width() - 5, box->outerSize().height() - 5));
}

void ViewerTest::zoomWindowIsAsWideAsItsMenuBar_data() {
    QTest::addColumn<QSize>("picture");
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("3 x 3") << QSize(3, 3);
}

void ViewerTest::zoomWindowIsAsWideAsItsMenuBar() {
    QFETCH(QSize, picture);

    ZoomWindow* zoom = openZoom();
    control<PictureBox>(window_.get(), "Picture1")
        ->setPicture(patterned(picture.width(), picture.height()));
    trigger(zoom, "mnu100");
    QVERIFY(QTest::qWaitForWindowExposed(zoom));
    QVERIFY(zoom->width() >= zoom->menuBar()->sizeHint().width());
    // The menu stays on the bar, not folded behind an extension button.
    const auto* extension =
        zoom->menuBar()->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"));
    QVERIFY(!extension || !extension->isVisible());
    // The box keeps its own size at the window's top left.
    auto* box = control<ZoomBox>(zoom, "Picture2");
    QCOMPARE(box->size(), picture + QSize(4, 4));
    QCOMPARE(zoom->height(), box->height() + 60);
    QCOMPARE(box->visiblePart(), QRect(QPoint(0, 0), picture));
    QVERIFY(verifyViewedBlocks(*box, control<PictureBox>(window_.get(), "Picture1")->image()));
}

void ViewerTest::bothAreToolWindowsBesideTheMainWindow() {
    const QWidget* windows[] = {openViewer("x"), openZoom()};
    for (const QWidget* window : windows) {
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(!window->isModal());
        QVERIFY(!(window->windowFlags() & Qt::WindowMinMaxButtonsHint));
        QCOMPARE(window->minimumSize(), window->maximumSize()); // fixed size
        QVERIFY(window->isVisible());
    }
    QVERIFY(window_->isEnabled());
    QVERIFY(window_->isVisible());
}

void ViewerTest::closeBoxClosesTheMainWindowAlone() {
    QWidget* viewer = openViewer("kvar");
    QWidget* zoom = openZoom();
    QVERIFY(viewer->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(zoom->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(window_->close());
    QVERIFY(!window_->isVisible());
    QVERIFY(viewer->isVisible());
    QVERIFY(zoom->isVisible());
    QVERIFY(boxes_.shown.empty());
}

void ViewerTest::exitRemindsOnceAndEndsWithEveryWindow() {
    openViewer("osparad|text");
    openZoom();
    QTimer::singleShot(0, this, [this] { trigger(window_.get(), "mnuAvsluta"); });
    // Fails instead of hanging should the program not end.
    QTimer::singleShot(10000, this, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);

    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(boxes_.shown[0].text, std::string("Kom ihåg att ha nyckelfilen separerad från "
                                               "bitmappen!\r\nMvh, Programmeraren"));
    QCOMPARE(boxes_.shown[0].title, std::string()); // the program's own title
    QCOMPARE(boxes_.shown[0].style, 64);
    QVERIFY(!window_->isVisible());
    QVERIFY(prompt_.asked.empty()); // nothing offered for saving
}

void ViewerTest::placedBesideTheMainWindow_data() {
    QTest::addColumn<QString>("anchorAt"); // where the main window stands on its screen
    QTest::addColumn<QString>("expected");

    QTest::newRow("room on the right") << "left"
                                       << "right of it";
    QTest::newRow("room on the left only") << "right"
                                           << "left of it";
    QTest::newRow("no room on either side") << "wide"
                                            << "against the right edge, below it";
}

void ViewerTest::placedBesideTheMainWindow() {
    QFETCH(QString, anchorAt);
    QFETCH(QString, expected);

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget anchor;
    if (anchorAt == QLatin1String("left")) {
        anchor.setGeometry(screen.left(), screen.top() + 10, 300, 200);
    } else if (anchorAt == QLatin1String("right")) {
        anchor.setGeometry(screen.right() + 1 - 300, screen.top() + 10, 300, 200);
    } else {
        anchor.setGeometry(screen.left() + 50, screen.top() + 10, screen.width() - 100, 200);
    }
    QWidget window;
    window.resize(200, 100);
    placeBeside(window, anchor);

    const QRect placed(window.pos(), window.size());
    QVERIFY(screen.contains(placed));
    if (expected == QLatin1String("right of it")) {
        QCOMPARE(placed.top(), anchor.y());
        QCOMPARE(placed.left(), anchor.geometry().right() + 1 + 8);
    } else if (expected == QLatin1String("left of it")) {
        QCOMPARE(placed.top(), anchor.y());
        QCOMPARE(placed.right() + 1 + 8, anchor.x());
    } else {
        // Covers none of it, the screen being high enough.
        QCOMPARE(placed.right(), screen.right());
        QCOMPARE(placed.bottom(), screen.bottom());
    }
}

void ViewerTest::besideTheAnchor_data() {
    QTest::addColumn<QRect>("anchor");
    QTest::addColumn<int>("menuBarBottom");
    QTest::addColumn<QPoint>("placed");

    // A 1280 x 1024 screen and a frame of 600 x 450.
    QTest::newRow("room on the right") << QRect(0, 100, 600, 500) << 150 << QPoint(608, 100);
    QTest::newRow("room on the left only") << QRect(670, 100, 600, 500) << 150 << QPoint(62, 100);
    QTest::newRow("low anchor: level with it as far as the screen goes")
        << QRect(0, 800, 600, 200) << 850 << QPoint(608, 574);
    QTest::newRow("centred: below the menu bar on the right, covering the least")
        << QRect(271, 200, 737, 600) << 250 << QPoint(680, 574);
    QTest::newRow("more room on the left: there")
        << QRect(200, 200, 1000, 600) << 250 << QPoint(0, 574);
    QTest::newRow("high anchor: below its menu bar")
        << QRect(271, 0, 737, 1024) << 50 << QPoint(680, 574);
    QTest::newRow("low anchor: above it") << QRect(271, 500, 737, 524) << 550 << QPoint(680, 0);
    QTest::newRow("menu bar everywhere: least covered, level first")
        << QRect(271, 0, 737, 1024) << 700 << QPoint(680, 0);
    QTest::newRow("no menu bar: covering the least")
        << QRect(100, 0, 1100, 500) << -1 << QPoint(0, 574);
}

void ViewerTest::besideTheAnchor() {
    QFETCH(QRect, anchor);
    QFETCH(int, menuBarBottom);
    QFETCH(QPoint, placed);
    QCOMPARE(besideAnchor(QSize(600, 450), anchor, menuBarBottom, QRect(0, 0, 1280, 1024)), placed);
}

// Centred on its screen, the main window leaves room on neither side for the viewer.
void ViewerTest::viewerLeavesTheMenuBarFree() {
    const QRect available = window_->screen()->availableGeometry();
    window_->move(available.left() + (available.width() - window_->frameGeometry().width()) / 2,
                  available.top());
    QTRY_COMPARE(window_->frameGeometry().left(),
                 available.left() + (available.width() - window_->frameGeometry().width()) / 2);
    TextViewer* viewer = openViewer("x");
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    const QWidget* menuBar = window_->menuBar();
    const QRect menu(menuBar->mapToGlobal(QPoint(0, 0)), menuBar->size());
    QTRY_VERIFY(!viewer->frameGeometry().intersects(menu));
    QVERIFY(available.contains(viewer->frameGeometry()));
}

void ViewerTest::zoomOutlinesTheMessageRunOfTheKeyFields() {
    auto* canvas = control<PictureBox>(window_.get(), "Picture1");
    canvas->setPicture(Image(20, 10, 0x404040));
    const auto field = [this](const char* name) {
        return control<QComboBox>(window_.get(), name)->lineEdit();
    };
    field("Combo2")->setText(QStringLiteral("18"));
    field("Combo1")->setText(QStringLiteral("2"));
    control<QLineEdit>(window_.get(), "Text4")->setText(QStringLiteral("25"));

    ZoomWindow* zoom = openZoom();
    auto* box = control<ZoomBox>(zoom, "Picture2");
    auto* item = control<QAction>(zoom, "mnuMessageRun");
    QCOMPARE(item->text(), QStringLiteral("&Visa meddelandets plats"));
    QVERIFY(item->isCheckable());
    QVERIFY(!item->isChecked()); // off at first: the picture as it is
    QVERIFY(!box->outline());
    // Among the factors and before "Avsluta", which stays last.
    const QList<QAction*> items = control<QMenu>(zoom, "mnuZooming")->actions();
    QCOMPARE(items.indexOf(item), items.indexOf(control<QAction>(zoom, "mnu400")) + 2);
    QCOMPARE(items.last()->objectName(), QStringLiteral("mnuGrAvsluta"));

    // Large enough blocks for each line to show beside the others.
    trigger(zoom, "mnu400");
    const QImage plain = box->grab().toImage();
    item->trigger();
    QCOMPARE(box->outline(), runRegions(20, 10, {18, 2, 25}));
    QCOMPARE(box->outline()->run,
             (std::vector<PixelRect>{{18, 2, 2, 1}, {0, 3, 20, 1}, {0, 4, 3, 1}}));
    // Drawn over the picture in the run's red, the lead-in's violet and the decoys' orange.
    const QImage outlined = box->grab().toImage();
    QVERIFY(outlined != plain);
    const auto shows = [&outlined](QRgb colour) {
        for (int y = 0; y < outlined.height(); ++y) {
            for (int x = 0; x < outlined.width(); ++x) {
                if (outlined.pixel(x, y) == colour) {
                    return true;
                }
            }
        }
        return false;
    };
    QVERIFY(shows(qRgb(0xE0, 0x00, 0x00)));
    QVERIFY(shows(qRgb(0x80, 0x20, 0xD0)));
    QVERIFY(shows(qRgb(0xFF, 0x8C, 0x00)));

    // It follows the key fields at once, typed or set by the program.
    field("Combo2")->setText(QStringLiteral("0"));
    QCOMPARE(box->outline(), runRegions(20, 10, {0, 2, 25}));
    control<QLineEdit>(window_.get(), "Text4")->setText(QStringLiteral("3"));
    QCOMPARE(box->outline()->run, (std::vector<PixelRect>{{0, 2, 3, 1}}));
    // Nothing to outline: a key outside the picture, or no length.
    field("Combo1")->setText(QStringLiteral("10"));
    QVERIFY(!box->outline());
    field("Combo1")->setText(QStringLiteral("1"));
    control<QLineEdit>(window_.get(), "Text4")->setText(QString());
    QVERIFY(!box->outline());
    control<QLineEdit>(window_.get(), "Text4")->setText(QStringLiteral("2"));
    QCOMPARE(box->outline()->run, (std::vector<PixelRect>{{0, 1, 2, 1}}));

    // Over the snapshot shown, at any factor; switched off, the picture is plain again.
    trigger(zoom, "mnu300");
    QCOMPARE(box->outline(), runRegions(20, 10, {0, 1, 2}));
    item->trigger();
    QVERIFY(!box->outline());
    trigger(zoom, "mnu400");
    QCOMPARE(box->grab().toImage(), plain);
}

QTEST_MAIN(ViewerTest)
#include "ViewerTest.moc"
