// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WindowScreen.h"
#include "system/ScreenMetrics.h"

namespace kvistra {

// The size of the window's screen in device pixels, in twips at its logical resolution.
class QtScreenMetrics final : public ScreenMetricsSource {
public:
    explicit QtScreenMetrics(ScreenOfWindow screen)
        : screen_(std::move(screen)) {}

    // All zero without a screen, which no mode can be made of.
    ScreenMetrics screenMetrics() const override;

private:
    ScreenOfWindow screen_;
};

} // namespace kvistra
