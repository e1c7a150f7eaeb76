// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11TaskList.h"

#include "X11Connection.h"
#include "XcbReply.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>

namespace kvistra {

namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name) {
    const auto reply = ownedReply(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

struct StateAtoms {
    xcb_atom_t state;
    std::array<xcb_atom_t, 2> skip; // taskbar, pager
};

bool isMapped(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply = ownedReply(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    return reply && reply->map_state != XCB_MAP_STATE_UNMAPPED;
}

xcb_window_t rootOf(xcb_connection_t* connection, xcb_window_t window) {
    const auto reply =
        ownedReply(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// A mapped window belongs to the window manager: it is asked to change the state.
void askWindowManager(xcb_connection_t* connection, xcb_window_t window, const StateAtoms& atoms,
                      bool skip) {
    constexpr std::uint32_t kRemove = 0;
    constexpr std::uint32_t kAdd = 1;
    constexpr std::uint32_t kFromApplication = 1;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atoms.state;
    event.data.data32[0] = skip ? kAdd : kRemove;
    event.data.data32[1] = atoms.skip[0];
    event.data.data32[2] = atoms.skip[1];
    event.data.data32[3] = kFromApplication;
    xcb_send_event(connection, 0, rootOf(connection, window),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// A window not yet mapped carries its wishes in its own property, which the
// toolkit keeps when it maps the window.
void writeState(xcb_connection_t* connection, xcb_window_t window, const StateAtoms& atoms,
                bool skip) {
    const auto reply = ownedReply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atoms.state, XCB_ATOM_ATOM, 0, 1024),
        nullptr));
    std::vector<xcb_atom_t> states;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto* first = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        states.assign(first, first + reply->value_len);
    }
    for (const xcb_atom_t atom : atoms.skip) {
        std::erase(states, atom);
        if (skip) {
            states.push_back(atom);
        }
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atoms.state, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
}

} // namespace

bool setListedInTaskList(QWidget& widget, bool listed) {
    xcb_connection_t* connection = x11Connection();
    if (connection == nullptr) {
        return false;
    }
    const auto window = static_cast<xcb_window_t>(widget.window()->winId());
    const StateAtoms atoms{atomNamed(connection, "_NET_WM_STATE"),
                           {atomNamed(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                            atomNamed(connection, "_NET_WM_STATE_SKIP_PAGER")}};
    if (isMapped(connection, window)) {
        askWindowManager(connection, window, atoms, !listed);
    } else {
        writeState(connection, window, atoms, !listed);
    }
    xcb_flush(connection);
    return true;
}

bool X11TaskList::setVisible(bool visible) {
    return window_ && setListedInTaskList(*window_, visible);
}

} // namespace kvistra
