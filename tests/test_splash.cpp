#include "support/Harness.h"
#include "ui/main/Algus.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Timer.h"
#include "ui_Algus.h"

#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

class SplashTest : public QObject {
    Q_OBJECT

    static QString banner(Algus& a) { return a.ui->Label1->text(); }

    static void verifyHandedOver(Harness& h)
    {
        QVERIFY(!h.program.loaded<Algus>());
        Main* m = h.program.loaded<Main>();
        QVERIFY(m);
        QVERIFY(m->isVisible());
        QCOMPARE(m->windowTitle(), QString("Vorbix - Untitled.dic"));
        QCOMPARE(h.platform.ended, 0);
    }

private slots:
    void bannerStepsThenHandsOverAfter2006ms()
    {
        Harness h;
        Algus& a = h.program.show<Algus>();
        QVERIFY(a.isVisible());
        QCOMPARE(banner(a), QString("Vorbix ver 1.4.0"));
        // Nothing of the main window exists while the splash is up.
        QVERIFY(!h.program.loaded<Main>());

        h.platform.advance(499);
        QCOMPARE(a.Timer2->interval(), 500);
        h.platform.advance(1); // 500
        QCOMPARE(banner(a), QString("Vorbix ver 1.4.0"));
        QCOMPARE(a.Timer2->interval(), 501);
        h.platform.advance(501); // 1001
        QCOMPARE(banner(a), QString("Made by"));
        h.platform.advance(502); // 1503
        QCOMPARE(banner(a), Algus::authorName());
        QVERIFY(!banner(a).isEmpty());
        h.platform.advance(502); // 2005
        QVERIFY(h.program.loaded<Algus>());
        QVERIFY(!h.program.loaded<Main>());
        h.platform.advance(1); // 2006
        QCOMPARE(banner(a), QString("Click the window to continiue"));
        verifyHandedOver(h);

        // No banner tick after the hand-over.
        QCOMPARE(h.platform.activeTimers(), 0);
        Harness::flush();
        h.platform.advance(10000);
        verifyHandedOver(h);
    }

    void clickOrCharacterKeyHandsOverAtOnce_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("window") << "window";
        QTest::newRow("banner label") << "Label1";
        QTest::newRow("credit label") << "Label2";
        QTest::newRow("letter key") << "key";
        QTest::newRow("enter key") << "enter";
    }
    void clickOrCharacterKeyHandsOverAtOnce()
    {
        QFETCH(QString, where);
        Harness h;
        Algus& a = h.program.show<Algus>();
        if (where == "window")
            QTest::mouseClick(&a, Qt::LeftButton, {}, QPoint(20, 20));
        else if (where == "Label1")
            QTest::mouseClick(a.ui->Label1, Qt::LeftButton);
        else if (where == "Label2")
            QTest::mouseClick(a.ui->Label2, Qt::LeftButton);
        else if (where == "key")
            QTest::keyClick(&a, Qt::Key_X);
        else
            QTest::keyClick(&a, Qt::Key_Return);
        // The banner never moved on from the version text.
        QCOMPARE(banner(a), QString("Vorbix ver 1.4.0"));
        verifyHandedOver(h);
        Harness::flush();
        h.platform.advance(5000);
        QCOMPARE(h.program.loadedCount(), 1);
    }

    void keysWithoutCharacterDoNothing()
    {
        Harness h;
        Algus& a = h.program.show<Algus>();
        for (Qt::Key k : {Qt::Key_Left, Qt::Key_Down, Qt::Key_F1, Qt::Key_F5, Qt::Key_Shift, Qt::Key_Control})
            QTest::keyClick(&a, k);
        QVERIFY(h.program.loaded<Algus>());
        QVERIFY(!h.program.loaded<Main>());
        h.platform.advance(2006);
        verifyHandedOver(h);
    }

};

QTEST_MAIN(SplashTest)
#include "test_splash.moc"
