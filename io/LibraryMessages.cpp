// SPDX-License-Identifier: GPL-3.0-or-later
#include "LibraryMessages.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace kvistra {

namespace {

void dropUnlessFatal(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Ett internt fel i Qt avslutar programmet: %s\n",
                     text.toLocal8Bit().constData());
    }
}

} // namespace

void keepLibraryMessagesQuiet() {
    qInstallMessageHandler(dropUnlessFatal);
}

} // namespace kvistra
