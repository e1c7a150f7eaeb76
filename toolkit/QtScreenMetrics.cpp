// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtScreenMetrics.h"

#include "WindowScreen.h"

#include <QScreen>

namespace kvistra {

namespace {

constexpr double kTwipsPerInch = 1440;

} // namespace

ScreenMetrics QtScreenMetrics::screenMetrics() const {
    const QScreen* screen = screen_();
    if (screen == nullptr) {
        return {0, 0, 0, 0};
    }
    const QSize pixels = devicePixelSize(*screen);
    const double twipsPerPixelX = kTwipsPerInch / screen->logicalDotsPerInchX();
    const double twipsPerPixelY = kTwipsPerInch / screen->logicalDotsPerInchY();
    return {pixels.width() * twipsPerPixelX, pixels.height() * twipsPerPixelY, twipsPerPixelX,
            twipsPerPixelY};
}

} // namespace kvistra
