// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskList.h"

#include <QPointer>
#include <QWidget>

namespace kvistra {

// Keeps a top-level window out of the taskbar and pager, or lets it back in. Does
// nothing, and answers false, off X11.
bool setListedInTaskList(QWidget& window, bool listed);

// The task list entry of the program's main window.
class X11TaskList final : public TaskList {
public:
    void setWindow(QWidget* window) { window_ = window; }
    bool setVisible(bool visible) override;

private:
    QPointer<QWidget> window_;
};

} // namespace kvistra
