#include "ZoomBox.h"

#include "core/Zoom.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <vector>

namespace kvistra {

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
    // Only the exposed part is stretched, so a large zoom costs no more than
    // the part on screen.
    const QRect area = exposed.translated(-inside.topLeft());
    std::vector<int> sourceColumns(static_cast<std::size_t>(area.width()));
    for (int x = 0; x < area.width(); ++x) {
        sourceColumns[static_cast<std::size_t>(x)] =
            3 * stretchedSource(area.left() + x, inside.width(), snapshot_.width());
    }
    QImage part(area.size(), QImage::Format_BGR888);
    for (int y = 0; y < area.height(); ++y) {
        const auto source =
            snapshot_.row(stretchedSource(area.top() + y, inside.height(), snapshot_.height()));
        uchar* target = part.scanLine(y);
        for (const int column : sourceColumns) {
            *target++ = source[static_cast<std::size_t>(column)];
            *target++ = source[static_cast<std::size_t>(column) + 1];
            *target++ = source[static_cast<std::size_t>(column) + 2];
        }
    }
    painter.drawImage(exposed.topLeft(), part);
}

void ZoomBox::mouseReleaseEvent(QMouseEvent* event) {
    // A click ends with the release, over the box.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked(event->globalPosition().toPoint());
    }
    QFrame::mouseReleaseEvent(event);
}

} // namespace kvistra
