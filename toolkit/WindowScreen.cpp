// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kvistra {

QScreen* screenOf(const QWidget* window) {
    return window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
}

QSize devicePixelSize(const QScreen& screen) {
    return (QSizeF(screen.geometry().size()) * screen.devicePixelRatio()).toSize();
}

} // namespace kvistra
