#include "support/WordTestDrive.h"
#include "ui/toolkit/Design.h"

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const Words FivePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}, {"hobune", "horse"}};

bool coloured(QWidget* w, SystemColour back, SystemColour fore)
{
    return w->palette().color(QPalette::Window) == systemColour(back)
        && w->palette().color(QPalette::WindowText) == systemColour(fore);
}
} // namespace

class TestWindowTest : public QObject {
    Q_OBJECT
private slots:
    void statisticsTexts()
    {
        for (auto [answered, wrong, left, percent] : {std::tuple{0, 0, "Vastata:  5", "Õigeid vastuseid on 0 %"},
                                                      {3, 1, "Vastata:  2", "Õigeid vastuseid on  67%"},
                                                      {8, 7, "Vastata: -3", "Õigeid vastuseid on  12%"}}) {
            WordTestDrive d(FivePairs);
            d.state().AnsweredCount = static_cast<std::int16_t>(answered);
            d.state().WrongCount = static_cast<std::int16_t>(wrong);
            d.start();
            QCOMPARE(d.text("Label6") + " / " + d.text("Label5"), QString(left) + " / " + percent);
        }
    }

    void normalLayoutMovesOnce()
    {
        WordTestDrive d(FivePairs);
        d.start(3);
        for (int next : {0, 1}) {
            QVERIFY(d.choice(1)->isHidden() && d.choice(5)->isHidden() && !d.answerBox()->isHidden());
            // Everything from the clock down moves up by 216 px, once.
            QCOMPARE(d.child(d.test(), "Label7")->pos(), QPoint(24, 104));
            QCOMPARE(d.test()->size(), QSize(372, 459 - 216));
            d.answer(next == 0 ? "cow" : "house", next);
        }
        QVERIFY(d.scripted());
    }

    void typedAnswers()
    {
        WordTestDrive d(FivePairs);
        d.start(0);
        QLineEdit* box = d.answerBox();
        QTest::keyClicks(box, "  house  "); // blanks are trimmed
        d.draw(1);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "dog");
        d.draw(2);
        QTest::keyClick(box, Qt::Key_Escape); // submits, does not close
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
        QVERIFY(d.test()->isVisible());
        d.answer("\tcat", 3); // tabs are not blanks
        QCOMPARE(d.state().WrongCount, std::int16_t(1));
        d.continueAfterWrong();
        d.answer("Cow", 4); // case matters
        QCOMPARE(d.state().WrongCount, std::int16_t(2));
    }

    void timeOut()
    {
        WordTestDrive d(FivePairs);
        d.timeLimit(10);
        d.start(0);
        d.answerBox()->setText("house"); // left in the box, it counts at the time-out
        d.draw(1);
        d.h.platform.advance(10000);
        QCOMPARE(d.state().AnsweredCount - d.state().WrongCount, 1);
        d.draw(2); // nothing typed: wrong, and no time runs behind the wrong-answer window
        d.h.platform.advance(10000);
        QVERIFY(!d.test()->Timer1->isEnabled() && !d.test()->Timer2->isEnabled());
        const QString clock = d.text("Label7");
        d.h.platform.advance(60000);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
        QCOMPARE(d.text("Label7"), clock);
        d.continueAfterWrong();
        QCOMPARE(d.state().ElapsedSeconds, std::int16_t(0));
        QVERIFY(d.scripted());
    }

    void choicesPlacedAndHovered()
    {
        for (auto [p, expected] : {std::pair{1, "AFBCD"}, {4, "ADBCF"}}) {
            WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}, {"f", "F"}});
            d.choices();
            d.drawChoices(5, p, {0, 1, 2, 3}); // right answer F, fillers A..D
            d.start();
            QCOMPARE(d.choiceTexts(), QString(expected));
            QTest::mouseMove(d.choice(2));
            QTest::mouseMove(d.choice(4));
            QVERIFY(coloured(d.choice(4), SystemColour::Highlight, SystemColour::HighlightText));
            QVERIFY(coloured(d.choice(2), SystemColour::MenuBar, SystemColour::MenuText));
        }
        // A repeat, the pair itself and a twin text are all kept; the twin counts as right.
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}, {"hund", "dog"}, {"kass", ""}});
        d.choices();
        d.drawChoices(1, 0, {1, 1, 3, 2});
        d.start();
        QCOMPARE(d.choiceTexts(), QString("dogdogdogdog"));
        d.draw(0);
        QTest::mouseClick(d.choice(5), Qt::LeftButton);
        QCOMPARE(d.state().AnsweredCount - d.state().WrongCount, 1);
    }

    // What a test sees of the question on screen: taken when it appeared,
    // untouched by later option changes, gone once it is answered.
    void shownQuestionIsWhatIsOnScreen()
    {
        WordTestDrive d(FivePairs);
        d.choices();
        d.child<QRadioButton>(d.main, "Option2")->setChecked(true); // known words asked
        d.drawChoices(3, 1, {0, 1, 2, 4});
        d.start();
        const ShownQuestion& q = d.test()->shownQuestion();
        QVERIFY(q.isShown());
        QCOMPARE(q.pair, 3);
        QCOMPARE(q.question, d.question());
        QCOMPARE(q.question + "/" + q.expected, QString("cow/lehm"));
        QCOMPARE(q.mode, AnswerMode::Choices);
        QString offered;
        for (const QString& c : q.choices)
            offered += c + " ";
        QCOMPARE(offered, QString("maja lehm koer kass hobune "));
        QCOMPARE(offered.remove(' '), d.choiceTexts());
        d.child<QRadioButton>(d.main, "Option3")->setChecked(true);
        d.child<QRadioButton>(d.main, "Option1")->setChecked(true);
        QCOMPARE(q.mode, AnswerMode::Choices);
        QCOMPARE(q.expected, QString("lehm"));
        d.draw(0);
        QTest::mouseClick(d.choice(1), Qt::LeftButton); // maja: wrong
        QCOMPARE(q.question + "/" + q.expected, QString("maja/house")); // the next, set up behind
        QCOMPARE(q.mode, AnswerMode::Normal);
        QVERIFY(d.scripted());
    }
};

QTEST_MAIN(TestWindowTest)
#include "test_testwindow.moc"
