// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11Connection.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace kvistra {

xcb_connection_t* x11Connection() {
    if (qGuiApp == nullptr) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

} // namespace kvistra
