// The learning record on its own: what it stores and gives back, its schema
// versions, and the files it meets that it cannot use as they are.
#include "history/Recorder.h"
#include "support/Files.h"
#include "support/HistoryFiles.h"

#include <QtTest>

using namespace vorbix::history;
using vorbix::testing::RecordFile;

namespace {

Answer answer(const QString& list, const QString& known, const QString& unknown, Outcome outcome,
              const QString& given = {}, qint64 test = 0)
{
    Answer a;
    a.when = QDateTime::fromMSecsSinceEpoch(1'800'000'000'000);
    a.listPath = list;
    a.known = known;
    a.unknown = unknown;
    a.given = given;
    a.outcome = outcome;
    a.testId = test;
    return a;
}

QString summary(const std::vector<PairRecord>& records)
{
    QStringList out;
    for (const PairRecord& r : records)
        out << QString("%1/%2 %3:%4 %5")
                   .arg(r.known, r.unknown)
                   .arg(r.asked)
                   .arg(r.right)
                   .arg(r.lastAnswer ? r.lastAnswer->given : "-");
    return out.join(", ");
}

QString summary(const std::vector<Answer>& answers)
{
    QStringList out;
    for (const Answer& a : answers)
        out << QString("%1/%2 \"%3\" %4").arg(a.known, a.unknown, a.given).arg(int(a.outcome));
    return out.join(", ");
}

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    // Every field goes in and comes back as it was, whatever the words hold.
    void keepsEveryField_data()
    {
        QTest::addColumn<Answer>("a");
        const auto make = [](const QString& known, const QString& unknown, AskedSide side, Mode mode,
                             const QString& given, Outcome outcome, double seconds) {
            Answer a = answer("/lists/a.dic", known, unknown, outcome, given);
            a.side = side, a.mode = mode, a.seconds = seconds;
            return a;
        };
        QTest::newRow("typed right") << make("maja", "house", AskedSide::UnknownWord, Mode::Normal, "house",
                                             Outcome::Right, 2.5);
        QTest::newRow("chosen wrong, known word asked")
            << make("koer", "dog", AskedSide::KnownWord, Mode::Choices, "maja", Outcome::Wrong, 0.25);
        QTest::newRow("timed out half typed")
            << make("õun", "apple", AskedSide::UnknownWord, Mode::Normal, "app", Outcome::TimedOut, 10);
        QTest::newRow("tab, quote, combining mark, outside the basic plane")
            << make("a\tb \"c\"", QString("e\u0301 \U0001F600"), AskedSide::UnknownWord, Mode::Normal,
                    QString("\U0001F600"), Outcome::Wrong, 1);
        QTest::newRow("empty given, blanks kept")
            << make("  lead", "tail ", AskedSide::UnknownWord, Mode::Choices, "", Outcome::TimedOut, 0);
    }
    void keepsEveryField()
    {
        QFETCH(Answer, a);
        RecordFile f;
        Store store(f.path);
        QVERIFY2(store.usable() && store.problem().isEmpty(), qPrintable(store.problem()));
        a.testId = store.beginTest(a.listPath);
        QVERIFY(a.testId > 0);
        QVERIFY(store.record(a));
        const auto records = store.pairs(a.listPath);
        QCOMPARE(records.size(), size_t(1));
        QCOMPARE(records[0].asked, 1);
        QCOMPARE(records[0].right, a.outcome == Outcome::Right ? 1 : 0);
        QVERIFY(records[0].lastAnswer.has_value());
        QCOMPARE(*records[0].lastAnswer, a);
        QCOMPARE(records[0].lastAsked, a.when);
        // Committed: another connection sees it at once.
        QCOMPARE(f.answers().size(), 1);
    }

    // A pair is its two words: the same words in another list share one
    // history; clearing one list leaves the other's answers.
    void aPairIsItsWords()
    {
        RecordFile f;
        Store store(f.path);
        const qint64 t1 = store.beginTest("/a.dic"), t2 = store.beginTest("/b.dic");
        QVERIFY(store.record(answer("/a.dic", "maja", "house", Outcome::Right, "house", t1)));
        QVERIFY(store.record(answer("/a.dic", "koer", "dog", Outcome::Wrong, "dgo", t1)));
        QVERIFY(store.record(answer("/b.dic", "maja", "house", Outcome::Wrong, "hose", t2)));
        QCOMPARE(summary(store.pairs(QString("/a.dic"))), QString("maja/house 2:1 hose, koer/dog 1:0 dgo"));
        // The list as it stands now, sorted and with a new pair: its order, all pairs.
        const std::vector<PairWords> now{{"uus", "new"}, {"koer", "dog"}, {"maja", "house"}};
        QCOMPARE(summary(store.pairs(now)), QString("uus/new 0:0 -, koer/dog 1:0 dgo, maja/house 2:1 hose"));
        QCOMPARE(store.tests("/b.dic").size(), size_t(1));

        QVERIFY(store.clearList("/a.dic"));
        QCOMPARE(summary(store.pairs(now)), QString("uus/new 0:0 -, koer/dog 0:0 -, maja/house 1:0 hose"));
        QVERIFY(store.pairs(QString("/a.dic")).empty() && store.tests("/a.dic").empty());
        QVERIFY(!f.onDisk().contains("koer"));
        QVERIFY(store.clearAll());
        QCOMPARE(f.one("SELECT (SELECT count(*) FROM answers) + (SELECT count(*) FROM pairs) + "
                       "(SELECT count(*) FROM lists) + (SELECT count(*) FROM tests)"),
                 QString("0"));
        // Cleared means gone from the disk, log included, not only unlinked.
        QVERIFY(!f.onDisk().contains("maja") && !f.onDisk().contains("hose"));
        // And recording goes on afterwards, the old test id taken up again.
        QVERIFY(store.record(answer("/b.dic", "maja", "house", Outcome::Right, "house", t2)));
        QCOMPARE(summary(store.pairs(QString("/b.dic"))), QString("maja/house 1:1 house"));
    }

    // The last test's mistakes: each pair once, first missed first, with its
    // last wrong answer; right answers and earlier tests left out.
    void mistakesOfTheLastTest()
    {
        RecordFile f;
        Store store(f.path);
        const qint64 first = store.beginTest("/a.dic");
        QVERIFY(store.record(answer("/a.dic", "a", "1", Outcome::Wrong, "x", first)));
        const qint64 last = store.beginTest("/a.dic");
        const qint64 other = store.beginTest("/b.dic");
        for (const Answer& a : {answer("/a.dic", "b", "2", Outcome::Wrong, "first", last),
                                answer("/a.dic", "c", "3", Outcome::Right, "3", last),
                                answer("/b.dic", "z", "9", Outcome::Wrong, "other list", other),
                                answer("/a.dic", "d", "4", Outcome::TimedOut, "", last),
                                answer("/a.dic", "b", "2", Outcome::Wrong, "second", last)})
            QVERIFY(store.record(a));
        QCOMPARE(summary(store.mistakesOfLastTest("/a.dic")), QString("b/2 \"second\" 1, d/4 \"\" 2"));
        QVERIFY(store.mistakesOfLastTest("/none.dic").empty());
        const auto tests = store.tests("/a.dic");
        QCOMPARE(tests.size(), size_t(2));
        QCOMPARE(QString("%1 %2/%3").arg(tests[1].testId).arg(tests[1].right).arg(tests[1].answered),
                 QString("%1 1/4").arg(last));
    }

    // A record of version 1 (every answer whole in one table) comes up to
    // the current version with its tests, answers and words.
    void migratesFromVersion1()
    {
        RecordFile f;
        QVERIFY(f.write(
            {"CREATE TABLE tests (id INTEGER PRIMARY KEY, list TEXT NOT NULL, started INTEGER NOT NULL)",
             "CREATE TABLE answers (id INTEGER PRIMARY KEY, test INTEGER NOT NULL, list TEXT NOT NULL, known TEXT NOT "
             "NULL, unknown TEXT NOT NULL, at INTEGER NOT NULL, side INTEGER NOT NULL, mode INTEGER NOT NULL, given "
             "TEXT NOT NULL, outcome INTEGER NOT NULL, seconds REAL NOT NULL)",
             "INSERT INTO tests VALUES (4, '/a.dic', 1000), (7, '/a.dic', 2000), (9, '/b.dic', 3000)",
             "INSERT INTO answers VALUES (1, 4, '/a.dic', 'maja', 'house', 1000, 0, 0, 'house', 0, 1.5), "
             "(2, 4, '/a.dic', 'koer', 'dog', 1100, 1, 1, 'maja', 1, 2), "
             "(3, 7, '/a.dic', 'koer', 'dog', 2000, 0, 0, 'do', 2, 10), "
             "(4, 9, '/b.dic', 'maja', 'house', 3000, 0, 0, 'hous', 1, 3)",
             "PRAGMA user_version = 1"}));
        Store store(f.path);
        QVERIFY2(store.usable() && store.problem().isEmpty(), qPrintable(store.problem()));
        QCOMPARE(f.one("PRAGMA user_version"), QString::number(Store::SchemaVersion));
        QCOMPARE(f.answers(),
                 QStringList({"/a.dic|maja|house|0|0|house|0|1.5", "/a.dic|koer|dog|1|1|maja|1|2",
                              "/a.dic|koer|dog|0|0|do|2|10", "/b.dic|maja|house|0|0|hous|1|3"}));
        QCOMPARE(summary(store.pairs(QString("/a.dic"))), QString("maja/house 2:1 hous, koer/dog 2:0 do"));
        QCOMPARE(summary(store.mistakesOfLastTest("/a.dic")), QString("koer/dog \"do\" 2"));
        const auto tests = store.tests("/a.dic");
        QCOMPARE(tests.size(), size_t(2));
        QCOMPARE(tests[0].testId, 4);
        QCOMPARE(tests[0].when, QDateTime::fromMSecsSinceEpoch(1000));
        // New tests go on after the old ids.
        QVERIFY(store.beginTest("/a.dic") > 9);
    }

    // Files the record cannot use as they are: damaged ones are set aside
    // untouched and a new record started; others are left alone, and the
    // store says why in one sentence.
    void filesItCannotUseAsTheyAre_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("records");
        QTest::addColumn<bool>("setAside");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not a database") << "garbage" << true << true << true << "";
        QTest::newRow("another program's database") << "foreign" << true << true << true << "";
        QTest::newRow("a header with no pages behind it") << "truncated" << true << true << true << "";
        QTest::newRow("from a newer Vorbix") << "newer" << false << false << false << "newer Vorbix";
        QTest::newRow("read-only") << "read-only" << true << false << false << "may not be written";
        QTest::newRow("locked by another writer") << "locked" << true << false << false << "in use by another program";
        QTest::newRow("no folder can be made") << "no folder" << false << false << false << "folder cannot be made";
    }
    void filesItCannotUseAsTheyAre()
    {
        QFETCH(QString, kind);
        QFETCH(bool, readable);
        QFETCH(bool, records);
        QFETCH(bool, setAside);
        QFETCH(QString, problem);
        RecordFile f;
        QString path = f.path;
        {
            Store earlier(f.path); // a good record with one answer in it
            QVERIFY(earlier.record(answer("/a.dic", "maja", "house", Outcome::Right, "house")));
        }
        QSqlDatabase locker;
        if (kind == "garbage") {
            QFile file(f.path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(8192, '\x5a'));
        } else if (kind == "foreign") {
            QFile::remove(f.path), QFile::remove(f.path + "-wal"), QFile::remove(f.path + "-shm");
            QVERIFY(f.write({"CREATE TABLE notes (text TEXT)", "INSERT INTO notes VALUES ('mine')"}));
        } else if (kind == "truncated") {
            QVERIFY(f.write({"PRAGMA wal_checkpoint(TRUNCATE)"}));
            QFile file(f.path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(1024));
        } else if (kind == "newer") {
            QVERIFY(f.write({"PRAGMA user_version = 99"}));
        } else if (kind == "read-only") {
            QVERIFY(f.write({"PRAGMA wal_checkpoint(TRUNCATE)", "PRAGMA journal_mode = DELETE"}));
            if (!vorbix::testing::makeReadOnly(f.path))
                QSKIP("this file system lets root write any file");
        } else if (kind == "locked") {
            locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
            locker.setDatabaseName(f.path);
            QVERIFY(locker.open() && QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
        } else if (kind == "no folder") {
            QFile::remove(f.path);
            QVERIFY(QFile(f.path).open(QIODevice::WriteOnly)); // a file where the folder would go
            path = f.path + "/history.sqlite";
        }
        const QByteArray before = vorbix::testing::readBytes(path);
        {
            Store store(path);
            const bool recorded = store.record(answer("/a.dic", "koer", "dog", Outcome::Wrong, "dgo"));
            QCOMPARE(store.usable(), readable);
            QCOMPARE(recorded, records);
            QCOMPARE(!store.setAside().isEmpty(), setAside);
            QVERIFY2(problem.isEmpty() ? store.problem().isEmpty() : store.problem().contains(problem),
                     qPrintable(store.problem()));
            if (setAside) // kept byte for byte under its new name, beside a fresh record
                QCOMPARE(vorbix::testing::readBytes(store.setAside()), before);
            else if (!records) // nothing written over
                QCOMPARE(vorbix::testing::readBytes(path), before);
            if (readable && !setAside) // what was there can still be read
                QCOMPARE(summary(store.pairs(QString("/a.dic"))), QString("maja/house 1:1 house"));
        }
        if (kind == "read-only")
            vorbix::testing::makeWritable(f.path);
        if (locker.isValid()) {
            locker.close();
            locker = {};
            QSqlDatabase::removeDatabase("locker");
        }
    }

    // The program's recorder: tests begin with the counters and with
    // another list, recording off makes no file, and a record it cannot
    // keep is told once however many answers follow.
    void recorderTellsOnceAndKeepsTests()
    {
        RecordFile f;
        QStringList told;
        Recorder off([&](const QString& text) { told << text; });
        off.setPath(f.path);
        off.setRecording(false);
        off.record(answer("/a.dic", "a", "1", Outcome::Right), true);
        off.open();
        QVERIFY(!QFile::exists(f.path) && !off.store());

        Recorder on([&](const QString& text) { told << text; });
        on.setPath(f.path);
        on.record(answer("/a.dic", "a", "1", Outcome::Right), true);
        on.record(answer("/a.dic", "b", "2", Outcome::Wrong), false);
        on.record(answer("/b.dic", "c", "3", Outcome::Wrong), false);
        on.record(answer("/b.dic", "d", "4", Outcome::Wrong), true);
        QCOMPARE(f.rows("SELECT l.path || ' ' || count(*) FROM answers a JOIN lists l ON l.id = a.list "
                        "GROUP BY a.test ORDER BY a.test"),
                 QStringList({"/a.dic 2", "/b.dic 1", "/b.dic 1"}));
        QVERIFY(told.isEmpty());

        QSqlDatabase locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
        locker.setDatabaseName(f.path);
        QVERIFY(locker.open() && QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
        for (int i = 0; i < 3; ++i)
            on.record(answer("/b.dic", "e", "5", Outcome::Right), false);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].contains("in use by another program") && told[0].contains("not recorded"),
                 qPrintable(told[0]));
        QVERIFY(on.store()); // what was recorded can still be read
        locker.close();
        locker = {};
        QSqlDatabase::removeDatabase("locker");
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"
