#include "state/CommandLine.h"

#include <QProcess>
#include <QtTest>

using namespace vorbix;

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
};

QTEST_MAIN(CommandLineTest)
#include "test_command_line.moc"
