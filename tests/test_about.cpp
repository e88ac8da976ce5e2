#include "support/Harness.h"
#include "ui/about/About.h"
#include "ui/main/Main.h"
#include "ui_About.h"
#include "ui_Main.h"

#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString LocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Fallback = QStringLiteral("C:\\Tools\\MSInfo\\MSINFO32.EXE");
}

class AboutTest : public QObject {
    Q_OBJECT

    // Main up, then the About box opened from its menu.
    static About& openAbout(Harness& h)
    {
        h.program.show<Main>().ui->MAbout->trigger();
        About* a = h.program.loaded<About>();
        Q_ASSERT(a);
        return *a;
    }

private slots:
    void cleanup() { Harness::flush(); }

    void wayOutBringsMainBack()
    {
        for (const char* way : {"OK", "Esc", "close box"}) {
            Harness h;
            About& a = openAbout(h);
            Main* m = h.program.loaded<Main>();
            QVERIFY2(a.isVisible() && !m->isVisible(), way);
            if (way == QLatin1String("OK"))
                QTest::mouseClick(a.ui->cmdOK, Qt::LeftButton);
            else if (way == QLatin1String("Esc"))
                QTest::keyClick(&a, Qt::Key_Escape);
            else
                a.close();
            QVERIFY2(!h.program.loaded<About>() && h.program.loaded<Main>() == m && m->isVisible(), way);
            QCOMPARE(h.platform.ended, 0);
            Harness::flush();
        }
    }

    void doubleClickCopiesExactlyTheAddress()
    {
        Harness h;
        About& a = openAbout(h);
        h.platform.clipboard = "something copied before";
        QTest::mouseDClick(a.ui->Label1, Qt::LeftButton);
        QCOMPARE(h.platform.clipboard, About::contactAddress());
        QVERIFY(h.platform.clipboard.contains('@') && !h.platform.clipboard.contains(' '));
    }

    // The first key's value is started as it is; without it the second key
    // names a folder that must hold MSINFO32.EXE; else a message. Every key
    // opened is closed again.
    void systemInfoLookups()
    {
        struct Row {
            const char* name; QString first; bool fallbackFile; QStringList keys; QString started;
        };
        const QString named = "C:\\Program Files\\msinfo32.exe", tooLong = "C:\\" + QString(1021, 'a');
        const Row rows[] = {
            {"first value", named, true, {InfoKey}, named},
            {"value filling the buffer", "C:\\" + QString(1020, 'a'), false, {InfoKey}, "C:\\" + QString(1020, 'a')},
            {"second, file there", {}, true, {InfoKey, LocationKey}, Fallback},
            {"second, file missing", {}, false, {InfoKey, LocationKey}, {}},
            {"first value too long", tooLong, true, {InfoKey, LocationKey}, Fallback},
        };
        for (const Row& r : rows) {
            Harness h;
            About& a = openAbout(h);
            if (!r.first.isNull())
                h.platform.setRegistryValue(InfoKey, "PATH", r.first);
            h.platform.setRegistryValue(LocationKey, "MSINFO", "C:\\Tools\\MSInfo");
            if (r.fallbackFile)
                h.platform.addExistingFile(Fallback);
            QTest::mouseClick(a.ui->cmdSysInfo, Qt::LeftButton);
            QVERIFY2(h.platform.openedKeys == r.keys, r.name);
            QVERIFY2(h.platform.started == (r.started.isEmpty() ? QStringList() : QStringList{r.started}), r.name);
            QVERIFY2(h.platform.messages.size() == (r.started.isEmpty() ? 1u : 0u), r.name);
            if (r.started.isEmpty())
                QCOMPARE(h.platform.messages[0].text, QString("System Information Is Unavailable At This Time"));
            QVERIFY2(h.platform.openKeyCount == 0, r.name);
            QVERIFY(h.program.loaded<About>());
            Harness::flush();
        }
    }
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
