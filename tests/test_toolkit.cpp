#include "support/Harness.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Timer.h"

#include <QFontInfo>

#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// Two throwaway windows that record their handlers.
struct Log {
    QStringList events;
};
Log* gLog = nullptr;

class WinA : public Form {
public:
    explicit WinA(Program& p) : Form(p) {}
    void Form_Load() override { gLog->events << "A load"; }
    void Form_Unload() override { gLog->events << "A unload"; }
};

class WinB : public Form {
public:
    explicit WinB(Program& p) : Form(p) {}
    void Form_Load() override { gLog->events << "B load"; }
    void Form_Unload() override
    {
        gLog->events << "B unload";
        if (onUnload)
            onUnload();
    }
    std::function<void()> onUnload;
};

// Unloads itself while it is still loading, as a window opened from a load
// handler may do.
class SelfClosing : public Form {
public:
    explicit SelfClosing(Program& p) : Form(p) {}
    void Form_Load() override { Unload(); }
};

} // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private slots:
    void init() { gLog = &log_; log_.events.clear(); }

    void windowLifeCycle()
    {
        Harness h;
        QVERIFY(!h.program.loaded<WinA>());
        WinA& a = h.program.form<WinA>();
        WinA& again = h.program.form<WinA>();
        QCOMPARE(&a, &again);
        QCOMPARE(log_.events, QStringList{"A load"});
        QVERIFY(!a.isVisible());

        h.program.show<WinA>();
        QVERIFY(a.isVisible());
        a.Hide();
        QVERIFY(!a.isVisible());
        QVERIFY(h.program.loaded<WinA>());

        h.program.form<WinB>();
        h.program.unload<WinA>();
        QCOMPARE(log_.events, (QStringList{"A load", "B load", "A unload"}));
        QVERIFY(!h.program.loaded<WinA>());
        QCOMPARE(h.platform.ended, 0);

        // Reopening starts afresh.
        h.program.form<WinA>();
        QCOMPARE(log_.events.last(), QString("A load"));
        QCOMPARE(h.program.loadedCount(), 2);
    }

    void lastUnloadEndsAndEndSkipsHandlers()
    {
        {
            Harness h;
            h.program.form<WinA>();
            h.program.form<WinB>().Hide(); // hidden windows still count
            h.program.unload<WinA>();
            QCOMPARE(h.platform.ended, 0);
            h.program.unload<WinB>();
            QCOMPARE(h.platform.ended, 1);
            QVERIFY(h.program.ended());
        }
        log_.events.clear();
        {
            Harness h;
            h.program.show<WinA>();
            h.program.show<WinB>();
            h.program.end();
            QCOMPARE(h.platform.ended, 1);
            QCOMPARE(h.program.loadedCount(), 0);
            QCOMPARE(log_.events, (QStringList{"A load", "B load"}));
        }
    }

    void windowUnloadedDuringItsLoadIsNotShown()
    {
        Harness h;
        h.program.form<WinA>();
        SelfClosing& s = h.program.show<SelfClosing>();
        QVERIFY(s.isUnloaded());
        QVERIFY(!s.isVisible());
        QVERIFY(!h.program.loaded<SelfClosing>());
        Harness::flush();
    }

    void timerRearmsOnIntervalAndEnable()
    {
        ScriptedPlatform p;
        QObject owner;
        Timer t(p, &owner, 1000, true);
        std::vector<std::int64_t> at;
        connect(&t, &Timer::timeout, [&] { at.push_back(p.now()); });
        p.advance(2500);
        QCOMPARE(at, (std::vector<std::int64_t>{1000, 2000}));

        // Setting the interval starts a new full one from now (2500).
        t.setInterval(1000);
        p.advance(1200);
        QCOMPARE(at.back(), std::int64_t(3500));

        // Off then on again restarts the countdown as well.
        p.advance(700); // now 4400, next due 4500
        t.setEnabled(false);
        p.advance(5000); // now 9400
        QCOMPARE(at.back(), std::int64_t(3500));
        t.setEnabled(true);
        p.advance(999);
        QCOMPARE(at.back(), std::int64_t(3500));
        p.advance(1);
        QCOMPARE(at.back(), std::int64_t(10400));

        // Enabling an enabled timer is no restart.
        p.advance(500);
        t.setEnabled(true);
        p.advance(500);
        QCOMPARE(at.back(), std::int64_t(11400));

        t.shutdown();
        p.advance(10000);
        QCOMPARE(at.back(), std::int64_t(11400));
    }

    // A design's face that is not installed is left out before Qt looks it
    // up (that lookup was the splash's slowest step); the face shown stays
    // the first installed one of the list.
    void designFontTakesTheFirstInstalledFace_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("italic");
        QTest::newRow("missing face") << "MS Sans Serif|19.5|bold" << "Liberation Sans" << false;
        QTest::newRow("installed face") << "Liberation Mono|8.25|bold italic" << "Liberation Mono" << true;
    }
    void designFontTakesTheFirstInstalledFace()
    {
        QFETCH(QString, design);
        QFETCH(QString, face);
        QFETCH(bool, italic);
        const QFont font = designFont(design, QFont());
        QVERIFY2(!font.families().contains("MS Sans Serif"), qPrintable(font.families().join(',')));
        const QFontInfo shown(font);
        QCOMPARE(shown.family(), face);
        QCOMPARE(shown.bold(), true);
        QCOMPARE(shown.italic(), italic);
        QCOMPARE(font.pointSizeF(), design.section('|', 1, 1).toDouble());
    }

private:
    Log log_;
};

QTEST_MAIN(ToolkitTest)
#include "test_toolkit.moc"
