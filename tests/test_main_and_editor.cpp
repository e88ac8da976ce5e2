// The main window, the editor with its undo, the save prompt on every way
// out, and one list whatever windows are open: an editor left open, a test
// still running or a main window closed and loaded again must never put
// stale words over a file, send a save elsewhere or drop typed words.
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "ui/main/Kassav.h"
#include "ui/test/Test.h"
#include "ui_Kassav.h"
#include "ui_Main.h"

#include <QFileInfo>
#include <QMenu>
#include <QPointer>
#include <QUndoStack>

using namespace vorbix;
using namespace vorbix::testing;

namespace {

// A key pressed and released on the widget, as a user's is.
void press(QWidget* w, QKeyCombination key)
{
    QTest::keyPress(w, key.key(), key.keyboardModifiers());
    QTest::keyRelease(w, key.key(), key.keyboardModifiers());
}

} // namespace

class MainAndEditorTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FolderHarness> h_;
    QPointer<Main> main_;

    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) { return h_->file(name); }
    Kassav* kassav() { return h_->program.loaded<Kassav>(); }
    // The shared list as "known/unknown" pairs.
    QString shared()
    {
        QStringList rows;
        for (int i = 0; i <= state().LastWordIndex; ++i)
            rows << state().KnownWords[i] + "/" + state().UnknownWords[i];
        return rows.join(", ");
    }

private slots:
    void init()
    {
        h_ = std::make_unique<FolderHarness>();
        main_ = &h_->program.show<Main>();
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    // The options a main window loads with; the time limit's text when it
    // is switched on and moved; Exit with an unchanged list.
    void defaultsAndTimeLimit()
    {
        QVERIFY(main_->ui->Option1->isChecked() && main_->ui->Option3->isChecked());
        QVERIFY(!main_->ui->VScroll1->isEnabled() && main_->ui->Label2->text().isEmpty());
        main_->ui->Check1->click();
        QCOMPARE(main_->ui->Label2->text(), QString("  0 minutit ja  0 sekundit."));
        main_->ui->VScroll1->setValue(400);
        QCOMPARE(main_->ui->Label2->text(), QString("  5 minutes and  0 seconds"));
        h_->setWords({{"koer", "dog"}});
        main_->ui->Command2->click(); // an unchanged list: Exit ends without asking
        QVERIFY(h_->program.ended());
    }

    // Each command with and without a sort, then all of them undone (keys in
    // an entry box) and redone (keys in a list) step by step.
    void commandsUndoneAndRedone()
    {
        h_->setWords({{"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}, {"uss", "snake"}});
        MOODUL1& s = state();
        s.KnownWords[999] = "stale";
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        QStringList steps{pairs(e)};
        const auto step = [&](const QString& rows) {
            QCOMPARE(pairs(e), rows);
            steps << rows;
        };

        // With a box empty, Add adds nothing and goes to the box to fill;
        // Delete with nothing selected shows the last pair. Neither is a step.
        setBoxes(e, "", "x");
        e->ui->Command1->click();
        QCOMPARE(QApplication::focusWidget(), e->ui->Text1);
        e->ui->Command2->click();
        QCOMPARE(boxes(e), QString("uss/snake"));
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

        // Undo from a list keeps the typing in the boxes and never makes the
        // list unchanged; undoing a sort writes the list back.
        setBoxes(e, "", "");
        QTest::keyClicks(e->ui->Text2, "typing");
        // In an entry box the keys undo and redo the typing alone.
        for (const QKeyCombination key :
             {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}) {
            const QString typing = e->ui->Text2->text();
            press(e->ui->Text2, key);
            QCOMPARE(e->ui->Text2->text(), typing.isEmpty() ? "typing" : "");
            QCOMPARE(pairs(e), steps.last());
        }
        for (qsizetype i = steps.size() - 2; i >= 0; --i) {
            QTest::keyClick(e->ui->List2, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(pairs(e), steps[i]);
            QCOMPARE(e->ui->Label1->text(), QString("Word count:  %1").arg(e->ui->List1->count()));
            QCOMPARE(s.WordsModified, std::int16_t(1));
        }
        QCOMPARE(e->ui->Text2->text(), QString("typing"));
        QCOMPARE(shared(), QString("hobune/horse, uss/snake, lehm/cow, kass/cat"));
        for (qsizetype i = 1; i < steps.size(); ++i) {
            const auto keys = i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
            QTest::keyClick(e->ui->List1, i % 2 ? Qt::Key_Y : Qt::Key_Z, keys);
            QCOMPARE(pairs(e), steps[i]);
        }
        QCOMPARE(shared(), pairs(e));

        // After a save: undoing a sort leaves the list unchanged, undoing
        // a change does not. The sort before it (known Z-A) is active again.
        // Closing writes back what is shown, no more.
        s.WordsModified = 0;
        QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.WordsModified, std::int16_t(0));
        QTest::keyClick(e->ui->List1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(s.WordsModified, std::int16_t(1));
        setBoxes(e, "maja", "house");
        e->ui->Command1->click();
        e->close();
        QCOMPARE(shared(), QString("uss/snake, maja/house, lehm/cow, Lammas / sheep, kass/cat, hobune/horse"));
        QVERIFY(s.KnownWords[999].isEmpty());
    }

    // Elsewhere in the editor the keys, and the right-click menu on a list,
    // undo and redo the list's steps. A step far down a long list shows the
    // row it touched: selected and scrolled to when it came back (its pair
    // in the boxes, unless they hold typing), the current row where it went.
    // The Delete key on a row scrolled away first shows it.
    void listUndoShowsTheRowItTouched_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("from"); // List1, List2, Command1 (a button) or menu
        QTest::addColumn<QString>("undone"); // the row shown: "row 3 selected", "row 3 current" or "none"
        QTest::addColumn<QString>("redone");
        const char* rows[][5] = {{"add by Enter, in a list", "add", "List1", "row 39 current, boxes w39/s39",
                                  "row 40 selected, boxes uus/new"},
                                 {"delete by key, on a button", "delete", "Command1", "row 30 selected, boxes w30/s30",
                                  "row 30 current, boxes w31/s31"},
                                 {"replace, from the menu", "replace", "menu", "row 25 selected, boxes w25/s25",
                                  "row 39 selected, boxes uus/new"},
                                 {"add under a sort, typing kept", "sorted add", "List2",
                                  "row 37 current, boxes keep/typing", "row 37 selected, boxes keep/typing"},
                                 {"add, from the menu, typing kept", "add", "menu", "row 39 current, boxes keep/typing",
                                  "row 40 selected, boxes keep/typing"},
                                 {"sort: nothing selected", "sort", "List1", "none", "none"}};
        for (const auto& r : rows)
            QTest::newRow(r[0]) << QString(r[1]) << QString(r[2]) << QString(r[3]) << QString(r[4]);
    }
    void listUndoShowsTheRowItTouched()
    {
        QFETCH(QString, command);
        QFETCH(QString, from);
        std::vector<std::pair<QString, QString>> words;
        for (int i = 0; i < 40; ++i)
            words.push_back({QString("w%1").arg(i, 2, 10, QChar('0')), QString("s%1").arg(i, 2, 10, QChar('0'))});
        h_->setWords(words);
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        QListWidget* list = e->ui->List1;
        const auto type = [&](const QString& known, const QString& unknown) {
            QTest::keyClicks(e->ui->Text2, unknown);
            press(e->ui->Text2, Qt::Key_Return);
            QTest::keyClicks(e->ui->Text1, known);
            press(e->ui->Text1, Qt::Key_Return);
        };
        if (command == "add") {
            type("uus", "new");
        } else if (command == "delete" || command == "replace") {
            const int row = command == "delete" ? 30 : 25;
            list->scrollToItem(list->item(row));
            clickRow(list, row);
            setBoxes(e, "", "");
            QTest::keyClicks(e->ui->Text1, "uus");
            QTest::keyClicks(e->ui->Text2, "new");
            list->scrollToTop(); // as the wheel does, leaving the selection
            for (int n = 40; command == "delete" && n >= 39; --n) {
                press(list, Qt::Key_Delete);
                QCOMPARE(list->count(), n);
            }
            if (command == "replace")
                QTest::mouseClick(e->ui->Command3, Qt::LeftButton);
        } else {
            QTest::mouseClick(command == "sort" ? e->ui->Command8 : e->ui->Command7, Qt::LeftButton);
            if (command == "sorted add")
                type("w36x", "new");
        }
        QCOMPARE(e->undoStack()->count(), command == "sorted add" ? 2 : 1);
        if (QString(QTest::currentDataTag()).endsWith("typing kept")) {
            QTest::keyClicks(e->ui->Text2, "typing");
            QTest::keyClicks(e->ui->Text1, "keep");
        }
        const QString done = pairs(e);

        // Undo (0) or redo (1) with the list scrolled to the top; what shows.
        const auto step = [&](int redo) {
            for (QListWidget* l : {e->ui->List1, e->ui->List2})
                l->scrollToTop();
            if (from == "menu") {
                // The menu runs a loop of its own: its item is clicked from
                // inside it.
                QTimer::singleShot(0, [redo] {
                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                    QAction* item = menu ? menu->actions().value(redo) : nullptr;
                    if (item && item->isEnabled())
                        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                    else if (menu)
                        menu->close();
                });
                QTest::mouseClick(e->windowHandle(), Qt::RightButton, {}, list->mapTo(e, QPoint(20, 20)));
            } else {
                QWidget* at = e->findChild<QWidget*>(from);
                at->setFocus();
                press(at, redo ? Qt::CTRL | Qt::SHIFT | Qt::Key_Z : Qt::CTRL | Qt::Key_Z);
            }
            const int row = list->currentRow();
            QStringList seen;
            for (QListWidget* l : {e->ui->List1, e->ui->List2})
                if (l->currentRow() != row
                    || (row >= 0 && !l->viewport()->rect().contains(l->visualItemRect(l->item(row)))))
                    return QString("row %1 apart or out of sight").arg(row);
            if (row >= 0)
                seen << QString("row %1 %2").arg(row).arg(selectedRow(list) == row ? "selected" : "current");
            if (!e->ui->Text1->text().isEmpty() || !e->ui->Text2->text().isEmpty())
                seen << "boxes " + boxes(e);
            return seen.isEmpty() ? QString("none") : seen.join(", ");
        };
        QTEST(step(0), "undone");
        QVERIFY(pairs(e) != done);
        QTEST(step(1), "redone");
        QCOMPARE(pairs(e), done);
    }

    // Closing the main window by its close box with an empty list ends the
    // program whatever else is open, unless an open editor holds typing.
    void closingWithAnEmptyList_data()
    {
        QTest::addColumn<QString>("editor");
        for (const char* editor : {"none", "empty", "emptied by Delete", "typed"})
            QTest::newRow(editor) << QString(editor);
    }
    void closingWithAnEmptyList()
    {
        QFETCH(QString, editor);
        if (editor == "emptied by Delete")
            h_->setWords({{"koer", "dog"}});
        Editor* e = editor == "none" ? nullptr : openEditor(*h_);
        if (editor == "emptied by Delete") {
            clickRow(e->ui->List1, 0);
            press(e->ui->List1, Qt::Key_Delete);
        } else if (editor == "typed") {
            QTest::keyClicks(e->ui->Text1, "koer");
        }
        main_->windowHandle()->close(); // as the close box does: through the window system
        Harness::flush();
        QCOMPARE(h_->program.ended(), editor != "typed");
        QVERIFY(!kassav() && (h_->program.ended() || (e->isVisible() && e->ui->Text1->text() == "koer")));
    }

    // Every way to the prompt and every answer. The list is "named" (a
    // changed list with a file), "untitled", "unchanged", "no folder" (its
    // file cannot be written) or "typed" (pairs typed into an open editor,
    // not written back). The way "test" closes the main window while a
    // timed test runs.
    void prompt_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("answer"); // Command1 Yes, Command2 No, Command3 Cancel
        QTest::addColumn<QString>("outcome");
        const QString written = "wrote x-ray/röntgen/koer/dog/";
        QTest::newRow("exit, Cancel") << "exit"
                                      << "named"
                                      << "Command3"
                                      << "unsaved";
        QTest::newRow("exit, Yes") << "exit"
                                   << "named"
                                   << "Command1"
                                   << "ends, " + written;
        QTest::newRow("exit untitled, Yes") << "exit"
                                            << "untitled"
                                            << "Command1"
                                            << "save dialog, saved";
        QTest::newRow("exit, No") << "exit"
                                  << "named"
                                  << "Command2"
                                  << "ends";
        QTest::newRow("exit, Yes, write fails") << "exit"
                                                << "no folder"
                                                << "Command1"
                                                << "message, unsaved";
        QTest::newRow("open, Cancel") << "open"
                                      << "named"
                                      << "Command3"
                                      << "unsaved";
        QTest::newRow("open, No") << "open"
                                  << "named"
                                  << "Command2"
                                  << "open dialog, saved";
        QTest::newRow("open, Yes") << "open"
                                   << "named"
                                   << "Command1" << written + ", saved";
        QTest::newRow("close, Cancel") << "close"
                                       << "unchanged"
                                       << "Command3"
                                       << "ends";
        QTest::newRow("close untitled, Yes") << "close"
                                             << "untitled"
                                             << "Command1"
                                             << "save dialog, saved";
        QTest::newRow("close in a test, Yes") << "test"
                                              << "named"
                                              << "Command1" << written + ", saved";
        QTest::newRow("typed, exit, Yes") << "exit"
                                          << "typed"
                                          << "Command1"
                                          << "ends, wrote koer/dog/";
        QTest::newRow("typed, open, Cancel") << "open"
                                             << "typed"
                                             << "Command3"
                                             << "unsaved";
        QTest::newRow("typed, close, Cancel") << "close"
                                              << "typed"
                                              << "Command3"
                                              << "unsaved";
    }
    void prompt()
    {
        QFETCH(QString, way);
        QFETCH(QString, list);
        QFETCH(QString, answer);
        if (list == "typed") {
            setBoxes(openEditor(*h_), "koer", "dog");
            h_->program.loaded<Editor>()->ui->Command1->click();
        } else {
            h_->setWords({{"x-ray", "röntgen"}, {"koer", "dog"}});
            state().WordsModified = list != "unchanged";
        }
        if (list != "untitled")
            state().CurrentFile = file(list == "no folder" ? "missing/named.dic" : "named.dic");
        const QString currentFile = state().CurrentFile;
        if (way == "test") {
            main_->ui->Check1->setChecked(true);
            main_->ui->VScroll1->setValue(5);
            main_->ui->nupptest->click();
        }
        if (way == "open")
            main_->ui->MFOpen->trigger();
        else if (way == "exit")
            main_->ui->MFExit->trigger();
        else
            main_->close();
        Harness::flush();
        if (way == "test") {
            // The test reads the closed window's options, loading no other.
            h_->platform.advance(3000);
            QCOMPARE(h_->program.loaded<Test>()->findChild<QLabel*>("Label7")->text(), QString("Aeg:  2"));
        }
        QVERIFY(!h_->program.ended() && kassav() && kassav()->isVisible());
        QCOMPARE(kassav()->ui->Label1->text(), currentFile);

        kassav()->findChild<QPushButton*>(answer)->click();
        Harness::flush();
        const bool ended = h_->program.ended();
        QStringList outcome = ended ? QStringList{"ends"} : QStringList();
        for (const FileDialogRequest& d : h_->platform.dialogs)
            outcome << (d.mode == FileDialogRequest::Mode::Open ? "open dialog" : "save dialog");
        if (const QByteArray bytes = readBytes(file("named.dic")); bytes != "<missing>")
            outcome << "wrote " + QString::fromLatin1(bytes).replace("\r\n", "/");
        if (!h_->platform.messages.empty())
            outcome << "message";
        if (!ended)
            outcome << (state().WordsModified ? "unsaved" : "saved");
        QTEST(outcome.join(", "), "outcome");
        if (ended)
            return;
        QVERIFY(!kassav() && !state().listIsEmpty() && state().PendingAction == PendingNone);
        const auto forms = h_->program.loadedForms();
        QVERIFY(std::any_of(forms.begin(), forms.end(), [](const Form* f) { return f->isVisible(); }));
        // A main window loaded again keeps the file and shows it.
        QVERIFY(main_ || h_->program.show<Main>().windowTitle().endsWith(QFileInfo(currentFile).fileName()));
        QCOMPARE(state().CurrentFile, currentFile);
    }

    // An editor left open follows an Open: refilled, no sort, boxes empty,
    // nothing to undo. Every save takes its words without leaving it. The
    // toolbar's buttons run the commands.
    void editorFollowsOpenAndSaves()
    {
        writeBytes(file("a.dic"), "koer\r\ndog\r\nkass\r\ncat\r\n");
        writeBytes(file("b.dic"), "maja\r\nhouse\r\n");
        h_->platform.answerDialog(file("a.dic"));
        main_->Toolbar1_ButtonClick("Open");
        main_->Toolbar1_ButtonClick("Edit");
        Editor* e = h_->program.loaded<Editor>();
        e->ui->Command7->click();
        setBoxes(e, "half", "typed");
        h_->platform.answerDialog(file("b.dic"));
        main_->Toolbar1_ButtonClick("Open");
        QCOMPARE(pairs(e) + " | " + boxes(e), QString("maja/house | /"));
        QVERIFY(!e->undoStack()->canUndo());
        setBoxes(e, "auto", "car");
        e->ui->Command1->click();
        main_->Toolbar1_ButtonClick("Save");
        QCOMPARE(readBytes(file("b.dic")), QByteArray("maja\r\nhouse\r\nauto\r\ncar\r\n"));
        e->ui->List1->setCurrentRow(0);
        e->ui->Command2->click();
        h_->platform.answerDialog(file("copy.dic"));
        main_->ui->MFSaveAs->trigger();
        QCOMPARE(readBytes(file("copy.dic")), QByteArray("auto\r\ncar\r\n"));
    }
};

QTEST_MAIN(MainAndEditorTest)
#include "test_main_and_editor.moc"
