#pragma once

#include "history/History.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vorbix::testing {

// A record file in a scratch folder, read and written behind the store's
// back by connections of the test's own.
struct RecordFile {
    QTemporaryDir dir;
    QString path = dir.filePath("history.sqlite");

    // Runs the statements in order; the last one's rows, columns joined by
    // "|", or "error: ..." where one fails. Reading never makes the file.
    QStringList run(const QStringList& statements, bool write) const
    {
        QStringList out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-side");
            db.setConnectOptions(write ? "" : "QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY");
            db.setDatabaseName(path);
            for (const QString& sql : statements) {
                QSqlQuery q(db);
                out.clear();
                if (!db.open() || !q.exec(sql))
                    return QSqlDatabase::removeDatabase("test-side"), QStringList{"error: " + q.lastError().text()};
                while (q.next()) {
                    QStringList columns;
                    for (int i = 0; i < q.record().count(); ++i)
                        columns << q.value(i).toString();
                    out << columns.join('|');
                }
            }
        }
        QSqlDatabase::removeDatabase("test-side");
        return out;
    }
    QStringList rows(const QString& sql) const { return run({sql}, false); }
    QString one(const QString& sql) const { return rows(sql).value(0); }
    bool write(const QStringList& statements) const { return !run(statements, true).join("").startsWith("error"); }
    // Every answer as "list|known|unknown|side|mode|given|outcome|seconds", in order.
    QStringList answers() const
    {
        return rows("SELECT l.path, p.known, p.unknown, a.side, a.mode, a.given, a.outcome, a.seconds FROM answers a "
                    "JOIN lists l ON l.id = a.list JOIN pairs p ON p.id = a.pair ORDER BY a.id");
    }
    // The bytes of the file and its log: what a curious reader of the disk finds.
    QByteArray onDisk() const
    {
        QByteArray bytes;
        for (const QString& name : {path, path + "-wal"})
            if (QFile f(name); f.open(QIODevice::ReadOnly))
                bytes += f.readAll();
        return bytes;
    }
};

// A file this process may not write: by its mode, and for root, whom modes do
// not stop, by the file system's immutable flag (on = false undoes both).
// False when that does not hold here.
inline bool makeReadOnly(const QString& path, bool on = true)
{
    QFile::setPermissions(path, QFile::ReadOwner | (on ? QFile::Permissions() : QFile::WriteOwner));
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    const bool set = geteuid() != 0 || !on
        || (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
            && (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0));
    if (!on && fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL))
        flags &= ~FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags);
    if (fd >= 0)
        ::close(fd);
    return set;
}

} // namespace vorbix::testing
