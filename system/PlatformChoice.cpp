// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlatformChoice.h"

#include <algorithm>

namespace kvistra {

namespace {

// The toolkit takes "-platform NAME", with one dash or two.
bool platformChosenOnCommandLine(const std::vector<std::string>& arguments) {
    return std::ranges::any_of(arguments, [](const std::string& argument) {
        return argument == "-platform" || argument == "--platform";
    });
}

} // namespace

bool prefersXWayland(const SessionEnvironment& session) {
    if (!session.qtPlatform.empty() || platformChosenOnCommandLine(session.arguments)) {
        return false;
    }
    const bool wayland = !session.waylandDisplay.empty() || session.sessionType == "wayland";
    return wayland && !session.display.empty();
}

} // namespace kvistra
