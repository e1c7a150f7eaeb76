// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11DisplayPlatform.h"

#include "LogindReboot.h"
#include "X11Connection.h"
#include "XcbReply.h"

#include <QScreen>
#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <xcb/randr.h>

namespace kvistra {

namespace {

// X counts colour bits; 32 bits per pixel carry 24 of them.
int colourBitsOf(std::uint32_t bitsPerPel) {
    return static_cast<int>(std::min<std::uint32_t>(bitsPerPel, 24));
}

bool hasRandr12(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_randr_id);
    if (extension == nullptr || extension->present == 0) {
        return false;
    }
    const auto version = ownedReply(xcb_randr_query_version_reply(
        connection, xcb_randr_query_version(connection, 1, 3), nullptr));
    return version && (version->major_version > 1 || version->minor_version >= 3);
}

QString nameOf(const xcb_randr_get_output_info_reply_t& output) {
    return QString::fromUtf8(reinterpret_cast<const char*>(xcb_randr_get_output_info_name(&output)),
                             xcb_randr_get_output_info_name_length(&output));
}

// The output's modes come best first; the one in use is kept when it has the size.
std::optional<xcb_randr_mode_t>
modeOfSize(const xcb_randr_get_screen_resources_current_reply_t& resources,
           const xcb_randr_get_output_info_reply_t& output, xcb_randr_mode_t current, QSize size) {
    const std::span modes(xcb_randr_get_screen_resources_current_modes(&resources),
                          xcb_randr_get_screen_resources_current_modes_length(&resources));
    const std::span outputModes(xcb_randr_get_output_info_modes(&output),
                                xcb_randr_get_output_info_modes_length(&output));
    const auto hasSize = [&](xcb_randr_mode_t id) {
        return std::ranges::any_of(modes, [&](const xcb_randr_mode_info_t& mode) {
            return mode.id == id && mode.width == size.width() && mode.height == size.height();
        });
    };
    if (std::ranges::find(outputModes, current) != outputModes.end() && hasSize(current)) {
        return current;
    }
    const auto found = std::ranges::find_if(outputModes, hasSize);
    return found != outputModes.end() ? std::optional(*found) : std::nullopt;
}

bool setCrtcSize(xcb_connection_t* connection,
                 const xcb_randr_get_screen_resources_current_reply_t& resources,
                 const xcb_randr_get_output_info_reply_t& output, QSize size) {
    const auto crtc = ownedReply(xcb_randr_get_crtc_info_reply(
        connection, xcb_randr_get_crtc_info(connection, output.crtc, resources.config_timestamp),
        nullptr));
    if (!crtc) {
        return false;
    }
    const bool turned =
        (crtc->rotation & (XCB_RANDR_ROTATION_ROTATE_90 | XCB_RANDR_ROTATION_ROTATE_270)) != 0;
    const std::optional<xcb_randr_mode_t> mode =
        modeOfSize(resources, output, crtc->mode, turned ? size.transposed() : size);
    if (!mode) {
        return false;
    }
    const auto set = ownedReply(xcb_randr_set_crtc_config_reply(
        connection,
        xcb_randr_set_crtc_config(
            connection, output.crtc, XCB_CURRENT_TIME, resources.config_timestamp, crtc->x, crtc->y,
            *mode, crtc->rotation, xcb_randr_get_crtc_info_outputs_length(crtc.get()),
            xcb_randr_get_crtc_info_outputs(crtc.get())),
        nullptr));
    return set && set->status == XCB_RANDR_SET_CONFIG_SUCCESS;
}

// Sets the output that shows the screen, named as the toolkit names the screen, to a
// mode of the size. Programs on X all share the first X screen.
bool setOutputSize(xcb_connection_t* connection, const QString& outputName, QSize size) {
    if (!hasRandr12(connection)) {
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto resources = ownedReply(xcb_randr_get_screen_resources_current_reply(
        connection, xcb_randr_get_screen_resources_current(connection, root), nullptr));
    if (!resources) {
        return false;
    }
    const std::span outputs(xcb_randr_get_screen_resources_current_outputs(resources.get()),
                            xcb_randr_get_screen_resources_current_outputs_length(resources.get()));
    for (const xcb_randr_output_t id : outputs) {
        const auto output = ownedReply(xcb_randr_get_output_info_reply(
            connection, xcb_randr_get_output_info(connection, id, resources->config_timestamp),
            nullptr));
        if (output && output->crtc != XCB_NONE && nameOf(*output) == outputName) {
            return setCrtcSize(connection, *resources, *output, size);
        }
    }
    return false;
}

} // namespace

bool X11DisplayPlatform::enumDisplaySettings(const char* deviceName, std::uint32_t modeNumber,
                                             DisplayModeRecord& record) {
    const QScreen* screen = screen_();
    if (deviceName != nullptr || modeNumber != 0 || x11Connection() == nullptr ||
        screen == nullptr) {
        return false;
    }
    const QByteArray name = screen->name().toUtf8().left(record.deviceName.size() - 1);
    std::ranges::copy(name, record.deviceName.begin());
    const QSize size = devicePixelSize(*screen);
    record.fields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    record.bitsPerPel = static_cast<std::uint32_t>(screen->depth());
    record.pelsWidth = static_cast<std::uint32_t>(size.width());
    record.pelsHeight = static_cast<std::uint32_t>(size.height());
    record.displayFrequency = static_cast<std::uint32_t>(std::lround(screen->refreshRate()));
    return true;
}

std::int32_t X11DisplayPlatform::changeDisplaySettings(const DisplayModeRecord& record,
                                                       std::uint32_t /*flags*/) {
    xcb_connection_t* connection = x11Connection();
    const QScreen* screen = screen_();
    if (connection == nullptr || screen == nullptr) {
        return DISP_CHANGE_FAILED;
    }
    const QSize current = devicePixelSize(*screen);
    const QSize wanted((record.fields & DM_PELSWIDTH) != 0 ? static_cast<int>(record.pelsWidth)
                                                           : current.width(),
                       (record.fields & DM_PELSHEIGHT) != 0 ? static_cast<int>(record.pelsHeight)
                                                            : current.height());
    const bool depthShort =
        (record.fields & DM_BITSPERPEL) != 0 && screen->depth() < colourBitsOf(record.bitsPerPel);
    if (depthShort) {
        return DISP_CHANGE_BADMODE;
    }
    if (wanted == current) {
        return DISP_CHANGE_SUCCESSFUL;
    }
    return setOutputSize(connection, screen->name(), wanted) ? DISP_CHANGE_SUCCESSFUL
                                                             : DISP_CHANGE_BADMODE;
}

bool X11DisplayPlatform::exitWindows(std::uint32_t flags, std::uint32_t /*reserved*/) {
    return (flags & EWX_REBOOT) != 0 && requestReboot();
}

} // namespace kvistra
