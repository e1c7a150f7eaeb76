// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomBox.h"

#include "FocusFrame.h"
#include "words/Zoom.h"

#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScrollBar>
#include <algorithm>
#include <vector>

namespace kvistra {

namespace {

constexpr int kBandRows = 64;
// A click on a scroll bar's arrow moves the view by a few pixels' worth.
constexpr int kScrollStep = 16;

// Where the block of source pixel `source` begins on a stretched length: the first
// destination pixel that stretchedSource maps to it or beyond.
int blockEdge(int source, int destinationLength, int sourceLength) {
    const std::int64_t numerator =
        2 * std::int64_t{source} * destinationLength - std::int64_t{sourceLength};
    if (numerator <= 0) {
        return 0;
    }
    const std::int64_t denominator = 2 * std::int64_t{sourceLength};
    return static_cast<int>((numerator + denominator - 1) / denominator);
}

} // namespace

ZoomBox::ZoomBox(QWidget* parent)
    : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kFrameWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    horizontalScrollBar()->setSingleStep(kScrollStep);
    verticalScrollBar()->setSingleStep(kScrollStep);
}

void ZoomBox::setOuterSize(QSize outer) {
    pictureSize_ = (outer - QSize(2 * kFrameWidth, 2 * kFrameWidth)).expandedTo({0, 0});
    setRoom(room_);
}

void ZoomBox::setRoom(QSize room) {
    room_ = room;
    setFixedSize(outerSize().boundedTo(room_));
    updateScrollBars();
    viewport()->update();
}

void ZoomBox::setOutline(std::optional<RunRegions> outline) {
    outline_ = std::move(outline);
    viewport()->update();
}

void ZoomBox::setSnapshot(std::shared_ptr<const Image> snapshot) {
    snapshot_ = std::move(snapshot);
    viewport()->update();
}

QRect ZoomBox::visiblePart() const {
    const QRect view(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()),
                     viewport()->size());
    return view & QRect(QPoint(0, 0), pictureSize_);
}

void ZoomBox::updateScrollBars() {
    // Decided from the box's own size, not from the view a bar has already narrowed:
    // a bar shows only when the picture does not fit without it.
    const QSize inside = contentsRect().size();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    bool across = pictureSize_.width() > inside.width();
    bool down = pictureSize_.height() > inside.height();
    down = down || (across && pictureSize_.height() > inside.height() - barHeight);
    across = across || (down && pictureSize_.width() > inside.width() - barWidth);
    setHorizontalScrollBarPolicy(across ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(down ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

    const QSize view = inside - QSize(down ? barWidth : 0, across ? barHeight : 0);
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setRange(0, std::max(0, pictureSize_.width() - view.width()));
    verticalScrollBar()->setPageStep(view.height());
    verticalScrollBar()->setRange(0, std::max(0, pictureSize_.height() - view.height()));
}

void ZoomBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ZoomBox::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
}

bool ZoomBox::event(QEvent* event) {
    // The frame is painted here, the picture by paintEvent on the viewport.
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        paintFocusFrame(*this, frameRect(), kFrameWidth);
    }
    return handled;
}

void ZoomBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    // In picture-area coordinates; the view never shows more than the picture area.
    const QRect exposed = event->rect().translated(offset);
    const QRect area = exposed & QRect(QPoint(0, 0), pictureSize_);
    if (area != exposed) {
        painter.fillRect(event->rect(), palette().window());
    }
    if (area.isEmpty()) {
        return;
    }
    if (snapshot_->width() == 0 || snapshot_->height() == 0) {
        painter.fillRect(area.translated(-offset), Qt::white);
        return;
    }
    // The exposed part only, stretched a band of rows at a time.
    std::vector<std::size_t> sourceColumns(static_cast<std::size_t>(area.width()));
    for (int x = 0; x < area.width(); ++x) {
        sourceColumns[static_cast<std::size_t>(x)] =
            3 * static_cast<std::size_t>(
                    stretchedSource(area.left() + x, pictureSize_.width(), snapshot_->width()));
    }
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, area.bottom() + 1 - top);
        QImage band(area.width(), rows, QImage::Format_BGR888);
        for (int y = 0; y < rows; ++y) {
            const auto source = snapshot_->row(
                stretchedSource(top + y, pictureSize_.height(), snapshot_->height()));
            uchar* target = band.scanLine(y);
            for (const std::size_t column : sourceColumns) {
                *target++ = source[column];
                *target++ = source[column + 1];
                *target++ = source[column + 2];
            }
        }
        painter.drawImage(QPoint(area.left(), top) - offset, band);
    }
    paintOutline(painter, offset);
}

void ZoomBox::paintOutline(QPainter& painter, QPoint offset) const {
    if (!outline_ || snapshot_->width() == 0 || snapshot_->height() == 0) {
        return;
    }
    const auto regionOf = [&](const std::vector<PixelRect>& rects) {
        QRegion region;
        for (const PixelRect& rect : rects) {
            const int left = blockEdge(rect.x, pictureSize_.width(), snapshot_->width());
            const int top = blockEdge(rect.y, pictureSize_.height(), snapshot_->height());
            const int right =
                blockEdge(rect.x + rect.width, pictureSize_.width(), snapshot_->width());
            const int bottom =
                blockEdge(rect.y + rect.height, pictureSize_.height(), snapshot_->height());
            region += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
        }
        return region.translated(-offset);
    };
    // The run is outlined outside its pixels, so that none of them is hidden; the
    // lead-in and the decoys inside theirs. Each line has a white edge so that it
    // shows on any picture.
    enum class Side { Inside, Outside };
    const struct {
        const std::vector<PixelRect>& rects;
        QColor colour;
        Qt::PenStyle line;
        Side side;
    } parts[] = {
        {outline_->leadIn, QColor(0x80, 0x20, 0xD0), Qt::DashLine, Side::Inside},
        {outline_->decoys, QColor(0xFF, 0x8C, 0x00), Qt::DotLine, Side::Inside},
        {outline_->run, QColor(0xE0, 0x00, 0x00), Qt::SolidLine, Side::Outside},
    };
    for (const auto& part : parts) {
        if (part.rects.empty()) {
            continue;
        }
        const QRegion region = regionOf(part.rects);
        QPainterPath path;
        path.addRegion(region);
        path = path.simplified();
        painter.save();
        painter.setClipRegion(part.side == Side::Inside ? region
                                                        : QRegion(viewport()->rect()) - region,
                              Qt::IntersectClip);
        // Centred on the edge and clipped to one side: a white line 3 pixels in, a
        // coloured one 2 pixels in.
        painter.strokePath(path, QPen(Qt::white, 6));
        painter.strokePath(path, QPen(part.colour, 4, part.line));
        painter.restore();
    }
}

void ZoomBox::mouseReleaseEvent(QMouseEvent* event) {
    // A click ends with the release, over the box.
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(mapFromGlobal(global))) {
        emit clicked(global);
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

} // namespace kvistra
