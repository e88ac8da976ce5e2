// The word-test windows as a user meets them: the test, the wrong-answer
// window and the results. Every answer is judged against the question the
// user was shown, whatever the options, the editor or Open change meanwhile.
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "support/WordTestDrive.h"
#include "ui_Editor.h"
#include "ui/toolkit/Design.h"
#include "ui_Main.h"

#include <QAccessible>
#include <QWindow>

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const Words FivePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}, {"hobune", "horse"}};

// The counts, then each window that is open and what it shows: the test its
// question and any choices, the wrong-answer window the pair, the results the numbers.
QString status(WordTestDrive& d)
{
    const MOODUL1& s = d.state();
    QString status = QString("%1 right %2 wrong").arg(s.AnsweredCount - s.WrongCount).arg(s.WrongCount);
    if (d.test()) {
        status += (d.test()->isVisible() ? ", test: " : ", test hidden: ") + d.question();
        for (int n = 1; n <= 5; ++n)
            status += d.choice(n)->isHidden() ? QString() : " / " + d.choice(n)->text();
    }
    if (AkenVale* wrong = d.wrong())
        status += ", wrong answer: " + d.child(wrong, "Label2")->text() + "/" + d.child(wrong, "Label3")->text();
    if (d.results()) {
        status += ", results";
        for (const char* label : {"Label1", "Label2", "Label3", "Label4"})
            status += " " + d.child(d.results(), label)->text().split(' ').last();
    }
    return status;
}

// How the test window lets the user answer, and where its statistics are.
QString layout(WordTestDrive& d)
{
    QString offered = d.answerBox()->isHidden() ? "" : "box";
    for (int n = 1; n <= 5; ++n)
        offered += d.choice(n)->isHidden() ? "" : QString::number(n);
    offered += d.child<QPushButton>(d.test(), "Command1")->isEnabled() ? ", OK" : "";
    const int clock = d.child(d.test(), "Label7")->y();
    return offered + QString(", clock at %1, height %2").arg(clock).arg(d.test()->height());
}
// Normal moves the statistics up into the place of the choices, once.
const QString NormalLayout = "box, OK, clock at 104, height 243";
const QString ChoicesLayout = "12345, clock at 320, height 459";

void openFile(WordTestDrive& d, const QString& path, const QByteArray& bytes)
{
    writeBytes(path, bytes);
    d.h.platform.answerDialog(path);
    d.main->ui->MFOpen->trigger();
    Harness::flush();
}

} // namespace

class WordTestWindowsTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    // Typed answers under a time limit, from the first question to End Test.
    void typedAnswersUnderATimeLimit()
    {
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}, {"kass", " cat  "}, {"lehm", "cow"}, {"hobune", "horse"}});
        d.child<QCheckBox>(d.main, "Check1")->setChecked(true);
        d.child<QScrollBar>(d.main, "VScroll1")->setValue(10);
        d.start(0);
        QCOMPARE(d.text("Label5"), QString("Õigeid vastuseid on 0 %"));
        QTest::keyClicks(d.answerBox(), "  house  "); // blanks around the answer do not count
        d.draw(0); // asked already: drawn again
        d.draw(2);
        d.h.waitForKeys();
        QTest::keyClick(d.answerBox(), Qt::Key_Return);
        QTest::keyClicks(d.answerBox(), "cat"); // nor blanks around the stored word
        d.draw(1);
        d.h.waitForKeys();
        QTest::keyClick(d.answerBox(), Qt::Key_Escape); // submits as well, and does not close
        QCOMPARE(status(d), QString("2 right 0 wrong, test: koer"));
        d.answer("Dog", 3); // case counts
        // Behind the window the next question is set up, but nothing answers it and no time runs.
        d.answerBox()->setText("cow");
        QTest::keyClick(d.answerBox(), Qt::Key_Return);
        d.h.platform.advance(60000);
        QCOMPARE(status(d), QString("2 right 1 wrong, test hidden: lehm, wrong answer: koer/dog"));
        QCOMPARE(d.text("Label7"), QString("Aeg:  10"));
        d.continueAfterWrong(); // never the results, even two questions from the end
        QCOMPARE(status(d), QString("2 right 1 wrong, test: lehm"));
        d.h.platform.advance(9000); // the full time again after Continue
        QCOMPARE(d.text("Label7") + ", " + d.text("Label6") + ", " + d.text("Label4") + ", " + d.text("Label5"),
                 QString("Aeg:  1, Vastata:  2, Valesid:  1, Õigeid vastuseid on  67%"));
        d.draw(4);
        d.h.platform.advance(1000); // the answer left in the box counts at the time-out
        QCOMPARE(status(d), QString("3 right 1 wrong, test: hobune"));
        QCOMPARE(layout(d), NormalLayout);
        d.answerBox()->setText("\thorse"); // a tab is no blank
        d.h.platform.advance(10000); // the last answer ends the test
        QCOMPARE(status(d), QString("3 right 2 wrong, wrong answer: hobune/horse, results 5 3 2 60%"));
        QCOMPARE(d.child(d.results(), "Label1")->text() + ", " + d.child(d.results(), "Label4")->text(),
                 QString("Word count:  5, Right answers:  60%"));
        QCOMPARE(d.h.platform.beeps, 1 + 1 + 3);
        d.continueAfterWrong(); // only closes its window: no test comes back
        QCOMPARE(status(d), QString("3 right 2 wrong, results 5 3 2 60%"));
        d.press(d.results(), "Command2"); // End Test
        QCOMPARE(status(d), QString("0 right 0 wrong"));
        QVERIFY(d.main->isVisible() && d.scripted());
    }

    // A Choices test by mouse, keys and a screen reader's press: one light,
    // moved alike by all of them, and Enter or Space answer what it lights.
    void choicesByMouseKeysAndScreenReader()
    {
        WordTestDrive d(FivePairs);
        d.choices();
        d.drawChoices(3, 0, {0, 1, 2, 4});
        d.start();
        QApplication::setActiveWindow(d.test());
        QVERIFY(QTest::qWaitForWindowActive(d.test()));
        const auto keys = [](std::initializer_list<Qt::Key> keys) {
            for (Qt::Key k : keys)
                WordTestDrive::key(k);
        };
        const auto focusAndLight = [&d] {
            QString lit;
            for (int n = 1; n <= 5; ++n)
                if (d.choice(n)->palette().color(QPalette::Window) == systemColour(SystemColour::Highlight))
                    lit += QString::number(n);
            return d.test()->focusWidget()->objectName() + ", lit " + lit;
        };
        d.h.waitForKeys();
        keys({Qt::Key_Return, Qt::Key_Space}); // nothing lit yet: nothing answered
        QCOMPARE(status(d) + "; " + focusAndLight(),
                 QString("0 right 0 wrong, test: lehm / cow / house / dog / cat / horse; Test, lit "));
        QTest::mouseMove(d.choice(2));
        QTest::mouseMove(d.choice(4));
        QCOMPARE(focusAndLight(), QString("Kyssa4, lit 4"));
        keys({Qt::Key_Up, Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_1}); // 3 2 3 4 5 1
        QCOMPARE(focusAndLight(), QString("Kyssa1, lit 1"));
        keys({Qt::Key_Backtab}); // on to Results: Enter would press it, so no choice is lit
        QCOMPARE(focusAndLight(), QString("Command3, lit "));
        keys({Qt::Key_2});
        QCOMPARE(focusAndLight(), QString("Kyssa2, lit 2"));
        d.drawChoices(0, 2, {1, 2, 3, 4}); // maja: dog cat house cow horse
        keys({Qt::Key_Return}); // house: wrong
        QTest::mouseClick(d.choice(3), Qt::LeftButton); // right for maja, but not seen yet
        QCOMPARE(status(d),
                 QString("0 right 1 wrong, test hidden: maja / dog / cat / house / cow / horse, "
                         "wrong answer: lehm/cow"));
        d.continueAfterWrong();
        QCOMPARE(focusAndLight(), QString("Kyssa2, lit 2")); // through the next question, as designed
        d.drawChoices(1, 4, {0, 2, 3, 4}); // koer: house horse cat cow dog
        // A real double click on house: press, release, double-click, release.
        const QPoint house = d.choice(3)->mapTo(d.test(), d.choice(3)->rect().center());
        QTest::mouseDClick(d.test()->windowHandle(), Qt::LeftButton, {}, house);
        QCOMPARE(status(d), QString("1 right 1 wrong, test: koer / house / horse / cat / cow / dog"));
        QCOMPARE(focusAndLight(), QString("Kyssa3, lit 3"));
        d.drawChoices(2, 1, {0, 1, 2, 4}); // kass: house cat cat dog horse
        d.h.waitForKeys();
        keys({Qt::Key_5, Qt::Key_Space});
        // The third cat is drawn from the pair itself: a twin of the right one counts too.
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(d.choice(4));
        QVERIFY(a && a->role() == QAccessible::Button && a->state().focusable && a->actionInterface());
        QCOMPARE(a->text(QAccessible::Name), QString("cat"));
        d.drawChoices(4, 3, {0, 1, 2, 3}); // hobune: house cat dog horse cow
        a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(status(d), QString("3 right 1 wrong, test: hobune / house / cat / dog / horse / cow"));
        d.h.waitForKeys();
        keys({Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Up, Qt::Key_Space}); // 5, Close, 5, 4: horse
        QCOMPARE(status(d), QString("4 right 1 wrong, results 5 4 1 80%"));
        d.draw(0); // every pair asked, none answered yet: a new round
        d.drawChoices(2, 0, {0, 0, 0, 0});
        d.press(d.results(), "Command1"); // Again
        QCOMPARE(status(d), QString("0 right 0 wrong, test: kass / cat / house / house / house / house"));
        QVERIFY(d.scripted());
        d.h.program.unload<Main>();
        d.test()->close(); // with the main window closed, it comes back
        Harness::flush();
        QVERIFY(d.h.program.loaded<Main>() && d.h.program.loaded<Main>()->isVisible());
    }

    // Options, the editor and Open change only the next question, never the one
    // on screen; a list that changed starts a new round, a sort keeps the marks.
    void changesUnderTheQuestion_data()
    {
        QTest::addColumn<QString>("before"); // the option chosen before the test
        QTest::addColumn<QString>("change"); // an option chosen, or the list changed, while maja is shown
        QTest::addColumn<QString>("after"); // once house is answered
        QTest::addColumn<QString>("asked"); // the pairs asked in this round
        QTest::newRow("to unknown words") << "Option2"
                                          << "Option1"
                                          << "0 right 1 wrong, test hidden: koer, wrong answer: house/maja"
                                          << "maja koer";
        QTest::newRow("to Choices") << "Option1"
                                    << "Option4"
                                    << "1 right 0 wrong, test: koer / dog / dog / dog / dog / dog"
                                    << "maja koer";
        QTest::newRow("to Normal") << "Option4"
                                   << "Option3"
                                   << "1 right 0 wrong, test: koer"
                                   << "maja koer";
        QTest::newRow("editor unchanged") << "Option1"
                                          << "editor"
                                          << "1 right 0 wrong, test: koer"
                                          << "maja koer";
        QTest::newRow("sorted in editor") << "Option1"
                                          << "sort"
                                          << "1 right 0 wrong, test: lehm"
                                          << "lehm maja";
        QTest::newRow("pair added in editor") << "Option1"
                                              << "add"
                                              << "1 right 0 wrong, test: koer"
                                              << "maja koer";
        QTest::newRow("other list opened") << "Option1"
                                           << "open"
                                           << "1 right 0 wrong, test: puu"
                                           << "puu";
    }
    void changesUnderTheQuestion()
    {
        QFETCH(QString, before);
        QFETCH(QString, change);
        WordTestDrive d(FivePairs);
        const auto option = [&d](const QString& name) {
            d.child<QRadioButton>(d.main, qPrintable(name))->setChecked(true);
        };
        option(before);
        if (before == "Option4")
            d.drawChoices(0, 1, {1, 2, 3, 0}); // maja: dog house cat cow house
        else
            d.draw(0);
        d.start();
        if (change.startsWith("Option")) {
            option(change);
        } else if (change == "open") {
            openFile(d, folder_.filePath("other.dic"), "auto\r\ncar\r\npuu\r\ntree\r\n");
        } else {
            Editor* e = openEditor(d.h);
            QVERIFY(e);
            if (change == "sort")
                e->ui->Command5->click(); // unknown words A-Z: kass lehm koer hobune maja
            if (change == "add") {
                setBoxes(e, "a", "A");
                e->ui->Command1->click();
            }
            e->ui->Command4->click();
        }
        if (change == "Option4")
            d.drawChoices(1, 0, {1, 1, 1, 1});
        else
            d.draw(1);
        if (before == "Option4")
            QTest::mouseClick(d.choice(2), Qt::LeftButton);
        else
            d.answer("house");
        QCOMPARE(layout(d), change == "Option4" ? ChoicesLayout : NormalLayout);
        QStringList asked;
        for (int i = 0; i <= d.state().LastWordIndex; ++i)
            if (d.state().AskedFlags[i])
                asked << d.state().KnownWords[i];
        QTEST(status(d), "after");
        QTEST(asked.join(' '), "asked");
    }

    // Whatever the editor does during a test, by keys and buttons, a pair is
    // asked once a round and the results count the answers given. maja has
    // been answered and koer is on screen when the editor opens.
    void editorDuringATest_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("asked"); // the questions in turn, then the end
        const QString all = "maja koer kass lehm; 4 right 0 wrong, results 4 4 0 100%";
        QTest::newRow("sort undone") << "sort, undo" << all;
        QTest::newRow("sort redone") << "sort, undo, redo" << all;
        QTest::newRow("asked pair deleted, undone") << "delete maja, sort, undo, undo" << all;
        QTest::newRow("unasked pair deleted") << "delete lehm"
                                              << "maja koer kass; 3 right 0 wrong, results 3 3 0 100%";
        QTest::newRow("pair added, sorted") << "add puu, sort"
                                            << "maja koer kass lehm puu; 5 right 0 wrong, results 5 5 0 100%";
        // The question on screen is judged as shown; the new pair is another.
        QTest::newRow("question on screen deleted") << "delete koer"
                                                    << "maja koer kass; 3 right 0 wrong, results 3 3 0 100%";
        QTest::newRow("question on screen replaced") << "replace koer"
                                                     << "maja koer kass lehm; 4 right 0 wrong, results 4 4 0 100%";
    }
    void editorDuringATest()
    {
        QFETCH(QString, edits);
        const QMap<QString, QString> answers{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"},
                                             {"lehm", "cow"},   {"puu", "tree"}, {"koera", "dog"}};
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}});
        QStringList asked;
        // Draws every pair asked so far, then the first one not asked: only
        // a program that lost its marks takes one of the first.
        const auto drawNext = [&] {
            const MOODUL1& s = d.state();
            QString next;
            for (int i = 0; i <= s.LastWordIndex; ++i) {
                if (asked.contains(s.KnownWords[i]))
                    d.draw(i);
                else if (next.isEmpty())
                    next = s.KnownWords[i];
            }
            for (int i = 0; i <= s.LastWordIndex; ++i)
                if (s.KnownWords[i] == next)
                    d.draw(i);
        };
        drawNext();
        d.start();
        asked << d.question();
        drawNext();
        d.answer(answers[d.question()]);
        asked << d.question();

        Editor* e = openEditor(d.h);
        QVERIFY(e);
        const auto row = [e](const QString& known) {
            clickRow(e->ui->List1, e->ui->List1->row(e->ui->List1->findItems(known, Qt::MatchExactly).value(0)));
        };
        for (const QString& edit : edits.split(", ")) {
            const QString word = edit.section(' ', 1);
            if (edit == "sort")
                e->ui->Command7->click();
            else if (edit == "undo" || edit == "redo")
                QTest::keyClick(e->ui->List1, edit == "undo" ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
            else if (edit.startsWith("delete"))
                row(word), QTest::keyClick(e->ui->List1, Qt::Key_Delete);
            else if (edit.startsWith("add"))
                setBoxes(e, word, answers[word]), QTest::keyClick(e->ui->Text2, Qt::Key_Return);
            else if (edit.startsWith("replace"))
                row(word), setBoxes(e, word + "a", answers[word]), e->ui->Command3->click();
        }
        e->ui->Command4->click();
        while (d.test() && asked.size() < 9) {
            drawNext();
            d.answer(answers[d.question()]);
            if (d.test())
                asked << d.question();
        }
        QTEST(asked.join(' ') + "; " + status(d), "asked");
    }

    // A key press belongs to the window it was pressed in: a window a key
    // has just opened, or a new question, waits for a fresh press of Enter,
    // Space or Esc; a key held down or pressed twice in a hurry is not one.
    void keysBelongToTheirWindow_data()
    {
        QTest::addColumn<QString>("keys"); // after the wait: the answer typed, the key, how often
        QTest::addColumn<QString>("after");
        QTest::newRow("after the wait, one Enter") << "house Enter"
                                                   << "1 right 0 wrong, test: koer";
        QTest::newRow("Enter held on the last answer") << "house Enter, dog Enter held"
                                                       << "2 right 0 wrong, results 2 2 0 100%";
        QTest::newRow("double Enter on the last answer") << "house Enter, dog Enter Enter"
                                                         << "2 right 0 wrong, results 2 2 0 100%";
        QTest::newRow("double Esc on a wrong answer") << "x Esc Esc"
                                                      << "0 right 1 wrong, test hidden: koer, wrong answer: maja/house";
        QTest::newRow("Enter held on a wrong answer") << "x Enter held"
                                                      << "0 right 1 wrong, test hidden: koer, wrong answer: maja/house";
        QTest::newRow("double Enter on Continue") << "x Enter, Continue Enter Enter"
                                                  << "0 right 1 wrong, test: koer";
        QTest::newRow("Space on Again after the wait") << "house Enter, dog Enter, Again Space"
                                                       << "0 right 0 wrong, test: maja";
        QTest::newRow("Enter held on Test in the main window") << "Test Enter held"
                                                               << "0 right 0 wrong, test: maja";
    }
    void keysBelongToTheirWindow()
    {
        QFETCH(QString, keys);
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}});
        d.draw(0), d.draw(1), d.draw(0), d.draw(0); // a new round starts with maja
        if (!keys.startsWith("Test"))
            d.start();
        for (const QString& step : keys.split(", ")) {
            const QStringList w = step.split(' ');
            QWidget* at = w[0] == "Continue" ? d.child<QWidget>(d.wrong(), "Command1")
                : w[0] == "Again"            ? d.child<QWidget>(d.results(), "Command1")
                : w[0] == "Test"             ? d.child<QWidget>(d.main, "nupptest")
                                             : d.answerBox();
            if (!QStringList{"Continue", "Again", "Test"}.contains(w[0]))
                d.answerBox()->setText(w[0]);
            QApplication::setActiveWindow(at->window());
            at->setFocus();
            d.h.waitForKeys();
            const Qt::Key key = w[1] == "Space" ? Qt::Key_Space : w[1] == "Esc" ? Qt::Key_Escape : Qt::Key_Return;
            WordTestDrive::key(key, w.last() == "held" ? 5 : 0);
            if (w.size() > 2 && w[2] != "held")
                WordTestDrive::key(key);
        }
        QTEST(status(d), "after");
    }

    // A screen reader hears each question as the description of the answer
    // box and of the choices; each option of the main window carries its
    // group's name. (The offscreen platform has no accessibility bridge, so
    // the change events themselves cannot be watched here.)
    void screenReaderHearsEachQuestion()
    {
        WordTestDrive d({{"maja", "house"}, {"koer", "dog"}});
        const auto description = [](QWidget* w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        };
        QStringList heard;
        d.start(0);
        heard << description(d.answerBox());
        d.choices();
        d.drawChoices(1, 0, {0, 0, 0, 0});
        d.answer("house");
        heard << description(d.answerBox()) + " " + description(d.choice(5));
        heard << description(d.child<QWidget>(d.main, "Option2")) << description(d.child<QWidget>(d.main, "Option4"));
        QCOMPARE(heard.join(", "), QString("maja, koer koer, What to ask?, Testi type"));
    }

    // A word wider than its label keeps the label's size and ends in an
    // ellipsis; its tooltip and accessible name hold all of it, and a choice
    // is judged by all of it.
    void longWordsCanBeRead()
    {
        const QString word = "Donaudampfschifffahrtsgesellschaftskapitänsmütze";
        WordTestDrive d({{word, word + "n"}, {word, word + "n"}});
        d.choices();
        d.drawChoices(0, 2, {0, 0, 0, 0});
        d.start();
        QStringList shown;
        const auto look = [&shown](QLabel* l) {
            shown << QString("%1 %2 %3, %4, %5")
                         .arg(l->objectName())
                         .arg(l->width())
                         .arg(l->text().endsWith(QChar(0x2026))
                              && l->fontMetrics().horizontalAdvance(l->text()) <= l->width())
                         .arg(l->toolTip().size())
                         .arg(QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name).size());
        };
        look(d.child(d.test(), "Label1"));
        look(d.choice(3));
        d.child<QRadioButton>(d.main, "Option3")->setChecked(true); // the next one typed
        d.draw(1);
        QTest::mouseClick(d.choice(3), Qt::LeftButton); // right, as a typed word would be
        d.answer("cat"); // wrong: the wrong-answer window shows the pair
        look(d.child(d.wrong(), "Label2"));
        look(d.child(d.wrong(), "Label3"));
        QVERIFY(status(d).endsWith("results 2 1 1 50%"));
        QCOMPARE(shown.join("; "),
                 QString("Label1 321 1, 48, 48; Kyssa3 337 1, 49, 49; Label2 200 1, 48, 48; Label3 200 1, 49, 49"));
    }

    // A results window left open from "Results" is filled afresh however the test ends.
    void resultsLeftOpenShowTheCountsOfNow()
    {
        WordTestDrive d({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}, {"e", "E"}, {"f", "F"}});
        const auto heard = [&d] { return status(d) + QString(", %1 beeps").arg(d.h.platform.beeps); };
        d.start(0);
        d.answer("A", 1);
        d.answer("x", 2);
        d.continueAfterWrong();
        d.press(d.test(), "Command3"); // Results, in the middle of the test
        QCOMPARE(heard(), QString("1 right 1 wrong, results 2 1 1 50%, 4 beeps"));
        d.start(3); // the counts go on while the results stay open
        d.answer("D", 4);
        d.press(d.test(), "Command2"); // Close, quietly
        QCOMPARE(heard(), QString("2 right 1 wrong, results 3 2 1 67%, 4 beeps"));
        d.start(5);
        d.draw(0); // every pair shown: the round is complete
        d.answer("F");
        QCOMPARE(heard(), QString("3 right 1 wrong, results 4 3 1 75%, 7 beeps"));
        openFile(d, folder_.filePath("two.dic"), "g\r\nG\r\nh\r\nH\r\n");
        d.start(1);
        d.answer("H"); // the counts of before end a shorter list at its first answer
        QCOMPARE(heard(), QString("4 right 1 wrong, results 5 4 1 80%, 10 beeps"));
        // Every known word gone under the results: Again finds nothing to ask, and says so.
        d.h.setWords({{"", "G"}});
        d.press(d.results(), "Command1");
        QCOMPARE(heard() + QString(", %1 message").arg(d.h.platform.messages.size()),
                 QString("0 right 0 wrong, 10 beeps, 1 message"));
    }
};

QTEST_MAIN(WordTestWindowsTest)
#include "test_wordtest_windows.moc"
