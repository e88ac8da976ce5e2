#include "support/Harness.h"
#include "state/Placement.h"
#include "ui/about/About.h"
#include "ui/main/Algus.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"

#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// A window with a place of its own, for the placement on this process's
// screen.
class Placed : public Form {
public:
    Placed(Program& p, QPoint at, QSize size) : Form(p)
    {
        setTitleBar(false);
        setFixedSize(size);
        setDesignPosition(at);
    }
};
struct PlacedHere : Placed {
    explicit PlacedHere(Program& p) : Placed(p, {100, 80}, {300, 200}) {}
};
struct PlacedOffCorner : Placed {
    // Sticks out past the right and the bottom of the screen.
    explicit PlacedOffCorner(Program& p) : Placed(p, {9000, 9000}, {300, 200}) {}
};

// Run in a process of its own on the screen the parent configured: opens
// the windows that have a place of their own and prints, for each, its
// design position, frame, inside and the screen's available area.
int measure(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Harness h;
    auto print = [](const char* name, Form& f) {
        QCoreApplication::processEvents();
        const QRect fr = f.frameGeometry(), in = f.geometry(), av = f.screen()->availableGeometry();
        const QPoint d = f.designPosition().value_or(QPoint(-1, -1));
        std::printf("%s %d %d %d %d %d %d %d %d %d %d %d %d %d %d\n", name, d.x(), d.y(), fr.x(), fr.y(),
                    fr.width(), fr.height(), in.x(), in.y(), in.width(), in.height(), av.x(), av.y(),
                    av.width(), av.height());
    };
    print("Algus", h.program.show<Algus>());
    print("Main", h.program.show<Main>());
    print("Kassav", h.program.show<Kassav>());
    print("About", h.program.show<About>());
    return 0;
}

} // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    void placeWithin_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        const QRect xga(0, 0, 1024, 768), halfHd(0, 0, 960, 540);
        // The main window's frame (inside at 294,237, 436 x 308, a 24-pixel title bar).
        const QRect main(294, 213, 436, 332);
        QTest::newRow("fits: kept") << main << xga << main;
        QTest::newRow("exactly fits: kept") << QRect(0, 0, 1024, 768) << xga << xga;
        QTest::newRow("bottom off: up") << main << halfHd << QRect(294, 208, 436, 332);
        QTest::newRow("right off: left") << QRect(800, 100, 300, 200) << xga << QRect(724, 100, 300, 200);
        QTest::newRow("left off: right") << QRect(-50, 100, 300, 200) << xga << QRect(0, 100, 300, 200);
        QTest::newRow("top off: down") << QRect(10, -5, 300, 200) << xga << QRect(10, 0, 300, 200);
        QTest::newRow("corner off: both") << QRect(900, 700, 300, 200) << xga << QRect(724, 568, 300, 200);
        QTest::newRow("panel on top") << QRect(10, 10, 300, 200) << QRect(0, 32, 1024, 736)
                                      << QRect(10, 32, 300, 200);
        QTest::newRow("second screen") << QRect(1900, 900, 300, 200) << QRect(1920, 0, 1280, 1024)
                                       << QRect(1920, 824, 300, 200);
        QTest::newRow("wider than the area: left edge") << QRect(100, 100, 1200, 200) << xga
                                                        << QRect(0, 100, 1200, 200);
        QTest::newRow("taller than the area: top edge") << QRect(100, 300, 200, 900) << xga
                                                        << QRect(100, 0, 200, 900);
        QTest::newRow("no area known: kept") << main << QRect() << main;
    }
    void placeWithin()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, available);
        QFETCH(QRect, placed);
        QCOMPARE(vorbix::placeWithin(wanted, available), placed);
    }

    // The same through a real window on this process's screen: its frame
    // ends up on the available area, and one that fits is not moved.
    void formPlacesItselfOnShow()
    {
        Harness h;
        PlacedHere& here = h.program.show<PlacedHere>();
        QCOMPARE(here.geometry(), QRect(100, 80, 300, 200));

        PlacedOffCorner& off = h.program.show<PlacedOffCorner>();
        const QRect area = off.screen()->availableGeometry();
        QVERIFY2(area.contains(off.frameGeometry()), qPrintable(QString("%1,%2 %3x%4")
            .arg(off.frameGeometry().x()).arg(off.frameGeometry().y())
            .arg(off.frameGeometry().width()).arg(off.frameGeometry().height())));
        QCOMPARE(off.frameGeometry().right(), area.right());
        QCOMPARE(off.frameGeometry().bottom(), area.bottom());
        QCOMPARE(off.size(), QSize(300, 200));
    }

    // The real windows on the screens users reported, each in a process
    // whose offscreen screen has that size.
    void designWindowsOnSmallScreens_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QByteArray>("scale");
        QTest::newRow("1920x1080 at scale 2") << 1920 << 1080 << QByteArray("2");
        QTest::newRow("1024x768") << 1024 << 768 << QByteArray("1");
        QTest::newRow("800x600") << 800 << 600 << QByteArray("1");
    }
    void designWindowsOnSmallScreens()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QByteArray, scale);
        QTemporaryDir dir;
        QFile config(dir.filePath("screen.json"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral(R"({"screens":[{"name":"s","x":0,"y":0,"width":%1,"height":%2,)"
                                    R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                         .arg(width).arg(height).toUtf8());
        config.close();

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Relative: the platform string is split at colons.
        env.insert("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");
        env.insert("QT_SCALE_FACTOR", QString::fromLatin1(scale));
        child.setProcessEnvironment(env);
        child.setWorkingDirectory(dir.path());
        child.start(QCoreApplication::applicationFilePath(), {"--measure"});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);

        const QStringList lines = QString::fromLocal8Bit(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        const QRect logical(0, 0, width / scale.toInt(), height / scale.toInt());
        for (const QString& line : lines) {
            const QStringList f = line.split(' ');
            QCOMPARE(f.size(), 15);
            auto n = [&](int i) { return f[i].toInt(); };
            const QPoint design(n(1), n(2));
            const QRect frame(n(3), n(4), n(5), n(6)), inside(n(7), n(8), n(9), n(10)), area(n(11), n(12), n(13), n(14));
            const QByteArray what = (f[0] + ": " + line).toLocal8Bit();
            QVERIFY2(area == logical, what.constData());
            QVERIFY2(area.contains(frame), what.constData());
            // The frame as it would stand at the design position.
            const QRect atDesign = frame.translated(design - inside.topLeft());
            if (area.contains(atDesign)) {
                QVERIFY2(inside.topLeft() == design, what.constData());
            } else {
                // Moved the least way: along each axis either not at all or
                // just onto the edge it stuck out of.
                const bool xOk = frame.x() == atDesign.x()
                    || (atDesign.left() < area.left() ? frame.left() == area.left() : frame.right() == area.right());
                const bool yOk = frame.y() == atDesign.y()
                    || (atDesign.top() < area.top() ? frame.top() == area.top() : frame.bottom() == area.bottom());
                QVERIFY2(xOk && yOk, what.constData());
            }
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "--measure") == 0)
        return measure(argc, argv);
    QApplication app(argc, argv);
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_screen_fit.moc"
