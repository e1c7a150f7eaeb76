// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayModeSwitch.h"

#include "core/MessageBoxStyle.h"
#include "core/Rounding.h"

#include <optional>
#include <string>

namespace kvistra {

namespace {

// The least colour depth the program works well with, and so the one it asks for.
constexpr std::uint32_t kRequestedBitsPerPixel = 24;

struct ScreenSize {
    std::int32_t width;
    std::int32_t height;
};

std::optional<ScreenSize> pixelSizeOf(const ScreenMetrics& metrics) {
    const std::optional<std::int32_t> width = toInt32(metrics.widthTwips / metrics.twipsPerPixelX);
    const std::optional<std::int32_t> height =
        toInt32(metrics.heightTwips / metrics.twipsPerPixelY);
    if (!width || !height) {
        return std::nullopt;
    }
    return ScreenSize{*width, *height};
}

DisplayModeRecord requestFor(DisplayPlatform& platform, const ScreenSize& size) {
    DisplayModeRecord record; // zero-filled
    platform.enumDisplaySettings(nullptr, 0, record);
    // The current size at 24-bit colour: the depth the warning asks for at least.
    record.fields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    record.pelsWidth = static_cast<std::uint32_t>(size.width);
    record.pelsHeight = static_cast<std::uint32_t>(size.height);
    record.bitsPerPel = kRequestedBitsPerPixel;
    return record;
}

} // namespace

void confirmDisplayModeSwitch(DisplayPlatform& platform, const ScreenMetricsSource& screen,
                              const ShowMessage& show) {
    if (show(Message{MessageId::DisplayModeWarning, {}}) == MessageBoxAnswer::Yes) {
        applyDisplayMode(platform, screen, show);
    }
}

void applyDisplayMode(DisplayPlatform& platform, const ScreenMetricsSource& screen,
                      const ShowMessage& show) {
    const std::optional<ScreenSize> size = pixelSizeOf(screen.screenMetrics());
    if (!size) {
        // A screen that cannot be measured has no mode to ask for.
        show(Message{MessageId::DisplayModeRefused, {}});
        return;
    }
    const Message summary{MessageId::DisplayModeSummary,
                          {std::to_string(size->width), std::to_string(size->height)}};
    if (show(summary) != MessageBoxAnswer::Yes) {
        return;
    }

    const DisplayModeRecord record = requestFor(platform, *size);
    switch (modeChangeOf(platform.changeDisplaySettings(record, CDS_FULLSCREEN))) {
    case ModeChange::Taken:
        // Stored whatever the platform answers: the mode has already taken.
        platform.changeDisplaySettings(record, CDS_UPDATEREGISTRY);
        show(Message{MessageId::DisplayModeChanged, {}});
        break;
    case ModeChange::NeedsRestart:
        if (show(Message{MessageId::RestartQuestion, {}}) == MessageBoxAnswer::Yes) {
            platform.exitWindows(EWX_REBOOT, 0);
        }
        break;
    case ModeChange::Refused:
        show(Message{MessageId::DisplayModeRefused, {}});
        break;
    }
}

} // namespace kvistra
