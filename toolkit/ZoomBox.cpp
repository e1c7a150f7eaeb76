#include "ZoomBox.h"

#include "core/Zoom.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace kvistra {

namespace {

constexpr int kBandRows = 64;

} // namespace

ZoomBox::ZoomBox(QWidget* parent)
    : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFrameWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ZoomBox::setOuterSize(QSize outer) {
    setFixedSize(outer.expandedTo({2 * kFrameWidth, 2 * kFrameWidth}));
    update();
}

void ZoomBox::setSnapshot(Image snapshot) {
    snapshot_ = std::move(snapshot);
    update();
}

void ZoomBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect inside = contentsRect();
    const QRect exposed = event->rect() & inside;
    if (exposed.isEmpty()) {
        return;
    }
    QPainter painter(this);
    if (snapshot_.width() == 0 || snapshot_.height() == 0) {
        painter.fillRect(exposed, Qt::white);
        return;
    }
    // The exposed part only, stretched a band of rows at a time: a large zoom
    // never holds an enlarged copy of the picture in memory.
    const QRect area = exposed.translated(-inside.topLeft());
    std::vector<std::size_t> sourceColumns(static_cast<std::size_t>(area.width()));
    for (int x = 0; x < area.width(); ++x) {
        sourceColumns[static_cast<std::size_t>(x)] = static_cast<std::size_t>(
            3 * stretchedSource(area.left() + x, inside.width(), snapshot_.width()));
    }
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, area.bottom() + 1 - top);
        QImage band(area.width(), rows, QImage::Format_BGR888);
        for (int y = 0; y < rows; ++y) {
            const auto source =
                snapshot_.row(stretchedSource(top + y, inside.height(), snapshot_.height()));
            uchar* target = band.scanLine(y);
            for (const std::size_t column : sourceColumns) {
                *target++ = source[column];
                *target++ = source[column + 1];
                *target++ = source[column + 2];
            }
        }
        painter.drawImage(QPoint(exposed.left(), top + inside.top()), band);
    }
}

void ZoomBox::mouseReleaseEvent(QMouseEvent* event) {
    // A click ends with the release, over the box.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked(event->globalPosition().toPoint());
    }
    QFrame::mouseReleaseEvent(event);
}

} // namespace kvistra
