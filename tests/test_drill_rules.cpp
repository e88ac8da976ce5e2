// Which pairs a drill takes and asks, without a window.
#include "state/Drill.h"
#include "state/Moodul1.h"
#include "state/ShownQuestion.h"
#include "state/TestRound.h"
#include <QtTest>

using namespace vorbix;

class DrillRulesTest : public QObject {
    Q_OBJECT
private slots:
    // Scores as "word asked/right", the pairs taken in order.
    void weakest_data()
    {
        QTest::addColumn<QStringList>("scores");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("taken");
        QTest::newRow("lowest share first, never missed left out")
            << QStringList{"a 4/3", "b 2/0", "c 5/5", "d 3/2"} << 10 << QStringList{"b", "d", "a"};
        QTest::newRow("equal shares: missed more often first")
            << QStringList{"a 3/1", "b 6/2", "c 1/0"} << 10 << QStringList{"c", "b", "a"};
        QTest::newRow("no more than asked for") << QStringList{"a 2/1", "b 2/0", "c 9/1"} << 2 << QStringList{"b", "c"};
        QTest::newRow("nothing missed") << QStringList{"a 1/1"} << 10 << QStringList{};
    }
    void weakest()
    {
        QFETCH(QStringList, scores);
        QFETCH(int, count);
        std::vector<PairScore> in;
        for (const QString& s : scores) {
            const QStringList numbers = s.section(' ', 1).split('/');
            in.push_back({{s.section(' ', 0, 0), "x"}, numbers[0].toInt(), numbers[1].toInt()});
        }
        QStringList taken;
        for (const PairKey& p : weakestPairs(in, count))
            taken << p.known;
        QTEST(taken, "taken");
    }

    // A drilled pair that is in the list twice is asked once a round; a
    // round over, the next begins with every drilled pair.
    void pairTwiceInTheListIsAskedOnce()
    {
        MOODUL1 s;
        s.LastWordIndex = 2;
        for (int i : {0, 2})
            s.KnownWords[i] = "koer", s.UnknownWords[i] = "dog";
        s.KnownWords[1] = "kass", s.UnknownWords[1] = "cat";
        startDrill(s, {{"koer", "dog"}});
        QCOMPARE(wordsLeft(s), 1);
        const auto last = [] { return 0.99; };
        QCOMPARE(drawDrillQuestion(s, last), NextQuestion::Chosen);
        markAsked(s, s.CurrentQuestion);
        countAnswer(s, true);
        QCOMPARE(wordsLeft(s), 0);
        QCOMPARE(drawDrillQuestion(s, last), NextQuestion::Chosen);
        QCOMPARE(s.CurrentQuestion + 0, 0);
    }
};

QTEST_GUILESS_MAIN(DrillRulesTest)
#include "test_drill_rules.moc"
