#pragma once

#include "history/History.h"

#include <QDir>
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

// A record file in a scratch folder, read behind the store's back by a
// connection of the test's own.
struct RecordFile {
    QTemporaryDir dir;
    QString path = dir.filePath("history.sqlite");

    // Each row's columns joined by "|", rows in order; "error: ..." when the
    // statement fails. Never makes the file.
    QStringList rows(const QString& sql) const
    {
        QStringList out;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-reader");
            db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY");
            db.setDatabaseName(path);
            QSqlQuery q(db);
            if (!db.open() || !q.exec(sql))
                out << "error: " + q.lastError().text();
            while (q.next()) {
                QStringList columns;
                for (int i = 0; i < q.record().count(); ++i)
                    columns << q.value(i).toString();
                out << columns.join('|');
            }
        }
        QSqlDatabase::removeDatabase("test-reader");
        return out;
    }
    QString one(const QString& sql) const { return rows(sql).value(0); }
    // Runs statements on a connection of its own, as an older or another program would.
    bool write(const QStringList& statements) const
    {
        bool ok = true;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-writer");
            db.setDatabaseName(path);
            ok = db.open();
            for (const QString& sql : statements) {
                QSqlQuery q(db);
                if (ok && !q.exec(sql)) {
                    qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
                    ok = false;
                }
            }
        }
        QSqlDatabase::removeDatabase("test-writer");
        return ok;
    }
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
        for (const QString& name : {path, path + "-wal"}) {
            QFile f(name);
            if (f.open(QIODevice::ReadOnly))
                bytes += f.readAll();
        }
        return bytes;
    }
};

// Makes a file that this process may not write: by its mode, and for root,
// whom modes do not stop, by the file system's immutable flag. False when
// neither holds here. Undo before the folder goes.
inline bool makeReadOnly(const QString& path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (geteuid() != 0)
        return true;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    const bool set = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
        && (flags |= FS_IMMUTABLE_FL, ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    if (fd >= 0)
        ::close(fd);
    return set;
}

inline void makeWritable(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
        flags &= ~FS_IMMUTABLE_FL;
        ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    if (fd >= 0)
        ::close(fd);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

} // namespace vorbix::testing
