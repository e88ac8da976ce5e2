#include "support/EditorDriver.h"

#include "ui/toolkit/Design.h"

#include <QUndoStack>

using namespace vorbix;
using namespace vorbix::testing;

// Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y through the real editor: every command
// undone and redone, the lists, the count, the sort and the shared list
// compared step by step.
class EditorUndoTest : public QObject {
    Q_OBJECT

    struct Seen {
        QString rows, count, sort, shared;
        bool operator==(const Seen&) const = default;
    };
    static QString activeSort(const Editor* e)
    {
        QString active;
        for (const QPushButton* b : {e->ui->Command5, e->ui->Command6, e->ui->Command7, e->ui->Command8})
            if (b->palette().color(QPalette::Button) == systemColour(SystemColour::HighlightText))
                active += b->objectName();
        return active;
    }
    static QString shared(const MOODUL1& s)
    {
        QStringList rows;
        for (int i = 0; i <= s.LastWordIndex; ++i)
            rows << s.KnownWords[i] + "/" + s.UnknownWords[i];
        return rows.join(", ");
    }
    static Seen seen(const Editor* e, const MOODUL1& s)
    {
        return {pairs(e), e->ui->Label1->text(), activeSort(e), shared(s)};
    }
    static QByteArray describe(const Seen& x)
    {
        return (x.rows + " | " + x.count + " | " + x.sort + " | " + x.shared).toUtf8();
    }

private slots:
    void cleanup() { Harness::flush(); }

    void everyCommandUndoneAndRedone()
    {
        Harness h;
        h.setWords({{"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        MOODUL1& s = h.program.state();
        std::vector<Seen> states{seen(e, s)};
        std::vector<int> modified{s.WordsModified};
        auto record = [&] {
            states.push_back(seen(e, s));
            modified.push_back(s.WordsModified);
        };

        // add by Enter, add by button, delete by key, replace, sort, add
        // under the sort (which re-sorts), another sort, delete by button
        setBoxes(e, "lehm", "cow");
        QTest::keyClick(e->ui->Text1, Qt::Key_Return);
        record();
        setBoxes(e, "Zebra", "zebra");
        e->ui->Command1->click();
        record();
        clickRow(e->ui->List1, 1);
        QTest::keyClick(e->ui->List1, Qt::Key_Delete);
        record();
        clickRow(e->ui->List2, 0);
        setBoxes(e, "hunt", "wolf");
        e->ui->Command3->click();
        record();
        e->ui->Command7->click();
        record();
        setBoxes(e, "ahv", "monkey");
        e->ui->Command1->click();
        record();
        e->ui->Command6->click();
        record();
        clickRow(e->ui->List2, 2);
        e->ui->Command2->click();
        record();
        QCOMPARE(states.back().rows, QString("Zebra/zebra, hunt/wolf, hobune/horse, lehm/cow"));
        QCOMPARE(e->undoStack()->count(), 8);
        // A command that changes nothing is no step.
        e->ui->List1->clearSelection();
        e->ui->List2->clearSelection();
        e->ui->Command2->click();
        QCOMPARE(e->undoStack()->count(), 8);

        // Undo from the entry box: the keys are the list's, not the box's.
        e->ui->Text2->setFocus();
        e->ui->Text2->setText("typing");
        for (int i = int(states.size()) - 2; i >= 0; --i) {
            QTest::keyClick(e->ui->Text2, Qt::Key_Z, Qt::ControlModifier);
            const Seen now = seen(e, s);
            QVERIFY2(now.rows == states[i].rows && now.sort == states[i].sort, describe(now) + " / " + describe(states[i]));
            QCOMPARE(now.count, QString("Word count:  %1").arg(e->ui->List1->count()));
            QCOMPARE(s.WordsModified, std::int16_t(1));
        }
        QCOMPARE(e->ui->Text2->text(), QString("typing"));
        QVERIFY(!e->undoStack()->canUndo());
        // Undoing the first sort put the rows it found back into the list.
        QCOMPARE(shared(s), states[4].rows);

        // Redo by both keys, from a list; the sorts write the list back.
        e->ui->List1->setFocus();
        for (size_t i = 1; i < states.size(); ++i) {
            QTest::keyClick(e->ui->List1, i % 2 ? Qt::Key_Y : Qt::Key_Z,
                            i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            const Seen now = seen(e, s);
            QVERIFY2(now.rows == states[i].rows && now.sort == states[i].sort, describe(now) + " / " + describe(states[i]));
            if (i == 5 || i == 6 || i == 7)
                QCOMPARE(now.shared, states[i].rows);
        }
        QVERIFY(!e->undoStack()->canRedo());

        // Undo after a save marks the list changed again; a sort's does not.
        s.WordsModified = 0;
        QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier); // the delete
        QCOMPARE(s.WordsModified, std::int16_t(1));
        s.WordsModified = 0;
        QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier); // the Z-A sort
        QCOMPARE(s.WordsModified, std::int16_t(0));
        QCOMPARE(pairs(e), states[6].rows);

        // Leaving writes back what the undo left.
        e->ui->Command4->click();
        QCOMPARE(shared(s), states[6].rows);
    }

    // A list opened while the editor is open starts with nothing to undo.
    void openedListForgetsTheSteps()
    {
        Harness h;
        h.setWords({{"koer", "dog"}});
        Editor* e = openEditor(h);
        QVERIFY(e);
        e->ui->Command7->click();
        setBoxes(e, "kass", "cat");
        e->ui->Command1->click();
        QCOMPARE(e->undoStack()->count(), 2);
        h.setWords({{"uus", "new"}});
        e->reload();
        QVERIFY(!e->undoStack()->canUndo());
        QTest::keyClick(e->ui->Text2, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(pairs(e), QString("uus/new"));
    }
};

QTEST_MAIN(EditorUndoTest)
#include "test_editor_undo.moc"
