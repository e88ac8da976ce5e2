#include "history/History.h"
#include "state/CommandLine.h"
#include "support/Files.h"
#include "support/HistoryFiles.h"
#include "support/Harness.h"
#include "ui/main/Algus.h"
#include "ui/main/Main.h"

#include <QLabel>
#include <QProcess>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

QString banner(Algus& splash) { return splash.findChild<QLabel*>("Label1")->text(); }

// The title, the pairs and the current file, with the scratch folder as "~".
QString shownAfter(FolderHarness& h)
{
    const MOODUL1& s = h.program.state();
    QStringList pairs;
    for (int i = 0; i <= s.LastWordIndex; ++i)
        pairs << s.KnownWords[i] + "=" + s.UnknownWords[i];
    const QString file = QString(s.CurrentFile).replace(h.folder.path(), "~");
    return h.program.loaded<Main>()->windowTitle() + " | " + pairs.join(' ') + " | " + file;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    // The built program itself, with no display of any kind to be had:
    // arguments, exit code, and what it prints and what it prints as errors.
    void answersWithoutADisplay()
    {
        const std::tuple<QStringList, int, QString, QString> rows[] = {
            {{"--version"}, 0, "Vorbix 1.4.0\n", ""},
            {{"-h", "words.dic"}, 0, "[options] [FILE]", ""},
            {{"--help"}, 0, "KVTML (KWordQuiz, Parley), CSV", ""},
            {{"--bogus"}, 1, "", "Unknown option 'bogus'."},
            {{"a.dic", "b.dic"}, 1, "", "Only one file"},
            {{"a.dic"}, 2, "", "no display found"}};
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        for (const auto& [arguments, exitCode, out, err] : rows) {
            QProcess program;
            program.setProcessEnvironment(env);
            program.start(QStringLiteral(VORBIX_BINARY), arguments);
            const QString row = arguments.join(' ') + ": ";
            QVERIFY2(program.waitForFinished(20000), qPrintable(row + "the program did not end by itself"));
            const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
            const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
            QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == exitCode,
                     qPrintable(row + QString::number(program.exitCode())));
            QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.contains(out), qPrintable(row + stdOut));
            QVERIFY2(stdErr.contains(err), qPrintable(row + stdErr));
        }
    }

    // --history FILE: each pair of the list as its file holds it, with what
    // the record holds for its two words (here answered under the list's old
    // name), as tab-separated text; no display, and the record neither made
    // nor changed.
    void printsTheRecordOfAListWithoutADisplay_data()
    {
        QTest::addColumn<QString>("recordKind"); // none, kept, newer
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QByteArray list("maja\r\nhouse\r\nkoer\r\ndog\r\nsay \"hi\"\r\nta\tb\r\n");
        const QString header = "known\tunknown\tasked\tright\tlast_asked\tlast_answer\tlast_outcome\n";
        QTest::newRow("no record yet") << "none" << list << 0
                                       << header
                + "maja\thouse\t0\t0\t\t\t\nkoer\tdog\t0\t0\t\t\t\n"
                  "\"say \"\"hi\"\"\"\t\"ta\tb\"\t0\t0\t\t\t\n"
                                       << "";
        QTest::newRow("answers recorded under another name") << "kept" << list << 0
                                                             << header
                + "maja\thouse\t2\t1\t2027-01-15T08:00:00Z\those\twrong\nkoer\tdog\t0\t0\t\t\t\n"
                  "\"say \"\"hi\"\"\"\t\"ta\tb\"\t1\t0\t2027-01-15T08:00:00Z\t\ttimed-out\n"
                                                             << "";
        QTest::newRow("a list that cannot be read") << "kept" << QByteArray("a\r\n") << 3 << ""
                                                    << "cannot be read as a word list: ERROR 62 occurred.";
        QTest::newRow("a record from a newer Vorbix") << "newer" << list << 4 << ""
                                                      << "newer Vorbix";
    }
    void printsTheRecordOfAListWithoutADisplay()
    {
        QFETCH(QString, recordKind);
        QFETCH(QByteArray, list);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        RecordFile record;
        const QTemporaryDir& dir = record.dir;
        record.path = dir.filePath("data/Vorbix/history.sqlite");
        const QDateTime at = QDateTime::fromString("2027-01-15T08:00:00Z", Qt::ISODate);
        const QString old = dir.filePath("old name.dic");
        for (const history::Answer& a :
             {history::Answer{at, old, "maja", "house", {}, {}, "house"},
              history::Answer{at, old, "say \"hi\"", "ta\tb", {}, {}, "", history::Outcome::TimedOut},
              history::Answer{at, old, "maja", "house", {}, {}, "hose", history::Outcome::Wrong},
              history::Answer{at, old, "maja", "hose", {}, {}, "x", history::Outcome::Wrong}})
            QVERIFY(recordKind == "none" || history::Store(record.path).record(a));
        QVERIFY(recordKind != "newer" || record.write({"PRAGMA user_version = 7"}));
        const QString recordPath = record.path;
        writeBytes(dir.filePath("words.dic"), list);
        const QByteArray recordBefore = readBytes(recordPath);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(VORBIX_BINARY), {"--history", "words.dic"});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), exitCode);
        QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), out);
        const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
        QCOMPARE(readBytes(recordPath), recordBefore);
    }

    // Arguments and the file they name, from /home/mari/lists.
    void fileIsTakenFromTheWorkingDirectory()
    {
        const std::pair<QStringList, QString> rows[] = {{{}, ""},
                                                        {{"../old/words.dic"}, "/home/mari/old/words.dic"},
                                                        {{"/tmp/words.dic"}, "/tmp/words.dic"},
                                                        {{"--", "-x.dic"}, "/home/mari/lists/-x.dic"}};
        for (const auto& [arguments, file] : rows) {
            CommandLine commandLine;
            const QString row = "\"" + arguments.join(' ') + "\": ";
            const bool parsed = commandLine.parse(QStringList{"vorbix"} + arguments);
            QVERIFY2(parsed, qPrintable(row + commandLine.errorText()));
            const QString got = commandLine.file("/home/mari/lists");
            QVERIFY2(!commandLine.wantsHelp() && !commandLine.wantsVersion() && got == file, qPrintable(row + got));
            QVERIFY2(!commandLine.wantsNoHistory() && commandLine.historyFile("/home/mari/lists").isEmpty(),
                     qPrintable(row));
        }
        // The record's options, with and beside a file.
        const std::tuple<QStringList, bool, QString, QString> options[] = {
            {{"--no-history", "a.dic"}, true, "", "/home/mari/lists/a.dic"},
            {{"--history", "../b.dic"}, false, "/home/mari/b.dic", ""},
            {{"--history=/tmp/c.dic"}, false, "/tmp/c.dic", ""}};
        for (const auto& [arguments, off, history, file] : options) {
            CommandLine commandLine;
            QVERIFY(commandLine.parse(QStringList{"vorbix"} + arguments));
            QCOMPARE(commandLine.wantsNoHistory(), off);
            QCOMPARE(commandLine.historyFile("/home/mari/lists"), history);
            QCOMPARE(commandLine.file("/home/mari/lists"), file);
        }
    }

    // The splash gives way to the main window after 2006 ms (keys that type
    // nothing do not hurry it), or at once on a click or a key that types.
    // Then the file named on the command line is opened as File > Open does,
    // all or nothing.
    void splashHandsOver_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QByteArray>("file"); // empty: none named
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("outcome");
        const QString none = "Vorbix - Untitled.dic | = | ~/Untitled.dic";
        const QString opened = "English Quorvel - name.dic | hea=good x-ray=r\u00F6ntgen | ~/name.dic";
        const QByteArray good("hea\r\ngood\r\nx}ray\r\nr\xF6ntgen\r\n");
        QTest::newRow("the clock, past keys that type nothing") << "clock" << QByteArray() << "" << none;
        QTest::newRow("a click") << "click" << QByteArray() << "" << none;
        QTest::newRow("a click on the banner") << "Label1" << QByteArray() << "" << none;
        QTest::newRow("a click on the credit") << "Label2" << QByteArray() << "" << none;
        QTest::newRow("a letter") << "x" << QByteArray() << "" << none;
        QTest::newRow("Enter") << "Enter" << QByteArray() << "" << none;
        QTest::newRow("a good file by the clock") << "clock" << good << "" << opened;
        QTest::newRow("a good file by a click") << "click" << good << "" << opened;
        QTest::newRow("a missing file") << "clock" << QByteArray("missing")
                                        << "ERROR 53: There is no such a file!~/name.dic" << none;
        QTest::newRow("odd line count") << "clock" << QByteArray("a\r\nb\r\nc\r\n") << "ERROR 62 occurred." << none;
        QTest::newRow("a folder") << "click" << QByteArray("folder") << "ERROR 75 occurred." << none;
    }
    void splashHandsOver()
    {
        QFETCH(QString, way);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        QFETCH(QString, outcome);
        FolderHarness h;
        if (file == "folder")
            QVERIFY(QDir(h.folder.path()).mkdir("name.dic"));
        else if (file != "missing" && !file.isEmpty())
            writeBytes(h.file("name.dic"), file);
        h.program.setStartupFile(file.isEmpty() ? QString() : h.file("name.dic"));
        Algus& splash = h.program.show<Algus>();
        if (way == "clock") {
            for (Qt::Key k : {Qt::Key_Left, Qt::Key_F1, Qt::Key_Shift, Qt::Key_Control})
                QTest::keyClick(&splash, k);
            // The banner steps on a growing interval: 500, 501, 502, 503 ms.
            const std::pair<int, QString> steps[] = {
                {1000, "Vorbix ver 1.4.0"},  {1001, "Made by"},           {1502, "Made by"},
                {1503, Algus::authorName()}, {2005, Algus::authorName()}, {2006, "Click the window to continiue"}};
            for (const auto& [at, text] : steps) {
                h.platform.advance(at - int(h.platform.now()));
                const bool handedOver = h.program.loaded<Main>();
                QVERIFY2(banner(splash) == text && handedOver == (at == 2006),
                         qPrintable(QString("at %1 ms: %2").arg(at).arg(banner(splash))));
            }
        } else {
            if (way == "click")
                QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(20, 20));
            else if (way.startsWith("Label"))
                QTest::mouseClick(splash.findChild<QLabel*>(way), Qt::LeftButton);
            else
                QTest::keyClick(&splash, way == "Enter" ? Qt::Key_Return : Qt::Key_X);
            QCOMPARE(banner(splash), QString("Vorbix ver 1.4.0"));
        }
        Harness::flush();
        h.platform.advance(10000);
        QVERIFY(!h.program.loaded<Algus>() && h.program.loadedCount() == 1);
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QCOMPARE(h.platform.ended, 0);
        QCOMPARE(h.platform.dialogs.size(), size_t(0));
        QStringList messages;
        for (const auto& m : h.platform.messages)
            messages << QString(m.text).replace(h.folder.path(), "~");
        QCOMPARE(messages.join('\n'), message);
        QCOMPARE(shownAfter(h), outcome);
    }
};

QTEST_MAIN(CommandLineTest)
#include "test_command_line.moc"
