#include "FileBytes.h"
#include "MainWindowFixture.h"
#include "core/Image.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/ZoomBox.h"
#include "ui/Granskning.h"
#include "ui/Kvistra.h"
#include "ui/Placement.h"
#include "ui/Visningsform.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cmath>

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
    void viewerRefusesWhatItCannotWrite();
    void viewerBoxTakesNoTypedTab();
    void zoomFillsTheBoxWithBlocks_data();
    void zoomFillsTheBoxWithBlocks();
    void zoomIsASnapshot();
    void popUpMenuIsTheZoomMenu();
    void zoomWindowExistsOnceAndStartsAt100();
    void bothAreToolWindowsBesideTheMainWindow();
    void closeBoxClosesTheMainWindowAlone();
    void placedBesideTheMainWindow_data();
    void placedBesideTheMainWindow();
    void exitRemindsOnceAndEndsWithEveryWindow();

private:
    template <class T> static T* control(QWidget* window, const char* name) {
        return childOf<T>(window, name);
    }
    template <class W> W* topLevel() const;
    Visningsform* openViewer(const std::string& decrypted);
    Granskning* openZoom();
    void trigger(QWidget* window, const char* name) { control<QAction>(window, name)->trigger(); }
    std::string viewerText() const {
        return control<TextBox>(topLevel<Visningsform>(), "Visning")->programText();
    }
    // Checks that the zoom box shows the whole canvas, each pixel as an unbroken block.
    void verifyBlocks(const Image& canvas, double factor);
};

void ViewerTest::init() {
    openWindow();
}

void ViewerTest::cleanup() {
    closeWindow();
    QCOMPARE(topLevel<Visningsform>(), nullptr);
    QCOMPARE(topLevel<Granskning>(), nullptr);
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

Visningsform* ViewerTest::openViewer(const std::string& decrypted) {
    control<TextBox>(window_.get(), "Text2")->setProgramText(decrypted);
    control<QPushButton>(window_.get(), "Command5")->click();
    auto* viewer = topLevel<Visningsform>();
    if (!viewer || !viewer->isVisible()) {
        qFatal("no viewer");
    }
    return viewer;
}

Granskning* ViewerTest::openZoom() {
    QTest::mouseDClick(control<PictureBox>(window_.get(), "Picture1"), Qt::LeftButton, {},
                       QPoint(10, 10));
    auto* zoom = topLevel<Granskning>();
    if (!zoom || !zoom->isVisible()) {
        qFatal("no zoom window");
    }
    return zoom;
}

void ViewerTest::viewerShowsAndSavesLineBreaks_data() {
    QTest::addColumn<QString>("decrypted");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("saved");

    QTest::newRow("two lines") << "ab|cd"
                               << "ab\r\ncd" << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("ends with a marker") << "ab|"
                                        << "ab\r\n"
                                        << QByteArray("ab\r\n\r\n");
    QTest::newRow("no marker") << "Hej då, öl för 5 €"
                               << "Hej då, öl för 5 €"
                               << QByteArray("Hej d\xE5, \xF6l f\xF6r 5 \x80\r\n");
    QTest::newRow("only markers") << "||"
                                  << "\r\n\r\n"
                                  << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("empty") << ""
                           << "" << QByteArray("\r\n");
}

void ViewerTest::viewerShowsAndSavesLineBreaks() {
    QFETCH(QString, decrypted);
    QFETCH(QString, shown);
    QFETCH(QByteArray, saved);

    Visningsform* viewer = openViewer(decrypted.toStdString());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Visningsfönster"));
    QCOMPARE(viewerText(), shown.toStdString());

    prompt_.answers = {path("text.txt").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(fileBytes(path("text.txt")), saved);
    QVERIFY(boxes_.shown.empty());
}

void ViewerTest::saveAsksOnceForTheWholeRun() {
    Visningsform* viewer = openViewer("ab|cd");
    prompt_.answers = {path("utan-filtyp").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(prompt_.asked.size(), std::size_t{1});
    QVERIFY(prompt_.asked[0].mode == FileDialogMode::Save);
    QCOMPARE(prompt_.asked[0].defaultExtension, std::string()); // no extension added
    QCOMPARE(fileBytes(path("utan-filtyp")), QByteArray("ab\r\ncd\r\n"));

    trigger(viewer, "mnuClearTextBox");
    trigger(viewer, "mnuSave");
    QCOMPARE(fileBytes(path("utan-filtyp")), QByteArray("\r\n"));

    // Closed and opened again: a fresh text, the same file, still no dialog.
    trigger(viewer, "mnuVAvsluta");
    QVERIFY(!viewer->isVisible());
    viewer = openViewer("ny|text");
    QCOMPARE(viewerText(), std::string("ny\r\ntext"));
    trigger(viewer, "mnuSave");
    QCOMPARE(fileBytes(path("utan-filtyp")), QByteArray("ny\r\ntext\r\n"));
    QCOMPARE(prompt_.asked.size(), std::size_t{1});
    QVERIFY(boxes_.shown.empty());
}

void ViewerTest::cancelledSaveAsForgetsTheName() {
    Visningsform* viewer = openViewer("abc");
    prompt_.answers = {path("a.txt").toStdString()};
    trigger(viewer, "mnuSaveAs");
    QCOMPARE(viewer->fileName(), path("a.txt").toStdString());

    control<TextBox>(viewer, "Visning")->setProgramText("ändrad");
    trigger(viewer, "mnuSaveAs"); // cancelled: nothing written, no message
    QCOMPARE(fileBytes(path("a.txt")), QByteArray("abc\r\n"));
    QCOMPARE(viewer->fileName(), std::string());
    QVERIFY(boxes_.shown.empty());

    prompt_.answers = {path("b.txt").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(prompt_.asked.size(), std::size_t{3});
    QCOMPARE(fileBytes(path("b.txt")), QByteArray("\xE4ndrad\r\n"));
}

void ViewerTest::viewerExistsOnceAndKeepsItsText() {
    Visningsform* viewer = openViewer("först");
    control<TextBox>(viewer, "Visning")->appendProgramText(" och mer");
    // Open again: the same window, brought to the front, its text untouched.
    QCOMPARE(openViewer("sedan"), viewer);
    QCOMPARE(viewerText(), std::string("först och mer"));

    viewer->close(); // the close box unloads it like "Avsluta"
    QCOMPARE(openViewer("sedan"), viewer);
    QCOMPARE(viewerText(), std::string("sedan"));
    QVERIFY(window_->isVisible());
}

void ViewerTest::viewerRefusesWhatItCannotWrite() {
    writeBytes(path("gammal.txt"), "gammalt innehåll");
    Visningsform* viewer = openViewer("Ωmega");
    prompt_.answers = {path("gammal.txt").toStdString()};
    trigger(viewer, "mnuSave");
    QCOMPARE(boxes_.shown.size(), std::size_t{1});
    QCOMPARE(boxes_.shown[0].style, 16);
    QCOMPARE(boxes_.shown[0].text,
             std::string("Tecknet \"Ω\" (tecken nummer 1) kan inte sparas i en textfil med "
                         "teckentabellen Windows-1252.\r\nTa bort det och försök igen. "
                         "Ingenting har sparats."));
    QCOMPARE(fileBytes(path("gammal.txt")), QByteArray("gammalt innehåll"));

    // A folder that does not exist: reported, and the name stays chosen.
    control<TextBox>(viewer, "Visning")->setProgramText("omega");
    prompt_.answers = {path("saknas/fil.txt").toStdString()};
    trigger(viewer, "mnuSaveAs");
    QCOMPARE(boxes_.shown.size(), std::size_t{2});
    QVERIFY(boxes_.shown[1].text.starts_with("Filen \"" + path("saknas/fil.txt").toStdString() +
                                             "\" kunde inte sparas"));
    QCOMPARE(viewer->fileName(), path("saknas/fil.txt").toStdString());
}

void ViewerTest::verifyBlocks(const Image& canvas, double factor) {
    Granskning* zoom = topLevel<Granskning>();
    auto* box = control<ZoomBox>(zoom, "Picture2");
    const auto* canvasBox = control<PictureBox>(window_.get(), "Picture1");
    // Rounded to the nearest pixel, a half to even: 35 x 1.5 gives 52.
    const QSize zoomed(static_cast<int>(std::nearbyint(canvasBox->width() * factor)),
                       static_cast<int>(std::nearbyint(canvasBox->height() * factor)));
    QCOMPARE(box->size(), zoomed);
    QCOMPARE(zoom->size(), box->size() + QSize(23, 60));

    const QImage shown = box->grab(box->contentsRect()).toImage();
    QCOMPARE(shown.size(), box->contentsRect().size());
    // Along each row and column the source pixels follow in order, none skipped,
    // from the first to the last: blocks of exact colours covering the canvas.
    for (int y = 0; y < shown.height(); ++y) {
        int previous = -1;
        for (int x = 0; x < shown.width(); ++x) {
            const QPoint from = sourceOf(shown.pixel(x, y));
            QVERIFY2(from.x() == previous || from.x() == previous + 1,
                     qPrintable(QStringLiteral("row %1 at %2").arg(y).arg(x)));
            previous = from.x();
            QCOMPARE(canvas.pixel(from.x(), from.y()), colourAt(from.x(), from.y()));
        }
        QCOMPARE(previous, canvas.width() - 1);
    }
    for (int x = 0; x < shown.width(); ++x) {
        int previous = -1;
        for (int y = 0; y < shown.height(); ++y) {
            const int from = sourceOf(shown.pixel(x, y)).y();
            QVERIFY(from == previous || from == previous + 1);
            previous = from;
        }
        QCOMPARE(previous, canvas.height() - 1);
    }
}

void ViewerTest::viewerBoxTakesNoTypedTab() {
    Visningsform* viewer = openViewer("ab");
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
    Granskning* zoom = openZoom();
    auto* action = control<QAction>(zoom, item.toLatin1().constData());
    QCOMPARE(action->text(), caption);
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
    Granskning* zoom = openZoom();
    auto* box = control<ZoomBox>(zoom, "Picture2");
    const QPoint corner = box->contentsRect().topLeft();
    QCOMPARE(box->grab().toImage().pixel(corner), QColor(Qt::black).rgb());

    canvas->image().setPixel(0, 0, colourAt(0, 0) + 0x3300);
    openZoom(); // only brought to the front
    QCOMPARE(box->grab().toImage().pixel(corner), QColor(Qt::black).rgb());

    trigger(zoom, "mnu100");
    QCOMPARE(box->grab().toImage().pixel(corner), qRgb(0, 0x33, 0));
}

void ViewerTest::popUpMenuIsTheZoomMenu() {
    Granskning* zoom = openZoom();
    QVERIFY(QTest::qWaitForWindowExposed(zoom));
    auto* box = control<ZoomBox>(zoom, "Picture2");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(30, 20));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->objectName(), QStringLiteral("mnuZooming"));
    QCOMPARE(menu->title(), QStringLiteral("Förstoring"));
    QCOMPARE(menu->pos(), box->mapToGlobal(QPoint(30, 20)));

    // Its items are the menu bar's.
    QAction* twice = control<QAction>(zoom, "mnu200");
    QVERIFY(menu->actions().contains(twice));
    menu->setActiveAction(twice);
    QTest::keyClick(menu, Qt::Key_Return);
    QVERIFY(!menu->isVisible());
    QCOMPARE(box->size(), QSize(546, 514));

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(QApplication::activePopupWidget());
    QApplication::activePopupWidget()->close();
}

void ViewerTest::zoomWindowExistsOnceAndStartsAt100() {
    Granskning* zoom = openZoom();
    trigger(zoom, "mnu400");
    QCOMPARE(openZoom(), zoom);
    QCOMPARE(control<ZoomBox>(zoom, "Picture2")->size(), QSize(1092, 1028));

    trigger(zoom, "mnuGrAvsluta");
    QVERIFY(!zoom->isVisible());
    QVERIFY(window_->isVisible());
    QCOMPARE(openZoom(), zoom);
    QCOMPARE(control<ZoomBox>(zoom, "Picture2")->size(), QSize(273, 257));
    QCOMPARE(zoom->size(), QSize(296, 317));
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
                                            << "against the right edge";
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
    QCOMPARE(placed.top(), anchor.y());
    if (expected == QLatin1String("right of it")) {
        QCOMPARE(placed.left(), anchor.geometry().right() + 1 + 8);
    } else if (expected == QLatin1String("left of it")) {
        QCOMPARE(placed.right() + 1 + 8, anchor.x());
    } else {
        QCOMPARE(placed.right(), screen.right());
    }
}

QTEST_MAIN(ViewerTest)
#include "ViewerTest.moc"
