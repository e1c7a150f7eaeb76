// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QImage>
#include <QTest>

namespace kvistra::test {

// The control is grabbed without and with the keyboard focus: the focus must show,
// and only on the frame, never over what the control shows inside it.
inline void verifyFocusShowsOnTheFrameOnly(QFrame* shown) {
    QVERIFY(shown->focusPolicy() & Qt::TabFocus);
    shown->clearFocus();
    QTRY_VERIFY(!shown->hasFocus());
    const QImage without = shown->grab().toImage();
    shown->setFocus();
    QTRY_VERIFY(shown->hasFocus());
    const QImage with = shown->grab().toImage();
    QVERIFY(with != without);
    const QRect inside = shown->contentsRect();
    QCOMPARE(with.copy(inside), without.copy(inside));
}

} // namespace kvistra::test
