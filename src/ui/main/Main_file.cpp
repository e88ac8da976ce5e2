#include "dictionary/DictionaryFile.h"
#include "ui/editor/Editor.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

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

void Main::MFOpen_Click()
{
    // After a failed file the dialog is offered again, until a file opens or
    // the user cancels.
    for (;;) {
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

        // The list is replaced only by a file that read cleanly, so a later
        // Save can never put the old list over a file that failed to open.
        const ReadResult read = readDictionaryFile(path);
        if (!read.ok()) {
            platform().messageBox(openFailureText(read.error, path), MessageIcon::None);
            continue;
        }
        storePairs(state(), read.pairs);
        state().CurrentFileFormat = read.format;
        state().CurrentFile = path;
        setWindowTitle(QStringLiteral("English Quorvel - ") + CommonDialog1.FileTitle);
        if (read.truncated)
            platform().messageBox(truncatedText(path), MessageIcon::None);
        return;
    }
}

void Main::MFSave_Click()
{
    if (isUntitled()) {
        MFSaveAs_Click();
        return;
    }
    const QString path = state().CurrentFile;
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
    // A save that ends the program takes an open editor's words along, or
    // they would go with the editor.
    const bool leaving = state().PendingAction == PendingExit || state().MainWindowClosing == 1;
    if (Editor* editor = program().loaded<Editor>(); leaving && editor)
        editor->WriteBack();
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
    return reportSave(program.platform(), dictionary::savePlain(program.state(), path), path);
}

} // namespace vorbix
