// The rules of a word test that need no window: what counts as the right
// answer, how answers are counted, and which pair the next draw gives.
#include "state/ShownQuestion.h"
#include "state/TestRound.h"
#include <QtTest>

#include <deque>

using namespace vorbix;

class AnswerRulesTest : public QObject {
    Q_OBJECT
private slots:
    void rightAnswer_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("right");
        QTest::newRow("blanks at either end of either word") << "  house" << "house  " << true;
        QTest::newRow("case differs") << "House" << "house" << false;
        QTest::newRow("accent differs") << "oun" << "õun" << false;
        QTest::newRow("inner blanks differ") << "ice  cream" << "ice cream" << false;
        QTest::newRow("a tab is no blank") << "\thouse" << "house" << false;
        QTest::newRow("a no-break space is no blank") << "house\u00a0" << "house" << false;
    }
    void rightAnswer()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QTEST(answerIsRight(given, stored), "right");
    }

    // A full counter stays as it is, and the answer is not counted at all.
    void fullCounterStays()
    {
        MOODUL1 s;
        s.AnsweredCount = INT16_MAX;
        QVERIFY(!countAnswer(s, false));
        QCOMPARE(s.AnsweredCount, INT16_MAX);
        QCOMPARE(s.WrongCount + 0, 0);
    }

    // A pair without a known word is marked and never asked; a round that
    // completes with no wrong answer acknowledged goes on into the next.
    void nextPair()
    {
        MOODUL1 s;
        s.LastWordIndex = 2;
        s.KnownWords[0] = "a";
        s.KnownWords[2] = "c";
        s.AnsweredCount = 2;
        std::deque<double> draws{0.5, 0.0};
        const auto rnd = [&draws] {
            if (draws.empty())
                throw std::runtime_error("drawn past the script");
            const double r = draws.front();
            draws.pop_front();
            return r;
        };
        QCOMPARE(drawNextQuestion(s, rnd), NextQuestion::Chosen);
        QCOMPARE(s.CurrentQuestion + 0, 0);
        QCOMPARE(s.AskedFlags[1] + 0, 1);
        s.AskedFlags[0] = s.AskedFlags[2] = 1;
        draws = {0.5, 0.99};
        QCOMPARE(drawNextQuestion(s, rnd), NextQuestion::Chosen);
        QCOMPARE(s.CurrentQuestion + 0, 2);
        QVERIFY(draws.empty());
    }
};

QTEST_APPLESS_MAIN(AnswerRulesTest)
#include "test_answer_rules.moc"
