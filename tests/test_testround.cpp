#include "state/TestRound.h"
#include <QtTest>

using namespace vorbix;

// Scripted numbers; `taken` counts the draws.
static std::function<double()> script(std::vector<double> v, int& taken)
{
    return [v, &taken] { return v.at(taken++); };
}

class TestRoundTest : public QObject {
    Q_OBJECT
private slots:
    void drawsAndTrims()
    {
        MOODUL1 s;
        s.KnownWords[0] = "a";
        s.KnownWords[2] = "c";
        s.LastWordIndex = 2;
        s.AskedFlags[0] = 1;
        // A marked draw is redrawn, not moved on; the empty word is marked skipped.
        int taken = 0;
        QCOMPARE(drawNextQuestion(s, script({0.0, 0.5, 0.99}, taken)), NextQuestion::Chosen);
        QCOMPARE(taken, 3);
        QCOMPARE(s.CurrentQuestion, std::int16_t(2));
        QCOMPARE(s.AskedFlags[1], std::int16_t(1));

        MOODUL1 fresh, blanks; // start-up state; only empty known words
        blanks.LastWordIndex = 2;
        taken = 0;
        QCOMPARE(drawNextQuestion(fresh, script({}, taken)), NextQuestion::NothingToAsk);
        QCOMPARE(drawNextQuestion(blanks, script({}, taken)), NextQuestion::NothingToAsk);
        QCOMPARE(taken, 0);
        QCOMPARE(trimBlanks(QString("  \u00a0a  b ")), QString("\u00a0a  b")); // blanks only
    }
};

QTEST_APPLESS_MAIN(TestRoundTest)
#include "test_testround.moc"
