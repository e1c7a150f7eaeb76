// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// The screen as the toolkit measures it: a twip is 1/1440 inch.
struct ScreenMetrics {
    double widthTwips = 0;
    double heightTwips = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

class ScreenMetricsSource {
public:
    virtual ~ScreenMetricsSource() = default;

    // Measured anew on every call: the screen may have changed since.
    virtual ScreenMetrics screenMetrics() const = 0;
};

} // namespace kvistra
