// SPDX-License-Identifier: GPL-3.0-or-later
#include "Placement.h"

#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace kvistra {

namespace {

constexpr int kGap = 8;

int clamped(int value, int least, int most) {
    return std::max(least, std::min(value, most));
}

// What a frame adds around the window; estimated from the anchor before the window
// manager has framed the window.
QSize frameExtraOf(const QWidget& window, const QWidget& anchor) {
    const QSize own = window.frameGeometry().size() - window.geometry().size();
    if (own != QSize(0, 0)) {
        return own;
    }
    return anchor.frameGeometry().size() - anchor.geometry().size();
}

const QScreen* screenOf(const QWidget& window, const QWidget& anchor) {
    return window.isVisible() ? window.screen() : anchor.screen();
}

// The bottom of the anchor's menu bar on the screen; its frame's top for other windows.
int menuBarBottomOf(const QWidget& anchor) {
    const auto* main = qobject_cast<const QMainWindow*>(&anchor);
    const QWidget* menuBar = main ? main->menuWidget() : nullptr;
    if (!menuBar || !menuBar->isVisible()) {
        return anchor.frameGeometry().top() - 1;
    }
    return menuBar->mapToGlobal(QPoint(0, menuBar->height() - 1)).y();
}

long long overlapArea(const QRect& a, const QRect& b) {
    const QRect common = a & b;
    return common.isEmpty() ? 0 : static_cast<long long>(common.width()) * common.height();
}

} // namespace

QPoint besideAnchor(QSize frame, QRect anchorFrame, int menuBarBottom, QRect available) {
    const int highestTop = available.bottom() + 1 - frame.height();
    const int level = clamped(anchorFrame.top(), available.top(), highestTop);
    const int right = anchorFrame.right() + 1 + kGap;
    if (right + frame.width() <= available.right() + 1) {
        return {right, level};
    }
    const int left = anchorFrame.left() - kGap - frame.width();
    if (left >= available.left()) {
        return {left, level};
    }

    // Against the screen's edges, the roomier side first: the first place that leaves
    // the menu bar free and covers the least of the anchor.
    const int rightEdge = std::max(available.left(), available.right() + 1 - frame.width());
    const int roomRight = available.right() + 1 - right;
    const int roomLeft = anchorFrame.left() - kGap - available.left();
    const std::array xs = roomRight >= roomLeft ? std::array{rightEdge, available.left()}
                                                : std::array{available.left(), rightEdge};
    const std::array ys = {level, std::max(available.top(), highestTop), available.top()};
    // Empty for an anchor without a menu bar.
    const QRect menuStrip(anchorFrame.topLeft(), QPoint(anchorFrame.right(), menuBarBottom));
    QPoint best;
    bool bestCoversMenu = true;
    long long bestOverlap = 0;
    bool first = true;
    for (const int y : ys) {
        for (const int x : xs) {
            const QRect placed(QPoint(x, y), frame);
            const bool coversMenu = placed.intersects(menuStrip);
            const long long overlap = overlapArea(placed, anchorFrame);
            if (first || (!coversMenu && bestCoversMenu) ||
                (coversMenu == bestCoversMenu && overlap < bestOverlap)) {
                best = placed.topLeft();
                bestCoversMenu = coversMenu;
                bestOverlap = overlap;
                first = false;
            }
        }
    }
    return best;
}

void placeBeside(QWidget& window, const QWidget& anchor) {
    const QRect anchorFrame = anchor.frameGeometry();
    const QScreen* screen = anchor.screen();
    const QRect available = screen ? screen->availableGeometry() : anchorFrame;
    // The window's frame is not known before it is shown; its size is.
    const QSize frame = window.size() + frameExtraOf(window, anchor);
    window.move(besideAnchor(frame, anchorFrame, menuBarBottomOf(anchor), available));
}

QSize roomOnScreen(const QWidget& window, const QWidget& anchor) {
    const QScreen* screen = screenOf(window, anchor);
    if (!screen) {
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    }
    return (screen->availableGeometry().size() - frameExtraOf(window, anchor)).expandedTo({0, 0});
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
