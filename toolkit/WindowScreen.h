// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <functional>

class QScreen;
class QWidget;

namespace kvistra {

// Finds the screen that the settings concern when they are used, not when they are made.
using ScreenOfWindow = std::function<QScreen*()>;

// The screen the window is on; the primary screen without a window. Null without any.
QScreen* screenOf(const QWidget* window);

// A display mode counts the screen's own pixels, not the toolkit's scaled ones.
QSize devicePixelSize(const QScreen& screen);

} // namespace kvistra
