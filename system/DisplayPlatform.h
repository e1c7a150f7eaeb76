// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DisplayMode.h"

#include <cstdint>

namespace kvistra {

// Flags of a mode change: for now only, or stored as the lasting setting.
inline constexpr std::uint32_t CDS_UPDATEREGISTRY = 1;
inline constexpr std::uint32_t CDS_FULLSCREEN = 4;

// Answers of a mode change; every value but the first two is a refusal.
inline constexpr std::int32_t DISP_CHANGE_SUCCESSFUL = 0;
inline constexpr std::int32_t DISP_CHANGE_RESTART = 1;
inline constexpr std::int32_t DISP_CHANGE_FAILED = -1;
inline constexpr std::int32_t DISP_CHANGE_BADMODE = -2;

inline constexpr std::uint32_t EWX_REBOOT = 2;

// A mode change's answer as the program tells it apart.
enum class ModeChange { Taken, NeedsRestart, Refused };

constexpr ModeChange modeChangeOf(std::int32_t answer) {
    switch (answer) {
    case DISP_CHANGE_SUCCESSFUL:
        return ModeChange::Taken;
    case DISP_CHANGE_RESTART:
        return ModeChange::NeedsRestart;
    default:
        return ModeChange::Refused;
    }
}

// The display and session calls of the platform, with its arguments and answers.
class DisplayPlatform {
public:
    virtual ~DisplayPlatform() = default;

    // deviceName null: the display the program runs on. Mode 0 is the first of its list.
    virtual bool enumDisplaySettings(const char* deviceName, std::uint32_t modeNumber,
                                     DisplayModeRecord& record) = 0;
    virtual std::int32_t changeDisplaySettings(const DisplayModeRecord& record,
                                               std::uint32_t flags) = 0;
    virtual bool exitWindows(std::uint32_t flags, std::uint32_t reserved) = 0;
};

} // namespace kvistra
