// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kvistra {

namespace {

QAction* item(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QLatin1String(name));
    return action;
}

void separator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

QMenu* menu(QMenuBar& bar, const char* name, const char* title) {
    QMenu* created = bar.addMenu(QString::fromUtf8(title));
    created->setObjectName(QLatin1String(name));
    return created;
}

} // namespace

MainWindowMenus::MainWindowMenus(QMenuBar& bar) {
    QMenu* fileMenu = menu(bar, "mnuArkiv", "&Arkiv");
    newProject = item(fileMenu, "mnuNewProject", "&Nytt projekt");
    separator(fileMenu, "mnuTheBorder");
    insertTextFile = item(fileMenu, "mnuInsertTextFile", "&Infoga textfil");
    separator(fileMenu, "mnuBorder3");
    openKeyFile = item(fileMenu, "mnuOpenKeyFile", "&Öppna nyckelfil...");
    saveKeyFile = item(fileMenu, "mnuSaveKeyFile", "&Spara nyckelfil som...");
    separator(fileMenu, "mnuBorder");
    exit = item(fileMenu, "mnuAvsluta", "&Avsluta");
    // Named outright: some platform themes bind no key to the standard Quit.
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // Each item has an access key of its own within its menu; the menus' titles
    // share none with the window's controls (hence "Spe&cial": S and p are taken).
    QMenu* specialMenu = menu(bar, "mnuSpecial", "Spe&cial");
    showInTaskList = item(specialMenu, "mnuShowActive", "&Visa för Aktivitetshanteraren");
    hideFromTaskList = item(specialMenu, "mnuHideActive", "&Göm för Aktivitetshanteraren");

    QMenu* aboutMenu = menu(bar, "mnuAbout", "&Om");
    aboutProgram = item(aboutMenu, "mnuAboutApp", "&Applikationen");
    aboutProgrammer = item(aboutMenu, "mnuAboutMe", "&Programmeraren");
    separator(aboutMenu, "mnuTheBorder2");
    displaySettings = item(aboutMenu, "mnuAboutSystemOption", "&Systeminställningar");
    aboutHelper = item(aboutMenu, "mnuHelpingMan", "&Medhjälpare");
}

} // namespace kvistra
