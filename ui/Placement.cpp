#include "Placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kvistra {

namespace {

constexpr int kGap = 8;

} // namespace

void placeBeside(QWidget& window, const QWidget& anchor) {
    const QRect anchorFrame = anchor.frameGeometry();
    const QScreen* screen = anchor.screen();
    const QRect available = screen ? screen->availableGeometry() : anchorFrame;
    // The window's frame is not known before it is shown; its size is.
    const QSize size = window.size();

    const int right = anchorFrame.right() + 1 + kGap;
    const int left = anchorFrame.left() - kGap - size.width();
    int x = right;
    if (right + size.width() > available.right() + 1) {
        if (left >= available.left()) {
            x = left;
        } else {
            // Fits on neither side: against the screen's edge on the roomier side,
            // over as little of the anchor as may be.
            const int roomRight = available.right() + 1 - right;
            const int roomLeft = anchorFrame.left() - kGap - available.left();
            x = roomRight >= roomLeft ? available.right() + 1 - size.width() : available.left();
        }
    }
    QPoint topLeft(std::max(available.left(), x), anchorFrame.top());
    topLeft.setY(
        std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - size.height())));
    window.move(topLeft);
}

void keepOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) {
        return;
    }
    const QRect available = screen->availableGeometry();
    // The frame follows a resize only when the window manager answers.
    const QSize frame = window.size() + window.frameGeometry().size() - window.geometry().size();
    const QPoint at = window.pos();
    const int x =
        std::max(available.left(), std::min(at.x(), available.right() + 1 - frame.width()));
    const int y =
        std::max(available.top(), std::min(at.y(), available.bottom() + 1 - frame.height()));
    if (QPoint(x, y) != at) {
        window.move(x, y);
    }
}

} // namespace kvistra
