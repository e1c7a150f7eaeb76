// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogindReboot.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace kvistra {

bool requestReboot() {
    QDBusMessage reboot = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Reboot"));
    const bool interactive = true; // lets the desktop ask for a password
    reboot << interactive;
    // Not waited for: a refusal goes unreported, and the answer to a success is the restart.
    return QDBusConnection::systemBus().send(reboot);
}

} // namespace kvistra
