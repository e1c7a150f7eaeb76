// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Image.h"
#include "core/RunRegions.h"

#include <QAbstractScrollArea>
#include <memory>
#include <optional>

namespace kvistra {

// A picture box that shows a snapshot stretched over a picture area of a chosen size,
// each pixel a block of its own colour, inside the same sunken frame as the canvas.
// Given less room than its full size, it scrolls. Only the part in view is painted,
// straight from the snapshot, and no widget grows beyond the box: a large zoom never
// holds an enlarged copy of the picture, nor a backing store of it.
class ZoomBox : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kFrameWidth = 2;

    explicit ZoomBox(QWidget* parent = nullptr);

    // The full outer size: the picture area is this less the frame.
    void setOuterSize(QSize outer);
    QSize outerSize() const { return pictureSize_ + QSize(2 * kFrameWidth, 2 * kFrameWidth); }
    // Shown at its full outer size where the room allows it, else at the room's size.
    void setRoom(QSize room);
    // Shared with the canvas it was taken from, which copies its pixels before it
    // draws again: the snapshot costs no memory of its own until then.
    void setSnapshot(std::shared_ptr<const Image> snapshot);
    const Image& snapshot() const { return *snapshot_; }
    // Drawn over the snapshot, in its pixels: the lead-in, the run and the decoys
    // each outlined in a line of its own.
    void setOutline(std::optional<RunRegions> outline);
    const std::optional<RunRegions>& outline() const { return outline_; }

    // The part of the picture area in view.
    QRect visiblePart() const;

signals:
    // Where the user clicked, in screen coordinates.
    void clicked(QPoint globalPosition);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void updateScrollBars();
    void paintOutline(QPainter& painter, QPoint offset) const;

    std::shared_ptr<const Image> snapshot_ = std::make_shared<const Image>();
    std::optional<RunRegions> outline_;
    QSize pictureSize_;
    QSize room_{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
};

} // namespace kvistra
