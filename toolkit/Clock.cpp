// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clock.h"

#include <QLocale>
#include <QTime>

namespace kvistra {

QString timeOfDayText() {
    const QLocale locale;
    // The long format carries the seconds; a clock has no use for the zone name.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(QTime::currentTime(), format.trimmed());
}

} // namespace kvistra
