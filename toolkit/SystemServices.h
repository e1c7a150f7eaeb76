#pragma once

#include "TaskList.h"
#include "core/DisplayPlatform.h"
#include "core/ProgramStarter.h"
#include "core/Registry.h"
#include "core/ScreenMetrics.h"

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
