// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtProgramStarter.h"

#include <QFileInfo>
#include <QProcess>

namespace kvistra {

bool QtProgramStarter::fileExists(const std::string& path) const {
    return QFileInfo(QString::fromStdString(path)).isFile();
}

bool QtProgramStarter::start(const std::string& path) {
    return QProcess::startDetached(QString::fromStdString(path), {});
}

} // namespace kvistra
