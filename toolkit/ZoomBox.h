#pragma once

#include "core/Image.h"

#include <QFrame>

namespace kvistra {

// A picture box that shows a snapshot stretched to fill its drawing area, each
// pixel as a block of its own colour, inside the same sunken frame as the canvas.
class ZoomBox : public QFrame {
    Q_OBJECT

public:
    static constexpr int kFrameWidth = 2;

    explicit ZoomBox(QWidget* parent = nullptr);

    // The drawing area is the outer size less the frame.
    void setOuterSize(QSize outer);
    void setSnapshot(Image snapshot);
    const Image& snapshot() const { return snapshot_; }

signals:
    // Where the user clicked, in screen coordinates.
    void clicked(QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Image snapshot_;
};

} // namespace kvistra
