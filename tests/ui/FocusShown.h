// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace kvistra::test {

// The control is grabbed without and with the keyboard focus: the focus must show on
// the frame itself. Unless a caret may show inside (a text box), the focus never
// changes what the control shows inside its frame either.
inline void verifyFocusShowsOnTheFrame(QFrame* shown, bool caretInside = false) {
    QVERIFY(shown->focusPolicy() & Qt::TabFocus);
    shown->clearFocus();
    QTRY_VERIFY(!shown->hasFocus());
    QImage without = shown->grab().toImage();
    shown->setFocus();
    QTRY_VERIFY(shown->hasFocus());
    QImage with = shown->grab().toImage();
    const QRect inside = shown->contentsRect();
    if (!caretInside) {
        QCOMPARE(with.copy(inside), without.copy(inside));
    }
    for (QImage* image : {&with, &without}) {
        QPainter(image).fillRect(inside, Qt::black);
    }
    QVERIFY(with != without);
}

} // namespace kvistra::test
