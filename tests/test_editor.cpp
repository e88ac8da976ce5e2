#include "support/EditorDriver.h"
#include "ui/toolkit/Design.h"

#include <QUndoStack>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// The rows, and the sort buttons painted as the active sort.
QString shown(const Editor* e)
{
    QString active;
    for (const QPushButton* b : {e->ui->Command5, e->ui->Command6, e->ui->Command7, e->ui->Command8})
        if (b->palette().color(QPalette::Button) == systemColour(SystemColour::HighlightText))
            active += " " + b->objectName();
    return pairs(e) + " |" + active;
}

QString shared(const MOODUL1& s)
{
    QStringList rows;
    for (int i = 0; i <= s.LastWordIndex; ++i)
        rows << s.KnownWords[i] + "/" + s.UnknownWords[i];
    return rows.join(", ");
}

} // namespace

class EditorTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Harness::flush(); }

    // Each command with and without a sort, then all of them undone (keys in
    // an entry box) and redone (keys in a list) step by step.
    void commandsUndoneAndRedone()
    {
        Harness h;
        h.setWords({{"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}, {"uss", "snake"}});
        MOODUL1& s = h.program.state();
        s.KnownWords[999] = "stale";
        Editor* e = openEditor(h);
        QVERIFY(e);
        QStringList steps{shown(e)};
        const auto step = [&](const QString& rows) {
            QCOMPARE(pairs(e), rows);
            steps << shown(e);
        };

        // With a box empty, Add and Enter add nothing and go to a box to fill;
        // Delete with nothing selected shows the last pair. None is a step.
        setBoxes(e, "", "x");
        e->ui->Command1->click();
        QCOMPARE(QApplication::focusWidget(), e->ui->Text1);
        setBoxes(e, "y", "");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), e->ui->Text2);
        e->ui->Command2->click();
        QCOMPARE(boxes(e), QString("uss/snake"));
        QCOMPARE(s.WordsModified, std::int16_t(0));
        // A selection shows in both lists and the boxes; the pair after a
        // deleted one moves up and shows.
        clickRow(e->ui->List1, 1);
        QCOMPARE(selectedRow(e->ui->List2), 1);
        QTest::keyClick(e->ui->List1, Qt::Key_Delete);
        step("koer/dog, hobune/horse, uss/snake");
        QCOMPARE(boxes(e), QString("hobune/horse"));
        // Replace puts the pair last, in place of the selected one if any.
        clickRow(e->ui->List2, 0);
        setBoxes(e, "lehm", "cow");
        e->ui->Command3->click();
        step("hobune/horse, uss/snake, lehm/cow");
        setBoxes(e, "kass", "cat");
        e->ui->Command3->click();
        step("hobune/horse, uss/snake, lehm/cow, kass/cat");

        // A sort writes the list back at once and is no change of its own.
        s.WordsModified = 0;
        e->ui->Command7->click();
        step("hobune/horse, kass/cat, lehm/cow, uss/snake");
        QCOMPARE(shared(s), pairs(e));
        e->ui->Command5->click();
        step("kass/cat, lehm/cow, hobune/horse, uss/snake");
        e->ui->Command8->click();
        step("uss/snake, lehm/cow, kass/cat, hobune/horse");
        QCOMPARE(s.WordsModified, std::int16_t(0));
        // Enter and Replace under a sort put the pair, as typed, in its place.
        setBoxes(e, "Lammas ", " sheep");
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        step("uss/snake, lehm/cow, Lammas / sheep, kass/cat, hobune/horse");
        QCOMPARE(s.WordsModified, std::int16_t(1));
        clickRow(e->ui->List1, 0);
        setBoxes(e, "ahv", "monkey");
        e->ui->Command3->click();
        step("lehm/cow, Lammas / sheep, kass/cat, hobune/horse, ahv/monkey");
        e->ui->Command6->click();
        step("ahv/monkey, hobune/horse, lehm/cow, kass/cat, Lammas / sheep"); // the space counts
        QCOMPARE(e->undoStack()->count(), int(steps.size()) - 1);

        // Undo from an entry box undoes the list, not the typing, and never
        // makes the list unchanged; undoing a sort writes the list back.
        e->ui->Text2->setText("typing");
        for (qsizetype i = steps.size() - 2; i >= 0; --i) {
            QTest::keyClick(e->ui->Text2, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(shown(e), steps[i]);
            QCOMPARE(e->ui->Label1->text(), QString("Word count:  %1").arg(e->ui->List1->count()));
            QCOMPARE(s.WordsModified, std::int16_t(1));
        }
        QCOMPARE(e->ui->Text2->text(), QString("typing"));
        QCOMPARE(shared(s), QString("hobune/horse, uss/snake, lehm/cow, kass/cat"));
        for (qsizetype i = 1; i < steps.size(); ++i) {
            const auto keys = i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
            QTest::keyClick(e->ui->List1, i % 2 ? Qt::Key_Y : Qt::Key_Z, keys);
            QCOMPARE(shown(e), steps[i]);
        }
        QCOMPARE(shared(s), pairs(e));

        // After a save: undoing a sort leaves the list unchanged, undoing
        // a change does not. Closing writes back what is shown, no more.
        s.WordsModified = 0;
        QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.WordsModified, std::int16_t(0));
        QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.WordsModified, std::int16_t(1));
        e->close();
        QCOMPARE(shared(s), QString("uss/snake, lehm/cow, Lammas / sheep, kass/cat, hobune/horse"));
        QVERIFY(s.KnownWords[999].isEmpty());
    }

    // A full list takes no more pairs by Add, Enter or Replace, but a
    // selected pair can still be replaced.
    void fullListRefusesMore()
    {
        Harness h;
        h.setWords(std::vector<std::pair<QString, QString>>(MOODUL1::FileCapacity, {"a", "b"}));
        Editor* e = openEditor(h);
        QVERIFY(e);
        setBoxes(e, "one", "more");
        e->ui->Command1->click();
        QTest::keyClick(e->ui->Text2, Qt::Key_Return);
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(3));
        QCOMPARE(h.program.state().WordsModified, std::int16_t(0));
        e->ui->List1->setCurrentRow(5);
        setBoxes(e, "one", "more");
        e->ui->Command3->click();
        QCOMPARE(h.platform.messages.size(), size_t(3));
        QCOMPARE(e->ui->List1->item(MOODUL1::FileCapacity - 1)->text(), QString("one"));
    }
};

QTEST_MAIN(EditorTest)
#include "test_editor.moc"
