#include "support/WordTestDrive.h"

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const Words ThreePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}};

QStringList resultLabels(Tulemus* r)
{
    return {WordTestDrive::child(r, "Label1")->text(), WordTestDrive::child(r, "Label2")->text(),
            WordTestDrive::child(r, "Label3")->text(), WordTestDrive::child(r, "Label4")->text()};
}
} // namespace

class TestFlowTest : public QObject {
    Q_OBJECT
private slots:
    void threePairsWithWrongAndTimedOut()
    {
        WordTestDrive d(ThreePairs);
        d.timeLimit(10);
        d.start(0);
        QVERIFY(d.test()->isVisible() && d.main->isVisible());
        d.answer("house", 2);
        QCOMPARE(d.h.platform.beeps, 0);
        d.answer("Cat", 1);
        QCOMPARE(d.h.platform.beeps, 1);
        QVERIFY(d.wrong()->isVisible() && !d.test()->isVisible());
        QCOMPARE(d.child(d.wrong(), "Label2")->text() + d.child(d.wrong(), "Label3")->text(), QString("kasscat"));
        QCOMPARE(d.question(), QString("koer")); // set up behind it
        QCOMPARE(d.text("Label4"), QString("Valesid:  1"));
        d.continueAfterWrong();
        QVERIFY(!d.wrong() && d.test()->isVisible());

        d.h.platform.advance(10000); // the last answer times out
        QCOMPARE(d.h.platform.beeps, 2 + 3);
        QVERIFY(!d.test() && d.wrong()->isVisible() && d.results()->isVisible() && d.main->isVisible());
        QCOMPARE(d.child(d.wrong(), "Label2")->text(), QString("koer"));
        QCOMPARE(resultLabels(d.results()),
                 (QStringList{"Word count:  3", "Right:  1", "Wrong:  2", "Right answers:  33%"}));
        d.continueAfterWrong(); // only closes its window: no test comes back
        QVERIFY(!d.wrong() && !d.test() && d.results()->isVisible());
        d.press(d.results(), "Command2"); // End Test
        QVERIFY(!d.results() && d.main->isVisible());
        QCOMPARE(d.state().AnsweredCount + d.state().WrongCount, 0);
        QVERIFY(d.scripted());
    }

    void closedTestResumesWithItsCounters()
    {
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}});
        d.start(0);
        d.answer("A", 1);
        d.answer("B", 2);
        d.press(d.test(), "Command2"); // Close
        QVERIFY(!d.test() && d.main->isVisible());
        d.draw(1); // asked before the close: drawn past
        d.start(3);
        QCOMPARE(d.question(), QString("d"));
        QCOMPARE(d.text("Label2"), QString("Vastatud:  2"));
        d.answer("D", 4);
        d.draw(0); // every pair marked, no wrong answer acknowledged: a new round at once
        d.answer("E", 2);
        QCOMPARE(d.question(), QString("c"));
        QCOMPARE(d.text("Label6"), QString("Vastata:  1"));
        d.answer("C");
        QCOMPARE(resultLabels(d.results()).first(), QString("Word count:  5"));
        QVERIFY(d.scripted());
    }

    void roundCompletesEarlyThroughAnEmptyWord()
    {
        WordTestDrive d({{"a", "A"}, {"", "B"}, {"c", "C"}});
        d.start(0);
        d.answer("x", 2);
        d.continueAfterWrong();
        d.draw(1); // empty known word: skipped
        d.answer("C", 0); // marked, and nothing is left
        QVERIFY(!d.test());
        QCOMPARE(resultLabels(d.results()),
                 (QStringList{"Word count:  2", "Right:  1", "Wrong:  1", "Right answers:  50%"}));
        QVERIFY(d.scripted());
    }

    void onePairInChoices()
    {
        WordTestDrive d(Words{{"maja", "house"}});
        d.choices();
        d.start();
        QCOMPARE(d.choiceTexts(), QString("house").repeated(5));
        QTest::mouseClick(d.choice(3), Qt::LeftButton);
        Harness::flush();
        QVERIFY(!d.test());
        QCOMPARE(resultLabels(d.results())[3], QString("Right answers:  100%"));
    }

    void windowDecisions()
    {
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}});
        d.start(0);
        d.answer("A", 1);
        d.answer("x", 2);
        d.continueAfterWrong(); // never opens the results, even two questions from the end
        QVERIFY(!d.results() && d.test()->isVisible());
        QCOMPARE(d.question(), QString("c"));
        d.h.program.unload<Main>(); // closing the test with no main window shows it again
        d.test()->close();
        Harness::flush();
        QVERIFY(!d.test() && d.h.program.loaded<Main>() && d.h.program.loaded<Main>()->isVisible());

        WordTestDrive empty(Words{}); // nothing to ask: the test closes, counters kept
        empty.state().LastWordIndex = 0;
        empty.state().AnsweredCount = 2;
        empty.h.program.show<Test>();
        Harness::flush();
        QVERIFY(!empty.test());
        QVERIFY(empty.h.platform.messages.size() == 1 && empty.h.platform.messages[0].icon == MessageIcon::Critical);
        QCOMPARE(empty.state().AnsweredCount, std::int16_t(2));
    }
};

QTEST_MAIN(TestFlowTest)
#include "test_testflow.moc"
