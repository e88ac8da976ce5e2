// The rules of a word test that need no window: what counts as the right
// answer, how answers are counted, and which pair the next draw gives.
#include "state/ShownQuestion.h"
#include "state/TestRound.h"
#include <QtTest>

using namespace vorbix;

class AnswerRulesTest : public QObject {
    Q_OBJECT
private slots:
    void rightAnswer_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("right");
        // Case and tabs count too: the window tests type them.
        QTest::newRow("blanks at either end of either word") << "  house"
                                                             << "house  " << true;
        QTest::newRow("accent differs") << "oun"
                                        << "õun" << false;
        QTest::newRow("inner blanks differ") << "ice  cream"
                                             << "ice cream" << false;
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
        s.AskedFlags[0] = s.AskedFlags[2] = 1;
        s.AnsweredCount = 2;
        QList<double> draws{0.5, 0.99, 0.0}; // the pair without a word, an asked one, then the new round
        const auto rnd = [&draws] {
            if (draws.isEmpty())
                throw std::runtime_error("drawn past the script");
            return draws.takeFirst();
        };
        QCOMPARE(drawNextQuestion(s, rnd), NextQuestion::Chosen);
        QCOMPARE(s.CurrentQuestion + 0, 0);
        QVERIFY(draws.isEmpty());
    }
};

QTEST_APPLESS_MAIN(AnswerRulesTest)
#include "test_answer_rules.moc"
