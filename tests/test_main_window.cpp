// The main window, the save prompt on every way out, and one list whatever
// windows are open: an editor left open, a test still running or a main
// window closed and loaded again must never put stale words over a file,
// send a save elsewhere or drop typed words.
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "ui/main/Kassav.h"
#include "ui/test/Test.h"
#include "ui_Kassav.h"
#include "ui_Main.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QUndoStack>

using namespace vorbix;
using namespace vorbix::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FolderHarness> h_;
    QPointer<Main> main_;

    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) { return h_->file(name); }
    Kassav* kassav() { return h_->program.loaded<Kassav>(); }
    void toolbar(const QString& key)
    {
        for (QAction* a : main_->ui->Toolbar1->actions())
            if (a->property("key").toString() == key)
                a->trigger();
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

    // A first load: untitled in the working folder, default options, the
    // list kept. The time limit's text when it is switched on and moved.
    void loadAndTimeLimit()
    {
        Harness h;
        h.platform.setCurrentDirectory("/home/user/words");
        h.program.state().WrongAnswerAcknowledged = true;
        h.setWords({{"koer", "dog"}});
        Main& m = h.program.show<Main>();
        QCOMPARE(m.windowTitle(), QString("Vorbix - Untitled.dic"));
        QCOMPARE(h.program.state().CurrentFile, QDir::toNativeSeparators("/home/user/words/Untitled.dic"));
        QVERIFY(!h.program.state().WrongAnswerAcknowledged);
        QVERIFY(m.ui->Option1->isChecked() && m.ui->Option3->isChecked());
        QCOMPARE(h.program.state().KnownWords[0], QString("koer"));
        h.platform.setCurrentDirectory("/elsewhere");
        QVERIFY(!m.isUntitled());

        QVERIFY(!m.ui->Check1->isChecked() && !m.ui->VScroll1->isEnabled() && m.ui->Label2->text().isEmpty());
        m.ui->Check1->click();
        QCOMPARE(m.ui->Label2->text(), QString("  0 minutit ja  0 sekundit."));
        m.ui->VScroll1->setValue(400);
        QCOMPARE(m.ui->Label2->text(), QString("  5 minutes and  0 seconds"));
        m.ui->Check1->click();
        QVERIFY(!m.ui->VScroll1->isEnabled() && m.ui->Label2->text().isEmpty());
        m.ui->Command2->click(); // unchanged: Exit ends without asking
        QCOMPARE(h.platform.ended, 1);
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
        QTest::addColumn<int>("answer"); // 1 Yes, 2 No, 3 Cancel
        QTest::addColumn<QString>("outcome");
        const QString written = "wrote x-ray/röntgen/koer/dog/";
        QTest::newRow("exit, Cancel") << "exit" << "named" << 3 << "unsaved";
        QTest::newRow("exit, Yes: the plain writer") << "exit" << "named" << 1 << "ends, " + written;
        QTest::newRow("exit, Yes, Save As cancelled") << "exit" << "untitled" << 1 << "save dialog, saved";
        QTest::newRow("exit, No") << "exit" << "named" << 2 << "ends";
        QTest::newRow("exit, Yes, the write fails") << "exit" << "no folder" << 1 << "message, unsaved";
        QTest::newRow("open, Cancel") << "open" << "named" << 3 << "unsaved";
        QTest::newRow("open, No: the dialog at once") << "open" << "named" << 2 << "open dialog, saved";
        QTest::newRow("open, Yes") << "open" << "named" << 1 << written + ", saved";
        QTest::newRow("close, Cancel, no other window") << "close" << "unchanged" << 3 << "ends";
        QTest::newRow("close, Yes, Save As cancelled") << "close" << "untitled" << 1 << "save dialog, saved";
        QTest::newRow("close in a test, Yes") << "test" << "named" << 1 << written + ", saved";
        QTest::newRow("typed, exit, Yes") << "exit" << "typed" << 1 << "ends, wrote koer/dog/";
        QTest::newRow("typed, open, Cancel") << "open" << "typed" << 3 << "unsaved";
        QTest::newRow("typed, close, Cancel") << "close" << "typed" << 3 << "unsaved";
    }
    void prompt()
    {
        QFETCH(QString, way);
        QFETCH(QString, list);
        QFETCH(int, answer);
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
        QCOMPARE(state().PendingAction, std::int16_t(way == "open" ? PendingOpen : way == "exit" ? PendingExit : 0));
        QVERIFY(h_->platform.dialogs.empty());

        QPushButton* const buttons[] = {kassav()->ui->Command1, kassav()->ui->Command2, kassav()->ui->Command3};
        buttons[answer - 1]->click();
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
        const bool fresh = !main_;
        Main& m = h_->program.show<Main>();
        QCOMPARE(state().CurrentFile, currentFile);
        QVERIFY(!fresh || m.windowTitle().endsWith(QFileInfo(currentFile).fileName()));
    }

    // An editor left open follows an Open: refilled, no sort, boxes empty,
    // nothing to undo. Every save takes its words without leaving it. The
    // toolbar's buttons run the commands.
    void editorFollowsOpenAndSaves()
    {
        state().LastWordIndex = 3; // stale: the list is empty
        toolbar("Testime");
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QCOMPARE(h_->platform.messages[0].text,
                 QString("There is nothing to test (no words). Please use the Editor and add some "
                         "words or open already existing file with words!"));
        QVERIFY(h_->platform.messages[0].icon == MessageIcon::Critical && !h_->program.loaded<Test>());
        writeBytes(file("a.dic"), "koer\r\ndog\r\nkass\r\ncat\r\n");
        writeBytes(file("b.dic"), "maja\r\nhouse\r\n");
        h_->platform.answerDialog(file("a.dic"));
        toolbar("Open");
        toolbar("Edit");
        Editor* e = h_->program.loaded<Editor>();
        e->ui->Command7->click();
        setBoxes(e, "half", "typed");
        h_->platform.answerDialog(file("b.dic"));
        toolbar("Open");
        QCOMPARE(pairs(e), QString("maja/house"));
        QCOMPARE(boxes(e), QString("/"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  1"));
        QVERIFY(!e->undoStack()->canUndo());
        setBoxes(e, "zebra", "sebra");
        e->ui->Command1->click();
        setBoxes(e, "auto", "car");
        e->ui->Command1->click();
        toolbar("Save");
        QCOMPARE(readBytes(file("b.dic")), QByteArray("maja\r\nhouse\r\nzebra\r\nsebra\r\nauto\r\ncar\r\n"));
        e->ui->List1->setCurrentRow(0);
        e->ui->Command2->click();
        h_->platform.answerDialog(file("copy.dic"));
        main_->ui->MFSaveAs->trigger();
        QCOMPARE(readBytes(file("copy.dic")), QByteArray("zebra\r\nsebra\r\nauto\r\ncar\r\n"));
        setBoxes(e, "uus", "new");
        e->ui->Command1->click();
        toolbar("Exit");
        QCOMPARE(kassav()->ui->Label1->text(), file("copy.dic"));
        kassav()->ui->Command1->click();
        QVERIFY(h_->program.ended());
        QCOMPARE(readBytes(file("copy.dic")), QByteArray("zebra\r\nsebra\r\nauto\r\ncar\r\nuus\r\nnew\r\n"));
        QCOMPARE(readBytes(file("a.dic")), QByteArray("koer\r\ndog\r\nkass\r\ncat\r\n"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
