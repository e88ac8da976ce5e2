#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace vorbix::testing {

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

// Writes the bytes or fails the calling test.
inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

} // namespace vorbix::testing
