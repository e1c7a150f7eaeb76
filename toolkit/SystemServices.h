// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskList.h"
#include "system/DisplayPlatform.h"
#include "system/ProgramStarter.h"
#include "system/Registry.h"
#include "system/ScreenMetrics.h"

namespace kvistra {

// What the windows need of the platform beyond the toolkit, passed as one.
struct SystemServices {
    DisplayPlatform& display;
    ScreenMetricsSource& screen;
    Registry& registry;
    ProgramStarter& programs;
    TaskList& taskList;
};

} // namespace kvistra
