#include "state/Draw.h"
#include "state/NumberForm.h"

#include <QtTest>

using namespace vorbix;

namespace {
QString n(std::int64_t value) { return QString::number(value); }
} // namespace

class NumberFormTest : public QObject {
    Q_OBJECT
private slots:
    // Each row calls the form; the result is compared as shown text.
    void numberForms_data()
    {
        QTest::addColumn<QString>("got");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1.5 ties to 2") << n(roundHalfEven(1.5)) << "2";
        QTest::newRow("2.5 ties to 2") << n(roundHalfEven(2.5)) << "2";
        QTest::newRow("2.4999 down") << n(roundHalfEven(2.4999)) << "2";
        QTest::newRow("2.5001 up") << n(roundHalfEven(2.5001)) << "3";
        QTest::newRow("-2.5 ties to -2") << n(roundHalfEven(-2.5)) << "-2";
        QTest::newRow("-2.6 down") << n(roundHalfEven(-2.6)) << "-3";
        QTest::newRow("1 of 8 right: 12.5 ties to 12%") << n(percentRight(1, 8)) << "12";
        QTest::newRow("2 of 3 right: 67%") << n(percentRight(2, 3)) << "67";
        QTest::newRow("32767 of 32767: wider than 16 bits") << n(percentRight(32767, 32767)) << "100";
        // The draw: r x last, ties to even, so the ends come up half as often.
        QTest::newRow("draw 0.125 of 4 ties to 0") << n(drawIndex(0.125, 4)) << "0";
        QTest::newRow("draw 0.126 of 4") << n(drawIndex(0.126, 4)) << "1";
        QTest::newRow("draw 0.375 of 4 ties to 2") << n(drawIndex(0.375, 4)) << "2";
        QTest::newRow("draw 0.999999 of 4") << n(drawIndex(0.999999, 4)) << "4";
        QTest::newRow("draw from one pair") << n(drawIndex(0.7, 0)) << "0";
        QTest::newRow("draw from none") << n(drawIndex(0.5, -1)) << "0";
        // Labels keep a place for the sign.
        QTest::newRow("signed 5") << signedNumber(5) << " 5";
        QTest::newRow("signed 0") << signedNumber(0) << " 0";
        QTest::newRow("signed -3") << signedNumber(-3) << "-3";
    }
    void numberForms()
    {
        QFETCH(QString, got);
        QFETCH(QString, expected);
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(NumberFormTest)
#include "test_numberform.moc"
