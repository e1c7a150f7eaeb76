// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolWindow.h"

#include "Placement.h"
#include "toolkit/X11TaskList.h"

namespace kvistra {

ToolWindow::ToolWindow(const QWidget& mainWindow)
    : QMainWindow(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowCloseButtonHint)
    , mainWindow_(mainWindow) {
    // Tool windows do not keep a program running by default.
    setAttribute(Qt::WA_QuitOnClose);
}

void ToolWindow::bringToFront() {
    if (!placed_) {
        placeBeside(*this, mainWindow_);
        placed_ = true;
    }
    // Set on every showing: the window manager forgets it when the window is hidden.
    setListedInTaskList(*this, false);
    show();
    raise();
    activateWindow();
}

QSize ToolWindow::screenRoom() const {
    return roomOnScreen(*this, mainWindow_);
}

} // namespace kvistra
