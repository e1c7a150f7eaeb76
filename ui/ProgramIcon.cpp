// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramIcon.h"

#include <QImageReader>
#include <QPixmap>

namespace kvistra {

namespace {

// Read as what they are: guessing the format would load every image plugin.
QPixmap ownPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon programIcon() {
    QIcon icon;
    icon.addPixmap(ownPng(QStringLiteral(":/icons/kvistra-16.png")));
    icon.addPixmap(ownPng(QStringLiteral(":/icons/kvistra-32.png")));
    return icon;
}

} // namespace kvistra
