// Every answer is judged against the question the user was shown, whatever
// the options, the editor or Open change while it is on screen.
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "support/WordTestDrive.h"
#include "ui/toolkit/Design.h"
#include "ui_Editor.h"
#include "ui_Main.h"

#include <QAccessible>
#include <QApplication>
#include <QTemporaryDir>
#include <QWindow>

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const Words FivePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}, {"hobune", "horse"}};
const Words FourPairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}};

QStringList resultLabels(Tulemus* r)
{
    QStringList texts;
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"})
        texts << WordTestDrive::child(r, name)->text();
    return texts;
}

QString wrongWindowPair(WordTestDrive& d)
{
    return d.wrong() ? d.child(d.wrong(), "Label2")->text() + "/" + d.child(d.wrong(), "Label3")->text() : QString();
}

// A real double click, as the window system delivers it: press, release,
// double-click, release.
void doubleClick(QWidget* w)
{
    QWindow* window = w->window()->windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
    Harness::flush();
}

void openFile(WordTestDrive& d, const QString& path)
{
    d.h.platform.answerDialog(path);
    d.main->ui->MFOpen->trigger();
    Harness::flush();
}

int tally(WordTestDrive& d) { return d.state().AnsweredCount * 100 + d.state().WrongCount; }

enum class ListChange { SortedInEditor, OpenedFile };
enum class RoundBreak { EditorAddedPairs, OpenedBiggerList, SortedBetweenQuestions };
} // namespace

Q_DECLARE_METATYPE(ListChange)
Q_DECLARE_METATYPE(RoundBreak)

class JudgedTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    void initTestCase() { QVERIFY(folder_.isValid()); }

    // Fault: the second release of a double click answered the next question.
    void doubleClickIsOneAnswer_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("tally");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("wrongWindow");
        QTest::newRow("right choice: the next question waits") << 1 << 100 << "maja" << "";
        QTest::newRow("wrong choice: the window shows the pair seen") << 2 << 101 << "maja" << "lehm/cow";
    }
    void doubleClickIsOneAnswer()
    {
        QFETCH(int, place);
        WordTestDrive d(FivePairs);
        d.choices();
        d.drawChoices(3, 0, {0, 1, 2, 4}); // lehm: cow house dog cat horse
        d.start();
        d.drawChoices(0, 2, {1, 2, 3, 4}); // maja: dog cat house cow horse
        doubleClick(d.choice(place));
        QTEST(tally(d), "tally");
        QTEST(wrongWindowPair(d), "wrongWindow");
        QTEST(d.question(), "question");
        QVERIFY(d.scripted());
    }

    // Behind the wrong-answer window the next question is set up but not
    // seen: nothing may answer it until "Continue".
    void nothingAnswersAnUnseenQuestion_data()
    {
        QTest::addColumn<bool>("choices");
        QTest::newRow("a click on a choice") << true;
        QTest::newRow("Enter in the answer box") << false;
    }
    void nothingAnswersAnUnseenQuestion()
    {
        QFETCH(bool, choices);
        WordTestDrive d(FivePairs);
        if (choices) {
            d.choices();
            d.drawChoices(3, 0, {0, 1, 2, 4}); // lehm: cow house dog cat horse
            d.start();
            d.drawChoices(0, 2, {1, 2, 3, 4}); // maja: dog cat house cow horse
            QTest::mouseClick(d.choice(2), Qt::LeftButton); // house: wrong
            QTest::mouseClick(d.choice(3), Qt::LeftButton); // would be right for maja
        } else {
            d.start(3);
            d.answer("cat", 0);
            d.answerBox()->setText("house");
            QTest::keyClick(d.answerBox(), Qt::Key_Return);
        }
        QCOMPARE(tally(d), 101);
        QCOMPARE(wrongWindowPair(d), QString("lehm/cow"));
        d.continueAfterWrong();
        QCOMPARE(d.question(), QString("maja"));
        QVERIFY(d.test()->isVisible());
    }

    // Fault: switching the asked side while a question is shown judged the
    // answer against the other side.
    void sideSwitchedWhileShown_data()
    {
        QTest::addColumn<bool>("askUnknown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("wrongWindow");
        QTest::addColumn<QString>("nextQuestion");
        QTest::newRow("to known words, right") << true << "house" << "" << "dog";
        QTest::newRow("to known words, wrong") << true << "koer" << "maja/house" << "dog";
        QTest::newRow("to unknown words, right") << false << "maja" << "" << "koer";
        QTest::newRow("to unknown words, wrong") << false << "house" << "house/maja" << "koer";
    }
    void sideSwitchedWhileShown()
    {
        QFETCH(bool, askUnknown);
        QFETCH(QString, wrongWindow);
        WordTestDrive d(FivePairs);
        d.child<QRadioButton>(d.main, askUnknown ? "Option1" : "Option2")->setChecked(true);
        d.start(0);
        QCOMPARE(d.question(), QString(askUnknown ? "maja" : "house"));
        d.child<QRadioButton>(d.main, askUnknown ? "Option2" : "Option1")->setChecked(true);
        QFETCH(QString, typed);
        d.answer(typed, 1);
        QCOMPARE(d.state().WrongCount, std::int16_t(wrongWindow.isEmpty() ? 0 : 1));
        QCOMPARE(wrongWindowPair(d), wrongWindow);
        QTEST(d.question(), "nextQuestion"); // the switch counts from here on
    }

    // Fault: a sort or an Open moved another pair under the question on screen.
    void listChangedUnderTheQuestion_data()
    {
        QTest::addColumn<ListChange>("change");
        QTest::newRow("sorted in the editor") << ListChange::SortedInEditor;
        QTest::newRow("another list opened") << ListChange::OpenedFile;
    }
    void listChangedUnderTheQuestion()
    {
        QFETCH(ListChange, change);
        WordTestDrive d(FourPairs);
        d.start(0);
        QCOMPARE(d.question(), QString("maja"));
        if (change == ListChange::SortedInEditor) {
            Editor* e = openEditor(d.h);
            QVERIFY(e);
            e->ui->Command5->click(); // unknown words A-Z: kass/cat comes first
            QCOMPARE(d.state().UnknownWords[0], QString("cat"));
            e->ui->Command4->click();
        } else {
            const QString path = folder_.filePath("other.dic");
            writeBytes(path, "auto\r\ncar\r\npuu\r\ntree\r\n");
            openFile(d, path);
            QCOMPARE(d.state().UnknownWords[0], QString("car"));
        }
        d.answer("house", 1);
        QCOMPARE(tally(d), 100);
        QVERIFY(!d.wrong());
    }

    // Fault: a switch of mode during a test left it unanswerable.
    void modeSwitchGivesAUsableTest()
    {
        WordTestDrive d(FivePairs);
        d.start(0);
        const auto layout = [&d](bool normal) {
            QString faults;
            for (int n = 1; n <= 5; ++n)
                if (d.choice(n)->isHidden() != normal)
                    faults += QString(" choice %1").arg(n);
            if (d.answerBox()->isHidden() == normal)
                faults += " answer box";
            if (d.child<QPushButton>(d.test(), "Command1")->isEnabled() != normal)
                faults += " OK";
            // Normal moves the statistics up once; Choices has them below the choices.
            const QPoint clock = d.child(d.test(), "Label7")->pos();
            if (clock != (normal ? QPoint(24, 104) : QPoint(24, 320)))
                faults += " clock at " + QString::number(clock.y());
            if (d.test()->height() != (normal ? 459 - 216 : 459))
                faults += " height " + QString::number(d.test()->height());
            if (!normal && d.choice(5)->geometry().bottom() >= clock.y())
                faults += " overlap";
            return faults;
        };
        QCOMPARE(layout(true), QString());
        const auto normal = [&d] { d.child<QRadioButton>(d.main, "Option3")->setChecked(true); };
        d.choices(); // the question on screen stays a typed one
        d.drawChoices(1, 0, {0, 2, 3, 4}); // koer: dog house cat cow horse
        d.answer("house");
        QCOMPARE(layout(false), QString());
        normal(); // the question on screen stays a choice
        d.draw(2);
        QTest::mouseClick(d.choice(1), Qt::LeftButton);
        QCOMPARE(layout(true), QString());
        d.choices();
        d.drawChoices(3, 4, {0, 1, 2, 4}); // lehm: house horse dog cat cow
        d.answer("cot"); // wrong for kass
        QCOMPARE(wrongWindowPair(d), QString("kass/cat"));
        d.continueAfterWrong();
        QCOMPARE(layout(false), QString());
        normal();
        d.draw(4);
        QTest::mouseClick(d.choice(5), Qt::LeftButton);
        QCOMPARE(layout(true), QString());
        QCOMPARE(tally(d), 401);
        QVERIFY(d.scripted());
    }

    // Fault: the results window, open already, kept the counts of its opening.
    void resultsOpenAsTheTestEnds_data()
    {
        QTest::addColumn<int>("end");
        QTest::newRow("the round completes") << 0;
        QTest::newRow("the last answer") << 1;
        QTest::newRow("Close") << 2;
    }
    void resultsOpenAsTheTestEnds()
    {
        QFETCH(int, end);
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}});
        d.start(0);
        d.answer("A", 1);
        d.answer("x", 2);
        d.continueAfterWrong();
        d.press(d.test(), "Command3"); // Results in the middle of the test
        QCOMPARE(resultLabels(d.results()),
                 (QStringList{"Word count:  2", "Right:  1", "Wrong:  1", "Right answers:  50%"}));
        int beeps = d.h.platform.beeps;
        QStringList expected{"Word count:  4", "Right:  3", "Wrong:  1", "Right answers:  75%"};
        int beepsOfTheEnd = 3;
        if (end == 1) {
            // A shorter list: the test ends at its next answer.
            const QString path = folder_.filePath("two.dic");
            writeBytes(path, "f\r\nF\r\ng\r\nG\r\n");
            openFile(d, path);
            d.start(1);
            d.answer("G");
            expected = QStringList{"Word count:  3", "Right:  2", "Wrong:  1", "Right answers:  67%"};
        } else if (end == 2) {
            // Closed, the test leaves the results open behind it, quietly.
            d.start(3);
            d.answer("D", 4);
            d.press(d.test(), "Command2");
            expected = QStringList{"Word count:  3", "Right:  2", "Wrong:  1", "Right answers:  67%"};
            beepsOfTheEnd = 0;
        } else {
            d.start(3); // the same test goes on while the results stay open
            d.answer("D", 4);
            d.draw(0); // every pair shown: the round is complete
            d.answer("E");
        }
        QVERIFY(!d.test());
        QCOMPARE(resultLabels(d.results()), expected);
        QCOMPARE(d.h.platform.beeps - beeps, beepsOfTheEnd);
        QVERIFY(d.scripted());
    }

    // Fault: a stored word with blanks at an end could never be typed right.
    void blanksAroundStoredWords_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("right");
        QTest::newRow("blanks both ends, typed bare") << " house " << "house" << true;
        QTest::newRow("trailing blanks, typed with leading") << "house  " << "  house" << true;
        QTest::newRow("leading blank, other case") << " house" << "House" << false;
        QTest::newRow("inner blank kept") << " ice cream " << "icecream" << false;
    }
    void blanksAroundStoredWords()
    {
        QFETCH(QString, stored);
        QFETCH(bool, right);
        WordTestDrive d({{"maja", stored}, {"koer", "dog"}});
        d.start(0);
        QFETCH(QString, typed);
        d.answer(typed, 1);
        QCOMPARE(d.state().WrongCount, std::int16_t(right ? 0 : 1));
    }

    // Fault: marks of an earlier list or order carried over, so a round asked
    // one pair twice and another never.
    void everyPairOnceARound_data()
    {
        QTest::addColumn<RoundBreak>("change");
        QTest::newRow("editor added pairs") << RoundBreak::EditorAddedPairs;
        QTest::newRow("bigger list opened") << RoundBreak::OpenedBiggerList;
        QTest::newRow("sorted between questions") << RoundBreak::SortedBetweenQuestions;
    }
    void everyPairOnceARound()
    {
        QFETCH(RoundBreak, change);
        WordTestDrive d(FourPairs);
        const QHash<QString, QString> rightAnswer{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"},
                                                  {"a", "A"},        {"b", "B"},     {"c", "C"},     {"d", "D"}};
        QStringList shown; // every question as it appears
        const auto start = [&](std::initializer_list<int> draws) {
            for (int i : draws)
                d.draw(i);
            d.start();
            shown << d.question();
        };
        // Answers the question on screen right, the draws of the next one queued.
        const auto answerRight = [&](std::initializer_list<int> draws) {
            for (int i : draws)
                d.draw(i);
            d.answer(rightAnswer.value(d.question()));
            if (d.test())
                shown << d.question();
        };
        if (change == RoundBreak::SortedBetweenQuestions) {
            start({0});
            answerRight({1});
            answerRight({2});
            d.press(d.test(), "Command2"); // Close: counters and marks stay
            Editor* e = openEditor(d.h);
            QVERIFY(e);
            e->ui->Command5->click(); // cat cow dog house: kass lehm koer maja
            e->ui->Command4->click();
            start({3, 2, 0, 1}); // maja, koer and kass were shown already
            QCOMPARE(shown.size(), 4);
        } else {
            start({0});
            for (int next : {1, 2, 3})
                answerRight({next});
            answerRight({});
            d.press(d.results(), "Command2"); // End Test
            shown.clear();
            if (change == RoundBreak::EditorAddedPairs) {
                Editor* e = openEditor(d.h);
                QVERIFY(e);
                for (const char* w : {"a", "b", "c", "d"}) {
                    setBoxes(e, w, QString(w).toUpper());
                    e->ui->Command1->click();
                }
                e->ui->Command4->click();
            } else {
                const QString path = folder_.filePath("eight.dic");
                writeBytes(path, "maja\r\nhouse\r\nkoer\r\ndog\r\nkass\r\ncat\r\nlehm\r\ncow\r\n"
                                 "a\r\nA\r\nb\r\nB\r\nc\r\nC\r\nd\r\nD\r\n");
                openFile(d, path);
            }
            QCOMPARE(d.state().LastWordIndex, std::int16_t(7));
            start({4});
            for (int next : {5, 6, 7})
                answerRight({next});
            answerRight({4, 5, 0}); // pairs shown already, then an old one
            for (int next : {1, 2, 3})
                answerRight({next});
            answerRight({});
            QVERIFY(d.results());
            QCOMPARE(shown.size(), 8);
        }
        QStringList distinct = shown;
        distinct.removeDuplicates();
        QCOMPARE(distinct, shown);
        QCOMPARE(d.state().WrongCount, std::int16_t(0));
    }

    // A whole Choices test without the mouse: Tab, arrows, Enter, Space and
    // the keys 1 to 5; the highlight goes with the focus.
    void choicesByKeysOnly()
    {
        WordTestDrive d(FivePairs);
        d.choices();
        d.drawChoices(3, 0, {0, 1, 2, 4}); // lehm: cow house dog cat horse
        d.start();
        QApplication::setActiveWindow(d.test());
        QVERIFY(QTest::qWaitForWindowActive(d.test()));
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            QTest::keyClick(focus, k, mods);
            Harness::flush();
        };
        const auto focusedChoice = [&d] {
            for (int n = 1; n <= 5; ++n)
                if (d.choice(n)->hasFocus())
                    return n;
            return 0;
        };
        const auto lit = [&d](int n) {
            return d.choice(n)->palette().color(QPalette::Window) == systemColour(SystemColour::Highlight);
        };

        QCOMPARE(focusedChoice(), 1);
        key(Qt::Key_Down);
        QCOMPARE(focusedChoice(), 2);
        QVERIFY(lit(2) && !lit(1));
        key(Qt::Key_Up);
        d.drawChoices(0, 2, {1, 2, 3, 4}); // maja: dog cat house cow horse
        key(Qt::Key_Return);
        QCOMPARE(tally(d), 100);
        QCOMPARE(d.question(), QString("maja"));

        d.drawChoices(1, 4, {0, 2, 3, 4}); // koer: house horse cat cow dog
        key(Qt::Key_3);
        QCOMPARE(tally(d), 200);

        key(Qt::Key_Tab);
        QCOMPARE(focusedChoice(), 2);
        key(Qt::Key_Left);
        key(Qt::Key_Left); // round to the last
        QCOMPARE(focusedChoice(), 5);
        QVERIFY(lit(5));
        d.drawChoices(2, 1, {0, 1, 3, 4}); // kass: house cat dog cow horse
        key(Qt::Key_Space);
        QCOMPARE(tally(d), 300);

        key(Qt::Key_Backtab);
        QCOMPARE(focusedChoice(), 4);
        for (int i = 0; i < 3; ++i)
            key(Qt::Key_Right);
        QCOMPARE(focusedChoice(), 2);
        d.drawChoices(4, 3, {0, 1, 2, 3}); // hobune: house cat dog horse cow
        key(Qt::Key_Enter);
        QCOMPARE(tally(d), 400);

        key(Qt::Key_1); // house: wrong
        QCOMPARE(tally(d), 501);
        QCOMPARE(wrongWindowPair(d), QString("hobune/horse"));
        QVERIFY(d.results());
        QVERIFY(d.scripted());
    }

    // Screen readers see each choice as a button named by its word, and its
    // press action picks it.
    void choicesSeenAsButtons()
    {
        WordTestDrive d(FivePairs);
        d.choices();
        d.drawChoices(3, 0, {0, 1, 2, 4}); // lehm: cow house dog cat horse
        d.start();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(d.choice(2));
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Button);
        QCOMPARE(a->text(QAccessible::Name), QString("house"));
        QVERIFY(a->state().focusable);
        QAccessibleActionInterface* act = a->actionInterface();
        QVERIFY(act && act->actionNames().contains(QAccessibleActionInterface::pressAction()));
        d.draw(0);
        act->doAction(QAccessibleActionInterface::pressAction());
        Harness::flush();
        QCOMPARE(tally(d), 101);
        QCOMPARE(wrongWindowPair(d), QString("lehm/cow"));
    }
};

QTEST_MAIN(JudgedTest)
#include "test_judged.moc"
