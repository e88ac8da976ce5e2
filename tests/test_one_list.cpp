// One list, one file, whatever windows are open: an editor left open, a test
// still running or a main window closed and loaded again must never put
// stale words over a file, send a save elsewhere or drop typed words.
#include "support/EditorDriver.h"
#include "support/Files.h"
#include "support/Harness.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/Test.h"
#include "ui_Kassav.h"
#include "ui_Main.h"

#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

class OneListTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;

    MOODUL1& state() { return h_->program.state(); }
    QString file(const QString& name) { return h_->file(name); }
    void open(const QString& path)
    {
        h_->platform.answerDialog(path);
        main_->ui->MFOpen->trigger();
    }

private slots:
    void init()
    {
        h_ = std::make_unique<FolderHarness>();
        QVERIFY(h_->folder.isValid());
        main_ = &h_->program.show<Main>();
        writeBytes(file("a.dic"), "koer\r\ndog\r\nkass\r\ncat\r\n");
        writeBytes(file("b.dic"), "maja\r\nhouse\r\n");
        writeBytes(file("three.dic"), "x}y\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    // An editor open across an Open shows the new list and never writes the
    // old one back over it.
    void editorFollowsAnOpen()
    {
        open(file("a.dic"));
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        e->ui->Command7->click(); // a sort is active
        setBoxes(e, "half", "typed");
        open(file("b.dic"));
        QCOMPARE(pairs(e), QString("maja/house"));
        QCOMPARE(boxes(e), QString("/"));
        QCOMPARE(e->ui->Label1->text(), QString("Word count:  1"));

        // A pair added now lands in the opened list, unsorted.
        setBoxes(e, "zebra", "sebra");
        e->ui->Command1->click();
        setBoxes(e, "auto", "car");
        e->ui->Command1->click();
        QCOMPARE(pairs(e), QString("maja/house, zebra/sebra, auto/car"));
        e->ui->Command4->click();
        Harness::flush();
        main_->ui->MFSave->trigger();
        QCOMPARE(readBytes(file("b.dic")), QByteArray("maja\r\nhouse\r\nzebra\r\nsebra\r\nauto\r\ncar\r\n"));
        QCOMPARE(readBytes(file("a.dic")), QByteArray("koer\r\ndog\r\nkass\r\ncat\r\n"));
    }

    // The variation: Exit with the editor still open, and Yes.
    void exitYesWithTheEditorOpenWritesTheOpenedFile()
    {
        open(file("a.dic"));
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        open(file("b.dic"));
        setBoxes(e, "uus", "new");
        e->ui->Command1->click();
        main_->ui->Command2->click();
        Kassav* prompt = h_->program.loaded<Kassav>();
        QVERIFY(prompt);
        QCOMPARE(prompt->ui->Label1->text(), file("b.dic"));
        prompt->ui->Command1->click();
        QVERIFY(h_->program.ended());
        QCOMPARE(readBytes(file("b.dic")), QByteArray("maja\r\nhouse\r\nuus\r\nnew\r\n"));
        QCOMPARE(readBytes(file("a.dic")), QByteArray("koer\r\ndog\r\nkass\r\ncat\r\n"));
    }

    // Every save writes what the editor shows, without leaving it first.
    void savesTakeTheEditorsWords()
    {
        open(file("b.dic"));
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        setBoxes(e, "uks", "door");
        e->ui->Command1->click();
        main_->ui->MFSave->trigger();
        QCOMPARE(readBytes(file("b.dic")), QByteArray("maja\r\nhouse\r\nuks\r\ndoor\r\n"));
        e->ui->List1->setCurrentRow(0);
        e->ui->Command2->click();
        h_->platform.answerDialog(file("copy.dic"));
        main_->ui->MFSaveAs->trigger();
        QCOMPARE(readBytes(file("copy.dic")), QByteArray("uks\r\ndoor\r\n"));
    }

    // Pairs typed into the editor and not written back still count: the
    // prompt guards them on Open, Exit and closing the main window.
    void typedPairsAreNeverDroppedWithoutAsking()
    {
        QFETCH(int, way);
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        QVERIFY(state().listIsEmpty());
        setBoxes(e, "lind", "bird");
        e->ui->Command1->click();
        switch (way) {
        case 0: open(file("a.dic")); break;
        case 1: main_->ui->MFExit->trigger(); break;
        default: main_->close(); break;
        }
        Harness::flush();
        QVERIFY(!h_->program.ended());
        QVERIFY(h_->program.loaded<Kassav>());
        QCOMPARE(state().KnownWords[0], QString("lind"));
        QCOMPARE(state().PendingAction, std::int16_t(way == 0 ? PendingOpen : way == 1 ? PendingExit : PendingNone));
        QVERIFY(h_->platform.dialogs.empty());
    }
    void typedPairsAreNeverDroppedWithoutAsking_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("open") << 0;
        QTest::newRow("exit") << 1;
        QTest::newRow("close main") << 2;
    }

    // A running test reads the options without loading a main window, so a
    // closed main window's prompt still saves to the file that was open.
    void closingMainDuringATestKeepsTheSaveTarget()
    {
        open(file("three.dic"));
        main_->ui->Check1->setChecked(true);
        main_->ui->VScroll1->setValue(5);
        h_->platform.queueRandom(0.0);
        main_->ui->nupptest->click();
        QVERIFY(h_->program.loaded<Test>());
        main_->close();
        Harness::flush();
        QVERIFY(!h_->program.loaded<Main>());
        QVERIFY(h_->program.loaded<Kassav>());
        h_->platform.advance(3000); // the test's clock ticks
        QVERIFY(!h_->program.loaded<Main>());
        QCOMPARE(state().CurrentFile, file("three.dic"));
        // The options the closed window had still rule the test.
        QCOMPARE(h_->program.loaded<Test>()->findChild<QLabel*>("Label7")->text(), QString("Aeg:  2"));

        h_->program.loaded<Kassav>()->ui->Command1->click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(1)); // the Open only: no Save As
        // The prompt's writer keeps hyphens as they are: the file was written.
        QCOMPARE(readBytes(file("three.dic")), QByteArray("x-y\r\nb\r\nc\r\nd\r\ne\r\nf\r\n"));
        QVERIFY(!QFile::exists(file("Untitled.dic")));
    }

    // A main window shown again after it was closed keeps the current file.
    void aMainWindowLoadedAgainKeepsTheFile()
    {
        open(file("a.dic"));
        Editor* e = openEditor(*h_);
        QVERIFY(e);
        main_->close();
        Harness::flush();
        h_->program.loaded<Kassav>()->ui->Command3->click();
        Harness::flush();
        e->ui->Command4->click(); // shows a fresh main window
        Harness::flush();
        main_ = h_->program.loaded<Main>();
        QVERIFY(main_);
        QCOMPARE(state().CurrentFile, file("a.dic"));
        QCOMPARE(main_->windowTitle(), "Vorbix - " + file("a.dic"));
        QVERIFY(main_->ui->Option1->isChecked()); // options start afresh
    }
};

QTEST_MAIN(OneListTest)
#include "test_one_list.moc"
