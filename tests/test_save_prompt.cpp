#include "support/Files.h"
#include "support/Harness.h"
#include "ui/editor/Editor.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"

#include "ui_Editor.h"
#include "ui_Kassav.h"
#include "ui_Main.h"

#include <QCloseEvent>
#include <QFile>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;

// Every way out of the program, and the prompt that guards a list on the way.
class SavePromptTest : public QObject {
    Q_OBJECT

    MOODUL1& state() { return h_->program.state(); }
    Kassav* prompt() { return h_->program.loaded<Kassav>(); }
    bool ended() const { return h_->platform.ended > 0; }
    QString file(const QString& name) const { return h_->file(name); }

    // A list as the editor leaves it after a change.
    void changedList(const QString& currentFile = {})
    {
        h_->setWords({{"x-ray", "röntgen"}, {"koer", "dog"}});
        state().WordsModified = 1;
        if (!currentFile.isEmpty())
            state().CurrentFile = currentFile;
    }

    // The user's close box on the main window.
    void closeMain()
    {
        main_->close();
        QVERIFY(!h_->program.loaded<Main>());
        main_ = nullptr;
    }

private slots:
    void init()
    {
        h_ = std::make_unique<FolderHarness>();
        QVERIFY(h_->folder.isValid());
        main_ = &h_->program.show<Main>();
    }
    void cleanup()
    {
        h_.reset();
        Harness::flush();
    }

    void exitWithoutChangesEndsAtOnce()
    {
        main_->MFExit_Click(); // empty list
        QVERIFY(ended());
        QVERIFY(!prompt());

        init();
        h_->setWords({{"a", "b"}}); // words, but unchanged
        main_->ui->Command2->click();
        QVERIFY(ended());
        QVERIFY(h_->platform.dialogs.empty());
    }

    void exitWithChangesAsksAndCancelKeepsEverything()
    {
        h_->setWords({{"one", "pair"}});
        state().WordsModified = 1;
        main_->ui->MFExit->trigger();
        QVERIFY(!ended());
        QVERIFY(prompt());
        QVERIFY(prompt()->isVisible());
        QCOMPARE(prompt()->windowTitle(), QString("Save?"));
        QCOMPARE(prompt()->ui->Label1->text(), state().CurrentFile);
        QCOMPARE(state().PendingAction, std::int16_t(PendingExit));

        prompt()->ui->Command3->click();
        QVERIFY(!prompt());
        QVERIFY(!ended());
        QCOMPARE(state().PendingAction, std::int16_t(0));
        QCOMPARE(state().WordsModified, std::int16_t(1));
        QVERIFY(main_->isVisible());

        main_->MFExit_Click(); // asks again
        QVERIFY(prompt());
        QVERIFY(!ended());
    }

    void exitYesUntitledCancelledSaveAsKeepsRunning()
    {
        changedList();
        QVERIFY(main_->isUntitled());
        main_->MFExit_Click();
        h_->platform.cancelDialog();
        prompt()->ui->Command1->click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(1));
        QVERIFY(h_->platform.dialogs[0].mode == FileDialogRequest::Mode::Save);
        QVERIFY(!ended());
        QVERIFY(!prompt());
        QVERIFY(h_->program.loaded<Main>()->isVisible());
        QCOMPARE(state().WordsModified, std::int16_t(0));
        QCOMPARE(state().KnownWords[0], QString("x-ray"));
        QCOMPARE(state().PendingAction, std::int16_t(0));
        // Nothing counts as changed any more, so the next Exit ends at once.
        main_->MFExit_Click();
        QVERIFY(ended());
    }

    void exitYesNamedFileWritesPlainAndEnds()
    {
        changedList(file("named.dic"));
        main_->MFExit_Click();
        prompt()->ui->Command1->click();
        QVERIFY(ended());
        QVERIFY(h_->platform.dialogs.empty());
        QCOMPARE(readBytes(file("named.dic")), QByteArray("x-ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\n"));
    }

    void openWithChangesThenNoShowsTheDialogAtOnce()
    {
        changedList(file("named.dic"));
        main_->ui->MFOpen->trigger();
        QVERIFY(prompt());
        QVERIFY(h_->platform.dialogs.empty());
        QCOMPARE(state().PendingAction, std::int16_t(PendingOpen));

        h_->platform.cancelDialog();
        prompt()->ui->Command2->click();
        QCOMPARE(h_->platform.dialogs.size(), size_t(1));
        QVERIFY(h_->platform.dialogs[0].mode == FileDialogRequest::Mode::Open);
        QCOMPARE(state().WordsModified, std::int16_t(0));
        QCOMPARE(state().PendingAction, std::int16_t(0));
        QVERIFY(!prompt());
        QVERIFY(!ended());
        QCOMPARE(readBytes(file("named.dic")), QByteArray("<missing>"));
    }

    void lastWindowOpeningAnotherKeepsTheProgram()
    {
        // Results left alone on screen: "Again" still starts a test.
        h_->setWords({{"a", "b"}, {"c", "d"}});
        state().AnsweredCount = 2;
        h_->program.show<Tulemus>();
        QVERIFY(!h_->program.loaded<Test>());
        closeMain();
        prompt()->ui->Command3->click();
        QCOMPARE(h_->program.loadedCount(), 1);
        h_->program.loaded<Tulemus>()->Command1_Click();
        QVERIFY(!ended());
        QVERIFY(h_->program.loaded<Test>() && h_->program.loaded<Test>()->isVisible());

        // The editor left alone: leaving it brings the main window back.
        init();
        h_->setWords({{"a", "b"}});
        Editor& e = h_->program.show<Editor>();
        closeMain();
        prompt()->ui->Command3->click();
        e.ui->Command4->click();
        QVERIFY(!ended());
        QVERIFY(h_->program.loaded<Main>() && h_->program.loaded<Main>()->isVisible());
    }

    // An open editor's words are part of the list every way out saves or
    // asks about, written back or not.
    void waysOutTakeAnOpenEditorsWords()
    {
        // Added to an empty list: Exit asks, and Yes writes them.
        state().CurrentFile = file("named.dic");
        Editor& e = h_->program.show<Editor>();
        e.ui->Text2->setText("dog");
        e.ui->Text1->setText("koer");
        e.Command1_Click();
        main_->MFExit_Click();
        QVERIFY(!ended());
        QVERIFY(prompt());
        prompt()->ui->Command1->click();
        QVERIFY(ended());
        QCOMPARE(readBytes(file("named.dic")), QByteArray("koer\r\ndog\r\n"));
    }

    void closingMainWithUnchangedListStillAsks()
    {
        h_->setWords({{"a", "b"}});
        closeMain();
        QVERIFY(!ended());
        QVERIFY(prompt());
        QCOMPARE(state().MainWindowClosing, std::int16_t(1));
        prompt()->ui->Command3->click(); // Cancel: nothing else is open
        QVERIFY(ended());
    }

    void closingMainYesCancelledSaveAsBringsAFreshMainBack()
    {
        changedList();
        main_->ui->Option2->setChecked(true);
        closeMain();
        h_->platform.cancelDialog();
        prompt()->ui->Command1->click();
        QVERIFY(!ended());
        QVERIFY(!prompt());
        Main* fresh = h_->program.loaded<Main>();
        QVERIFY(fresh);
        QVERIFY(fresh->isVisible());
        QVERIFY(fresh->ui->Option1->isChecked()); // design values again
        QVERIFY(fresh->isUntitled());
        QCOMPARE(state().KnownWords[1], QString("koer")); // the list survives
        QCOMPARE(state().MainWindowClosing, std::int16_t(0));
    }

    void failedPlainSaveNeverEnds()
    {
        changedList(file("missing-folder/named.dic"));
        main_->MFExit_Click();
        prompt()->ui->Command1->click();
        QVERIFY(!ended());
        QCOMPARE(h_->platform.messages.size(), size_t(1));
        QVERIFY(h_->platform.messages[0].text.contains(file("missing-folder/named.dic")));
        QVERIFY(!prompt());
        // Still unsaved: the next Exit asks again instead of losing it.
        QCOMPARE(state().WordsModified, std::int16_t(1));
        main_->MFExit_Click();
        QVERIFY(prompt());
        QVERIFY(!ended());
    }

private:
    std::unique_ptr<FolderHarness> h_;
    Main* main_ = nullptr;
};

QTEST_MAIN(SavePromptTest)
#include "test_save_prompt.moc"
