#include "support/Harness.h"
#include "ui/about/About.h"
#include "ui/main/Main.h"
#include "ui/toolkit/QtPlatform.h"

#include "ui_About.h"
#include "ui_Main.h"

#include <QtTest>

#include <QFile>
#include <QTemporaryDir>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

// Remembers how keys were asked for; the scripted registry itself ignores it.
class AccessRecordingPlatform : public ScriptedPlatform {
public:
    long regOpenKeyEx(std::uint32_t root, const QString& subKey, std::uint32_t options,
                      std::uint32_t access, reg::Handle* key) override
    {
        roots.push_back(root);
        optionsSeen.push_back(options);
        accesses.push_back(access);
        return ScriptedPlatform::regOpenKeyEx(root, subKey, options, access, key);
    }
    std::vector<std::uint32_t> roots, optionsSeen, accesses;
};

ScriptedPlatform::RegValue raw(std::uint32_t type, const QByteArray& bytes) { return {type, bytes}; }

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

    // Main up, then the About box opened from its menu.
    static About& openAbout(Harness& h)
    {
        Main& m = h.program.show<Main>();
        m.ui->MAbout->trigger();
        About* a = h.program.loaded<About>();
        Q_ASSERT(a);
        return *a;
    }

    static void clickSysInfo(About& a) { QTest::mouseClick(a.ui->cmdSysInfo, Qt::LeftButton); }

private slots:
    void showsItsTextsAndHidesMain()
    {
        Harness h;
        About& a = openAbout(h);
        QVERIFY(a.isVisible());
        QVERIFY(h.program.loaded<Main>());
        QVERIFY(!h.program.loaded<Main>()->isVisible());

        QCOMPARE(a.windowTitle(), QString("About Vorbix"));
        QCOMPARE(a.ui->lblTitle->text(), QString("Vorbix"));
        QCOMPARE(a.ui->lblVersion->text(), QString("Version 1.4.0"));
        QCOMPARE(a.ui->lblDescription->text(),
                 QString("Quorvel is a program for learning correct spelling of foreign languages. "));
        QCOMPARE(a.ui->Label1->text(), " E-Mail: " + About::contactAddress());
        QCOMPARE(a.ui->Label1->toolTip(), QString(" Double-click the aadress to get it into the clipboard"));
        QVERIFY(a.ui->Label2->text().contains("the Vorbix team"));
        QVERIFY(!a.ui->lblDisclaimer->text().trimmed().isEmpty());
        QCOMPARE(a.ui->cmdSysInfo->text(), QString("&System Info..."));
        QVERIFY(a.ui->cmdOK->isDefault());
        QVERIFY(!a.ui->picIcon->pixmap().isNull());
        QVERIFY(!a.ui->picIcon->accessibleName().isEmpty());

        // A fixed dialog frame with a close box only.
        QCOMPARE(a.size(), QSize(384, 295));
        QCOMPARE(a.minimumSize(), a.maximumSize());
        QVERIFY(a.windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(a.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void everyWayOutBringsMainBack_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("OK") << "ok";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("keypad Enter") << "keypad";
        QTest::newRow("Esc") << "esc";
        QTest::newRow("Esc on the other button") << "esc-sysinfo";
        QTest::newRow("close box") << "close";
    }

    void everyWayOutBringsMainBack()
    {
        QFETCH(QString, way);
        Harness h;
        About& a = openAbout(h);
        Main* m = h.program.loaded<Main>();
        QVERIFY(!m->isVisible());

        if (way == "ok")
            QTest::mouseClick(a.ui->cmdOK, Qt::LeftButton);
        else if (way == "enter")
            QTest::keyClick(a.ui->cmdOK, Qt::Key_Return);
        else if (way == "keypad")
            QTest::keyClick(&a, Qt::Key_Enter, Qt::KeypadModifier);
        else if (way == "esc")
            QTest::keyClick(&a, Qt::Key_Escape);
        else if (way == "esc-sysinfo")
            QTest::keyClick(a.ui->cmdSysInfo, Qt::Key_Escape);
        else
            a.close();

        QVERIFY(a.isUnloaded());
        QVERIFY(!h.program.loaded<About>());
        QCOMPARE(h.program.loaded<Main>(), m); // the same main window, not a new one
        QVERIFY(m->isVisible());
        QCOMPARE(h.platform.ended, 0);
        QVERIFY(h.platform.started.isEmpty());
        QVERIFY(h.platform.messages.empty());
        Harness::flush();
    }

    void enterOnTheFocusedSysInfoButtonPressesThatButton()
    {
        Harness h;
        About& a = openAbout(h);
        QTest::keyClick(a.ui->cmdSysInfo, Qt::Key_Return);
        QCOMPARE(h.platform.messages.size(), size_t(1));
        QVERIFY(h.program.loaded<About>());
        QVERIFY(!h.program.loaded<Main>()->isVisible());
    }

    void closingWithoutAMainWindowLoadsOne()
    {
        // The About box alone must not end the program when it goes.
        Harness h;
        h.program.show<About>();
        QVERIFY(!h.program.loaded<Main>());
        h.program.loaded<About>()->close();
        QVERIFY(h.program.loaded<Main>());
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QCOMPARE(h.platform.ended, 0);
        Harness::flush();
    }

    void reopeningStartsAfresh()
    {
        Harness h;
        About* first = &openAbout(h);
        QTest::keyClick(first, Qt::Key_Escape);
        Harness::flush();
        About& second = openAbout(h);
        QVERIFY(!second.isUnloaded());
        QVERIFY(!h.program.loaded<Main>()->isVisible());
        QTest::keyClick(&second, Qt::Key_Escape);
        QVERIFY(h.program.loaded<Main>()->isVisible());
        QVERIFY(!h.program.loaded<About>());
        Harness::flush();
    }

    void doubleClickCopiesExactlyTheAddress()
    {
        Harness h;
        About& a = openAbout(h);
        h.platform.clipboard = "something copied before";
        QTest::mouseDClick(a.ui->Label1, Qt::LeftButton);
        QCOMPARE(h.platform.clipboard, About::contactAddress());
        QCOMPARE(h.platform.clipboardClears, 1);
        QVERIFY(!h.platform.clipboard.contains("E-Mail"));
        QVERIFY(h.platform.clipboard.contains('@'));
        QVERIFY(!h.platform.clipboard.startsWith(' '));
        QVERIFY(h.program.loaded<About>());
    }

    void firstValueStartsThatProgram()
    {
        AccessRecordingPlatform p;
        Program program(p);
        About& a = program.show<About>();
        const QString path = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
        p.setRegistryValue(InfoKey, "PATH", path);
        p.setRegistryValue(LocationKey, "MSINFO", "D:\\elsewhere");
        p.addExistingFile("D:\\elsewhere\\MSINFO32.EXE");

        clickSysInfo(a);
        QCOMPARE(p.started, QStringList{path});
        QCOMPARE(p.openedKeys, QStringList{InfoKey});
        QVERIFY(p.messages.empty());
        QCOMPARE(p.openKeyCount, 0);
        QCOMPARE(p.roots, std::vector<std::uint32_t>{0x80000002u});
        QCOMPARE(p.optionsSeen, std::vector<std::uint32_t>{0u});
        QCOMPARE(p.accesses, std::vector<std::uint32_t>{0x2003Fu});

        // It may be started again; the box stays as it was.
        clickSysInfo(a);
        QCOMPARE(p.started, (QStringList{path, path}));
        QVERIFY(a.isVisible());
        QVERIFY(!a.isUnloaded());
    }

    void secondValueNeedsTheProgramFile()
    {
        {
            Harness h;
            About& a = openAbout(h);
            h.platform.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            clickSysInfo(a);
            QCOMPARE(h.platform.openedKeys, (QStringList{InfoKey, LocationKey}));
            QVERIFY(h.platform.started.isEmpty());
            QCOMPARE(h.platform.messages.size(), size_t(1));
            QCOMPARE(h.platform.messages[0].text, Unavailable);
            QCOMPARE(h.platform.messages[0].icon, MessageIcon::None);
            QCOMPARE(h.platform.openKeyCount, 0);
            QVERIFY(h.program.loaded<About>());
        }
        {
            Harness h;
            About& a = openAbout(h);
            h.platform.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            h.platform.addExistingFile("C:\\Tools\\MSInfo\\MSINFO32.EXE");
            clickSysInfo(a);
            QCOMPARE(h.platform.started, QStringList{"C:\\Tools\\MSInfo\\MSINFO32.EXE"});
            QVERIFY(h.platform.messages.empty());
            QCOMPARE(h.platform.openKeyCount, 0);
        }
        {
            // The first key there but without its value still falls back.
            Harness h;
            About& a = openAbout(h);
            h.platform.setRegistryValue(InfoKey, "Other", "C:\\nothing.exe");
            h.platform.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            h.platform.addExistingFile("C:\\Tools\\MSInfo\\MSINFO32.EXE");
            clickSysInfo(a);
            QCOMPARE(h.platform.started, QStringList{"C:\\Tools\\MSInfo\\MSINFO32.EXE"});
            QCOMPARE(h.platform.openKeyCount, 0);
        }
    }

    void failuresEndInTheMessage()
    {
        {
            // Nothing in the registry at all: both keys are tried, in order.
            Harness h;
            About& a = openAbout(h);
            clickSysInfo(a);
            QCOMPARE(h.platform.openedKeys, (QStringList{InfoKey, LocationKey}));
            QCOMPARE(h.platform.messages.size(), size_t(1));
            QCOMPARE(h.platform.messages[0].text, Unavailable);
        }
        {
            // A named program that will not start: no second lookup.
            Harness h;
            About& a = openAbout(h);
            h.platform.setRegistryValue(InfoKey, "PATH", "C:\\broken\\msinfo32.exe");
            h.platform.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            h.platform.addExistingFile("C:\\Tools\\MSInfo\\MSINFO32.EXE");
            h.platform.setStartSucceeds(false);
            clickSysInfo(a);
            QCOMPARE(h.platform.openedKeys, QStringList{InfoKey});
            QVERIFY(h.platform.started.isEmpty());
            QCOMPARE(h.platform.messages.size(), size_t(1));
            QCOMPARE(h.platform.messages[0].text, Unavailable);
            QCOMPARE(h.platform.openKeyCount, 0);
            QVERIFY(h.program.loaded<About>()->isVisible());
        }
        {
            // The fallback program found but failing to start.
            Harness h;
            About& a = openAbout(h);
            h.platform.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            h.platform.addExistingFile("C:\\Tools\\MSInfo\\MSINFO32.EXE");
            h.platform.setStartSucceeds(false);
            clickSysInfo(a);
            QCOMPARE(h.platform.messages.size(), size_t(1));
            QCOMPARE(h.platform.messages[0].text, Unavailable);
        }
        {
            // An empty path read from the first key is nothing to start.
            Harness h;
            About& a = openAbout(h);
            h.platform.setRegistryValue(InfoKey, "PATH", QString());
            clickSysInfo(a);
            QVERIFY(h.platform.started.isEmpty());
            QCOMPARE(h.platform.openedKeys, QStringList{InfoKey});
            QCOMPARE(h.platform.messages.size(), size_t(1));
        }
    }

    void valueMustFitTheBuffer()
    {
        // 1023 characters and the NUL fill the 1024 bytes exactly.
        {
            Harness h;
            About& a = openAbout(h);
            const QString fits = "C:\\" + QString(1020, 'a');
            QCOMPARE(fits.size(), 1023);
            h.platform.setRegistryValue(InfoKey, "PATH", fits);
            clickSysInfo(a);
            QCOMPARE(h.platform.started, QStringList{fits});
        }
        {
            Harness h;
            About& a = openAbout(h);
            const QString tooLong = "C:\\" + QString(1021, 'a');
            h.platform.setRegistryValue(InfoKey, "PATH", tooLong);
            clickSysInfo(a);
            QVERIFY(h.platform.started.isEmpty());
            QCOMPARE(h.platform.openedKeys, (QStringList{InfoKey, LocationKey}));
            QCOMPARE(h.platform.messages.size(), size_t(1));
            QCOMPARE(h.platform.openKeyCount, 0);
        }
        {
            // The same limit on the folder of the fallback.
            Harness h;
            About& a = openAbout(h);
            const QString folder(1024, 'b');
            h.platform.setRegistryValue(LocationKey, "MSINFO", folder);
            h.platform.addExistingFile(folder + "\\MSINFO32.EXE");
            clickSysInfo(a);
            QVERIFY(h.platform.started.isEmpty());
            QCOMPARE(h.platform.messages.size(), size_t(1));
        }
    }

    void getKeyValueByType()
    {
        Harness h;
        About& a = openAbout(h);
        auto read = [&](const QString& name, QString& out) {
            quint32 root = 0x80000002u;
            QString key = "SOFTWARE\\Test";
            QString value = name;
            return a.GetKeyValue(root, key, value, out);
        };
        h.platform.setRegistryValue("SOFTWARE\\Test", "Text", "C:\\Süsteem\\info.exe");
        h.platform.setRegistryValue("SOFTWARE\\Test", "NoNul", raw(1, "plain"));
        h.platform.setRegistryValue("SOFTWARE\\Test", "Small", raw(4, QByteArray("\x2A\0\0\0", 4)));
        h.platform.setRegistryValue("SOFTWARE\\Test", "Big", raw(4, QByteArray("\x02\0\0\x80", 4)));
        h.platform.setRegistryValue("SOFTWARE\\Test", "Binary", raw(3, QByteArray("\1\2\3", 3)));

        QString out = "stale";
        QVERIFY(read("Text", out));
        QCOMPARE(out, QString("C:\\Süsteem\\info.exe")); // through the 8-bit code page and back
        QVERIFY(read("NoNul", out));
        QCOMPARE(out, QString("plain"));
        QVERIFY(read("Small", out));
        QCOMPARE(out, QString("&h2A"));
        QVERIFY(read("Big", out));
        QCOMPARE(out, QString("&h80000002"));

        // Another type is read but leaves the text alone.
        out = "kept";
        QVERIFY(read("Binary", out));
        QCOMPARE(out, QString("kept"));

        // Not read: the text is emptied.
        QVERIFY(!read("Missing", out));
        QCOMPARE(out, QString());
        out = "stale";
        quint32 otherRoot = 0x80000001u;
        QString key = "SOFTWARE\\Test", value = "Text";
        QVERIFY(!a.GetKeyValue(otherRoot, key, value, out));
        QCOMPARE(out, QString());

        QCOMPARE(h.platform.openKeyCount, 0);
        QCOMPARE(h.platform.openedKeys.size(), 7);
    }

#ifndef Q_OS_WIN
    // Without a registry the first lookup is answered from PATH; the About
    // box itself knows nothing of that.
    void desktopProgramFoundOnPath()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString marker = dir.filePath("ran");
        auto fake = [&](const QString& name) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\necho " + name.toUtf8() + " > '" + marker.toUtf8() + "'\n");
            f.close();
            f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
        };
        fake("lxtask");
        fake("hardinfo");
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()));
        const auto restore = qScopeGuard([&] { qputenv("PATH", savedPath); });

        QtPlatform qt;
        reg::Handle key = 0;
        QCOMPARE(qt.regOpenKeyEx(reg::HKEY_LOCAL_MACHINE, LocationKey, 0, reg::KEY_ALL_ACCESS, &key),
                 reg::ERROR_FILE_NOT_FOUND);
        QCOMPARE(qt.regOpenKeyEx(reg::HKEY_LOCAL_MACHINE, InfoKey, 0, reg::KEY_ALL_ACCESS, &key),
                 reg::ERROR_SUCCESS);
        QByteArray small(4, '\0');
        std::uint32_t size = 4, type = 0;
        QCOMPARE(qt.regQueryValueEx(key, "PATH", &type, &small, &size), reg::ERROR_MORE_DATA);
        QCOMPARE(qt.regQueryValueEx(key, "MSINFO", &type, &small, &size), reg::ERROR_FILE_NOT_FOUND);
        QCOMPARE(qt.regCloseKey(key), reg::ERROR_SUCCESS);

        // The earlier of the two in the list wins, and it really runs.
        Program program(qt);
        About& a = program.show<About>();
        clickSysInfo(a);
        auto ran = [&] {
            QFile out(marker);
            return out.open(QIODevice::ReadOnly) ? out.readAll().trimmed() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(ran(), QByteArray("hardinfo"), 5000);
        QVERIFY(!a.isUnloaded());
        Harness::flush();
    }
#endif
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
