#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace kvistra::test {

// A file's bytes, or "(missing)" when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace kvistra::test
