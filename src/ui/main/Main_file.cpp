#include "dictionary/DictionaryFile.h"
#include "dictionary/Import.h"
#include "dictionary/ImportText.h"
#include "dictionary/WordListFile.h"
#include "state/ShownQuestion.h"
#include "state/Version.h"
#include "ui/editor/Editor.h"
#include "ui/main/Import.h"
#include "ui/main/ImportRead.h"
#include "ui/progress/Progress.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>

#include <utility>

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

// The entries Save As offers. The name decides what is written
// (savedKindFor); a filter gives a name typed without one its extension.
const QString SaveAsFilter = QStringLiteral("Quorvel Files (*.dic)|*.dic|Tab-separated text (*.tsv)|*.tsv|"
                                            "Comma-separated text (*.csv)|*.csv|KVTML (*.kvtml)|*.kvtml|");

bool namedDictionary(const QString& path) { return path.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive); }

// Open shows the dialog's own first entry, then every list it reads.
QString openFilter(const QString& designed)
{
    return designed.section(QLatin1Char('|'), 0, 1) + QLatin1Char('|')
        + QStringLiteral("All word lists (*.dic *.kvtml *.csv *.tsv *.txt)|*.dic;*.kvtml;*.csv;*.tsv;*.txt|"
                         "KVTML (*.kvtml)|*.kvtml|"
                         "Text lists (*.csv *.tsv *.txt)|*.csv;*.tsv;*.txt|");
}

// Writes what the user sees: an open editor's rows go into the list first.
WriteResult writeList(Program& program, const QString& path, FileKind kind, bool hyphenRule)
{
    Main::syncEditor(program);
    MOODUL1& state = program.state();
    if (kind != FileKind::Dictionary && kind != FileKind::Imported)
        return writeListFile(path, savedPairs(state), kind);
    return hyphenRule ? saveWithHyphenRule(state, path) : dictionary::savePlain(state, path);
}

} // namespace

void Main::MFNew_Click()
{
    state().CurrentFile = untitledPath();
    state().CurrentFileKind = FileKind::Dictionary;
}

void Main::syncEditor(Program& program)
{
    if (Editor* editor = program.loaded<Editor>())
        editor->writeBack();
}

bool Main::listWouldBeLost()
{
    // Pairs typed in the editor are part of what the user would lose.
    syncEditor(program());
    return needsSavePrompt(state());
}

void Main::MFOpen_Click() { openFlow(QString()); }

void Main::openDropped(const QString& path) { openFlow(path); }

void Main::openFlow(QString preset)
{
    // After a failed file the dialog is offered again, until a file opens or
    // the user cancels.
    for (;;) {
        if (listWouldBeLost()) {
            state().PendingAction = PendingOpen;
            state().PendingOpenPath = preset;
            program().show<Kassav>();
            return;
        }
        if (!preset.isEmpty()) {
            const QString path = std::exchange(preset, QString());
            if (openFile(path, QFileInfo(path).fileName(), true))
                return;
            continue;
        }
        const QString designed = CommonDialog1.Filter;
        CommonDialog1.Filter = openFilter(designed);
        const bool chosen = CommonDialog1.showOpen();
        CommonDialog1.Filter = designed;
        if (!chosen)
            return;
        const QString path = CommonDialog1.FileName;
        if (path.isEmpty())
            return;
        if (openFile(path, CommonDialog1.FileTitle, true))
            return;
    }
}

namespace {

QString droppedFile(const QMimeData* mime)
{
    if (!mime)
        return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            return QDir::toNativeSeparators(url.toLocalFile());
    return {};
}

} // namespace

void Main::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Main::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Once the drag is over: a message box inside the drop would hold up
    // the program the file came from.
    QMetaObject::invokeMethod(
        this, [this, path] { openDropped(path); }, Qt::QueuedConnection);
}

bool Main::openPath(const QString& path) { return openPath(path, QFileInfo(path).fileName()); }

bool Main::openPath(const QString& path, const QString& fileTitle) { return openFile(path, fileTitle, false); }

bool Main::openFile(const QString& path, const QString& fileTitle, bool offerOpenAgain)
{
    if (!namedDictionary(path))
        return beginImport(path, fileTitle, offerOpenAgain);
    // The list is replaced only by a file that read cleanly, so a later
    // Save can never put the old list over a file that failed to open.
    const ReadResult read = readDictionaryFile(path);
    if (!read.ok()) {
        platform().messageBox(openFailureText(read.error, path), MessageIcon::None);
        return false;
    }
    replaceList(path, fileTitle, read.pairs, FileKind::Dictionary, read.format);
    if (read.truncated)
        platform().messageBox(truncatedText(path), MessageIcon::None);
    return true;
}

bool Main::beginImport(const QString& path, const QString& fileTitle, bool offerOpenAgain)
{
    // Whatever keeps the file from opening, the .dic reader names it.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        platform().messageBox(openFailureText(readDictionaryFile(path).error, path), MessageIcon::None);
        return false;
    }
    if (file.size() > MaxListFileBytes) {
        platform().messageBox(importErrorText(ImportError::TooLarge), MessageIcon::None);
        return false;
    }
    file.close();
    const auto work = [path](ReadProgress* progress) {
        ImportRead::Result r;
        QFile f(path);
        // Bounded even if the file grew since it was measured: one byte
        // over the limit is enough for the reader to refuse it.
        if (f.open(QIODevice::ReadOnly))
            r.bytes = f.read(MaxListFileBytes + 1);
        r.unreadable = !f.isOpen() || f.error() != QFileDevice::NoError;
        if (!r.unreadable)
            r.preview = previewImport(r.bytes, path, {}, progress);
        return r;
    };
    // A long read ends later: a refusal then offers the file dialog again,
    // as Open does at once for a quick one.
    const auto later = [this, path, fileTitle, offerOpenAgain](const ImportRead::Result& r) {
        if (!showImport(path, fileTitle, r) && offerOpenAgain)
            openFlow(QString());
    };
    const std::optional<ImportRead::Result> now =
        ImportRead::run(this, platform(), QStringLiteral("Reading %1").arg(fileTitle), work, later, [] {});
    // The window finishes the command; Open ends here either way.
    return !now || showImport(path, fileTitle, *now);
}

bool Main::showImport(const QString& path, const QString& fileTitle, const ImportRead::Result& read)
{
    if (read.unreadable) {
        platform().messageBox(openFailureText(DeviceIoError, path), MessageIcon::None);
        return false;
    }
    const ImportPreview& preview = read.preview;
    if (!preview.ok()) {
        platform().messageBox(preview.errorText.isEmpty() ? importErrorText(preview.error) : preview.errorText,
                              MessageIcon::None);
        return false;
    }
    Import& window = program().form<Import>();
    window.begin(path, fileTitle, read.bytes, preview);
    window.Show();
    return true;
}

void Main::acceptImport(const QString& path, const QString& fileTitle, const ImportPreview& preview)
{
    // Words typed since the command began would be lost: ask first, as Open
    // does, and leave the list alone.
    if (listWouldBeLost()) {
        state().PendingAction = PendingOpen;
        program().show<Kassav>();
        return;
    }
    replaceList(path, fileTitle, preview.pairs, preview.kind, preview.fileFormat);
    for (const QString& message : importMessages(path, preview))
        platform().messageBox(message, MessageIcon::None);
}

void Main::replaceList(const QString& path, const QString& fileTitle, const WordPairs& pairs, FileKind kind,
                       const FileFormat& format)
{
    storePairs(state(), pairs);
    state().CurrentFile = path;
    state().CurrentFileKind = kind;
    state().CurrentFileFormat = format;
    // A new list starts a new round: marks of the old one mean nothing here.
    startNewRound(state());
    setWindowTitle(QStringLiteral("English Quorvel - ") + fileTitle);
    // An open editor shows the new list, or its write-back would put the
    // old words over it.
    if (Editor* editor = program().loaded<Editor>())
        editor->reload();
    if (Progress* progress = program().loaded<Progress>())
        progress->refresh();
}

bool Main::needsSaveAs(Program& program)
{
    return isUntitled(program) || program.state().CurrentFileKind == FileKind::Imported;
}

void Main::MFSave_Click()
{
    if (needsSaveAs(program())) {
        MFSaveAs_Click();
        return;
    }
    const QString path = state().CurrentFile;
    if (reportSave(platform(), writeList(program(), path, state().CurrentFileKind, true), path))
        setWindowTitle(mainWindowTitle(path));
}

void Main::MFSaveAs_Click()
{
    lastSaveAsFailed_ = false;
    CommonDialog1.Filter = SaveAsFilter;
    // A list read from another program's file is offered as a .dic of the
    // same name, so that its source is not written over by accident.
    CommonDialog1.FileName =
        state().CurrentFileKind == FileKind::Imported ? dictionaryNameFor(state().CurrentFile) : state().CurrentFile;
    if (!CommonDialog1.showSave()) {
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
        platform().messageBox(saveFailureText(path, QStringLiteral("No file name was given.")), MessageIcon::Critical);
        lastSaveAsFailed_ = true;
        return;
    }
    const FileKind kind = savedKindFor(path);
    // A failed save keeps the current file and the title, and never ends
    // the program: the list would be lost.
    if (!reportSave(platform(), writeList(program(), path, kind, true), path)) {
        lastSaveAsFailed_ = true;
        return;
    }
    state().CurrentFile = path;
    state().CurrentFileKind = kind;
    if (state().PendingAction == PendingExit || state().MainWindowClosing == 1) {
        program().end();
        return;
    }
    setWindowTitle(mainWindowTitle(path));
}

bool Main::savePlain(Program& program)
{
    const QString path = program.state().CurrentFile;
    return reportSave(program.platform(), writeList(program, path, program.state().CurrentFileKind, false), path);
}

} // namespace vorbix
