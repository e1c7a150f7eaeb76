// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomWindow.h"

#include "Placement.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ZoomBox.h"
#include "words/Zoom.h"

#include <QMenu>
#include <QMenuBar>

namespace kvistra {

namespace {

struct ZoomItem {
    const char* name;
    const char* caption;
    double factor;
};

// Access keys on digits of their own: 1, 5, 0, 7, 2, 3 and 4.
constexpr ZoomItem kZoomItems[] = {
    {"mnu100", "&100 %", 1.0}, {"mnu125", "12&5 %", 1.25}, {"mnu150", "15&0 %", 1.5},
    {"mnu175", "1&75", 1.75},  {"mnu200", "&200 %", 2.0},  {"mnu300", "&300 %", 3.0},
    {"mnu400", "&400 %", 4.0},
};

PixelSize pixelSizeOf(QSize size) {
    return {size.width(), size.height()};
}

QSize qSizeOf(PixelSize size) {
    return {size.width, size.height};
}

} // namespace

ZoomWindow::ZoomWindow(const PictureBox& canvas, const QWidget& mainWindow)
    : ToolWindow(mainWindow)
    , canvas_(canvas) {
    setObjectName(QStringLiteral("Granskning"));
    setWindowTitle(QStringLiteral("Granskning"));

    auto* client = new QWidget;
    // `Picture2`: the enlarged snapshot.
    zoomBox_ = new ZoomBox(client);
    zoomBox_->setObjectName(QStringLiteral("Picture2"));
    zoomBox_->setAccessibleName(QStringLiteral("Förstorad bildruta"));
    zoomBox_->move(kMargin, kMargin);
    connect(zoomBox_, &ZoomBox::clicked, this, &ZoomWindow::onZoomBoxClicked);
    setCentralWidget(client);
    createMenus();
}

void ZoomWindow::createMenus() {
    // `mnuZooming`
    zoomMenu_ = menuBar()->addMenu(QStringLiteral("&Förstoring"));
    zoomMenu_->setObjectName(QStringLiteral("mnuZooming"));
    for (const ZoomItem& zoom : kZoomItems) {
        QAction* action = zoomMenu_->addAction(QString::fromUtf8(zoom.caption));
        action->setObjectName(QLatin1String(zoom.name));
        connect(action, &QAction::triggered, this,
                [this, factor = zoom.factor] { zoomTo(factor); });
    }
    zoomMenu_->addSeparator()->setObjectName(QStringLiteral("mnuRunBorder"));
    // Off at first, so that the view shows the picture as it is.
    outlineItem_ = zoomMenu_->addAction(QStringLiteral("&Visa meddelandets plats"));
    outlineItem_->setObjectName(QStringLiteral("mnuMessageRun"));
    outlineItem_->setCheckable(true);
    connect(outlineItem_, &QAction::toggled, this, &ZoomWindow::updateOutline);
    zoomMenu_->addSeparator()->setObjectName(QStringLiteral("mnuGrBorder"));
    // `mnuGrAvsluta`
    QAction* quit = zoomMenu_->addAction(QStringLiteral("&Avsluta"));
    quit->setObjectName(QStringLiteral("mnuGrAvsluta"));
    connect(quit, &QAction::triggered, this, &ZoomWindow::onExit);
}

void ZoomWindow::open() {
    if (!isVisible()) {
        load();
    }
    bringToFront();
}

void ZoomWindow::load() {
    zoomTo(1.0);
}

void ZoomWindow::zoomTo(double factor) {
    const PixelSize box = zoomedOuterSize(pixelSizeOf(canvas_.size()), factor);
    const PixelSize wanted = zoomWindowSize(box);
    const QSize window = qSizeOf(
        fittedZoomWindowSize(wanted, pixelSizeOf(screenRoom()), menuBar()->sizeHint().width()));
    // The box keeps its margins in a window cut down to the room, and scrolls.
    const QSize margins(wanted.width - box.width, wanted.height - box.height);
    zoomBox_->setOuterSize(qSizeOf(box));
    zoomBox_->setRoom(window - margins);
    // A snapshot: later drawing on the canvas shows only when a factor is chosen again.
    zoomBox_->setSnapshot(canvas_.snapshot());
    zoomBox_->setAccessibleDescription(
        QStringLiteral("Bildrutan, %1 × %2 bildpunkter, förstorad till %3 %. Ett klick öppnar "
                       "menyn Förstoring; piltangenterna rullar en förstoring som är större "
                       "än fönstret.")
            .arg(canvas_.scaleWidth())
            .arg(canvas_.scaleHeight())
            .arg(qRound(factor * 100)));
    updateOutline();
    setFixedSize(window);
    if (isVisible()) {
        keepOnScreen(*this);
    }
}

void ZoomWindow::setReadingPlace(std::optional<ReadingPlace> place) {
    readingPlace_ = place;
    updateOutline();
}

void ZoomWindow::updateOutline() {
    // Over the snapshot shown, whatever size the canvas has taken since.
    const Image& shown = zoomBox_->snapshot();
    std::optional<RunRegions> regions;
    if (outlineItem_->isChecked() && readingPlace_) {
        regions = runRegions(shown.width(), shown.height(), *readingPlace_);
    }
    zoomBox_->setOutline(std::move(regions));
}

void ZoomWindow::onZoomBoxClicked(QPoint globalPosition) {
    zoomMenu_->popup(globalPosition);
}

void ZoomWindow::onExit() {
    close();
}

} // namespace kvistra
