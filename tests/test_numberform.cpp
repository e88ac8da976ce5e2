#include "state/Draw.h"
#include "state/Moodul1.h"
#include "state/NumberForm.h"
#include "state/Version.h"

#include <QtTest>

using namespace vorbix;

class NumberFormTest : public QObject {
    Q_OBJECT
private slots:
    void roundingGoesHalfToEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("0.5") << 0.5 << qint64(0);
        QTest::newRow("1.5") << 1.5 << qint64(2);
        QTest::newRow("2.5") << 2.5 << qint64(2);
        QTest::newRow("12.5") << 12.5 << qint64(12);
        QTest::newRow("66.67") << 200.0 / 3.0 << qint64(67);
        QTest::newRow("2.4999") << 2.4999 << qint64(2);
        QTest::newRow("2.5001") << 2.5001 << qint64(3);
        QTest::newRow("-0.5") << -0.5 << qint64(0);
        QTest::newRow("-1.5") << -1.5 << qint64(-2);
        QTest::newRow("-2.5") << -2.5 << qint64(-2);
        QTest::newRow("-2.6") << -2.6 << qint64(-3);
        QTest::newRow("999.5") << 999.5 << qint64(1000);
    }
    void roundingGoesHalfToEven()
    {
        QFETCH(double, x);
        QFETCH(qint64, expected);
        QCOMPARE(roundHalfEven(x), expected);
    }

    void percentages()
    {
        QCOMPARE(percentRight(1, 8), qint64(12));
        QCOMPARE(percentRight(2, 3), qint64(67));
        QCOMPARE(percentRight(3, 4), qint64(75));
        QCOMPARE(percentRight(0, 5), qint64(0));
        QCOMPARE(percentRight(1001, 1001), qint64(100));
        // Wider than 16 bits in the product.
        QCOMPARE(percentRight(32767, 32767), qint64(100));
    }

    void drawCoversEveryIndexWithHalfWeightEnds()
    {
        QCOMPARE(drawIndex(0.0, 4), 0);
        QCOMPARE(drawIndex(0.124, 4), 0);
        QCOMPARE(drawIndex(0.125, 4), 0); // 0.5 ties to 0
        QCOMPARE(drawIndex(0.126, 4), 1);
        QCOMPARE(drawIndex(0.375, 4), 2); // 1.5 ties to 2
        QCOMPARE(drawIndex(0.999999, 4), 4);
        QCOMPARE(drawIndex(0.7, 0), 0);
        QCOMPARE(drawIndex(0.5, -1), 0);

        // Over a fine sweep every index comes up, the ends about half as often.
        std::array<int, 5> seen{};
        for (int k = 0; k < 100000; ++k)
            ++seen[drawIndex(k / 100000.0, 4)];
        for (int n : seen)
            QVERIFY(n > 0);
        QVERIFY(std::abs(seen[0] * 2 - seen[2]) < 200);
        QVERIFY(std::abs(seen[4] * 2 - seen[2]) < 200);
        for (int k = 0; k < 1000; ++k) {
            const int i = drawIndex(k / 1000.0, 999);
            QVERIFY(i >= 0 && i <= 999);
        }
    }

};

QTEST_GUILESS_MAIN(NumberFormTest)
#include "test_numberform.moc"
