// The test window on its own: set-up, layouts, typed and chosen answers,
// the time limit and the clock.
#include "support/WordTestDrive.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/Design.h"

#include <QPointer>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

const std::vector<std::pair<QString, QString>> ThreePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}};
const std::vector<std::pair<QString, QString>> FivePairs{
    {"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}, {"hobune", "horse"}};

QString texts(WordTestDrive& d)
{
    QString all;
    for (int n = 1; n <= 5; ++n)
        all += d.choice(n)->text();
    return all;
}

bool highlighted(QWidget* w)
{
    return w->palette().color(QPalette::Window) == systemColour(SystemColour::Highlight)
        && w->palette().color(QPalette::WindowText) == systemColour(SystemColour::HighlightText);
}

bool plain(QWidget* w)
{
    return w->palette().color(QPalette::Window) == systemColour(SystemColour::MenuBar)
        && w->palette().color(QPalette::WindowText) == systemColour(SystemColour::MenuText);
}

} // namespace

class TestWindowTest : public QObject {
    Q_OBJECT
private slots:
    void statistics_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("scroll");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("fresh") << 0 << 0 << 0
                               << QStringList{"Vastatud:  0", "Õigeid:  0", "Valesid:  0", "Vastata:  3",
                                              "Õigeid vastuseid on 0 %", "Aeg:  0"};
        QTest::newRow("1 of 1") << 1 << 0 << 30
                                << QStringList{"Vastatud:  1", "Õigeid:  1", "Valesid:  0", "Vastata:  2",
                                               "Õigeid vastuseid on  100%", "Aeg:  30"};
        QTest::newRow("2 of 3") << 3 << 1 << 0
                                << QStringList{"Vastatud:  3", "Õigeid:  2", "Valesid:  1", "Vastata:  0",
                                               "Õigeid vastuseid on  67%", "Aeg:  0"};
        // Counters kept from a closed test can exceed the list.
        QTest::newRow("1 of 8") << 8 << 7 << 0
                                << QStringList{"Vastatud:  8", "Õigeid:  1", "Valesid:  7", "Vastata: -5",
                                               "Õigeid vastuseid on  12%", "Aeg:  0"};
    }
    void statistics()
    {
        QFETCH(int, answered);
        QFETCH(int, wrong);
        QFETCH(int, scroll);
        QFETCH(QStringList, labels);
        WordTestDrive d(ThreePairs);
        // The limit is off: the clock label still shows the scroll bar.
        WordTestDrive::child<QScrollBar>(d.main, "VScroll1")->setValue(scroll);
        d.state().AnsweredCount = static_cast<std::int16_t>(answered);
        d.state().WrongCount = static_cast<std::int16_t>(wrong);
        d.start();
        QCOMPARE(d.statistics(), labels);
        QCOMPARE(d.test()->windowTitle(), QString("Test"));
        QCOMPARE(d.test()->Timer1->interval(), 0);
    }

    void normalLayoutMovesOnce()
    {
        WordTestDrive d(FivePairs);
        d.draw(3);
        d.start();
        QCOMPARE(d.question(), QString("lehm"));
        QCOMPARE(d.h.platform.seeds, std::vector<double>{36000.0});
        const auto check = [&d] {
            Test* t = d.test();
            for (int n = 1; n <= 5; ++n)
                QVERIFY(d.choice(n)->isHidden());
            QVERIFY(!d.answerBox()->isHidden());
            QVERIFY(WordTestDrive::child<QPushButton>(t, "Command1")->isEnabled());
            // Everything from the clock down moves up by 216 px (3240 twips).
            QCOMPARE(WordTestDrive::child<QLabel>(t, "Label7")->pos(), QPoint(24, 104));
            QCOMPARE(WordTestDrive::child<QLabel>(t, "Label2")->pos(), QPoint(24, 136));
            QCOMPARE(WordTestDrive::child<QLabel>(t, "Label3")->pos(), QPoint(184, 136));
            QCOMPARE(WordTestDrive::child<QLabel>(t, "Label6")->pos(), QPoint(24, 168));
            QCOMPARE(WordTestDrive::child<QLabel>(t, "Label4")->pos(), QPoint(184, 168));
            QCOMPARE(WordTestDrive::child<QLabel>(t, "Label5")->pos(), QPoint(24, 200));
            QCOMPARE(WordTestDrive::child<QWidget>(t, "Shape1")->pos(), QPoint(16, 312));
            QCOMPARE(t->size(), QSize(372, 459 - 216));
        };
        check();
        d.draw(0);
        d.answer("cow");
        QCOMPARE(d.question(), QString("maja"));
        check();
        // Reseeded from the clock before every question.
        QCOMPARE(d.h.platform.seeds.size(), size_t(2));
        QVERIFY(d.scripted());
    }

    void switchingModes()
    {
        {
            WordTestDrive d(FivePairs);
            d.draw(0);
            d.start();
            d.choices();
            d.drawChoices(1, 2, {2, 3, 4, 0});
            d.answer("house");
            // Filled, but the Normal set-up hid them; the box goes too.
            QCOMPARE(texts(d), QString("catcowdoghorsehouse"));
            for (int n = 1; n <= 5; ++n)
                QVERIFY(d.choice(n)->isHidden());
            QVERIFY(d.answerBox()->isHidden());
            QVERIFY(!WordTestDrive::child<QPushButton>(d.test(), "Command1")->isEnabled());
            QCOMPARE(d.test()->height(), 459 - 216);
        }
        {
            WordTestDrive d(FivePairs);
            d.choices();
            d.drawChoices(0, 0, {1, 2, 3, 4});
            d.start();
            QCOMPARE(d.test()->height(), 459);
            QVERIFY(d.answerBox()->isHidden());
            // The disabled OK button must look disabled.
            const QPalette ok = WordTestDrive::child<QPushButton>(d.test(), "Command1")->palette();
            QVERIFY(ok.color(QPalette::Disabled, QPalette::ButtonText) != ok.color(QPalette::Active, QPalette::ButtonText));
            QCOMPARE(WordTestDrive::child<QLabel>(d.test(), "Label7")->y(), 320);
            d.normal();
            d.draw(1);
            d.test()->Kyssa1_Click();
            QCOMPARE(d.state().WrongCount, std::int16_t(0));
            for (int n = 1; n <= 5; ++n)
                QVERIFY(d.choice(n)->isHidden());
            QVERIFY(d.answerBox()->isHidden());
            QVERIFY(!WordTestDrive::child<QPushButton>(d.test(), "Command1")->isEnabled());
            QCOMPARE(WordTestDrive::child<QLabel>(d.test(), "Label7")->y(), 104);
        }
    }

    void placement_data()
    {
        QTest::addColumn<int>("p");
        QTest::addColumn<bool>("askKnown");
        QTest::addColumn<QString>("expected");
        // Right answer F, fillers drawn A, B, C, D in the table's order.
        QTest::newRow("p0") << 0 << false << "FABCD";
        QTest::newRow("p1") << 1 << false << "AFBCD";
        QTest::newRow("p2") << 2 << false << "ABFCD";
        QTest::newRow("p3") << 3 << false << "ACBFD";
        QTest::newRow("p4") << 4 << false << "ADBCF";
        QTest::newRow("p2 known words") << 2 << true << "abfcd";
    }
    void placement()
    {
        QFETCH(int, p);
        QFETCH(bool, askKnown);
        QFETCH(QString, expected);
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}, {"f", "F"}});
        d.choices();
        if (askKnown)
            d.askKnownWords();
        d.drawChoices(5, p, {0, 1, 2, 3});
        d.start();
        QCOMPARE(d.question(), askKnown ? QString("F") : QString("f"));
        QCOMPARE(texts(d), expected);
        QVERIFY(!d.choice(1)->isHidden());
        QVERIFY(d.scripted());
    }

    void choicesAsDrawn()
    {
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}, {"hund", "dog"}, {"kass", ""}, {"maja2", "house "}});
        d.choices();
        // The pair itself, a repeat, an empty answer and a twin text all stay.
        d.drawChoices(1, 0, {1, 1, 3, 2});
        d.start();
        QCOMPARE(texts(d), QString("dogdogdogdog"));
        QCOMPARE(d.choice(4)->text(), QString());
        d.drawChoices(0, 4, {3, 0, 1, 4});
        QTest::mouseClick(d.choice(5), Qt::LeftButton); // the twin pair's text counts as right
        Harness::flush();
        QCOMPARE(d.state().AnsweredCount, std::int16_t(1));
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QCOMPARE(d.question(), QString("maja"));
        QCOMPARE(texts(d), QString("house housedoghouse"));
        // Never trimmed here: "house " is not "house".
        d.drawChoices(2, 0, {3, 0, 0, 0});
        QTest::mouseClick(d.choice(2), Qt::LeftButton);
        Harness::flush();
        QCOMPARE(d.state().WrongCount, std::int16_t(1));
        d.continueAfterWrong();
        // An empty choice checks the empty text.
        QCOMPARE(d.choice(2)->text(), QString());
        d.drawChoices(3, 0, {0, 0, 0, 0});
        QTest::mouseClick(d.choice(2), Qt::LeftButton);
        Harness::flush();
        QCOMPARE(d.state().WrongCount, std::int16_t(2));
        QCOMPARE(d.state().AnsweredCount, std::int16_t(3));
        QVERIFY(d.scripted());
    }

    void hoverHighlight()
    {
        WordTestDrive d(FivePairs);
        d.choices();
        d.drawChoices(0, 0, {1, 2, 3, 4});
        d.start();
        for (int n = 1; n <= 5; ++n)
            QVERIFY(plain(d.choice(n)));
        QTest::mouseMove(d.choice(2));
        QVERIFY(highlighted(d.choice(2)));
        QTest::mouseMove(d.choice(4));
        QVERIFY(highlighted(d.choice(4)));
        for (int n : {1, 2, 3, 5})
            QVERIFY(plain(d.choice(n)));
        d.test()->Kyssa4_MouseMove();
        QVERIFY(highlighted(d.choice(4)));
        // The next question keeps it.
        d.drawChoices(1, 0, {1, 2, 3, 4});
        d.test()->Kyssa1_Click();
        QVERIFY(highlighted(d.choice(4)));
        QVERIFY(plain(d.choice(2)));
        QVERIFY(d.scripted());
    }

    void typedAnswers()
    {
        WordTestDrive d(FivePairs);
        d.draw(0);
        d.start();
        QLineEdit* box = d.answerBox();
        box->setFocus();
        QTest::keyClicks(box, "  house  ");
        QCOMPARE(box->text(), QString("  house  "));
        d.draw(1);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(1));
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QCOMPARE(box->text(), QString());

        QTest::keyClicks(box, "dog");
        d.draw(2);
        QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QVERIFY(d.test()->isVisible()); // Esc submits; it does not close

        d.draw(3);
        d.answer("\tcat"); // only blanks are trimmed
        QCOMPARE(d.state().WrongCount, std::int16_t(1));
        QCOMPARE(d.h.platform.beeps, 1);
        d.continueAfterWrong();

        d.draw(4);
        d.answer("Cow"); // case matters
        QCOMPARE(d.state().WrongCount, std::int16_t(2));
        d.continueAfterWrong();

        // The question label shows LastWordIndex while the check runs; after
        // the last answer nothing writes over it.
        QPointer<Test> last = d.test();
        QTest::keyClicks(d.answerBox(), "horse");
        QTest::keyClick(d.answerBox(), Qt::Key_Enter);
        QVERIFY(last && last->isUnloaded());
        QCOMPARE(WordTestDrive::child<QLabel>(last, "Label1")->text(), QString(" 4"));
        QCOMPARE(d.state().AnsweredCount, std::int16_t(5));
        Harness::flush();
        QVERIFY(d.results());
        QVERIFY(d.scripted());
    }

    void timeLimitAndClock()
    {
        WordTestDrive d(FivePairs);
        d.timeLimit(10);
        d.draw(0);
        d.start();
        QCOMPARE(d.test()->Timer1->interval(), 10000);
        QCOMPARE(d.text("Label7"), QString("Aeg:  10"));
        d.h.platform.advance(3000);
        QCOMPARE(d.text("Label7"), QString("Aeg:  7"));

        // A complete answer left in the box counts as right at the time-out.
        d.answerBox()->setText("house");
        d.draw(1);
        d.h.platform.advance(7000);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(1));
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
        QCOMPARE(d.question(), QString("koer"));

        // Nothing typed: wrong, and no time runs behind the wrong-answer window.
        d.draw(2);
        d.h.platform.advance(10000);
        QCOMPARE(d.state().WrongCount, std::int16_t(1));
        QVERIFY(d.wrong() && d.wrong()->isVisible());
        QVERIFY(!d.test()->isVisible());
        const QString clock = d.text("Label7");
        const auto elapsed = d.state().ElapsedSeconds;
        d.h.platform.advance(60000);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
        QCOMPARE(d.text("Label7"), clock);
        QCOMPARE(d.state().ElapsedSeconds, elapsed);

        // Continue gives the next question its full ten seconds.
        d.continueAfterWrong();
        QVERIFY(d.test()->isVisible());
        QCOMPARE(d.state().ElapsedSeconds, std::int16_t(0));
        d.h.platform.advance(9999);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(2));
        d.answerBox()->setText("cat");
        d.draw(3);
        d.h.platform.advance(1);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(3));
        QCOMPARE(d.state().WrongCount, std::int16_t(1));

        // Switching the limit off stops the clock display, not the time-outs.
        WordTestDrive::child<QCheckBox>(d.main, "Check1")->setChecked(false);
        const QString stopped = d.text("Label7");
        d.h.platform.advance(5000);
        QCOMPARE(d.text("Label7"), stopped);
        d.answerBox()->setText("cow");
        d.draw(4);
        d.h.platform.advance(5000);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(4));
        QCOMPARE(d.state().WrongCount, std::int16_t(1));
        QVERIFY(d.scripted());
    }

    void longLimitFitsTheTimer()
    {
        WordTestDrive d(ThreePairs);
        d.timeLimit(300);
        d.draw(0);
        d.start();
        QCOMPARE(d.test()->Timer1->interval(), 300000);
        d.h.platform.advance(299999);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(0));
        d.h.platform.advance(1);
        QCOMPARE(d.state().AnsweredCount, std::int16_t(1));
    }

    void wrongAnswerWindow()
    {
        WordTestDrive d(ThreePairs);
        d.askKnownWords();
        d.draw(1);
        d.start();
        QCOMPARE(d.question(), QString("dog"));
        d.draw(2);
        d.answer("Koer");
        AkenVale* w = d.wrong();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), QString("Vale Vastus"));
        QCOMPARE(WordTestDrive::child<QLabel>(w, "Label2")->text(), QString("dog"));
        QCOMPARE(WordTestDrive::child<QLabel>(w, "Label3")->text(), QString("koer"));
        QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));
        w->close();
        QVERIFY(d.wrong() && d.wrong()->isVisible());
        QVERIFY(!d.state().WrongAnswerAcknowledged);

        // With the limit off nothing restarts the clock; the next answer
        // brings back the time-limit timer only.
        QVERIFY(!d.test()->Timer1->isEnabled() && !d.test()->Timer2->isEnabled());
        d.continueAfterWrong();
        QVERIFY(d.state().WrongAnswerAcknowledged);
        QVERIFY(!d.test()->Timer1->isEnabled() && !d.test()->Timer2->isEnabled());
        d.answer("kass");
        QVERIFY(d.test()->Timer1->isEnabled());
        QVERIFY(!d.test()->Timer2->isEnabled());
    }
};

QTEST_MAIN(TestWindowTest)
#include "test_testwindow.moc"
