#include "state/TestRound.h"

#include <QtTest>

#include <deque>

using namespace vorbix;

namespace {

// Feeds scripted numbers and counts how many were taken.
struct Script {
    std::deque<double> values;
    int taken = 0;
    std::function<double()> rnd()
    {
        return [this] {
            ++taken;
            if (values.empty())
                qFatal("draw ran past its script");
            const double v = values.front();
            values.pop_front();
            return v;
        };
    }
};

void fill(MOODUL1& s, const QStringList& known)
{
    for (int i = 0; i < known.size(); ++i) {
        s.KnownWords[i] = known[i];
        s.UnknownWords[i] = known[i].toUpper();
    }
    s.LastWordIndex = static_cast<std::int16_t>(known.size() - 1);
}

} // namespace

class TestRoundTest : public QObject {
    Q_OBJECT
private slots:
    void marksAndSkips()
    {
        MOODUL1 s;
        fill(s, {"a", "", "c"});
        s.AskedFlags[0] = 1;
        // 0 is marked: a fresh draw follows, not the first open index; the
        // empty known word at 1 is marked as skipped without being chosen.
        Script script{{0.0, 0.5, 0.99}};
        QCOMPARE(drawNextQuestion(s, script.rnd()), NextQuestion::Chosen);
        QCOMPARE(script.taken, 3);
        QCOMPARE(s.CurrentQuestion, std::int16_t(2));
        QCOMPARE(s.AskedFlags[1], std::int16_t(1));
        QCOMPARE(s.AskedFlags[2], std::int16_t(0)); // marked once it is shown
    }

    void nothingToAsk()
    {
        Script script;
        MOODUL1 fresh; // start-up: LastWordIndex 0, no words
        QCOMPARE(drawNextQuestion(fresh, script.rnd()), NextQuestion::NothingToAsk);
        MOODUL1 emptied;
        emptied.LastWordIndex = -1;
        QCOMPARE(drawNextQuestion(emptied, script.rnd()), NextQuestion::NothingToAsk);
        MOODUL1 blanks;
        fill(blanks, {"", "", ""});
        blanks.AskedFlags[1] = 1;
        QCOMPARE(drawNextQuestion(blanks, script.rnd()), NextQuestion::NothingToAsk);
        QCOMPARE(script.taken, 0);
        QCOMPARE(blanks.AskedFlags[1], std::int16_t(1));
    }

    void indicesStayInTheArrays()
    {
        MOODUL1 s;
        s.KnownWords[1000] = "last";
        s.LastWordIndex = 20000; // written by no command, but no index may leave the arrays
        QCOMPARE(lastAskableIndex(s), 1000);
        Script script{{0.99999}};
        QCOMPARE(drawNextQuestion(s, script.rnd()), NextQuestion::Chosen);
        QCOMPARE(s.CurrentQuestion, std::int16_t(1000));
    }

    void blanksOnly()
    {
        QCOMPARE(trimBlanks("  house  "), QString("house"));
        QCOMPARE(trimBlanks("a  b "), QString("a  b"));
        QCOMPARE(trimBlanks("\thouse\t"), QString("\thouse\t"));
        QCOMPARE(trimBlanks(QString(" \u00a0x ")), QString("\u00a0x"));
        QCOMPARE(trimBlanks("    "), QString());
    }
};

QTEST_APPLESS_MAIN(TestRoundTest)
#include "test_testround.moc"
