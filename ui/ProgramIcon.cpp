// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramIcon.h"

namespace kvistra {

QIcon programIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/kvistra-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/kvistra-32.png"), QSize(32, 32));
    return icon;
}

} // namespace kvistra
