// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FileBytes.h"

#include <QByteArray>
#include <QString>

namespace kvistra::test {

// A file's bytes, or "(missing)" when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    const auto bytes = bytesIfReadable(path.toStdString());
    return bytes ? QByteArray::fromStdString(*bytes) : QByteArray("(missing)");
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    writeBytes(path.toStdString(), bytes.toStdString());
}

} // namespace kvistra::test
