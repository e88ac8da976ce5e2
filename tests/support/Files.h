#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vorbix::testing {

// The bytes of a file, or "<missing>" when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

} // namespace vorbix::testing
