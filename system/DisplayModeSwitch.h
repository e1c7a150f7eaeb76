// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DisplayPlatform.h"
#include "ScreenMetrics.h"
#include "ShowMessage.h"

namespace kvistra {

// Warns that the display needs at least 24-bit colour and, on Yes, applies the mode.
void confirmDisplayModeSwitch(DisplayPlatform& platform, const ScreenMetricsSource& screen,
                              const ShowMessage& show);

// Announces the current screen size at 24-bit colour and, on Yes, asks the platform for
// it: stored when it takes, a restart offered when the platform needs one.
void applyDisplayMode(DisplayPlatform& platform, const ScreenMetricsSource& screen,
                      const ShowMessage& show);

} // namespace kvistra
