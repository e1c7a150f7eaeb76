// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LinuxRegistry.h"
#include "QtProgramStarter.h"
#include "QtScreenMetrics.h"
#include "SystemServices.h"
#include "X11DisplayPlatform.h"
#include "X11TaskList.h"

#include <QPointer>
#include <QWidget>

namespace kvistra {

// The platform services of this desktop. The display settings concern the screen of the
// window given to setWindow (the primary screen until then), and the task list its entry.
class QtSystemServices {
public:
    QtSystemServices();
    QtSystemServices(const QtSystemServices&) = delete;
    QtSystemServices& operator=(const QtSystemServices&) = delete;

    void setWindow(QWidget& window);
    SystemServices services();

private:
    QPointer<QWidget> window_;
    X11DisplayPlatform display_;
    QtScreenMetrics screen_;
    LinuxRegistry registry_;
    QtProgramStarter programs_;
    X11TaskList taskList_;
};

} // namespace kvistra
