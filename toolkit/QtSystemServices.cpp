// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtSystemServices.h"

#include <QCoreApplication>

namespace kvistra {

QtSystemServices::QtSystemServices()
    : display_([this] { return screenOf(window_); })
    , screen_([this] { return screenOf(window_); })
    // Beside the program itself: where whoever installed it can put a tool of their choice.
    , registry_(QCoreApplication::applicationDirPath()) {}

void QtSystemServices::setWindow(QWidget& window) {
    window_ = &window;
    taskList_.setWindow(&window);
}

SystemServices QtSystemServices::services() {
    return {display_, screen_, registry_, programs_, taskList_};
}

} // namespace kvistra
