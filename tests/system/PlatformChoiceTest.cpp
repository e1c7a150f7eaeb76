// SPDX-License-Identifier: GPL-3.0-or-later
#include "system/PlatformChoice.h"

#include <gtest/gtest.h>

namespace kvistra {
namespace {

TEST(PlatformChoice, WaylandSessionsWithAnXServerRunOnX11UnlessTheUserChose) {
    const struct {
        const char* name;
        SessionEnvironment session;
        bool xwayland;
    } cases[] = {
        {"Wayland with XWayland", {"", ":0", "wayland-0", "wayland", {"kvistra"}}, true},
        {"Wayland told by the session type only", {"", ":0", "", "wayland", {}}, true},
        {"Wayland told by its display only", {"", ":1", "wayland-1", "", {}}, true},
        {"Wayland without an X server", {"", "", "wayland-0", "wayland", {}}, false},
        {"X11 session", {"", ":0", "", "x11", {}}, false},
        {"no session type, X only", {"", ":0", "", "", {}}, false},
        {"console", {"", "", "", "tty", {}}, false},
        {"platform chosen in the environment",
         {"wayland", ":0", "wayland-0", "wayland", {}},
         false},
        {"offscreen chosen", {"offscreen", ":0", "wayland-0", "wayland", {}}, false},
        {"platform chosen on the command line",
         {"", ":0", "wayland-0", "wayland", {"kvistra", "-platform", "wayland"}},
         false},
        {"with two dashes",
         {"", ":0", "wayland-0", "wayland", {"kvistra", "--platform", "wayland"}},
         false},
        {"a file named like the option is no choice",
         {"", ":0", "wayland-0", "wayland", {"kvistra", "-platformer"}},
         true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(prefersXWayland(c.session), c.xwayland) << c.name;
    }
}

} // namespace
} // namespace kvistra
