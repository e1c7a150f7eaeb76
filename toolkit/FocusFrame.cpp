// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusFrame.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace kvistra {

void paintFocusFrame(QWidget& widget, const QRect& frame, int width) {
    const QRegion band = QRegion(frame).subtracted(frame.adjusted(width, width, -width, -width));
    const QColor colour = widget.palette().color(QPalette::Active, QPalette::Highlight);
    QPainter painter(&widget);
    for (const QRect& part : band) {
        painter.fillRect(part, colour);
    }
}

} // namespace kvistra
