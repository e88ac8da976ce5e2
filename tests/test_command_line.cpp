#include "state/CommandLine.h"
#include "support/Files.h"
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
