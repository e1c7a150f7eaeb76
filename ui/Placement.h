// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kvistra {

// Where the frame of a window goes beside the anchor window's frame on the available
// area of the screen: to its right when it fits, else to its left, top edges level.
// When it fits on neither side it must not cover the anchor's title and menu bar (the
// strip down to menuBarBottom), and goes against an edge of the screen where it covers
// the least of the anchor.
QPoint besideAnchor(QSize frame, QRect anchorFrame, int menuBarBottom, QRect available);

// Places a window that is about to be shown for the first time beside the
// anchor window, as besideAnchor says.
void placeBeside(QWidget& window, const QWidget& anchor);

// The largest size the window can take with its frame on the available area of its
// screen (that of the anchor while the window is not shown). A frame the window
// manager has not yet put on is taken to be as large as the anchor's.
QSize roomOnScreen(const QWidget& window, const QWidget& anchor);

// Moves a window that has grown so that as much of it as possible is on its
// screen, its top-left corner first.
void keepOnScreen(QWidget& window);

} // namespace kvistra
