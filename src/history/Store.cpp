// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/History.h"
#include "history/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <functional>
#include <map>

namespace vorbix::history {

namespace {

// SQLite's primary result codes, as Qt hands them on (nativeErrorCode).
enum SqliteCode {
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADb = 26
};

int sqliteCode(const QSqlError& error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xFF : 0;
}

bool isDamage(int code) { return code == Corrupt || code == NotADb; }

// A list as the record knows it: one spelling of its path.
QString listKey(const QString& path) { return QDir::cleanPath(QDir::fromNativeSeparators(path)); }

// An empty text as a value: a null QString would be bound as NULL.
QVariant text(const QString& s) { return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s); }

QString connectionName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("vorbix-history-%1").arg(next++);
}

} // namespace

struct Store::Impl {
    QString path;
    Access access = Access::ReadWrite;
    QString connection;
    bool readable = false;
    bool writable = false;
    QString problem;
    QString setAside;

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }

    QSqlError lastError;

    bool exec(const QString& sql)
    {
        QSqlQuery q(db());
        if (q.exec(sql))
            return true;
        lastError = q.lastError();
        return false;
    }

    // Runs a prepared statement with these values; false keeps the error.
    bool run(QSqlQuery& q, const QString& sql, const QVariantList& values)
    {
        if (!q.prepare(sql)) {
            lastError = q.lastError();
            return false;
        }
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (q.exec())
            return true;
        lastError = q.lastError();
        return false;
    }

    // The first column of the first row, or 0 when there is none.
    qint64 scalar(const QString& sql, const QVariantList& values, bool* ok = nullptr)
    {
        QSqlQuery q(db());
        const bool ran = run(q, sql, values);
        if (ok)
            *ok = ran;
        const qint64 value = ran && q.next() ? q.value(0).toLongLong() : 0;
        q.finish();
        return value;
    }

    void close()
    {
        if (connection.isEmpty())
            return;
        {
            QSqlDatabase d = db();
            d.close();
        }
        QSqlDatabase::removeDatabase(connection);
        connection.clear();
    }

    QString say(const QString& what) const
    {
        return QStringLiteral("The learning record %1 %2.").arg(QDir::toNativeSeparators(path), what);
    }

    QString reason(const QSqlError& error) const
    {
        switch (sqliteCode(error)) {
        case Busy:
        case Locked:
            return say(QStringLiteral("is in use by another program"));
        case ReadOnly:
            return say(QStringLiteral("may not be written"));
        case Full:
            return say(QStringLiteral("cannot grow: the disk is full"));
        case Corrupt:
        case NotADb:
            return say(QStringLiteral("is damaged"));
        default:
            return say(QStringLiteral("cannot be used (%1)").arg(error.text()));
        }
    }

    void fail(const QString& why, bool stillReadable)
    {
        problem = why;
        writable = false;
        readable = readable && stillReadable;
    }

    bool connect()
    {
        connection = connectionName();
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        if (!d.isValid()) {
            problem = say(QStringLiteral("cannot be kept: Qt's SQLite driver is missing (Debian: libqt6sql6-sqlite)"));
            return false;
        }
        // Another Vorbix writes one answer at a time; a second is plenty.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000");
        if (access == Access::ReadOnly)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        d.setConnectOptions(options);
        d.setDatabaseName(path);
        if (!d.open()) {
            problem = reason(d.lastError());
            return false;
        }
        return true;
    }

    enum class Opened { Ok, Damaged, Failed };

    // The file's version, and whether it is a record at all: version 0 with
    // tables in it is another program's database.
    Opened look(int* version)
    {
        // One statement, so one snapshot: another Vorbix making the record
        // between two reads would look like a database of someone else's.
        QSqlQuery q(db());
        if (!run(q,
                 QStringLiteral("SELECT (SELECT user_version FROM pragma_user_version), "
                                "(SELECT count(*) FROM sqlite_master WHERE type = 'table')"),
                 {})
            || !q.next()) {
            const QSqlError error = q.lastError().isValid() ? q.lastError() : lastError;
            return isDamage(sqliteCode(error)) ? Opened::Damaged : (problem = reason(error), Opened::Failed);
        }
        *version = q.value(0).toInt();
        const qint64 tables = q.value(1).toLongLong();
        q.finish();
        if (*version > Store::SchemaVersion) {
            problem = say(QStringLiteral("was written by a newer Vorbix; it is left as it is"));
            return Opened::Failed;
        }
        return *version == 0 && tables > 0 ? Opened::Damaged : Opened::Ok;
    }

    Opened prepare()
    {
        int version = 0;
        if (const Opened seen = look(&version); seen != Opened::Ok)
            return seen;
        if (access == Access::ReadOnly) {
            readable = version == Store::SchemaVersion;
            if (!readable)
                problem = say(QStringLiteral("is of an older version; start Vorbix once to bring it up to date"));
            return readable ? Opened::Ok : Opened::Failed;
        }
        // Each answer is its own transaction: the log makes that cheap, and
        // a killed process loses nothing committed.
        exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        exec(QStringLiteral("PRAGMA secure_delete = ON"));
        // Creating, migrating or merely stamping the version: whatever the
        // file allows, a write tells now rather than at the first answer.
        // Looked at again once the write is ours: another Vorbix may have
        // made or migrated it meanwhile.
        bool wrote = exec(QStringLiteral("BEGIN IMMEDIATE"));
        if (wrote) {
            if (const Opened again = look(&version); again != Opened::Ok) {
                exec(QStringLiteral("ROLLBACK"));
                return again;
            }
            wrote = upgrade(version) && exec(QStringLiteral("PRAGMA user_version = %1").arg(Store::SchemaVersion))
                && exec(QStringLiteral("COMMIT"));
        }
        if (!wrote) {
            const QSqlError error = lastError;
            exec(QStringLiteral("ROLLBACK"));
            if (isDamage(sqliteCode(error)))
                return Opened::Damaged;
            problem = reason(error);
            readable = version == Store::SchemaVersion && checkTables();
            return Opened::Failed;
        }
        readable = checkTables();
        if (!readable)
            return Opened::Damaged;
        writable = true;
        return Opened::Ok;
    }

    bool checkTables()
    {
        bool ok = false;
        scalar(QStringLiteral("SELECT count(*) FROM answers JOIN pairs ON pairs.id = answers.pair "
                              "JOIN lists ON lists.id = answers.list WHERE answers.id = 0"),
               {}, &ok);
        return ok;
    }

    bool upgrade(int version)
    {
        const QStringList steps = upgradeSteps(version);
        for (const QString& sql : steps)
            if (!exec(sql))
                return false;
        return true;
    }

    // The damaged file and its log go aside, named by the time; nothing is
    // deleted but the shared-memory index, which SQLite rebuilds.
    bool putAside()
    {
        close();
        const QString aside = path + QStringLiteral(".damaged-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
        if (QFile::exists(aside) || !QFile::rename(path, aside)) {
            problem = say(QStringLiteral("is damaged and could not be set aside"));
            return false;
        }
        QFile::rename(path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        setAside = aside;
        return true;
    }

    void open()
    {
        if (access == Access::ReadOnly && !QFileInfo::exists(path)) {
            problem = say(QStringLiteral("does not exist yet"));
            return;
        }
        if (access == Access::ReadWrite && !QDir().mkpath(QFileInfo(path).absolutePath())) {
            problem = say(QStringLiteral("cannot be kept: its folder cannot be made"));
            return;
        }
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!connect())
                return;
            const Opened opened = prepare();
            if (opened != Opened::Damaged)
                return;
            readable = writable = false;
            if (access == Access::ReadOnly || attempt == 1 || !putAside()) {
                if (problem.isEmpty())
                    problem = say(QStringLiteral("is damaged"));
                return;
            }
        }
    }

    qint64 idOf(const QString& table, const QString& column, const QVariantList& values, const QString& insert)
    {
        bool ok = false;
        const qint64 id = scalar(QStringLiteral("SELECT id FROM %1 WHERE %2").arg(table, column), values, &ok);
        if (!ok)
            return -1;
        if (id > 0)
            return id;
        QSqlQuery q(db());
        if (!run(q, QStringLiteral("INSERT INTO %1 %2").arg(table, insert), values))
            return -1;
        return q.lastInsertId().toLongLong();
    }

    qint64 listId(const QString& listPath)
    {
        return idOf(QStringLiteral("lists"), QStringLiteral("path = ?"), {text(listKey(listPath))},
                    QStringLiteral("(path) VALUES (?)"));
    }

    qint64 pairId(const QString& known, const QString& unknown)
    {
        return idOf(QStringLiteral("pairs"), QStringLiteral("known = ? AND unknown = ?"), {text(known), text(unknown)},
                    QStringLiteral("(known, unknown) VALUES (?, ?)"));
    }

    // One write transaction; on failure rolled back with the error kept.
    bool write(const std::function<bool()>& body)
    {
        if (exec(QStringLiteral("BEGIN IMMEDIATE")) && body() && exec(QStringLiteral("COMMIT")))
            return true;
        const QSqlError error = lastError;
        exec(QStringLiteral("ROLLBACK"));
        lastError = error;
        return false;
    }

    // A write that failed: a damaged file is set aside and the write tried
    // once more on a new one; anything else ends recording for this store.
    bool writeOrRecover(const std::function<bool()>& body)
    {
        if (!writable)
            return false;
        if (write(body))
            return true;
        if (isDamage(sqliteCode(lastError)) && putAside()) {
            readable = writable = false;
            problem.clear();
            if (connect() && prepare() == Opened::Ok && write(body))
                return true;
        }
        fail(problem.isEmpty() ? reason(lastError) : problem, !isDamage(sqliteCode(lastError)));
        return false;
    }

    Answer answerAt(QSqlQuery& q) const
    {
        Answer a;
        a.when = QDateTime::fromMSecsSinceEpoch(q.value(0).toLongLong());
        a.listPath = q.value(1).toString();
        a.known = q.value(2).toString();
        a.unknown = q.value(3).toString();
        a.side = AskedSide(q.value(4).toInt());
        a.mode = Mode(q.value(5).toInt());
        a.given = q.value(6).toString();
        a.outcome = Outcome(q.value(7).toInt());
        a.seconds = q.value(8).toDouble();
        a.testId = q.value(9).toLongLong();
        return a;
    }
};

// Columns in the order answerAt reads them.
static const QString AnswerColumns =
    QStringLiteral("SELECT a.at, l.path, p.known, p.unknown, a.side, a.mode, a.given, a.outcome, a.seconds, a.test "
                   "FROM answers a JOIN lists l ON l.id = a.list JOIN pairs p ON p.id = a.pair ");

QString Store::defaultPath()
{
    // The program's AppDataLocation, spelt out so that an organisation name
    // set later cannot move it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Vorbix/history.sqlite");
}

Store::Store(const QString& path, Access access) : d(std::make_unique<Impl>())
{
    d->path = path;
    d->access = access;
    d->open();
}

Store::~Store() { d->close(); }

bool Store::usable() const { return d->readable; }
QString Store::problem() const { return d->problem; }
QString Store::setAside() const { return d->setAside; }
QString Store::path() const { return d->path; }

qint64 Store::beginTest(const QString& listPath)
{
    qint64 id = 0;
    const bool ok = d->writeOrRecover([&] {
        const qint64 list = d->listId(listPath);
        QSqlQuery q(d->db());
        if (list < 0
            || !d->run(q, QStringLiteral("INSERT INTO tests (list, started) VALUES (?, ?)"),
                       {list, QDateTime::currentMSecsSinceEpoch()}))
            return false;
        id = q.lastInsertId().toLongLong();
        return true;
    });
    return ok ? id : 0;
}

bool Store::record(const Answer& a)
{
    return d->writeOrRecover([&] {
        const qint64 list = d->listId(a.listPath);
        const qint64 pair = d->pairId(a.known, a.unknown);
        if (list < 0 || pair < 0)
            return false;
        bool ok = false;
        qint64 test =
            a.testId > 0 ? d->scalar(QStringLiteral("SELECT id FROM tests WHERE id = ?"), {a.testId}, &ok) : 0;
        if (a.testId > 0 && !ok)
            return false;
        const qint64 at = (a.when.isValid() ? a.when : QDateTime::currentDateTime()).toMSecsSinceEpoch();
        if (test == 0) {
            QSqlQuery q(d->db());
            const QVariant wanted = a.testId > 0 ? QVariant(a.testId) : QVariant();
            if (!d->run(q, QStringLiteral("INSERT INTO tests (id, list, started) VALUES (?, ?, ?)"),
                        {wanted, list, at}))
                return false;
            test = q.lastInsertId().toLongLong();
        }
        QSqlQuery q(d->db());
        return d->run(q,
                      QStringLiteral("INSERT INTO answers (test, list, pair, at, side, mode, given, outcome, seconds) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                      {test, list, pair, at, int(a.side), int(a.mode), text(a.given), int(a.outcome), a.seconds});
    });
}

std::vector<PairRecord> Store::pairs(const std::vector<PairWords>& list) const
{
    std::vector<PairRecord> result;
    result.reserve(list.size());
    if (!d->readable) {
        for (const auto& [known, unknown] : list)
            result.push_back({known, unknown, 0, 0, {}, {}});
        return result;
    }
    // Two passes over the whole record, then one row per pair asked: a
    // thousand lookups of words would cost more than reading it all.
    struct Seen {
        int asked = 0, right = 0;
        qint64 last = 0;
    };
    std::map<PairWords, Seen> seen;
    d->exec(QStringLiteral("BEGIN")); // one snapshot for all three reads
    {
        std::map<qint64, Seen> byId;
        QSqlQuery q(d->db());
        if (d->run(q, QStringLiteral("SELECT pair, count(*), total(outcome = 0), max(id) FROM answers GROUP BY pair"),
                   {}))
            while (q.next())
                byId[q.value(0).toLongLong()] = {q.value(1).toInt(), int(q.value(2).toDouble()),
                                                 q.value(3).toLongLong()};
        if (d->run(q, QStringLiteral("SELECT id, known, unknown FROM pairs"), {}))
            while (q.next())
                if (const auto it = byId.find(q.value(0).toLongLong()); it != byId.end())
                    seen[{q.value(1).toString(), q.value(2).toString()}] = it->second;
        q.finish();
    }
    QSqlQuery last(d->db());
    last.prepare(AnswerColumns + QStringLiteral("WHERE a.id = ?"));
    for (const auto& [known, unknown] : list) {
        PairRecord r;
        r.known = known;
        r.unknown = unknown;
        const auto it =
            seen.find({known.isNull() ? QStringLiteral("") : known, unknown.isNull() ? QStringLiteral("") : unknown});
        if (it != seen.end()) {
            r.asked = it->second.asked;
            r.right = it->second.right;
            last.bindValue(0, it->second.last);
            if (last.exec() && last.next()) {
                r.lastAnswer = d->answerAt(last);
                r.lastAsked = r.lastAnswer->when;
            }
            last.finish();
        }
        result.push_back(std::move(r));
    }
    d->exec(QStringLiteral("COMMIT"));
    return result;
}

std::vector<PairRecord> Store::pairs(const QString& listPath) const
{
    std::vector<PairWords> words;
    if (!d->readable)
        return {};
    QSqlQuery q(d->db());
    if (d->run(
            q,
            QStringLiteral("SELECT p.known, p.unknown FROM answers a JOIN pairs p ON p.id = a.pair "
                           "WHERE a.list = (SELECT id FROM lists WHERE path = ?) GROUP BY a.pair ORDER BY min(a.id)"),
            {listKey(listPath)}))
        while (q.next())
            words.emplace_back(q.value(0).toString(), q.value(1).toString());
    q.finish();
    return pairs(words);
}

std::vector<TestPoint> Store::tests(const QString& listPath) const
{
    std::vector<TestPoint> result;
    if (!d->readable)
        return result;
    QSqlQuery q(d->db());
    if (d->run(
            q,
            QStringLiteral("SELECT test, min(at), count(*), total(outcome = 0) FROM answers "
                           "WHERE list = (SELECT id FROM lists WHERE path = ?) GROUP BY test ORDER BY min(at), test"),
            {listKey(listPath)}))
        while (q.next())
            result.push_back({q.value(0).toLongLong(), QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong()),
                              q.value(2).toInt(), int(q.value(3).toDouble())});
    q.finish();
    return result;
}

std::vector<Answer> Store::mistakesOfLastTest(const QString& listPath) const
{
    std::vector<Answer> result;
    if (!d->readable)
        return result;
    QSqlQuery q(d->db());
    const QString list = QStringLiteral("(SELECT id FROM lists WHERE path = ?)");
    if (d->run(q,
               AnswerColumns
                   + QStringLiteral("WHERE a.list = %1 AND a.outcome <> 0 AND a.test = "
                                    "(SELECT test FROM answers WHERE list = %1 ORDER BY id DESC LIMIT 1) ORDER BY a.id")
                         .arg(list),
               {listKey(listPath), listKey(listPath)})) {
        std::map<PairWords, size_t> seen;
        while (q.next()) {
            Answer a = d->answerAt(q);
            const auto [at, fresh] = seen.try_emplace({a.known, a.unknown}, result.size());
            if (fresh)
                result.push_back(std::move(a));
            else
                result[at->second] = std::move(a);
        }
    }
    q.finish();
    return result;
}

bool Store::clearAll()
{
    const bool ok = d->writeOrRecover([&] {
        for (const char* table : {"answers", "tests", "pairs", "lists"})
            if (!d->exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table))))
                return false;
        return true;
    });
    // The log still holds the old pages until they are copied back.
    return ok && d->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

bool Store::clearList(const QString& listPath)
{
    const bool ok = d->writeOrRecover([&] {
        const QVariantList path{listKey(listPath)};
        const QString list = QStringLiteral("(SELECT id FROM lists WHERE path = ?)");
        QSqlQuery q(d->db());
        return d->run(q, QStringLiteral("DELETE FROM answers WHERE list = %1").arg(list), path)
            && d->run(q, QStringLiteral("DELETE FROM tests WHERE list = %1").arg(list), path)
            && d->run(q, QStringLiteral("DELETE FROM lists WHERE path = ?"), path)
            && d->run(q, QStringLiteral("DELETE FROM pairs WHERE id NOT IN (SELECT pair FROM answers)"), {});
    });
    return ok && d->exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

} // namespace vorbix::history
