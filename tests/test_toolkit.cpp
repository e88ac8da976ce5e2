#include "support/Harness.h"
#include "state/Placement.h"
#include "ui/about/About.h"
#include "ui/main/Algus.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/main/Startup.h"
#include "state/CommandLine.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Timer.h"

#include <QFontInfo>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <cstdio>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

QStringList events;

// A window that logs its handlers; 'S' unloads itself while it is still
// loading, as a window opened from a load handler may do.
template <char Name> class Logged : public Form {
public:
    explicit Logged(Program& p) : Form(p) {}
    void Form_Load() override
    {
        events << QString("%1 load").arg(Name);
        if (Name == 'S')
            Unload();
    }
    void Form_Unload() override { events << QString("%1 unload").arg(Name); }
};
using A = Logged<'A'>;
using B = Logged<'B'>;
using SelfClosing = Logged<'S'>;

// In a child process, on an offscreen screen of the size and scale given:
// shows the windows that have a place of their own and prints each one not
// where it belongs.
int placeDesignWindows(int argc, char* argv[])
{
    const int width = QByteArray(argv[2]).toInt(), height = QByteArray(argv[3]).toInt();
    const int scale = QByteArray(argv[4]).toInt();
    QTemporaryDir dir;
    QFile config(dir.filePath("screen.json"));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(QStringLiteral(R"({"screens":[{"name":"s","x":0,"y":0,"width":%1,"height":%2,)"
                                R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                     .arg(width)
                     .arg(height)
                     .toUtf8());
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    qputenv("QT_SCALE_FACTOR", argv[4]);
    QApplication app(argc, argv);
    Harness h;
    auto check = [&](const char* name, Form& f) {
        QCoreApplication::processEvents();
        const QRect frame = f.frameGeometry(), area = f.screen()->availableGeometry();
        const QRect atDesign = frame.translated(*f.designPosition() - f.geometry().topLeft());
        if (area != QRect(0, 0, width / scale, height / scale) || !area.contains(frame)
            || frame != placeWithin(atDesign, area))
            std::printf("%s: frame %d,%d %dx%d on %dx%d\n", name, frame.x(), frame.y(), frame.width(), frame.height(),
                        area.width(), area.height());
    };
    check("Algus", h.program.show<Algus>());
    check("Main", h.program.show<Main>());
    check("Kassav", h.program.show<Kassav>());
    check("About", h.program.show<About>());
    return 0;
}

// In a child process: the start of a run up to the splash painted, then the
// hand-over. Prints what came too early (an image plugin, the program's icon)
// or not at all (the icon once the main window is there).
int startUp(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Harness h;
    CommandLine commandLine;
    commandLine.parse({"vorbix", "--no-history"});
    startProgram(h.program, commandLine);
    Algus* splash = h.program.loaded<Algus>();
    if (!splash || !QTest::qWaitForWindowExposed(splash))
        return 1;
    QFile maps("/proc/self/maps");
    if (maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/"))
        std::printf("image plugins before the splash\n");
    if (!QApplication::windowIcon().isNull())
        std::printf("the icon before the splash\n");
    splash->Form_Click();
    if (!h.program.loaded<Main>() || QApplication::windowIcon().isNull())
        std::printf("a main window without the icon\n");
    return 0;
}

} // namespace

class ToolkitTest : public QObject {
    Q_OBJECT
private slots:
    void windowLifeCycle()
    {
        events.clear();
        Harness h;
        A& a = h.program.show<A>();
        QCOMPARE(&h.program.form<A>(), &a); // loaded once
        h.program.form<B>();
        QVERIFY(!h.program.show<SelfClosing>().isVisible() && !h.program.loaded<SelfClosing>());
        h.program.unload<A>();
        QCOMPARE(h.platform.ended, 0); // hidden B still counts
        h.program.form<A>();
        h.program.end(); // skips the handlers
        QCOMPARE(h.platform.ended, 1);
        QCOMPARE(h.program.loadedCount(), 0);
        QCOMPARE(events, (QStringList{"A load", "B load", "S load", "S unload", "A unload", "A load"}));
        // Unloading the last window ends the program.
        Harness last;
        last.program.unload(last.program.form<B>());
        QCOMPARE(last.platform.ended, 1);
        Harness::flush();
    }

    // Setting the interval, or switching the timer on, starts a full
    // interval from now; switching on a timer that is on changes nothing.
    void timerRearmsOnIntervalAndEnable()
    {
        ScriptedPlatform p;
        QObject owner;
        Timer t(p, &owner, 1000, true);
        std::vector<std::int64_t> at;
        connect(&t, &Timer::timeout, [&] { at.push_back(p.now()); });
        p.advance(2500);
        t.setInterval(1000);
        p.advance(1900);
        t.setEnabled(false); // at 4400, due at 4500
        p.advance(5000);
        t.setEnabled(true);
        p.advance(1500);
        t.setEnabled(true); // at 10900, due at 11400
        p.advance(500);
        t.shutdown();
        p.advance(10000);
        QCOMPARE(at, (std::vector<std::int64_t>{1000, 2000, 3500, 10400, 11400}));
    }

    // A design's face that is not installed is left out before Qt looks it
    // up (that lookup was the splash's slowest step).
    void designFontTakesTheFirstInstalledFace()
    {
        const QFont missing = designFont("MS Sans Serif|19.5|bold", QFont());
        QVERIFY2(!missing.families().contains("MS Sans Serif"), qPrintable(missing.families().join(',')));
        QCOMPARE(QFontInfo(missing).family(), QString("Liberation Sans"));
        QCOMPARE(missing.pointSizeF(), 19.5);
        const QFontInfo installed(designFont("Liberation Mono|8.25|bold italic", QFont()));
        QCOMPARE(installed.family(), QString("Liberation Mono"));
        QVERIFY(installed.bold() && installed.italic());
    }

    // Wanted, available and where it is placed.
    void placeWithin()
    {
        const QRect xga(0, 0, 1024, 768), main(294, 213, 436, 332);
        const std::tuple<const char*, QRect, QRect, QRect> rows[] = {
            {"fits: kept", main, xga, main},
            {"bottom off on 960x540: up", main, QRect(0, 0, 960, 540), QRect(294, 208, 436, 332)},
            {"corner off: left and up", QRect(900, 700, 300, 200), xga, QRect(724, 568, 300, 200)},
            {"left and top off", QRect(-50, -5, 300, 200), xga, QRect(0, 0, 300, 200)},
            {"under a top panel", QRect(10, 10, 300, 200), QRect(0, 32, 1024, 736), QRect(10, 32, 300, 200)},
            {"second screen", QRect(1900, 900, 300, 200), QRect(1920, 0, 1280, 1024), QRect(1920, 824, 300, 200)},
            {"larger than the area: top-left on it", QRect(100, 300, 1200, 900), xga, QRect(0, 0, 1200, 900)},
            {"no area known: kept", main, QRect(), main}};
        for (const auto& [name, wanted, available, placed] : rows) {
            const QRect got = vorbix::placeWithin(wanted, available);
            QVERIFY2(got == placed, qPrintable(QString("%1: at %2,%3").arg(name).arg(got.x()).arg(got.y())));
        }
    }

    // The splash shows before anything it does not need is loaded.
    void splashFirst()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), QStringList{"--start-up"});
        QVERIFY(child.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        QVERIFY2(out.isEmpty() && child.exitCode() == 0, qPrintable(out));
    }

    // The real windows on the screens users reported (width, height,
    // scale), each in a process of its own.
    void designWindowsOnSmallScreens()
    {
        const QStringList screens[] = {{"1920", "1080", "2"}, {"1024", "768", "1"}, {"800", "600", "1"}};
        for (const QStringList& screen : screens) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), QStringList{"--place"} + screen);
            QVERIFY2(child.waitForFinished(60000), qPrintable(screen.join(' ')));
            const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
            QVERIFY2(out.isEmpty() && child.exitCode() == 0, qPrintable(screen.join(' ') + ": " + out));
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc == 5 && QByteArray(argv[1]) == "--place")
        return placeDesignWindows(argc, argv);
    if (argc == 2 && QByteArray(argv[1]) == "--start-up")
        return startUp(argc, argv);
    QApplication app(argc, argv);
    ToolkitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_toolkit.moc"
