// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WindowScreen.h"
#include "system/DisplayPlatform.h"

namespace kvistra {

// The display the program's window is on, over X11 and its RandR extension. An X
// server takes its colour depth from its own configuration, which no restart of the
// computer changes: a deeper colour is no mode this display has.
class X11DisplayPlatform final : public DisplayPlatform {
public:
    explicit X11DisplayPlatform(ScreenOfWindow screen)
        : screen_(std::move(screen)) {}

    // Mode 0 of the program's display is the mode it runs in.
    bool enumDisplaySettings(const char* deviceName, std::uint32_t modeNumber,
                             DisplayModeRecord& record) override;
    // Both flags change the mode at once: X keeps no lasting display setting for a
    // program to store.
    std::int32_t changeDisplaySettings(const DisplayModeRecord& record,
                                       std::uint32_t flags) override;
    // Only a restart: the one session call the program makes.
    bool exitWindows(std::uint32_t flags, std::uint32_t reserved) override;

private:
    ScreenOfWindow screen_;
};

} // namespace kvistra
