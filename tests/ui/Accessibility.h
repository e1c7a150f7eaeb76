// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QTest>
#include <QWidget>

namespace kvistra::test {

// What a screen reader speaks for a control: its name through the accessibility
// interface, as the desktop's bridge asks for it.
inline QString spokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// Every shown control of the window that Tab or a click can focus has a name to
// speak; at least `expected` such controls are found.
inline void verifyFocusableControlsNamed(QWidget* window, int expected) {
    int found = 0;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisibleTo(window) ||
            control->focusProxy()) {
            continue;
        }
        ++found;
        QVERIFY2(!spokenName(control).trimmed().isEmpty(),
                 qPrintable(QStringLiteral("%1 (%2) has no accessible name")
                                .arg(control->objectName(), control->metaObject()->className())));
    }
    QVERIFY2(found >= expected, qPrintable(QString::number(found)));
}

// Each item of the menu has an access key, and no two share one.
inline void verifyMenuAccessKeys(const QMenu* menu) {
    QList<QKeySequence> keys;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            continue;
        }
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        QVERIFY2(!key.isEmpty(), qPrintable(menu->title() + " → " + action->text()));
        QVERIFY2(!keys.contains(key), qPrintable(menu->title() + " → " + action->text()));
        keys << key;
    }
}

// Every menu of the window, checked as above.
inline void verifyMenusHaveAccessKeys(const QWidget* window, int expectedMenus) {
    const QList<QMenu*> menus = window->findChildren<QMenu*>();
    QVERIFY(menus.size() >= expectedMenus);
    for (const QMenu* menu : menus) {
        verifyMenuAccessKeys(menu);
    }
}

} // namespace kvistra::test
