// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kvistra {

// What the program is started with that bears on the display platform it runs on.
// An unset variable is empty.
struct SessionEnvironment {
    std::string qtPlatform;     // QT_QPA_PLATFORM
    std::string display;        // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string sessionType;    // XDG_SESSION_TYPE
    std::vector<std::string> arguments;
};

// True when the program should run on X11 rather than on the Wayland session it is in:
// only X11 lets it take itself off the task list and change the display mode, so it
// goes through the session's X server (XWayland) when there is one, unless the user
// chose a platform.
bool prefersXWayland(const SessionEnvironment& session);

} // namespace kvistra
