// The Progress menu through the real windows: the mistakes of the last test
// drilled in the designed test window, the wrong-answer window's option to
// show the answer given, and the progress window.
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "support/HistoryFiles.h"
#include "support/WordTestDrive.h"
#include "history/Recorder.h"
#include "ui/progress/Progress.h"
#include "ui_Main.h"
#include "ui_Progress.h"

#include <QAccessible>
#include <QListWidget>
#include <QTableView>

using namespace vorbix;
using namespace vorbix::testing;

namespace {
const Words FivePairs{{"maja", "house"}, {"koer", "dog"}, {"kass", "cat"}, {"lehm", "cow"}, {"hobune", "horse"}};

// One whole test in list order, koer and lehm answered wrong.
void testWithTwoMistakes(WordTestDrive& d)
{
    d.start(0);
    d.answer("house", 1);
    d.answer("dgo", 2);
    d.continueAfterWrong();
    d.answer("cat", 3);
    d.answer("cwo", 4);
    d.continueAfterWrong();
    d.answer("horse");
}

QString answerTo(const QString& question)
{
    for (const auto& [known, unknown] : FivePairs)
        if (known == question)
            return unknown;
    return {};
}

// The table's rows as the user sees them, top down, columns joined by "|".
QStringList tableRows(Progress* p)
{
    QStringList rows;
    const QAbstractItemModel* m = p->ui->PairTable->model();
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c : {0, 2, 3, 5})
            cells << m->index(r, c).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

QString resultsShown(WordTestDrive& d)
{
    QStringList numbers;
    for (const char* label : {"Label1", "Label2", "Label3", "Label4"})
        numbers << d.child(d.results(), label)->text();
    return numbers.join(", ");
}
} // namespace

class ProgressTest : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    void cleanup() { Harness::flush(); }

    // "Test mistakes" after a test asks only the pairs missed in it, each
    // once, whatever the mode, the clock or the editor do meanwhile; the
    // designed counters count the drill alone.
    void drillAsksOnlyTheMistakes_data()
    {
        QTest::addColumn<QString>("way");
        for (const char* way : {"typed", "choices", "editor sorts and undoes", "time-outs", "list opened again"})
            QTest::newRow(way) << QString(way);
    }
    void drillAsksOnlyTheMistakes()
    {
        QFETCH(QString, way);
        WordTestDrive d(FivePairs);
        testWithTwoMistakes(d);
        QVERIFY(d.results());
        if (way == "choices")
            d.choices();
        if (way == "time-outs") {
            d.child<QCheckBox>(d.main, "Check1")->setChecked(true);
            d.child<QScrollBar>(d.main, "VScroll1")->setValue(5);
        }
        d.main->ui->MPMistakes->trigger();
        Harness::flush();
        QVERIFY(!d.results());
        QVERIFY(d.test() && d.test()->isVisible());
        QCOMPARE(d.text("Label6"), QString("Vastata:  2"));
        QCOMPARE(d.text("Label2"), QString("Vastatud:  0"));

        QStringList asked;
        for (int n = 0; d.test() && n < 4; ++n) {
            const QString q = d.question();
            asked << q;
            if (way == "time-outs") {
                d.h.platform.advance(5000);
            } else if (way == "choices") {
                for (int c = 1; c <= 5; ++c)
                    if (d.choice(c)->text() == answerTo(q)) {
                        QTest::mouseClick(d.choice(c), Qt::LeftButton);
                        break;
                    }
            } else {
                d.answer(answerTo(q));
            }
            Harness::flush();
            if (d.wrong())
                d.continueAfterWrong();
            if (way == "editor sorts and undoes" && n == 0) {
                Editor* e = openEditor(d.h);
                e->ui->Command7->click();
                QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier);
                e->ui->Command5->click();
                Harness::flush();
                QCOMPARE(d.text("Label6"), QString("Vastata:  1"));
            }
            if (way == "list opened again" && n == 0) {
                const QString file = folder_.filePath("three.dic");
                writeBytes(file, "hobune\r\nhorse\r\nlehm\r\ncow\r\nkoer\r\ndog\r\n");
                d.h.platform.answerDialog(file);
                d.main->ui->MFOpen->trigger();
                Harness::flush();
            }
        }
        asked.sort();
        QCOMPARE(asked, (QStringList{"koer", "lehm"}));
        QVERIFY(d.results());
        const bool timedOut = way == "time-outs";
        QCOMPARE(resultsShown(d),
                 QString("Word count:  2, Right:  %1, Wrong:  %2, Right answers:  %3%")
                     .arg(timedOut ? 0 : 2)
                     .arg(timedOut ? 2 : 0)
                     .arg(timedOut ? 0 : 100));

        // "Again" drills the same pairs once more; "End Test" ends the drill.
        d.press(d.results(), "Command1");
        QCOMPARE(d.text("Label6"), QString("Vastata:  2"));
        QVERIFY(QStringList({"koer", "lehm"}).contains(d.question()));
        d.press(d.test(), "Command2");
        d.start(0);
        QCOMPARE(d.text("Label6"), QString("Vastata:  %1").arg(way == "list opened again" ? 3 : 5));
    }

    // Nothing to drill, or a test under way: a message, and every window and
    // counter as it was.
    void nothingToDrill_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        const QString none = "The last test of this list had no mistakes to test.";
        QTest::newRow("no test yet") << ""
                                     << "MPMistakes" << none;
        QTest::newRow("a test without mistakes") << "right"
                                                 << "MPMistakes" << none;
        QTest::newRow("weakest, nothing recorded") << "right"
                                                   << "MPWeakest"
                                                   << "No word of this list has been answered wrong yet.";
        QTest::newRow("mistakes with a test running") << "running"
                                                      << "MPMistakes"
                                                      << "Finish or close the test that is running first.";
        QTest::newRow("mistakes with the wrong-answer window up") << "wrong"
                                                                  << "MPMistakes"
                                                                  << "Finish or close the test that is running first.";
    }
    void nothingToDrill()
    {
        QFETCH(QString, before);
        QFETCH(QString, command);
        WordTestDrive d(Words{{"maja", "house"}, {"koer", "dog"}});
        if (!before.isEmpty())
            d.start(0);
        if (before == "right")
            d.answer("house", 1), d.answer("dog");
        if (before == "wrong")
            d.answer("hose", 1);
        d.main->findChild<QAction*>(command)->trigger();
        Harness::flush();
        QCOMPARE(d.h.platform.messages.size(), size_t(1));
        QTEST(d.h.platform.messages.front().text, "message");
        QCOMPARE(bool(d.test()), before == "running" || before == "wrong");
        QCOMPARE(bool(d.wrong()), before == "wrong");
        QCOMPARE(d.state().AnsweredCount, std::int16_t(before == "right" ? 2 : before == "wrong" ? 1 : 0));
    }

    // Off (the default) the wrong-answer window is the designed one; on, a
    // row below shows the answer given with its marks, and says them.
    void wrongAnswerWindowShowsTheAnswer_data()
    {
        QTest::addColumn<bool>("on");
        QTest::newRow("off: as designed") << false;
        QTest::newRow("on") << true;
    }
    void wrongAnswerWindowShowsTheAnswer()
    {
        QFETCH(bool, on);
        WordTestDrive d(FivePairs);
        d.main->ui->MPShowAnswer->setChecked(on);
        d.start(0);
        d.answer("hause", 1);
        AkenVale* w = d.wrong();
        QVERIFY(w);
        auto* answer = w->findChild<QLabel*>("AnswerText");
        QCOMPARE(answer->isVisibleTo(w), on);
        QCOMPARE(w->size(), on ? QSize(339, 203) : QSize(339, 171));
        QCOMPARE(d.child<QPushButton>(w, "Command1")->pos(), on ? QPoint(112, 160) : QPoint(112, 128));
        for (const char* label : {"Label1", "Label2", "Label3", "Label4", "Label5"})
            QVERIFY(d.child(w, label)->isVisibleTo(w));
        if (on) {
            QCOMPARE(answer->accessibleName(), QString("Your answer: hause"));
            QCOMPARE(answer->accessibleDescription(), QString("Letter 2: “a” instead of “o”."));
            QVERIFY(answer->text().contains("<s>") && answer->text().contains("<u>"));
        }
    }

    // Two recorded tests: the table worst first with the last answer and its
    // difference, sortable; the plot of both tests, in words too; the weakest
    // words drilled.
    void progressOfRecordedTests()
    {
        RecordFile f;
        WordTestDrive d(FivePairs);
        d.h.program.history().setPath(f.path);
        testWithTwoMistakes(d);
        d.draw(0), d.draw(0); // every pair asked: the second draw is the new round's
        d.press(d.results(), "Command1"); // Again: koer right now, lehm wrong again
        d.answer("house", 1), d.answer("dog", 2), d.answer("cat", 3), d.answer("kow", 4);
        d.continueAfterWrong();
        d.answer("horse");
        d.main->ui->MPShow->trigger();
        auto* p = d.h.program.loaded<Progress>();
        QCOMPARE(tableRows(p).mid(0, 3), (QStringList{"lehm|2|0%|kow", "koer|2|50%|dog", "maja|2|100%|house"}));
        const QModelIndex lehm = p->ui->PairTable->model()->index(0, 5);
        QCOMPARE(lehm.data(Qt::AccessibleTextRole).toString(), QString("kow. Letter 1: “k” instead of “c”."));
        QCOMPARE(p->ui->Label1->text(), QString("Untitled.dic: 5 words, 10 answers recorded in 2 tests."));
        QCOMPARE(p->ui->Plot->accessibleDescription().section('.', 1),
                 QString(" First 60% right, last 80%, best 80%, worst 60%."));
        p->ui->PairTable->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder); // a click on "Known word"
        QCOMPARE(tableRows(p).first(), QString("hobune|2|100%|horse"));

        d.main->ui->MPWeakest->trigger();
        Harness::flush();
        QCOMPARE(d.text("Label6"), QString("Vastata:  2"));
        QVERIFY(QStringList({"koer", "lehm"}).contains(d.question()));
    }

    // Clearing asks first and takes the list's answers or all of them, with
    // the mistakes kept in this run; unticked, the record keeps nothing new
    // while the mistakes can still be drilled.
    void recordCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("answersLeft"); // of the 5 of this list and 1 of another
        QTest::addColumn<int>("drilled"); // by "Test mistakes" afterwards
        QTest::newRow("clear the list's, No") << "MPClearList" << false << 6 << 2;
        QTest::newRow("clear the list's, Yes") << "MPClearList" << true << 1 << 0;
        QTest::newRow("clear all, Yes") << "MPClearAll" << true << 0 << 0;
        QTest::newRow("record nothing, then a test with one mistake") << "MPRecord" << false << 6 << 1;
    }
    void recordCommands()
    {
        QFETCH(QString, command);
        QFETCH(bool, yes);
        RecordFile f;
        WordTestDrive d(FivePairs);
        d.h.program.history().setPath(f.path);
        history::Answer elsewhere;
        elsewhere.listPath = "/elsewhere.dic";
        elsewhere.known = "maja";
        d.h.program.history().record(elsewhere, true);
        testWithTwoMistakes(d);
        d.press(d.results(), "Command2");
        d.h.platform.answerYesNo(yes);
        d.main->findChild<QAction*>(command)->trigger();
        if (command == "MPRecord") {
            d.draw(0), d.draw(0);
            d.start();
            d.answer("wrong");
            d.continueAfterWrong();
            d.press(d.test(), "Command2");
        }
        QCOMPARE(d.h.platform.questions.size(), qsizetype(command != "MPRecord"));
        QTEST(f.one("SELECT count(*) FROM answers").toInt(), "answersLeft");
        d.main->ui->MPMistakes->trigger();
        Harness::flush();
        QTEST(d.test() ? d.text("Label6").split(' ').last().toInt() : 0, "drilled");
    }

    // The progress window: every pair of the list, the last test's mistakes
    // with what was given, as soon as a test ends; its button drills them.
    void progressWindow()
    {
        WordTestDrive d(FivePairs);
        d.main->ui->MPShow->trigger();
        auto* p = d.h.program.loaded<Progress>();
        QVERIFY(p && p->isVisible());
        QCOMPARE(p->ui->MistakeList->item(0)->text(), QString("None"));
        testWithTwoMistakes(d); // the window reads them again as the test ends
        QCOMPARE(p->ui->PairTable->model()->rowCount(), 5);
        QStringList mistakes;
        for (int i = 0; i < p->ui->MistakeList->count(); ++i)
            mistakes << p->ui->MistakeList->item(i)->text();
        QCOMPARE(mistakes, (QStringList{"koer – dog: you gave “dgo”", "lehm – cow: you gave “cwo”"}));
        QCOMPARE(p->ui->MistakeList->item(1)->data(Qt::AccessibleDescriptionRole).toString(),
                 QString("Letter 2: “wo” instead of “ow”, letters swapped."));
        p->ui->Command1->click();
        Harness::flush();
        QCOMPARE(d.text("Label6"), QString("Vastata:  2"));
    }
};

QTEST_MAIN(ProgressTest)
#include "test_progress.moc"
