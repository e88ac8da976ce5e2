#include "state/ShownQuestion.h"
#include "state/Sorting.h"
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

    void questionTakesSideAndMode_data()
    {
        QTest::addColumn<bool>("askUnknown");
        QTest::addColumn<bool>("normal");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown words asked, typed") << true << true << "maja" << " house ";
        QTest::newRow("unknown words asked, choices") << true << false << "maja" << " house ";
        QTest::newRow("known words asked, typed") << false << true << " house " << "maja";
        QTest::newRow("known words asked, choices") << false << false << " house " << "maja";
    }
    void questionTakesSideAndMode()
    {
        QFETCH(bool, askUnknown);
        QFETCH(bool, normal);
        MOODUL1 s;
        s.KnownWords[1] = "maja";
        s.UnknownWords[1] = " house "; // stored as it is; the check trims
        s.LastWordIndex = 1;
        const ShownQuestion q = takeQuestion(s, 1, TestOptions{askUnknown, normal, false, 0});
        QVERIFY(q.isShown());
        QCOMPARE(q.pair, 1);
        QTEST(q.question, "question");
        QTEST(q.expected, "expected");
        QCOMPARE(q.mode, normal ? AnswerMode::Normal : AnswerMode::Choices);
        // Taken once: a later change of the list leaves it as shown.
        s.UnknownWords[1] = "cow";
        s.KnownWords[1] = "lehm";
        QTEST(q.expected, "expected");
        QVERIFY(!ShownQuestion{}.isShown());
    }

    void answerCheck_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("right");
        QTest::newRow("same word") << "house" << "house" << true;
        QTest::newRow("blanks around the answer") << "  house  " << "house" << true;
        QTest::newRow("blanks around the stored word") << "house" << " house  " << true;
        QTest::newRow("blanks on different ends") << "house " << " house" << true;
        QTest::newRow("both empty") << "" << "" << true;
        QTest::newRow("only blanks against empty") << "   " << "" << true;
        QTest::newRow("case differs") << "House" << "house" << false;
        QTest::newRow("accent differs") << "oun" << "õun" << false;
        QTest::newRow("inner blanks differ") << "ice  cream" << "ice cream" << false;
        QTest::newRow("tab is not a blank") << "\thouse" << "house" << false;
        QTest::newRow("no-break space is not a blank") << "house\u00a0" << "house" << false;
        QTest::newRow("empty against a word") << "" << "house" << false;
    }
    void answerCheck()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QTEST(answerIsRight(given, stored), "right");
    }

    void counters_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<bool>("right");
        QTest::addColumn<bool>("counted");
        QTest::addColumn<int>("answeredAfter");
        QTest::addColumn<int>("wrongAfter");
        QTest::addColumn<int>("rightAfter");
        QTest::addColumn<bool>("over"); // with four pairs
        QTest::newRow("first answer right") << 0 << 0 << true << true << 1 << 0 << 1 << false;
        QTest::newRow("first answer wrong") << 0 << 0 << false << true << 1 << 1 << 0 << false;
        QTest::newRow("third answer: one left") << 2 << 1 << true << true << 3 << 1 << 2 << false;
        QTest::newRow("fourth answer ends four pairs") << 3 << 1 << false << true << 4 << 2 << 2 << true;
        QTest::newRow("kept from a closed test, past the end") << 6 << 0 << true << true << 7 << 0 << 7 << true;
        QTest::newRow("full counter left as it is") << 32767 << 5 << false << false << 32767 << 5 << 32762 << true;
    }
    void counters()
    {
        QFETCH(int, answered);
        QFETCH(int, wrong);
        QFETCH(bool, right);
        MOODUL1 s;
        s.LastWordIndex = 3;
        s.AnsweredCount = static_cast<std::int16_t>(answered);
        s.WrongCount = static_cast<std::int16_t>(wrong);
        QTEST(countAnswer(s, right), "counted");
        QTEST(int(s.AnsweredCount), "answeredAfter");
        QTEST(int(s.WrongCount), "wrongAfter");
        QTEST(rightAnswers(s), "rightAfter");
        QTEST(testIsOver(s), "over");
    }

    // A new round forgets every mark; a sort carries each mark with its pair.
    void marksFollowTheirPairs()
    {
        MOODUL1 s;
        const QStringList known{"maja", "koer", "kass", "lehm"}, unknown{"house", "dog", "cat", "cow"};
        for (int i = 0; i < 4; ++i) {
            s.KnownWords[i] = known[i];
            s.UnknownWords[i] = unknown[i];
        }
        s.LastWordIndex = 3;
        s.AskedFlags[0] = s.AskedFlags[1] = 1; // maja and koer asked
        SortUnknownAZ(s); // cat cow dog house
        QString asked;
        for (int i = 0; i < 4; ++i)
            asked += s.KnownWords[i] + (s.AskedFlags[i] ? "+ " : "- ");
        QCOMPARE(asked, QString("kass- lehm- koer+ maja+ "));
        s.AskedFlags[1000] = 1;
        startNewRound(s);
        QVERIFY(std::all_of(s.AskedFlags.begin(), s.AskedFlags.end(), [](auto f) { return f == 0; }));
    }
};

QTEST_APPLESS_MAIN(TestRoundTest)
#include "test_testround.moc"
