#include "dictionary/DictionaryFile.h"
#include "state/ShownQuestion.h"
#include "ui/editor/Editor.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

#include <QFileInfo>

namespace vorbix {

using namespace dictionary;

namespace {

// Shows a failed save to the user; returns whether it succeeded.
bool reportSave(Platform& platform, const WriteResult& result, const QString& path)
{
    if (!result.ok)
        platform.messageBox(saveFailureText(path, result.reason), MessageIcon::Critical);
    return result.ok;
}

} // namespace

void Main::MFNew_Click() { state().CurrentFile = untitledPath(); }

void Main::SyncEditor(Program& program)
{
    if (Editor* editor = program.loaded<Editor>())
        editor->WriteBack();
}

void Main::MFOpen_Click()
{
    // After a failed file the dialog is offered again, until a file opens or
    // the user cancels.
    for (;;) {
        // Pairs typed in the editor are part of what the user would lose.
        SyncEditor(program());
        if (!state().listIsEmpty() && state().WordsModified == 1) {
            state().PendingAction = PendingOpen;
            program().show<Kassav>();
            return;
        }
        if (!CommonDialog1.ShowOpen())
            return;
        const QString path = CommonDialog1.FileName;
        if (path.isEmpty())
            return;
        if (OpenPath(path, CommonDialog1.FileTitle))
            return;
    }
}

bool Main::OpenPath(const QString& path) { return OpenPath(path, QFileInfo(path).fileName()); }

bool Main::OpenPath(const QString& path, const QString& fileTitle)
{
    // The list is replaced only by a file that read cleanly, so a later
    // Save can never put the old list over a file that failed to open.
    const ReadResult read = readDictionaryFile(path);
    if (!read.ok()) {
        platform().messageBox(openFailureText(read.error, path), MessageIcon::None);
        return false;
    }
    storePairs(state(), read.pairs);
    state().CurrentFile = path;
    // A new list starts a new round: marks of the old one mean nothing here.
    startNewRound(state());
    setWindowTitle(QStringLiteral("English Quorvel - ") + fileTitle);
    // An open editor shows the new list, or its write-back would put the
    // old words over it.
    if (Editor* editor = program().loaded<Editor>())
        editor->Reload();
    if (read.truncated)
        platform().messageBox(truncatedText(path), MessageIcon::None);
    return true;
}

void Main::MFSave_Click()
{
    if (isUntitled()) {
        MFSaveAs_Click();
        return;
    }
    const QString path = state().CurrentFile;
    SyncEditor(program());
    if (reportSave(platform(), saveWithHyphenRule(state(), path), path))
        setWindowTitle(QStringLiteral("Vorbix - ") + path);
}

void Main::MFSaveAs_Click()
{
    lastSaveAsFailed_ = false;
    CommonDialog1.Filter = QStringLiteral("Quorvel Files (*.dic)|*.dic|");
    CommonDialog1.CancelError = true;
    CommonDialog1.FileName = state().CurrentFile;
    if (!CommonDialog1.ShowSave()) {
        state().MainWindowClosing = 0;
        // The main window first: closing the prompt while it is the last
        // window would end the program.
        program().show<Main>();
        program().unload<Kassav>();
        return;
    }
    const QString path = CommonDialog1.FileName;
    // Nothing was written, so nothing may count as saved (the prompt would
    // let the list go).
    if (path.isEmpty()) {
        platform().messageBox(saveFailureText(path, QStringLiteral("No file name was given.")),
                              MessageIcon::Critical);
        lastSaveAsFailed_ = true;
        return;
    }
    SyncEditor(program());
    // A failed save keeps the current file and the title, and never ends
    // the program: the list would be lost.
    if (!reportSave(platform(), saveWithHyphenRule(state(), path), path)) {
        lastSaveAsFailed_ = true;
        return;
    }
    state().CurrentFile = path;
    if (state().PendingAction == PendingExit || state().MainWindowClosing == 1) {
        program().end();
        return;
    }
    setWindowTitle(QStringLiteral("Vorbix - ") + path);
}

bool Main::SavePlain(Program& program)
{
    const QString path = program.state().CurrentFile;
    SyncEditor(program);
    return reportSave(program.platform(), dictionary::savePlain(program.state(), path), path);
}

} // namespace vorbix
