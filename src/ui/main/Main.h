#pragma once

#include "dictionary/DictionaryFile.h"
#include "dictionary/FileKind.h"
#include "state/Drill.h"
#include "state/TestOptions.h"
#include "ui/main/ImportRead.h"
#include "ui/toolkit/CommonDialog.h"
#include "ui/toolkit/Form.h"

#include <memory>

namespace Ui {
class Main;
}

namespace vorbix::dictionary {
struct ImportPreview;
}

namespace vorbix {

// The home window: file commands, the editor and the test, and the test
// options that the test windows read straight from its controls.
class Main : public Form {
    Q_OBJECT
public:
    explicit Main(Program& program);
    ~Main() override;

    void Form_Load() override;
    void Form_Unload() override;
    void Check1_Click();
    void VScroll1_Change();
    void Command1_Click();
    void Command2_Click();
    void nupptest_Click();
    // The message of a test started on a list with nothing to ask; the test
    // window shows it too when the list empties under it.
    static void showNothingToTest(Platform& platform);
    void MAbout_Click();

    // The Progress menu (Main_progress.cpp).
    void MPShow_Click();
    void MPMistakes_Click();
    void MPWeakest_Click();
    void MPRecord_Click();
    void MPClearList_Click();
    void MPClearAll_Click();
    // Drills the pairs of the current list missed in its last test, or says
    // there are none; the progress window's button does the same.
    static void testMistakes(Program& program);
    // How many pairs "Test the 10 weakest words" takes at most.
    static constexpr int WeakestCount = 10;
    void Toolbar1_ButtonClick(const QString& key);

    // File commands; Open and Save As are also run by the save prompt.
    void MFNew_Click();
    void MFOpen_Click();
    void MFSave_Click();
    void MFSaveAs_Click();
    void MFExit_Click();
    // Whether the last Save As was tried and failed (a cancel is no failure).
    bool lastSaveAsFailed() const { return lastSaveAsFailed_; }

    // Writes the list to CurrentFile without the hyphen rule (the save
    // prompt's Yes). A failure is reported to the user; returns success.
    // Needs no main window: the prompt may outlive it.
    static bool savePlain(Program& program);

    // The current directory, the separator and "Untitled.dic".
    static QString untitledPath(Platform& platform);
    static bool isUntitled(Program& program);
    // Untitled, or read from a file that Save must not write over.
    static bool needsSaveAs(Program& program);
    QString untitledPath();
    bool isUntitled();

    // The test options of the loaded main window, or those it had when it
    // last closed; never loads one.
    static TestOptions options(Program& program);
    TestOptions options() const;

    // Opens a file as File > Open does once a path is chosen: a .dic all or
    // nothing, with its messages and title; any other file through the
    // import window. False when the file was refused (with its message);
    // true too while a long read goes on behind its progress window.
    bool openPath(const QString& path, const QString& fileTitle);
    bool openPath(const QString& path);
    // A file dropped on the window: File > Open with this path chosen.
    void openDropped(const QString& path);
    // The import window's OK: its pairs become the list as an opened file's.
    void acceptImport(const QString& path, const QString& fileTitle, const dictionary::ImportPreview& preview);

    // Writes an open editor's words into the shared list, so that what is
    // saved or offered for saving is what the user sees.
    static void syncEditor(Program& program);

    static QString timeLimitEstonian(int seconds);
    static QString timeLimitEnglish(int seconds);

    std::unique_ptr<Ui::Main> ui;
    CommonDialog CommonDialog1;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Writes an open editor back, then tells whether the list needs the save
    // prompt before it may go.
    bool listWouldBeLost();
    // Open's steps; a preset path stands for the first dialog.
    void openFlow(QString preset);
    // offerOpenAgain: a refusal that comes after a long read offers the file
    // dialog again, as the loop in openFlow does after a quick one.
    bool openFile(const QString& path, const QString& fileTitle, bool offerOpenAgain);
    bool beginImport(const QString& path, const QString& fileTitle, bool offerOpenAgain);
    bool showImport(const QString& path, const QString& fileTitle, const ImportRead::Result& read);
    void replaceList(const QString& path, const QString& fileTitle, const dictionary::WordPairs& pairs,
                     dictionary::FileKind kind, const dictionary::FileFormat& format);
    // Starts a drill of those pairs the list holds, or shows `nothing`.
    static void drill(Program& program, const std::vector<PairKey>& wanted, const QString& nothing);
    void clearRecord(bool wholeRecord);
    bool lastSaveAsFailed_ = false;
    int wheelRest_ = 0; // a fine wheel's turn not yet worth a step
};

} // namespace vorbix
