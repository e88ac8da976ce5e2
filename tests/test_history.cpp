// The learning record on its own: what it gives back, its versions, and the
// files it meets that it cannot use as they are.
#include "history/History.h"
#include "support/Files.h"
#include "support/HistoryFiles.h"

#include <QtTest>

using namespace vorbix::history;
using vorbix::testing::RecordFile;

namespace {

Answer answer(const QString& list, const QString& known, const QString& unknown, Outcome outcome,
              const QString& given = {}, qint64 test = 0)
{
    Answer a{QDateTime::fromMSecsSinceEpoch(1'800'000'000'000), list, known, unknown};
    a.given = given, a.outcome = outcome, a.testId = test;
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

} // namespace

class HistoryTest : public QObject {
    Q_OBJECT
private slots:
    // Every field comes back as it went in, whatever the words hold.
    void keepsEveryField()
    {
        RecordFile f;
        Store store(f.path);
        const std::pair<const char*, Answer> rows[] = {
            {"typed right", answer("/a.dic", "maja", "house", Outcome::Right, "house")},
            {"tab, quote, combining mark, beyond the basic plane",
             answer("/a.dic", "a\tb \"c\"", "e\u0301 \U0001F600", Outcome::Wrong, "\U0001F600")},
            {"blanks kept, nothing given", answer("/a.dic", "  lead", "tail ", Outcome::TimedOut, QString())}};
        for (auto [name, a] : rows) {
            a.side = AskedSide::KnownWord, a.mode = Mode::Choices, a.seconds = 2.5;
            a.testId = store.beginTest(a.listPath);
            QVERIFY2(store.record(a), name);
            const auto r = store.pairs(std::vector<PairWords>{{a.known, a.unknown}});
            a.given = a.given.isNull() ? "" : a.given;
            QVERIFY2(r[0].asked == 1 && r[0].lastAnswer == a && r[0].lastAsked == a.when, name);
        }
    }

    // A pair is its two words: the same words in another list share one
    // history, which clearing one list leaves; cleared is gone from the disk.
    void aPairIsItsWords()
    {
        RecordFile f;
        Store store(f.path);
        const qint64 t1 = store.beginTest("/a.dic"), t2 = store.beginTest("/b.dic");
        QVERIFY(store.record(answer("/a.dic", "maja", "house", Outcome::Right, "house", t1)));
        QVERIFY(store.record(answer("/a.dic", "koer", "dog", Outcome::Wrong, "dgo", t1)));
        QVERIFY(store.record(answer("/b.dic", "maja", "house", Outcome::Wrong, "hose", t2)));
        QCOMPARE(summary(store.pairs(QString("/a.dic"))), QString("maja/house 2:1 hose, koer/dog 1:0 dgo"));
        const std::vector<PairWords> now{{"uus", "new"}, {"koer", "dog"}, {"maja", "house"}};
        QCOMPARE(summary(store.pairs(now)), QString("uus/new 0:0 -, koer/dog 1:0 dgo, maja/house 2:1 hose"));
        QVERIFY(store.clearList("/a.dic"));
        QCOMPARE(summary(store.pairs(now)), QString("uus/new 0:0 -, koer/dog 0:0 -, maja/house 1:0 hose"));
        QVERIFY(store.tests("/a.dic").empty() && !f.onDisk().contains("koer"));
        for (int i = 0; i < 300; ++i) // pages enough for the tables to free some
            QVERIFY(store.record(answer("/b.dic", QString("k%1").arg(i), "u", Outcome::Wrong, "private", t2)));
        QVERIFY(store.clearAll());
        QVERIFY(!f.onDisk().contains("maja") && !f.onDisk().contains("private"));
        QVERIFY(
            store.record(answer("/b.dic", "maja", "house", Outcome::Right, "house", t2))); // the test taken up again
        QCOMPARE(summary(store.pairs(QString("/b.dic"))), QString("maja/house 1:1 house"));
    }

    // The last test's mistakes: each pair once, first missed first, with its
    // last wrong answer; right answers, earlier tests and other lists left out.
    void mistakesOfTheLastTest()
    {
        RecordFile f;
        Store store(f.path);
        QVERIFY(store.record(answer("/a.dic", "a", "1", Outcome::Wrong, "x", store.beginTest("/a.dic"))));
        const qint64 last = store.beginTest("/a.dic"), other = store.beginTest("/b.dic");
        for (const Answer& a : {answer("/a.dic", "b", "2", Outcome::Wrong, "first", last),
                                answer("/a.dic", "c", "3", Outcome::Right, "3", last),
                                answer("/b.dic", "z", "9", Outcome::Wrong, "other list", other),
                                answer("/a.dic", "d", "4", Outcome::TimedOut, "", last),
                                answer("/a.dic", "b", "2", Outcome::Wrong, "second", last)})
            QVERIFY(store.record(a));
        QStringList missed;
        for (const Answer& a : store.mistakesOfLastTest("/a.dic"))
            missed << QString("%1 \"%2\" %3").arg(a.known, a.given).arg(int(a.outcome));
        QCOMPARE(missed, QStringList({"b \"second\" 1", "d \"\" 2"}));
        const auto tests = store.tests("/a.dic");
        QVERIFY(tests.size() == 2 && tests[1].testId == last && tests[1].right == 1 && tests[1].answered == 4);
    }

    // A record of version 1 (every answer whole in one table) comes up to the
    // current version with its tests, answers and words.
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
             "(2, 4, '/a.dic', 'koer', 'dog', 1100, 1, 1, 'maja', 1, 2), (3, 7, '/a.dic', 'koer', 'dog', 2000, 0, 0, "
             "'do', 2, 10), (4, 9, '/b.dic', 'maja', 'house', 3000, 0, 0, 'hous', 1, 3)",
             "PRAGMA user_version = 1"}));
        Store store(f.path);
        QVERIFY2(store.usable() && store.problem().isEmpty(), qPrintable(store.problem()));
        QCOMPARE(f.one("PRAGMA user_version"), QString::number(Store::SchemaVersion));
        QCOMPARE(f.answers(),
                 QStringList({"/a.dic|maja|house|0|0|house|0|1.5", "/a.dic|koer|dog|1|1|maja|1|2",
                              "/a.dic|koer|dog|0|0|do|2|10", "/b.dic|maja|house|0|0|hous|1|3"}));
        QCOMPARE(summary(store.pairs(QString("/a.dic"))), QString("maja/house 2:1 hous, koer/dog 2:0 do"));
        const auto tests = store.tests("/a.dic");
        QVERIFY(tests.size() == 2 && tests[0].testId == 4 && tests[0].when == QDateTime::fromMSecsSinceEpoch(1000));
        QVERIFY(store.beginTest("/a.dic") > 9); // new tests go on after the old ids
    }

    // Files the record cannot use as they are (read-only and locked ones are
    // met through the test window): damaged ones are set aside byte for byte
    // and a new record started; others are left alone, and it says why.
    void filesItCannotUseAsTheyAre()
    {
        const std::tuple<const char*, bool, QString> rows[] = {
            {"not a database", true, ""},
            {"another program's database", true, ""},
            {"a header with no pages behind it", true, ""},
            {"from a newer Vorbix", false, "newer Vorbix"},
            {"no folder can be made", false, "folder cannot be made"}};
        for (const auto& [kind, setAside, problem] : rows) {
            const QString row(kind);
            RecordFile f;
            QString path = f.path;
            Store{f.path}.record(answer("/a.dic", "maja", "house", Outcome::Right, "house"));
            if (row == "not a database")
                vorbix::testing::writeBytes(f.path, QByteArray(8192, 'Z'));
            else if (row.startsWith("another"))
                QVERIFY(QFile::remove(f.path) && f.write({"CREATE TABLE notes (text TEXT)"}));
            else if (row.startsWith("a header"))
                QVERIFY(QFile(f.path).resize(1024));
            else if (row.startsWith("from"))
                QVERIFY(f.write({"PRAGMA user_version = 99"}));
            else
                path = f.path + "/history.sqlite"; // under a file
            const QByteArray before = vorbix::testing::readBytes(path);
            Store store(path);
            const bool recorded = store.record(answer("/a.dic", "koer", "dog", Outcome::Wrong, "dgo"));
            QVERIFY2(recorded == setAside && store.usable() == setAside, kind);
            QVERIFY2(store.problem().contains(problem) && store.problem().isEmpty() == problem.isEmpty(), kind);
            QCOMPARE(vorbix::testing::readBytes(setAside ? store.setAside() : path), before);
        }
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"
