// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QMenuBar;

namespace kvistra {

// The main window's menus, each item named; the window connects their commands.
struct MainWindowMenus {
    explicit MainWindowMenus(QMenuBar& bar);

    // `mnuArkiv`
    QAction* newProject = nullptr;
    QAction* insertTextFile = nullptr;
    QAction* openKeyFile = nullptr;
    QAction* saveKeyFile = nullptr;
    QAction* exit = nullptr; // `mnuAvsluta`
    // `mnuSpecial`
    QAction* showInTaskList = nullptr;
    QAction* hideFromTaskList = nullptr;
    // `mnuAbout`
    QAction* aboutProgram = nullptr;
    QAction* aboutProgrammer = nullptr;
    QAction* displaySettings = nullptr;
    QAction* aboutHelper = nullptr;
};

} // namespace kvistra
