#pragma once

class QWidget;

namespace kvistra {

// Places a window that is about to be shown for the first time beside the
// anchor window: to its right when it fits on the screen, else to its left,
// else against the screen's edge on the side with more room.
void placeBeside(QWidget& window, const QWidget& anchor);

// Moves a window that has grown so that as much of it as possible is on its
// screen, its top-left corner first.
void keepOnScreen(QWidget& window);

} // namespace kvistra
