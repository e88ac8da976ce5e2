#include "state/CommandLine.h"
#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Algus.h"
#include "ui/main/Main.h"

#include <QProcess>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// What a refused file must leave as the splash left it.
QStringList snapshot(Harness& h)
{
    const MOODUL1& s = h.program.state();
    QStringList all{h.program.form<Main>().windowTitle(), s.CurrentFile, QString::number(s.LastWordIndex)};
    for (int i = 0; i < 3; ++i)
        all << s.KnownWords[i] << s.UnknownWords[i];
    return all;
}

// Starts the program as main() does, with this file named on the command
// line, and lets the splash hand over: by the clock, or by a click.
void start(Harness& h, const QString& file, bool click)
{
    h.program.setStartupFile(file);
    Algus& splash = h.program.show<Algus>();
    if (click) {
        QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(20, 20));
    } else {
        h.platform.advance(2005);
        QVERIFY(!h.program.loaded<Main>());
        QVERIFY(h.platform.messages.empty());
        h.platform.advance(1);
    }
    QVERIFY(!h.program.loaded<Algus>());
    QVERIFY(h.program.loaded<Main>() && h.program.loaded<Main>()->isVisible());
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    // The built program itself, with no display of any kind to be had.
    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // exact; "*" + text: holds the text
        QTest::addColumn<QString>("err"); // holds this text
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "Vorbix 1.4.0\n" << "";
        QTest::newRow("-v") << QStringList{"-v"} << 0 << "Vorbix 1.4.0\n" << "";
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "*[options] [FILE]" << "";
        QTest::newRow("-h with a file") << QStringList{"-h", "words.dic"} << 0 << "*--version" << "";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 1 << "" << "Unknown option 'bogus'.";
        QTest::newRow("two files") << QStringList{"a.dic", "b.dic"} << 1 << "" << "Only one file";
        QTest::newRow("a file needs a display") << QStringList{"a.dic"} << 2 << "" << "no display found";
    }
    void answersWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VORBIX_BINARY), arguments);
        QVERIFY2(program.waitForFinished(20000), "the program did not end by itself");
        const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        if (out.startsWith('*'))
            QVERIFY2(stdOut.contains(out.mid(1)), qPrintable(stdOut));
        else
            QCOMPARE(stdOut, out);
        QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
    }

    void fileIsTakenFromTheWorkingDirectory_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("relative") << QStringList{"words.dic"} << "/home/mari/lists/words.dic";
        QTest::newRow("relative, up") << QStringList{"../old/words.dic"} << "/home/mari/old/words.dic";
        QTest::newRow("absolute") << QStringList{"/tmp/words.dic"} << "/tmp/words.dic";
        QTest::newRow("after --") << QStringList{"--", "-x.dic"} << "/home/mari/lists/-x.dic";
    }
    void fileIsTakenFromTheWorkingDirectory()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        CommandLine commandLine;
        QVERIFY2(commandLine.parse(QStringList{"vorbix"} + arguments), qPrintable(commandLine.errorText()));
        QVERIFY(!commandLine.wantsHelp() && !commandLine.wantsVersion());
        QCOMPARE(commandLine.file("/home/mari/lists"), file);
    }

    void splashHandsTheFileToTheMainWindow_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no such file
        QTest::addColumn<bool>("click");
        QTest::addColumn<QString>("message"); // empty: the file opens
        const QByteArray good("hea\r\ngood\r\nx}ray\r\nr\xF6ntgen\r\n");
        QTest::newRow("good, by the clock") << good << false << "";
        QTest::newRow("good, by a click") << good << true << "";
        QTest::newRow("missing") << QByteArray() << false << "ERROR 53: There is no such a file!";
        QTest::newRow("odd lines") << QByteArray("a\r\nb\r\nc\r\n") << false << "ERROR 62 occurred.";
        QTest::newRow("a folder") << QByteArray("folder") << true << "ERROR 75 occurred.";
    }
    void splashHandsTheFileToTheMainWindow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, click);
        QFETCH(QString, message);
        FolderHarness h;
        const QString path = h.file("name.dic");
        if (bytes == "folder")
            QVERIFY(QDir(h.folder.path()).mkdir("name.dic"));
        else if (!bytes.isEmpty())
            writeBytes(path, bytes);

        start(h, path, click);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(h.platform.dialogs.size(), size_t(0));
        QCOMPARE(h.platform.ended, 0);
        const MOODUL1& s = h.program.state();
        if (message.isEmpty()) {
            QVERIFY(h.platform.messages.empty());
            QCOMPARE(h.program.form<Main>().windowTitle(), QStringLiteral("English Quorvel - name.dic"));
            QCOMPARE(s.CurrentFile, path);
            QCOMPARE(s.LastWordIndex, std::int16_t(1));
            QCOMPARE(s.KnownWords[0], QStringLiteral("hea"));
            QCOMPARE(s.UnknownWords[0], QStringLiteral("good"));
            QCOMPARE(s.KnownWords[1], QStringLiteral("x-ray"));
            QCOMPARE(s.UnknownWords[1], QStringLiteral("r\u00F6ntgen"));
            return;
        }
        QCOMPARE(h.platform.messages.size(), size_t(1));
        QCOMPARE(h.platform.messages[0].text, message + (bytes.isEmpty() ? path : QString()));
        // Nothing of the file was taken: as if no file had been named.
        FolderHarness plain;
        plain.platform.setCurrentDirectory(h.folder.path());
        start(plain, QString(), click);
        QCOMPARE(snapshot(h), snapshot(plain));
        QCOMPARE(h.program.form<Main>().windowTitle(), QStringLiteral("Vorbix - Untitled.dic"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "test_command_line.moc"
