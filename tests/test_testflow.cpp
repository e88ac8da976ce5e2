// Whole tests played from the main window to the results and back, with the
// wrong-answer and results windows.
#include "support/WordTestDrive.h"
#include "ui/main/Kassav.h"

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const std::vector<std::pair<QString, QString>> ThreePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}};

QStringList resultLabels(Tulemus* r)
{
    QStringList l;
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"})
        l << WordTestDrive::child<QLabel>(r, name)->text();
    return l;
}

const QString NothingToTest = QStringLiteral("There is nothing to test (no words). Please use the Editor and add "
                                             "some words or open already existing file with words!");

} // namespace

class TestFlowTest : public QObject {
    Q_OBJECT
private slots:
    void threePairsWithWrongAndTimedOut()
    {
        WordTestDrive d(ThreePairs);
        d.timeLimit(10);
        d.draw(0);
        d.start();
        QVERIFY(d.test()->isVisible() && d.main->isVisible());
        QCOMPARE(d.question(), QString("maja"));

        d.draw(2);
        d.answer("house");
        QCOMPARE(d.h.platform.beeps, 0);
        QCOMPARE(d.statistics(), (QStringList{"Vastatud:  1", "Õigeid:  1", "Valesid:  0", "Vastata:  2",
                                              "Õigeid vastuseid on  100%", "Aeg:  10"}));
        QCOMPARE(d.question(), QString("kass"));

        d.draw(1);
        d.answer("Cat");
        QCOMPARE(d.h.platform.beeps, 1);
        QVERIFY(d.wrong()->isVisible());
        QVERIFY(!d.test()->isVisible());
        QCOMPARE(WordTestDrive::child<QLabel>(d.wrong(), "Label2")->text(), QString("kass"));
        QCOMPARE(WordTestDrive::child<QLabel>(d.wrong(), "Label3")->text(), QString("cat"));
        // The next question is already set up behind it.
        QCOMPARE(d.question(), QString("koer"));
        QCOMPARE(d.statistics(), (QStringList{"Vastatud:  2", "Õigeid:  1", "Valesid:  1", "Vastata:  1",
                                              "Õigeid vastuseid on  50%", "Aeg:  10"}));
        d.h.platform.advance(30000);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));

        d.continueAfterWrong();
        QVERIFY(!d.wrong());
        QVERIFY(d.test()->isVisible());
        QVERIFY(d.state().WrongAnswerAcknowledged);

        // The last answer times out.
        d.h.platform.advance(10000);
        QCOMPARE(d.h.platform.beeps, 2 + 3);
        QVERIFY(!d.test());
        QVERIFY(d.wrong()->isVisible());
        QCOMPARE(WordTestDrive::child<QLabel>(d.wrong(), "Label2")->text(), QString("koer"));
        QVERIFY(d.results()->isVisible());
        QCOMPARE(d.results()->windowTitle(), QString("Results"));
        QCOMPARE(resultLabels(d.results()),
                 (QStringList{"Word count:  3", "Right:  1", "Wrong:  2", "Right answers:  33%"}));
        QVERIFY(d.main->isVisible());

        // Continue only closes its window: no test comes back beside the results.
        d.continueAfterWrong();
        QVERIFY(!d.wrong());
        QVERIFY(!d.test());
        QVERIFY(d.results()->isVisible());

        d.press(d.results(), "Command2"); // End Test
        QVERIFY(!d.results() && !d.test());
        QCOMPARE(d.state().AnsweredCount, std::int16_t(0));
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QVERIFY(d.mainWindow()->isVisible());
        QCOMPARE(d.h.platform.ended, 0);
        QVERIFY(d.scripted());
    }

    void closedTestResumesWithItsCounters()
    {
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}});
        d.draw(0);
        d.start();
        d.draw(1);
        d.answer("A");
        d.draw(2);
        d.answer("B");
        d.press(d.test(), "Command2"); // Close
        QVERIFY(!d.test());
        QVERIFY(d.main->isVisible());
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));

        // The marks stay too: 1 was asked, so it is drawn past.
        d.draw(1);
        d.draw(3);
        d.start();
        QCOMPARE(d.question(), QString("d"));
        QCOMPARE(d.text("Label2"), QString("Vastatud:  2"));
        QCOMPARE(d.text("Label6"), QString("Vastata:  3"));
        d.draw(4);
        d.answer("D");
        // Every pair is marked now (2 was shown before the close); with no
        // wrong answer acknowledged a new round starts at once.
        d.draw(0);
        d.draw(2);
        d.answer("E");
        QCOMPARE(d.question(), QString("c"));
        QCOMPARE(d.text("Label6"), QString("Vastata:  1"));
        d.answer("C");
        QVERIFY(!d.test());
        QCOMPARE(resultLabels(d.results()).first(), QString("Word count:  5"));
        QVERIFY(d.scripted());
    }

    void roundCompletesEarly()
    {
        const std::vector<std::pair<QString, QString>> gap{{"a", "A"}, {"", "B"}, {"c", "C"}};
        {
            // With a wrong answer acknowledged, the early end opens the results.
            WordTestDrive d(gap);
            d.draw(0);
            d.start();
            d.draw(2);
            d.answer("x");
            d.continueAfterWrong();
            d.draw(1); // empty known word: skipped
            d.draw(0); // marked, and nothing is left
            d.answer("C");
            QVERIFY(!d.test());
            QCOMPARE(resultLabels(d.results()),
                     (QStringList{"Word count:  2", "Right:  1", "Wrong:  1", "Right answers:  50%"}));
            QCOMPARE(d.state().AskedFlags[0] + d.state().AskedFlags[1] + d.state().AskedFlags[2], 0);
        }
        {
            // Without, a new round asks a pair again until the count runs out.
            WordTestDrive d(gap);
            d.draw(0);
            d.start();
            d.draw(2);
            d.answer("A");
            d.draw(1);
            d.draw(2);
            d.draw(0);
            d.answer("C");
            QCOMPARE(d.question(), QString("a"));
            QCOMPARE(d.text("Label6"), QString("Vastata:  1"));
            d.answer("A");
            QCOMPARE(resultLabels(d.results()).first(), QString("Word count:  3"));
        }
        {
            // A closed test left every pair marked: the next one opens on the results.
            WordTestDrive d(ThreePairs);
            d.draw(0);
            d.start();
            d.draw(1);
            d.answer("x");
            d.continueAfterWrong();
            d.draw(2);
            d.answer("dog");
            d.press(d.test(), "Command2");
            d.draw(1);
            d.start();
            QVERIFY(!d.test());
            QCOMPARE(resultLabels(d.results()).first(), QString("Word count:  2"));
            QVERIFY(d.scripted());
        }
    }

    void onePairInChoicesAndAgain()
    {
        WordTestDrive d(Words{{"maja", "house"}});
        d.choices();
        d.start();
        QCOMPARE(d.question(), QString("maja"));
        for (int n = 1; n <= 5; ++n)
            QCOMPARE(d.choice(n)->text(), QString("house"));
        QTest::mouseClick(d.choice(3), Qt::LeftButton);
        Harness::flush();
        QVERIFY(!d.test());
        QCOMPARE(resultLabels(d.results()),
                 (QStringList{"Word count:  1", "Right:  1", "Wrong:  0", "Right answers:  100%"}));
        QCOMPARE(d.h.platform.beeps, 3);
        QCOMPARE(d.state().AskedFlags[0], std::int16_t(1));

        // Again: the mark is still set, yet a question is on screen at once.
        d.press(d.results(), "Command1");
        QVERIFY(!d.results());
        QVERIFY(d.test()->isVisible());
        QCOMPARE(d.question(), QString("maja"));
        QCOMPARE(d.text("Label2"), QString("Vastatud:  0"));
        QCOMPARE(d.choice(1)->text(), QString("house"));
        d.test()->Kyssa5_Click();
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QCOMPARE(resultLabels(d.results()).first(), QString("Word count:  1"));
    }

    void nextTestAfterACompleteOneAsksAtOnce()
    {
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}});
        d.draw(0);
        d.start();
        d.draw(1);
        d.answer("house");
        d.answer("dog");
        d.press(d.results(), "Command2");
        // All marked: cleared, and the fresh draw is the question checked.
        d.draw(1);
        d.draw(1);
        d.start();
        QCOMPARE(d.question(), QString("koer"));
        d.draw(0);
        d.answer("dog");
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QCOMPARE(d.question(), QString("maja"));
        QVERIFY(d.scripted());
    }

    void listEmptiedUnderTheTest()
    {
        {
            WordTestDrive d(ThreePairs);
            d.draw(0);
            d.start();
            d.test()->Command3_Click();
            d.h.setWords({}); // an empty file opened meanwhile
            d.state().AnsweredCount = 4;
            d.h.program.show<Tulemus>();
            d.press(d.results(), "Command1"); // Again
            QVERIFY(!d.test());
            QVERIFY(d.main->isVisible());
            QCOMPARE(d.h.platform.messages.size(), size_t(1));
            QCOMPARE(d.h.platform.messages[0].text, NothingToTest);
            QVERIFY(d.h.platform.messages[0].icon == MessageIcon::Critical);
        }
        {
            // Start-up state, counters left from before: kept, nothing drawn.
            WordTestDrive d(Words{});
            d.state().LastWordIndex = 0;
            d.state().AnsweredCount = 2;
            d.state().WrongCount = 1;
            d.h.program.show<Test>();
            Harness::flush();
            QVERIFY(!d.test());
            QCOMPARE(d.h.platform.messages.size(), size_t(1));
            QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
            QCOMPARE(d.state().WrongCount, std::int16_t(1));
            QCOMPARE(d.h.platform.seeds.size(), size_t(1));
        }
    }

    void continueNeverOpensTheResults()
    {
        // Two questions still to come is where a check on Continue would fire.
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}});
        d.draw(0);
        d.start();
        d.draw(1);
        d.answer("A");
        d.draw(2);
        d.answer("x");
        QCOMPARE(d.state().LastWordIndex, std::int16_t(d.state().AnsweredCount + 1));
        d.continueAfterWrong();
        QVERIFY(!d.results());
        QVERIFY(d.test()->isVisible());
        QCOMPARE(d.question(), QString("c"));
        QVERIFY(d.scripted());
    }

    void resultsButton()
    {
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}});
        d.draw(0);
        d.start();
        d.press(d.test(), "Command3");
        QVERIFY(!d.results());
        d.draw(1);
        d.answer("house");
        d.press(d.test(), "Command3"); // no wrong answer acknowledged yet
        QVERIFY(!d.results());
        d.draw(2);
        d.answer("x");
        d.continueAfterWrong();
        d.press(d.test(), "Command3");
        QVERIFY(!d.test());
        QCOMPARE(resultLabels(d.results()),
                 (QStringList{"Word count:  2", "Right:  1", "Wrong:  1", "Right answers:  50%"}));

        // The close box leaves the counters: the next test goes on counting.
        d.results()->close();
        Harness::flush();
        QVERIFY(!d.results());
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
        d.draw(3);
        d.start();
        QCOMPARE(d.text("Label2"), QString("Vastatud:  2"));
        QVERIFY(d.scripted());
    }

    void results_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<int>("beeps");
        QTest::newRow("3 of 4") << 4 << 1 << "Right answers:  75%" << 3;
        QTest::newRow("1 of 8") << 8 << 7 << "Right answers:  12%" << 3;
        QTest::newRow("2 of 3") << 3 << 1 << "Right answers:  67%" << 3;
        QTest::newRow("all wrong") << 2 << 2 << "Right answers:  0%" << 3;
        QTest::newRow("none") << 0 << 0 << "Right answers: 0%" << 0;
    }
    void results()
    {
        QFETCH(int, answered);
        QFETCH(int, wrong);
        QFETCH(QString, percent);
        QFETCH(int, beeps);
        WordTestDrive d(ThreePairs);
        d.state().AnsweredCount = static_cast<std::int16_t>(answered);
        d.state().WrongCount = static_cast<std::int16_t>(wrong);
        d.h.program.show<Tulemus>();
        const QStringList labels = resultLabels(d.results());
        QCOMPARE(labels[0], QString("Word count: ") + signedNumber(answered));
        QCOMPARE(labels[2], QString("Wrong: ") + signedNumber(wrong));
        QCOMPARE(labels[3], percent);
        QCOMPARE(d.h.platform.beeps, beeps);
    }

    void mainWindowComesBack()
    {
        {
            WordTestDrive d(ThreePairs);
            d.draw(0);
            d.start();
            d.h.program.unload<Main>(); // closed: the save prompt is up
            QVERIFY(d.h.program.loaded<Kassav>());
            QVERIFY(!d.mainWindow());
            d.state().AnsweredCount = 2;
            d.answer("house");
            QVERIFY(!d.test());
            QVERIFY(d.results()->isVisible());
            QVERIFY(d.mainWindow() && d.mainWindow()->isVisible());
            QCOMPARE(d.h.platform.ended, 0);
        }
        {
            // The wrong-answer window left alone on screen: Continue closes
            // the last window, and the program ends instead of running on
            // with a main window it loaded unseen.
            WordTestDrive d(Words{{"maja", "house"}});
            d.timeLimit(10);
            d.draw(0);
            d.start();
            d.answer("x"); // the last answer: results and the wrong answer
            d.results()->close();
            d.h.program.unload<Main>();
            WordTestDrive::child<QPushButton>(d.h.program.loaded<Kassav>(), "Command2")->click(); // No
            Harness::flush();
            QCOMPARE(d.h.program.loadedCount(), 1);
            d.continueAfterWrong();
            QVERIFY(!d.mainWindow());
            QCOMPARE(d.h.platform.ended, 1);
        }
        {
            // The close box of the test window, with the main window closed.
            WordTestDrive d(ThreePairs);
            d.start();
            d.h.program.unload<Main>();
            d.test()->close();
            Harness::flush();
            QVERIFY(!d.test());
            QVERIFY(d.mainWindow() && d.mainWindow()->isVisible());
        }
    }

    void roundCompletesWhileTheResultsAreOpen()
    {
        WordTestDrive d(ThreePairs);
        d.draw(0);
        d.start();
        d.draw(1);
        d.answer("x");
        d.continueAfterWrong();
        d.press(d.test(), "Command3");
        QVERIFY(d.results() && !d.test());
        // A new test beside the open results: they only come forward when
        // the round completes, so this test goes on with a fresh round.
        d.draw(2);
        d.start();
        d.draw(0); // every pair marked now
        d.draw(1);
        d.answer("cat");
        QVERIFY(d.test()->isVisible());
        QCOMPARE(d.question(), QString("koer"));
        QCOMPARE(resultLabels(d.results()).first(), QString("Word count:  1"));
        QVERIFY(d.scripted());
    }

    void wrongAnswerWindowLeftOpenByTheLastTest()
    {
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}});
        d.draw(0);
        d.start();
        d.draw(1);
        d.answer("house");
        d.answer("x");
        QVERIFY(d.wrong() && d.results());
        d.draw(0); // marked: the round is complete
        d.draw(0); // the new round's first draw
        d.press(d.results(), "Command1"); // Again, with "koer" still on show
        QCOMPARE(d.question(), QString("maja"));
        QVERIFY(d.test()->isVisible());
        d.draw(1);
        d.answer("y");
        QCOMPARE(WordTestDrive::child<QLabel>(d.wrong(), "Label2")->text(), QString("maja"));
        QCOMPARE(WordTestDrive::child<QLabel>(d.wrong(), "Label3")->text(), QString("house"));
        QVERIFY(!d.test()->isVisible());
        QVERIFY(!d.test()->Timer2->isEnabled());
        d.continueAfterWrong();
        QVERIFY(d.test()->isVisible());
        QCOMPARE(d.question(), QString("koer"));
        QVERIFY(d.scripted());
    }
};

QTEST_MAIN(TestFlowTest)
#include "test_testflow.moc"
