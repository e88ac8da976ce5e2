// The learning record fed by the real test window: what each judged answer
// leaves in the database, and a record that cannot be kept never getting in
// the test's way.
#include "history/Recorder.h"
#include "support/Files.h"
#include "support/HistoryFiles.h"
#include "support/WordTestDrive.h"
#include "ui/main/Algus.h"

#include <QCheckBox>
#include <QProcess>
#include <QScrollBar>
#include <QtTest>

#include <csignal>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const Words ThreePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}};

// The answers recorded, the list's path as "L".
QStringList recorded(const RecordFile& f, WordTestDrive& d)
{
    return f.answers().replaceInStrings(QDir::cleanPath(d.state().CurrentFile), "L");
}

// The messages shown, once the handler that had one to show is done.
QStringList messages(WordTestDrive& d)
{
    QCoreApplication::processEvents();
    QStringList out;
    for (const auto& m : d.h.platform.messages)
        out << QString("%1 %2").arg(int(m.icon)).arg(m.text);
    return out;
}

// A child Vorbix (offscreen) answering `count` questions of a list in `folder`.
std::unique_ptr<QProcess> child(const RecordFile& f, const QString& folder, int count, bool hold)
{
    auto p = std::make_unique<QProcess>();
    QStringList args{f.path, folder, QString::number(count)};
    p->start(HISTORY_CHILD, hold ? args << "--hold" : args);
    return p;
}

// What a child said it judged, and what the record holds of its list, as "given".
QStringList judged(const QByteArray& said)
{
    QStringList out;
    for (const QByteArray& line : said.split('\n'))
        if (line.startsWith("judged "))
            out << QString::fromUtf8(line).section(' ', 2);
    return out;
}
QStringList givenIn(const RecordFile& f, const QString& folder)
{
    return f.rows("SELECT a.given FROM answers a JOIN lists l ON l.id = a.list WHERE l.path = '" + folder
                  + "/Untitled.dic' ORDER BY a.id");
}

// Whether a shared library of this name is loaded in this process.
bool loaded(const char* library) { return readBytes("/proc/self/maps").contains(library); }

} // namespace

class HistoryWindowsTest : public QObject {
    Q_OBJECT
private slots:
    // Start-up pays nothing for the record: neither SQLite nor Qt's driver
    // is loaded, nor the file touched, until the main window has been shown
    // and the events of its showing handled. First here, as nothing else in
    // this process may have loaded them yet.
    void theRecordOpensOnlyAfterTheMainWindowIsShown()
    {
        RecordFile f;
        FolderHarness h;
        h.program.history().setPath(f.path);
        Algus& splash = h.program.show<Algus>();
        QVERIFY(!loaded("libqsqlite") && !loaded("libsqlite3"));
        QTest::mouseClick(&splash, Qt::LeftButton);
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QVERIFY(!QFile::exists(f.path) && !loaded("libqsqlite"));
        QCoreApplication::processEvents();
        QVERIFY(QFile::exists(f.path) && loaded("libqsqlite"));
        QVERIFY(h.platform.messages.empty());
    }

    // Typed, chosen and timed-out answers, each a row as it was judged: the
    // words as stored, the side, the mode, the text judged, the outcome, and
    // the seconds it was on screen (not those behind the wrong-answer window).
    void everyJudgedAnswerIsARow()
    {
        RecordFile f;
        WordTestDrive d(ThreePairs);
        d.h.program.history().setPath(f.path);
        d.child<QCheckBox>(d.main, "Check1")->setChecked(true);
        d.child<QScrollBar>(d.main, "VScroll1")->setValue(10);
        d.start(0);
        d.h.platform.advance(1500);
        QTest::keyClicks(d.answerBox(), "  house  ");
        d.draw(1);
        QTest::keyClick(d.answerBox(), Qt::Key_Return);
        QCOMPARE(recorded(f, d), QStringList{"L|maja|house|0|0|house|0|1.5"});
        d.h.platform.advance(2000);
        d.answer("Dog", 2);
        d.h.platform.advance(60000); // reading the wrong-answer window
        d.continueAfterWrong();
        d.h.platform.advance(4000);
        QTest::keyClicks(d.answerBox(), "ca");
        d.h.platform.advance(6000); // the clock judges what the box holds
        QCOMPARE(recorded(f, d),
                 QStringList({"L|maja|house|0|0|house|0|1.5", "L|koer|dog|0|0|Dog|1|2", "L|kass|cat|0|0|ca|2|10"}));
        QVERIFY(d.results());

        // Again: a new test, asking the known words by choices.
        d.child<QRadioButton>(d.main, "Option2")->setChecked(true);
        d.choices();
        d.continueAfterWrong();
        d.draw(2); // finds the round complete and starts the next
        d.drawChoices(0, 2, {1, 1, 2, 2});
        d.press(d.results(), "Command1");
        d.h.platform.advance(700);
        d.drawChoices(1, 0, {0, 0, 0, 0});
        QTest::mouseClick(d.choice(3), Qt::LeftButton);
        QTest::mouseClick(d.choice(2), Qt::LeftButton); // a filler: "maja" for "dog"
        QCOMPARE(recorded(f, d).mid(3), QStringList({"L|maja|house|1|1|maja|0|0.7", "L|koer|dog|1|1|maja|1|0"}));
        QCOMPARE(f.rows("SELECT count(DISTINCT test) FROM answers GROUP BY side ORDER BY side"),
                 QStringList({"1", "1"}));
        QCOMPARE(d.state().AnsweredCount, 2);
        QVERIFY(messages(d).isEmpty());
    }

    // Killed outright in the middle of a test, with a question on screen:
    // every answer judged before is in the record.
    void aKilledProgramKeepsEveryJudgedAnswer()
    {
        RecordFile f;
        auto p = child(f, f.dir.path(), 25, true);
        QByteArray said;
        while (!said.contains("holding") && p->waitForReadyRead(20000))
            said += p->readAllStandardOutput();
        QVERIFY2(said.contains("holding"), said.constData() + p->readAllStandardError());
        ::kill(pid_t(p->processId()), SIGKILL);
        QVERIFY(p->waitForFinished(20000) && p->exitStatus() == QProcess::CrashExit);
        QCOMPARE(judged(said).size(), 25);
        QCOMPARE(givenIn(f, f.dir.path()), judged(said));
    }

    // Two programs recording into one record at the same time, from its
    // making on: each one's answers all there, in its order, and neither
    // told of a problem. Three new records, as the making is a short race.
    void twoProgramsRecordSideBySide()
    {
        for (int round = 0; round < 3; ++round) {
            RecordFile f;
            QTemporaryDir a, b;
            auto first = child(f, a.path(), 60, false), second = child(f, b.path(), 60, false);
            for (const auto& [p, folder] : {std::pair{first.get(), a.path()}, std::pair{second.get(), b.path()}}) {
                QVERIFY(p->waitForFinished(60000) && p->exitCode() == 0);
                const QByteArray told = p->readAllStandardError();
                QVERIFY2(!told.contains("message:"), told.constData());
                const QStringList said = judged(p->readAllStandardOutput());
                QCOMPARE(said.size(), 60);
                QCOMPARE(givenIn(f, folder), said);
            }
        }
    }

    // A record that cannot be kept says so once, through the platform, and
    // the test goes on as if there were none; a damaged one is set aside and
    // the answers go to a new one. "Record nothing" makes no file at all.
    void aRecordItCannotKeepNeverStopsTheTest_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("rows");
        QTest::newRow("locked in the middle of the test") << "locked"
                                                          << "is in use by another program" << 1;
        QTest::newRow("read-only from the start") << "read-only"
                                                  << "may not be written" << 0;
        QTest::newRow("damaged from the start") << "damaged"
                                                << "was damaged. It was kept as" << 3;
        QTest::newRow("recording off") << "off"
                                       << "" << 0;
    }
    void aRecordItCannotKeepNeverStopsTheTest()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(int, rows);
        RecordFile f;
        WordTestDrive d(ThreePairs);
        QSqlDatabase locker;
        if (kind == "read-only") {
            history::Store{f.path};
            if (!makeReadOnly(f.path))
                QSKIP("this file system lets root write any file");
        } else if (kind == "damaged") {
            writeBytes(f.path, QByteArray(4096, '\x01'));
        }
        d.h.program.history().setPath(f.path);
        d.h.program.history().setRecording(kind != "off");
        d.start(0);
        d.answer("house", 1);
        if (kind == "locked") {
            locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
            locker.setDatabaseName(f.path);
            QVERIFY(locker.open() && QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
        }
        d.answer("dgo", 2);
        d.continueAfterWrong();
        QCOMPARE(d.question(), QString("kass"));
        d.answer("cat");
        const QStringList shown = messages(d);
        QCOMPARE(shown.size(), message.isEmpty() ? 0 : 1);
        QVERIFY2(
            message.isEmpty()
                || (shown[0].startsWith(QString::number(int(MessageIcon::Critical))) && shown[0].contains(message)),
            qPrintable(shown.join("")));
        QCOMPARE(QString("%1 answered, %2 wrong, results %3")
                     .arg(d.state().AnsweredCount)
                     .arg(d.state().WrongCount)
                     .arg(d.results() != nullptr),
                 QString("3 answered, 1 wrong, results 1"));
        locker.close();
        QSqlDatabase::removeDatabase("locker");
        if (kind == "read-only")
            makeReadOnly(f.path, false);
        QCOMPARE(QFile::exists(f.path) ? f.answers().size() : 0, rows);
        QVERIFY(kind != "off" || !QFile::exists(f.path));
    }
};

QTEST_MAIN(HistoryWindowsTest)
#include "test_history_windows.moc"
