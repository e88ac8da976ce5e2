// Random user actions on the real windows beside a small model of what the
// user has: the words on screen, every file on disk, the current file and
// title, unsaved changes, the counters and the question on screen. After
// every step the program must agree with the model. The README tells how to
// run other seeds and replay a failure.
#include "dictionary/DictionaryFile.h"
#include "dictionary/Import.h"
#include "dictionary/ImportText.h"
#include "state/Sorting.h"
#include "state/TestRound.h"
#include "history/Recorder.h"
#include "support/HistoryFiles.h"
#include "support/ScriptedPlatform.h"
#include "ui/editor/Editor.h"
#include "ui/main/Algus.h"
#include "ui/main/Import.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/KeyGuard.h"
#include "ui/toolkit/Program.h"

#include "ui_AkenVale.h"
#include "ui_Editor.h"
#include "ui_Import.h"
#include "ui_Kassav.h"
#include "ui_Main.h"
#include "ui_Test.h"
#include "ui_Tulemus.h"

#include <QCollatorSortKey>
#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <random>
#include <set>

using namespace vorbix;
using namespace vorbix::dictionary;

namespace {

const QString nothingToTest = "There is nothing to test (no words). Please use the Editor and add some words or "
                              "open already existing file with words!";

QtMessageHandler previousHandler = nullptr;
// Thousands of harmless offscreen warnings would use up QtTest's message limit.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const bool harmless = message.startsWith("Keyboard event not accepted") || message.startsWith("Mouse event")
        || message.startsWith("This plugin does not support");
    if (previousHandler && !(harmless && type == QtWarningMsg))
        previousHandler(type, context, message);
}

// What the editor shows and the writers write: up to the first pair without
// a known word, at most a file's worth.
WordPairs shownPart(const WordPairs& list)
{
    const auto gap = std::find_if(list.begin(), list.end(), [](const WordPair& p) { return p.known.isEmpty(); });
    return WordPairs(list.begin(), list.begin() + std::min<qsizetype>(gap - list.begin(), MaxPairs));
}

// A straight exchange sort, as the sort buttons promise: keys compared in the
// user's order with case ignored; A-Z never moves a pair with an empty key.
// The pairs' identities move with them.
void exchangeSort(WordPairs& list, std::vector<int>& ids, int button)
{
    const QCollator collator = wordCollator();
    const auto key = [&](size_t i) -> const QString& { return button < 2 ? list[i].unknown : list[i].known; };
    std::vector<QCollatorSortKey> keys;
    for (size_t i = 0; i < list.size(); ++i)
        keys.push_back(collator.sortKey(key(i)));
    for (size_t i = 0; i < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j) {
            const bool ei = key(i).isEmpty(), ej = key(j).isEmpty();
            const int order = ei || ej ? int(ej) - int(ei) : keys[i].compare(keys[j]);
            if (button % 2 == 0 ? !ej && order > 0 : order < 0) {
                std::swap(list[i], list[j]);
                std::swap(ids[i], ids[j]);
                keys[i].swap(keys[j]);
            }
        }
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QString show(const WordPairs& list)
{
    QStringList out;
    for (const WordPair& p : list)
        out << p.known + "/" + p.unknown;
    return QString("%1 [%2]").arg(list.size()).arg(out.join(", "));
}

// A file as put there, or as a save wrote it. Every change on disk is
// checked against the model, so Open can take a file as the reader reads it.
struct FileModel {
    QByteArray bytes; // unsaved: the bytes put there, which nothing may change
    bool saved = false;
    WordPairs pairs;
    FileKind kind = FileKind::Dictionary;
    std::optional<FileFormat> format; // the encoding it must read in, where the model knows it
};

// An editor command to undo. One that wrote the list back (a sort, also one
// re-applied by an add) writes it back again when undone or redone.
struct UndoStep {
    WordPairs rows[2]; // before, after
    std::vector<int> ids[2];
    int sort[2];
    bool edit, writesBack;
};

// A file in the import window: what the user chose so far, what OK would
// take, and what the boxes show: the last preview that read, and since then
// what the user set.
struct ImportModel {
    QString path;
    QByteArray bytes;
    ImportChoices choices;
    ImportPreview preview;
    bool kvtml = false;
    int known = 0, unknown = 1;
    bool header = false;
    QChar separator;
    void shows(const ImportPreview& p)
    {
        kvtml = p.format == ImportFormat::Kvtml1 || p.format == ImportFormat::Kvtml2;
        std::tie(known, unknown, header, separator) =
            std::tuple(p.knownColumn, p.unknownColumn, p.headerRow, p.separator);
    }
};

struct Model {
    std::map<QString, FileModel> files;
    std::optional<ImportModel> import;
    WordPairs list; // the list last opened or written back
    WordPairs rows; // the editor's rows while it is open
    // Which pair each of them is: a pair is asked at most once a round,
    // whatever the editor does to the list during a test.
    std::vector<int> listIds, rowIds;
    std::set<int> asked; // in this round
    int lastId = 0;
    bool main = false, editor = false, prompt = false, ended = false, declined = false;
    bool boxes = false; // the editor's entry boxes hold words
    QString dropped; // the file a prompt for an open was raised for by a drop
    int sort = -1, modified = 0, pending = 0, closing = 0, answered = 0, wrong = 0;
    // The test's clock: its time limit in seconds, set by a question asked with
    // the limit on; stopped by a wrong answer, restarted by Continue when
    // the limit is on, and by any answer.
    int limit = 0;
    bool clock = true;
    std::vector<UndoStep> undo;
    size_t done = 0; // undo steps done; the rest can be redone
    TestOptions options, closedOptions;
    QString file, title, typed; // typed: in the answer box, not sent
    QString learnFormat; // a file just written in an encoding the writer chose
    FileKind kind = FileKind::Dictionary;
    std::optional<FileFormat> format; // the list's encoding, for the next save
    std::optional<std::pair<QString, QString>> question; // on screen: the words shown, the answer
    QString questionFile; // the list it came from
    TestOptions questionOptions; // what it was asked under
};

struct Session {
    testing::ScriptedPlatform platform;
    Program program{platform};
};

class ModelRun {
public:
    ModelRun(unsigned seed, int steps) : rng_(seed), seed_(seed), steps_(steps) {}

    bool run()
    {
        startSession();
        for (step_ = 1; step_ <= steps_; ++step_) {
            before();
            oneStep();
            if (!after())
                return false;
        }
        qInfo("%d sessions, %d saves, %d answers judged", sessions_, saves_, judged_);
        return true;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    template <class W> int pickWeighted(const W& w)
    {
        return std::discrete_distribution<int>(w.begin(), w.end())(rng_);
    }
    QString path(const QString& name) const { return QDir::cleanPath(dir_->filePath(name)); }
    QString untitled() const { return dir_->path() + QDir::separator() + "Untitled.dic"; }
    MOODUL1& state() { return s_->program.state(); }
    template <class F> F* win() { return s_->program.loaded<F>(); }
    // A message the step must show; a prefix leaves the rest to the system.
    void expect(const QString& text, bool prefix = false)
    {
        expected_ << QRegularExpression::escape(text) + (prefix ? ".*" : "");
    }

    void act(const QString& what)
    {
        log_ = log_.mid(log_.size() >= 15 ? 1 : 0) << what;
        if (qEnvironmentVariableIsSet("VORBIX_RANDOM_TRACE"))
            fprintf(stderr, "step %d: %s\n", step_, qPrintable(what));
    }

    bool fail(const QString& what)
    {
        qWarning().noquote() << QString("seed %1, step %2: %3\nlast actions: %4\nreplay: VORBIX_RANDOM_SEED=%1 "
                                        "VORBIX_RANDOM_STEPS=%2 QT_QPA_PLATFORM=offscreen "
                                        "QTEST_FUNCTION_TIMEOUT=86400000 tests/test_random_model -maxwarnings 0")
                                    .arg(seed_)
                                    .arg(step_)
                                    .arg(what, log_.join(" | "));
        return false;
    }

    // Words with hyphens, blanks at the ends, quotes and commas, letters of
    // the Baltic code page and beyond it; case apart, some are the same.
    QString randomWord()
    {
        static const QStringList parts{"maja", "dog",  "x-ray",  "go, went", "\"q\"", "  lead", "tail ",
                                       "õun",  "šokk", "собака", "Ab",       "ab",    "-",      "a-b-c"};
        const QString w = parts[pick(parts.size())];
        return chance(0.3) ? w + parts[pick(parts.size())] : w;
    }

    // ---- a session: fresh files, a fresh program ---------------------------
    void startSession()
    {
        s_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dir_ = std::make_unique<QTemporaryDir>();
        m_ = Model{};
        verified_.clear();
        const QStringView wide = u"\uFEFFkoer\r\ndog\r\nšokk\r\nshock\r\n"; // UTF-16 as Notepad saves it
        std::map<QString, QByteArray> fixtures{
            {"good.dic", "x-ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\nkass\r\ncat\r\n"},
            {"empty.dic", ""},
            {"gap.dic", "a\r\n1\r\n\r\n2\r\nc\r\n3\r\n"},
            // Unicode whose words all fit the Baltic code page: Save must keep it.
            {"utf8.dic", QString("õun\r\napple\r\nšokk\r\nshock\r\n").toUtf8()},
            {"bom.dic", "\xEF\xBB\xBF" + QString("maja\r\nhouse\r\nkõne\r\ncall\r\n").toUtf8()},
            {"utf16.dic", QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2)},
            // Lists of other programs: one Save writes back, one it must not.
            {"words.tsv", "maja\thouse\r\nx-ray\tr\xC3\xB6ntgen\r\nkoer\tdog\r\n"},
            {"list.csv", "known,unknown\r\nkass,cat\r\n\"go, went\",minema\r\nonly one\r\n"},
            {"odd.dic", "a\r\nb\r\nc\r\n"},
            {"junk.dic", QByteArray("\0\xff\r\n\x01", 5) + QByteArray(70000, 'z')},
        };
        for (int i = 0; i < 1001; ++i) { // 990 pairs to fill up in the editor, and one too many
            const QByteArray pair = "w" + QByteArray::number(i % 500) + "\r\ns" + QByteArray::number(i) + "\r\n";
            fixtures["over.dic"] += pair;
            fixtures["big.dic"] += i < 990 ? pair : QByteArray();
        }
        for (const auto& [name, bytes] : fixtures) {
            QFile f(path(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
            m_.files[path(name)] = {bytes};
        }
        QDir(dir_->path()).mkdir("folder.dic");
        m_.files[path("folder.dic")] = {bytesOf(path("folder.dic"))};
        // Read-only, so that they stay broken; where writes go through anyway
        // (root) the model knows a save may change them.
        for (const char* broken : {"odd.dic", "junk.dic"})
            QFile::setPermissions(path(broken), QFile::ReadOwner | QFile::ReadGroup);
        s_ = std::make_unique<Session>();
        s_->platform.setCurrentDirectory(dir_->path());
        // One record for the whole run, as the user's outlives each program.
        s_->program.history().setPath(record_.path);
        s_->program.show<Algus>();
        ++sessions_;
    }

    // ---- before a step: the file dialog's answers ----------------------------
    void before()
    {
        auto& pf = s_->platform;
        // A file or a cancel, then cancels: a failed open offers the dialog again.
        dialogs_ = {{}, {}, {}, {}, {}};
        if (chance(0.75))
            dialogs_[0] = randomFile();
        queueDialogs();
        preTest_ = win<Test>();
        preAnswered_ = state().AnsweredCount;
        preSeeds_ = pf.seeds.size(); // one for each question set up
        preMessages_ = pf.messages.size();
        preDialogs_ = pf.dialogs.size();
        expected_.clear();
        asked_ = 0;
        answeredNow_ = savedNow_ = timedOut_ = waitedNow_ = false;
    }

    void queueDialogs()
    {
        s_->platform.clearDialogAnswers();
        for (const auto& answer : dialogs_)
            answer ? s_->platform.answerDialog(*answer) : s_->platform.cancelDialog();
    }

    // Files of the session's folder, good and broken, and some that are not there.
    QString randomFile()
    {
        static const QStringList names{"good.dic",  "empty.dic", "gap.dic",    "utf8.dic",    "bom.dic",
                                       "utf16.dic", "words.tsv", "list.csv",   "big.dic",     "over.dic",
                                       "odd.dic",   "junk.dic",  "folder.dic", "missing.dic", "nofolder/x.dic",
                                       "saved.tsv", "saved.dic", "saved.csv",  "saved.kvtml", "saved.txt"};
        return path(names[pick(names.size())]);
    }

    std::optional<QString> nextDialog()
    {
        const auto& answer = dialogs_.at(size_t(asked_++));
        log_.last() += answer ? " -> " + QFileInfo(*answer).fileName() : QString(" -> cancel");
        return answer;
    }

    // ---- the model's transitions ----------------------------------------------
    void loadMain()
    {
        if (std::exchange(m_.main, true))
            return;
        m_.options = TestOptions{};
        m_.file = m_.file.isEmpty() ? untitled() : m_.file;
        m_.title = "Vorbix - " + (m_.file == untitled() ? QString("Untitled.dic") : m_.file);
    }

    // The editor's words go into the list for every save, sort and question
    // of the prompt. Returns whether the list has words.
    bool writeBack()
    {
        if (m_.editor)
            m_.list = m_.rows, m_.listIds = m_.rowIds;
        return !shownPart(m_.list).empty();
    }

    // What Save As writes for a name: a .dic only under that name.
    static FileKind kindFor(const QString& name)
    {
        const QString suffix = QFileInfo(name).suffix().toLower();
        return suffix == "dic"  ? FileKind::Dictionary
            : suffix == "csv"   ? FileKind::CommaSeparated
            : suffix == "kvtml" ? FileKind::Kvtml
                                : FileKind::TabSeparated;
    }

    bool writeFile(const QString& target, FileKind written)
    {
        const bool tsv = written != FileKind::Dictionary; // text that needs both words
        const QFileInfo fi(target);
        const bool writable = fi.exists() ? fi.isFile() && fi.isWritable() : fi.dir().exists();
        const WordPairs saved = shownPart(m_.list);
        // A tab-separated line needs both words.
        const auto noUnknown = [](const WordPair& p) { return p.unknown.isEmpty(); };
        const bool emptyKvtml = written == FileKind::Kvtml && saved.empty();
        if (!writable || emptyKvtml || (tsv && std::any_of(saved.begin(), saved.end(), noUnknown))) {
            expect(saveFailureText(target, QChar(1)).section(QChar(1), 0, 0), true);
            return false;
        }
        FileModel& f = m_.files[target] = {{}, true, saved, written};
        // The list keeps its encoding: a Unicode one holds every word, the
        // code page all of plain ASCII (which reads the same as UTF-8 with no
        // mark). Which other words the code page holds is the writer's
        // business, so then the file tells.
        QString all;
        for (const WordPair& p : saved)
            all += p.known + p.unknown;
        const bool ascii = std::all_of(all.begin(), all.end(), [](QChar c) { return c.unicode() < 0x80; });
        const bool unicode = m_.format && m_.format->encoding != TextEncoding::Windows1257;
        if (!tsv && unicode && !(ascii && m_.format->encoding == TextEncoding::Utf8 && !m_.format->byteOrderMark))
            f.format = m_.format;
        if (!tsv && !unicode && ascii)
            m_.format = FileFormat{TextEncoding::Windows1257, false};
        m_.learnFormat = !tsv && !unicode && !ascii ? target : QString();
        verified_.erase(target);
        savedNow_ = true;
        ++saves_;
        return true;
    }

    // File > Open, or a file dropped (its path given): a changed list goes
    // through the prompt first. A failed file offers the dialog.
    void modelOpen(const QString& dropped = QString())
    {
        // Pairs typed in the editor count as words the user could lose.
        if (writeBack() && m_.modified == 1) {
            m_.pending = PendingOpen;
            m_.prompt = true;
            m_.dropped = dropped;
            return;
        }
        if (!dropped.isEmpty() && openPath(dropped))
            return;
        for (auto answer = nextDialog(); answer && !openPath(*answer);)
            answer = nextDialog();
    }

    // A file opened as the user picked it: all or nothing. An open editor
    // shows the new list as if just opened.
    bool openPath(const QString& p)
    {
        if (!p.endsWith(".dic"))
            return beginImport(p);
        const ReadResult r = readDictionaryFile(p);
        if (!r.ok())
            expect(openFailureText(r.error, p));
        if (r.truncated)
            expect(truncatedText(p));
        if (!r.ok())
            return false;
        m_.list = r.pairs;
        m_.listIds.clear();
        for (size_t i = 0; i < m_.list.size(); ++i)
            m_.listIds.push_back(++m_.lastId);
        m_.asked.clear(); // a new list, a new round
        m_.file = p;
        m_.kind = FileKind::Dictionary;
        m_.format = r.format;
        m_.learnFormat.clear(); // a file just saved no longer tells the list's encoding
        m_.title = "English Quorvel - " + QFileInfo(p).fileName();
        reloadEditor();
        return true;
    }

    // A list from another program goes to the import window, unless it is
    // refused outright: then its message, and the dialog again.
    bool beginImport(const QString& p)
    {
        if (!QFileInfo(p).isFile()) {
            expect(openFailureText(readDictionaryFile(p).error, p));
            return false;
        }
        ImportModel imp{p, bytesOf(p), {}, previewImport(bytesOf(p), p)};
        imp.shows(imp.preview);
        if (!imp.preview.ok()) {
            expect(imp.preview.errorText.isEmpty() ? importErrorText(imp.preview.error) : imp.preview.errorText);
            return false;
        }
        m_.import = imp;
        return true;
    }

    // OK takes what the window shows, as an opened file; words typed since
    // the command began would raise the prompt instead.
    void acceptImport()
    {
        const ImportModel imp = *std::exchange(m_.import, std::nullopt);
        if (writeBack() && m_.modified == 1) {
            m_.pending = PendingOpen;
            m_.prompt = true;
            return;
        }
        m_.list = imp.preview.pairs;
        m_.listIds.clear();
        for (size_t i = 0; i < m_.list.size(); ++i)
            m_.listIds.push_back(++m_.lastId);
        m_.asked.clear(); // a new list, a new round
        m_.file = imp.path;
        m_.kind = imp.preview.kind;
        m_.format = imp.preview.fileFormat;
        m_.learnFormat.clear();
        m_.title = "English Quorvel - " + QFileInfo(imp.path).fileName();
        for (const QString& message : importMessages(imp.path, imp.preview))
            expect(message);
        reloadEditor();
    }

    void reloadEditor()
    {
        m_.boxes = false;
        m_.rows = shownPart(m_.list);
        m_.rowIds.assign(m_.listIds.begin(), m_.listIds.begin() + qsizetype(m_.rows.size()));
        m_.sort = -1;
        m_.undo.clear();
        m_.done = 0;
    }

    bool needsSaveAs() const { return m_.file == untitled() || m_.kind == FileKind::Imported; }

    // Returns false when a chosen file could not be written.
    bool modelSaveAs()
    {
        const auto answer = nextDialog();
        if (!answer) {
            m_.closing = 0;
            loadMain();
            m_.pending = m_.prompt ? PendingNone : m_.pending;
            m_.prompt = false;
            return true;
        }
        writeBack();
        const FileKind kind = kindFor(*answer);
        if (!writeFile(*answer, kind))
            return false;
        m_.file = *answer;
        m_.kind = kind;
        m_.ended = m_.pending == PendingExit || m_.closing == 1;
        m_.title = "Vorbix - " + *answer;
        return true;
    }

    // The prompt's answers: yes, no, cancel, its close box. A prompt closed
    // as the last window ends the program, which after() allows.
    void modelPrompt(int answer)
    {
        // Yes opens a dropped file once the list is saved; not on the way out.
        const QString dropped = m_.pending == PendingOpen ? m_.dropped : QString();
        const QString droppedAfterSave = m_.closing ? QString() : dropped;
        m_.modified = answer < 2 ? 0 : m_.modified;
        m_.declined = m_.declined || answer > 0;
        bool failed = false;
        if (answer == 0)
            writeBack();
        if (answer == 0 && needsSaveAs()) {
            loadMain(); // Save As lives on the main window
            failed = !modelSaveAs();
            if (m_.ended || !m_.prompt)
                return;
        } else if (answer == 0) {
            failed = !writeFile(m_.file, m_.kind);
            m_.ended = !failed && m_.pending == PendingExit;
        } else if (answer == 1) {
            m_.ended = m_.pending == PendingExit;
            if (std::exchange(m_.pending, PendingNone) == PendingOpen) {
                loadMain();
                modelOpen(dropped);
            }
        }
        if (failed) {
            m_.modified = 1;
            loadMain();
        } else if (answer == 0 && !droppedAfterSave.isEmpty()) {
            // Read once the click has saved it: it may be the file just written.
            loadMain();
            openAfterClick_ = droppedAfterSave;
        }
        m_.prompt = false;
        m_.pending = m_.closing = 0;
    }

    // An edit (an add, a deletion, a replacement) or a sort, as one step to undo.
    template <class F> void editorCommand(bool edit, F&& command)
    {
        const WordPairs before = m_.rows;
        const std::vector<int> idsBefore = m_.rowIds;
        const int sortBefore = m_.sort;
        wroteBack_ = false;
        command();
        m_.modified = edit ? 1 : m_.modified;
        if (m_.rows == before && m_.sort == sortBefore && m_.rowIds == idsBefore)
            return;
        m_.undo.resize(m_.done);
        m_.undo.push_back({{before, m_.rows}, {idsBefore, m_.rowIds}, {sortBefore, m_.sort}, edit, wroteBack_});
        m_.done = m_.undo.size();
    }

    // An add, or a replacement of the row selected; the pair is put in place
    // when a sort is active.
    void modelAdd(const WordPair& p, int replacing = -1)
    {
        if (replacing < 0 && m_.rows.size() >= size_t(MOODUL1::FileCapacity))
            return expect("The word list is full: it holds at most 1000 pairs.");
        editorCommand(true, [&] {
            // The same words again stay the pair they were.
            const bool same = replacing >= 0 && m_.rows[size_t(replacing)] == p;
            const int id = same ? m_.rowIds[size_t(replacing)] : ++m_.lastId;
            if (replacing >= 0) {
                m_.rows.erase(m_.rows.begin() + replacing);
                m_.rowIds.erase(m_.rowIds.begin() + replacing);
            }
            m_.rows.push_back(p);
            m_.rowIds.push_back(id);
            if (m_.sort >= 0)
                modelSort(m_.sort);
        });
    }

    // A sort writes the list back and sorts it.
    void modelSort(int button)
    {
        wroteBack_ = true;
        writeBack();
        exchangeSort(m_.list, m_.listIds, button);
        m_.rows = shownPart(m_.list);
        m_.rowIds.assign(m_.listIds.begin(), m_.listIds.begin() + qsizetype(m_.rows.size()));
        m_.sort = button;
    }

    // Lets pass the moment in which a window ignores a new Enter, Space or
    // Esc. The test's clock runs meanwhile; an answer it gives is judged, and
    // the step ends there.
    bool waitForKeys()
    {
        const int answered = state().AnsweredCount;
        s_->platform.advance(KeyGuard::WaitMs);
        if (state().AnsweredCount == answered)
            return true;
        act("the clock answered");
        judge(m_.typed);
        return false;
    }

    // A key pressed once more straight away, or held down, lands wherever
    // the focus is now, maybe in a window the first press opened: it must
    // do nothing there.
    void pressAgain(Qt::Key key)
    {
        // The window in front: the results over a wrong-answer window over the test.
        QWidget* at = nullptr;
        for (Form* f : std::initializer_list<Form*>{win<Tulemus>(), win<AkenVale>(), win<Test>()})
            if (!at && f && f->isVisible())
                at = f->focusWidget() ? f->focusWidget() : f;
        const int how = pick(3);
        if (!at || how == 0)
            return;
        log_.last() += how == 1 ? ", twice" : ", held";
        if (how == 1)
            return QTest::keyClick(at, key);
        QKeyEvent again(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(at, &again);
    }

    // The user's verdict on an answer to the question on screen.
    void judge(const QString& given)
    {
        answeredNow_ = true;
        given_ = given;
        wrongNow_ = !m_.question || given.trimmed() != m_.question->second.trimmed();
        ++judged_;
    }

    // ---- steps ------------------------------------------------------------------
    void oneStep()
    {
        // The import window blocks every other window while it is up.
        if (Import* w = win<Import>())
            return importAction(*w);
        const std::vector<Form*> forms = s_->program.loadedForms();
        std::vector<int> weights;
        for (Form* f : forms) // the test gets more turns: answers are what the judgements need
            weights.push_back(f->isVisible() ? (qobject_cast<Test*>(f) ? 8 : qobject_cast<Main*>(f) ? 3 : 2) : 0);
        Form* f = forms[size_t(pickWeighted(weights))];
        if (auto* m = qobject_cast<Main*>(f))
            mainAction(*m);
        else if (auto* e = qobject_cast<Editor*>(f))
            editorAction(*e);
        else if (auto* t = qobject_cast<Test*>(f))
            testAction(*t);
        else
            dialogAction(f);
    }

    void mainAction(Main& m)
    {
        auto& ui = *m.ui;
        const int i = pickWeighted(std::array{2, 6, 3, 2, 1, 1, 5, 6, 5, 3});
        if (i == 9) {
            const QString file = randomFile();
            act("drop " + QFileInfo(file).fileName());
            modelOpen(file);
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(file)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&m, &enter);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&m, &drop);
            // The drop is carried out once the drag is over.
            QCoreApplication::sendPostedEvents(&m, QEvent::MetaCall);
            return;
        }
        if (i == 8) {
            TestOptions& o = m_.options;
            o = {chance(0.5), chance(0.5), chance(0.5), pick(4)};
            act(QString("options %1 %2 %3 %4")
                    .arg(o.askUnknownWords)
                    .arg(o.normalMode)
                    .arg(o.timeLimitOn)
                    .arg(o.timeLimitSeconds));
            (o.askUnknownWords ? ui.Option1 : ui.Option2)->setChecked(true);
            (o.normalMode ? ui.Option3 : ui.Option4)->setChecked(true);
            ui.Check1->setChecked(o.timeLimitOn);
            ui.VScroll1->setValue(o.timeLimitOn ? o.timeLimitSeconds : ui.VScroll1->value());
            o.timeLimitSeconds = ui.VScroll1->value();
            return;
        }
        // A command by its menu item, its keys, its button or its toolbar button.
        QAction* items[] = {ui.MFNew, ui.MFOpen, ui.MFSave, ui.MFSaveAs, ui.MFExit, nullptr, nullptr, nullptr};
        QAbstractButton* buttons[] = {nullptr,     nullptr, nullptr,     nullptr,
                                      ui.Command2, nullptr, ui.Command1, ui.nupptest};
        QAction* item = items[i];
        QAbstractButton* button = buttons[i];
        const QString toolbar = QStringList{"New", "Open", "Save", "", "Exit", "", "Edit", "Testime"}[i];
        std::vector<std::function<void()>> ways;
        if (item)
            ways = {[item] { item->trigger(); },
                    [&m, key = item->shortcut()[0]] {
                        QApplication::setActiveWindow(&m);
                        QTest::keyClick(&m, key.key(), key.keyboardModifiers());
                    }};
        if (button)
            ways.push_back([button] { button->click(); });
        for (QAction* b : ui.Toolbar1->actions())
            if (!toolbar.isEmpty() && b->property("key").toString() == toolbar)
                ways.push_back([b] { b->trigger(); });
        if (ways.empty())
            ways.push_back([&m] { m.close(); });
        const int way = pick(int(ways.size()));
        act(QStringList{"new", "open", "save", "save as", "exit", "close main", "editor", "test"}[i]
            + QString(" (way %1)").arg(way));
        switch (i) {
        case 0:
            m_.file = untitled();
            m_.kind = FileKind::Dictionary;
            break;
        case 1:
            modelOpen();
            break;
        case 2:
            if (needsSaveAs())
                modelSaveAs();
            else if (writeBack(); writeFile(m_.file, m_.kind))
                m_.title = "Vorbix - " + m_.file;
            break;
        case 3:
            modelSaveAs();
            break;
        case 4:
            m_.ended = !writeBack() || m_.modified != 1;
            m_.pending = m_.ended ? m_.pending : int(PendingExit);
            m_.prompt = !m_.ended;
            break;
        case 5:
            m_.closedOptions = m_.options;
            m_.main = false;
            m_.prompt = writeBack();
            m_.closing = m_.prompt;
            // Only words in an open editor's boxes keep an empty list going.
            m_.ended = !m_.prompt && !(m_.editor && m_.boxes);
            break;
        case 6:
            if (!std::exchange(m_.editor, true))
                reloadEditor();
            break;
        default:
            if (shownPart(m_.list).empty())
                expect(nothingToTest);
        }
        ways[size_t(way)]();
    }

    void editorAction(Editor& e)
    {
        auto& ui = *e.ui;
        QApplication::setActiveWindow(&e);
        QListWidget* list = chance(0.5) ? ui.List1 : ui.List2;
        const int r = m_.rows.empty() || chance(0.2) ? -1 : pick(int(m_.rows.size()));
        switch (pickWeighted(std::array{4, 4, 2, 2, 1})) {
        case 0: { // a pair by Enter in either box or by the button; or a pasted run of pairs
            const int n = chance(0.7) ? 1 : 5 + pick(12);
            act(QString("add %1 pairs").arg(n));
            for (int i = 0; i < n; ++i) {
                const WordPair p{chance(0.95) ? randomWord() : "", chance(0.95) ? randomWord() : ""};
                log_.last() += " " + p.known + "/" + p.unknown;
                const bool adds = !p.known.isEmpty() && !p.unknown.isEmpty();
                m_.boxes = !(adds && m_.rows.size() < size_t(MOODUL1::FileCapacity));
                m_.boxes = m_.boxes && !(p.known + p.unknown).isEmpty();
                if (adds)
                    modelAdd(p);
                ui.Text1->setText(p.known);
                ui.Text2->setText(p.unknown);
                if (n == 1 && chance(0.6))
                    waitForKeys(), QTest::keyClick(chance(0.5) ? ui.Text1 : ui.Text2, Qt::Key_Return);
                else
                    ui.Command1->click();
            }
            break;
        }
        case 1: { // a row selected (or none) and deleted, or replaced with the boxes' pair
            const bool remove = chance(0.5);
            const WordPair p{randomWord(), randomWord()};
            act(QString("%1 row %2").arg(remove ? "delete" : "replace with " + p.known + "/" + p.unknown).arg(r));
            ui.List1->clearSelection();
            ui.List2->clearSelection();
            if (r >= 0 && chance(0.5)) {
                list->setCurrentRow(r);
            } else if (r >= 0) {
                list->scrollToItem(list->item(r));
                const QPoint at = list->visualItemRect(list->item(r)).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            }
            // A deletion shows a pair that is left; a replacement empties the
            // boxes, unless the list is full.
            const bool full = r < 0 && m_.rows.size() >= size_t(MOODUL1::FileCapacity);
            if (remove && r >= 0)
                editorCommand(true, [&] {
                    m_.rows.erase(m_.rows.begin() + r);
                    m_.rowIds.erase(m_.rowIds.begin() + r);
                });
            if (!remove)
                modelAdd(p, r);
            m_.boxes = remove ? !m_.rows.empty() : full;
            ui.Text1->setText(p.known);
            ui.Text2->setText(p.unknown);
            if (!remove)
                ui.Command3->click();
            else if (chance(0.5))
                ui.Command2->click();
            else
                QTest::keyClick(list, Qt::Key_Delete);
            break;
        }
        case 2: {
            const int button = pick(4);
            act(QString("sort %1").arg(button));
            editorCommand(false, [&] { modelSort(button); });
            std::array{ui.Command5, ui.Command6, ui.Command7, ui.Command8}[size_t(button)]->click();
            break;
        }
        case 3: {
            const int way = pick(3); // undo, or redo by either key
            act(way ? "redo" : "undo");
            if (way ? m_.done < m_.undo.size() : m_.done > 0) {
                const UndoStep& step = m_.undo[way ? m_.done++ : --m_.done];
                // The boxes show the pair of the row the step touched, if any.
                auto before = step.rows[way == 0], after = step.rows[way > 0];
                const auto byWords = [](const WordPair& a, const WordPair& b) {
                    return std::pair(a.known, a.unknown) < std::pair(b.known, b.unknown);
                };
                std::sort(before.begin(), before.end(), byWords);
                std::sort(after.begin(), after.end(), byWords);
                m_.boxes = after.empty() ? false : before == after ? m_.boxes : true;
                m_.rows = step.rows[way > 0];
                m_.rowIds = step.ids[way > 0];
                m_.sort = step.sort[way > 0];
                m_.modified = step.edit ? 1 : m_.modified;
                if (step.writesBack)
                    writeBack();
            }
            const QKeyCombination keys[] = {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z,
                                            Qt::CTRL | Qt::Key_Y};
            QTest::keyClick(list, keys[way].key(), keys[way].keyboardModifiers());
            break;
        }
        default:
            act("leave editor");
            writeBack();
            m_.editor = false;
            loadMain();
            if (chance(0.5))
                ui.Command4->click();
            else
                e.close();
        }
    }

    void testAction(Test& t)
    {
        auto& ui = *t.ui;
        const int n = pick(5), how = pick(4);
        ClickLabel* choice = std::array{ui.Kyssa1, ui.Kyssa2, ui.Kyssa3, ui.Kyssa4, ui.Kyssa5}[size_t(n)];
        switch (pickWeighted(std::array{4, 1, 3, 1, 1})) {
        case 0: // typed right, padded or wrong; sent by Enter, Escape or OK, or left for the clock
            if (!ui.Text1->isVisible() || (how < 2 && !waitForKeys()))
                return;
            m_.typed = m_.question && chance(0.7) ? m_.question->second : randomWord();
            m_.typed = chance(0.3) ? "  " + m_.typed.toUpper() + " " : m_.typed;
            act(QString("answer \"%1\" by %2").arg(m_.typed, QStringList{"enter", "esc", "ok", "nothing"}[how]));
            ui.Text1->setText(m_.typed);
            if (how < 3)
                judge(m_.typed);
            if (how == 2)
                ui.Command1->click();
            else if (how < 2)
                QTest::keyClick(ui.Text1, how == 1 ? Qt::Key_Escape : Qt::Key_Return),
                    pressAgain(how == 1 ? Qt::Key_Escape : Qt::Key_Return);
            return;
        case 1:
            act("wait for the time limit");
            waitedNow_ = true;
            for (int i = 0; i < 5 && state().AnsweredCount == preAnswered_; ++i)
                s_->platform.advance(1000);
            if (state().AnsweredCount != preAnswered_)
                judge(m_.typed);
            timedOut_ = m_.question && m_.limit > 0 && m_.clock;
            return;
        case 2: // a choice by click, double-click, or its number key and Enter or Space
            if (!choice->isVisible() || (how >= 2 && !waitForKeys()) || !choice->isVisible())
                return;
            act(QString("choose %1 \"%2\" by %3")
                    .arg(n + 1)
                    .arg(choice->accessibleName(), QStringList{"click", "double", "Enter", "Space"}[how]));
            judge(choice->accessibleName());
            if (how >= 2) {
                QTest::keyClick(&t, Qt::Key(Qt::Key_1 + n));
                QTest::keyClick(choice, how == 2 ? Qt::Key_Return : Qt::Key_Space);
                return pressAgain(how == 2 ? Qt::Key_Return : Qt::Key_Space);
            }
            QTest::mouseClick(choice, Qt::LeftButton);
            // The second click lands on the same label, if it is still on screen.
            if (how == 1 && choice->isVisible()) {
                QTest::mouseDClick(choice, Qt::LeftButton);
                QTest::mouseRelease(choice, Qt::LeftButton);
            }
            return;
        case 3:
            act("results");
            return ui.Command3->click();
        default:
            act("close test");
            if (how < 2)
                ui.Command2->click();
            else
                t.close();
        }
    }

    // OK by Enter or the button, Cancel by Esc, the button or the close box,
    // or a choice changed as a user changes it: the boxes a user can reach.
    void importAction(Import& w)
    {
        ImportModel& imp = *m_.import;
        const int how = pick(3);
        QApplication::setActiveWindow(&w);
        switch (pickWeighted(std::array{3, 2, 5})) {
        case 0:
            act(QString("import ok by ") + (how ? "enter" : "button"));
            if (how && !waitForKeys())
                return;
            if (imp.preview.ok())
                acceptImport();
            if (how)
                QTest::keyClick(w.ui->pairTable, Qt::Key_Return);
            else
                w.ui->buttonBox->button(QDialogButtonBox::Ok)->click();
            return;
        case 1:
            act(QStringList{"import cancel by esc", "import cancel by button", "import closed"}[how]);
            if (how == 0 && !waitForKeys())
                return;
            m_.import.reset();
            if (how == 0)
                QTest::keyClick(w.ui->knownBox, Qt::Key_Escape);
            else if (how == 1)
                w.ui->buttonBox->button(QDialogButtonBox::Cancel)->click();
            else
                w.close();
            return;
        default:
            break;
        }
        const int columns = w.ui->knownBox->count(); // as many as the user can pick from
        const bool kvtml = imp.kvtml;
        ImportChoices& c = imp.choices;
        const int choice = pick(kvtml ? 2 : 4);
        if (choice < 2) { // a column for one side, the other side as its box shows it
            const int column = pick(std::max(columns, 1));
            act(QString("import %1 from column %2").arg(choice ? "unknown" : "known").arg(column));
            if (column == (choice ? imp.unknown : imp.known))
                return;
            (choice ? imp.unknown : imp.known) = column;
            c.knownColumn = imp.known;
            c.unknownColumn = imp.unknown;
            (choice ? w.ui->unknownBox : w.ui->knownBox)->setCurrentIndex(column);
        } else if (choice == 2) {
            act("import header row toggled");
            c.headerRow = imp.header = !imp.header;
            w.ui->headerCheck->click();
        } else {
            QComboBox* box = w.ui->separatorBox;
            const int at = pick(box->count());
            const QChar sep = box->itemData(at).toChar();
            act(QString("import separator U+%1").arg(sep.unicode(), 4, 16, QChar('0')));
            if (sep == imp.separator)
                return;
            c.separator = imp.separator = sep;
            box->setCurrentIndex(at);
        }
        imp.preview = previewImport(imp.bytes, imp.path, c);
        if (imp.preview.ok())
            imp.shows(imp.preview);
    }

    // The results, the save prompt, the wrong-answer window and the splash.
    void dialogAction(Form* f)
    {
        const int how = pick(4);
        if (auto* r = qobject_cast<Tulemus*>(f)) {
            act(QStringList{"again", "end test", "close results", "close results"}[how]);
            m_.answered = how < 2 ? 0 : m_.answered;
            m_.wrong = how < 2 ? 0 : m_.wrong;
            // The list may have emptied since the test ended.
            const auto askable = [](const WordPair& p) { return !p.known.isEmpty(); };
            if (how == 0 && std::none_of(m_.list.begin(), m_.list.end(), askable))
                expect(nothingToTest);
            if (how < 2)
                (how == 0 ? r->ui->Command1 : r->ui->Command2)->click();
            else
                r->close();
        } else if (auto* k = qobject_cast<Kassav*>(f)) {
            const int answer = chance(0.3) ? 0 : how;
            act(QStringList{"prompt yes", "prompt no", "prompt cancel", "prompt closed"}[answer]);
            modelPrompt(answer);
            if (answer < 3)
                std::array{k->ui->Command1, k->ui->Command2, k->ui->Command3}[size_t(answer)]->click();
            else
                k->close();
            if (!openAfterClick_.isEmpty())
                modelOpen(std::exchange(openAfterClick_, QString()));
        } else if (auto* w = qobject_cast<AkenVale*>(f)) {
            act("continue");
            m_.clock = (m_.main ? m_.options : m_.closedOptions).timeLimitOn;
            w->ui->Command1->click();
        } else {
            act("splash");
            loadMain();
            if (how < 2)
                s_->platform.advance(2006);
            else
                qobject_cast<Algus*>(f)->Form_Click();
        }
    }

    // ---- checks after a step --------------------------------------------------------
    bool checkFiles()
    {
        const auto filter = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        for (const QFileInfo& fi : QDir(dir_->path()).entryInfoList(filter))
            if (!m_.files.count(fi.filePath()))
                return fail("a file nobody saved: " + fi.filePath());
        for (const auto& [p, f] : m_.files) {
            const QByteArray bytes = bytesOf(p);
            if (!f.saved && bytes != f.bytes)
                return fail("a file changed with no save aimed at it: " + p);
            // Read again only what changed on disk or in the model.
            if (!f.saved || (verified_.count(p) && verified_[p] == bytes))
                continue;
            verified_[p] = bytes;
            if (!p.endsWith(".dic")) {
                // With the import window's first guesses.
                const ImportPreview back = previewImport(bytes, p);
                if (!back.ok() || back.pairs != f.pairs)
                    return fail(QString("%1 reads back as %2 (%3); the model expects %4")
                                    .arg(p, show(back.pairs), back.errorText, show(f.pairs)));
                continue;
            }
            const ReadResult r = readDictionaryFile(p);
            if (m_.learnFormat == p) {
                m_.format = r.format;
                m_.learnFormat.clear();
            }
            // Whatever was saved under a .dic name must be the .dic form.
            if (!r.ok() || (f.format && r.format != *f.format) || r.pairs != f.pairs || f.kind != FileKind::Dictionary)
                return fail(QString("%1 reads as error %2, kind %3, encoding %4 (mark %5), %6; the model expects "
                                    "kind %7, encoding %8, %9")
                                .arg(p)
                                .arg(r.error)
                                .arg(int(FileKind::Dictionary))
                                .arg(int(r.format.encoding))
                                .arg(r.format.byteOrderMark)
                                .arg(show(r.pairs))
                                .arg(int(f.kind))
                                .arg(f.format ? int(f.format->encoding) : -1)
                                .arg(show(f.pairs)));
        }
        return true;
    }

    // Counters move only by answers, each judged against the question that
    // was on screen; a new question shows the pair the program drew.
    bool checkTest()
    {
        const MOODUL1& s = state();
        m_.answered += answeredNow_;
        m_.wrong += answeredNow_ && wrongNow_;
        if (timedOut_ && !answeredNow_)
            return fail("the time limit passed with no answer");
        m_.clock = answeredNow_ ? !wrongNow_ : m_.clock;
        const auto [text, answer] = m_.question.value_or(std::pair<QString, QString>{"?", "?"});
        if (s.AnsweredCount != m_.answered || s.WrongCount != m_.wrong)
            return fail(QString("counters %1 answered / %2 wrong, the model %3 / %4, after %5 \"%6\" -> \"%7\"")
                            .arg(s.AnsweredCount)
                            .arg(s.WrongCount)
                            .arg(m_.answered)
                            .arg(m_.wrong)
                            .arg(!answeredNow_   ? "none"
                                     : wrongNow_ ? "wrong"
                                                 : "right",
                                 text, answer));
        if (!checkRecord(text, answer))
            return false;
        const AkenVale* w = win<AkenVale>();
        if (answeredNow_ && wrongNow_ && m_.question
            && (!w || w->ui->Label2->text() != text || w->ui->Label3->text() != answer))
            return fail("the wrong-answer window is missing or not showing " + text + " -> " + answer);
        Test* t = win<Test>();
        const bool newQuestion = s_->platform.seeds.size() != preSeeds_;
        if (t != preTest_ || !t) {
            m_.question.reset();
            m_.limit = 0;
            m_.clock = true;
        }
        m_.typed = t != preTest_ || newQuestion ? "" : m_.typed;
        // A set-up that put no question up found the round complete (or
        // nothing to ask): the next question begins a new round.
        if (newQuestion && !t)
            m_.asked.clear();
        if (t && newQuestion) {
            const size_t i = size_t(s.CurrentQuestion);
            if (i >= m_.list.size() || m_.list[i].known.isEmpty())
                return fail(QString("question %1 of the list %2").arg(i).arg(show(m_.list)));
            const TestOptions o = m_.main ? m_.options : m_.closedOptions;
            m_.limit = o.timeLimitOn ? o.timeLimitSeconds : m_.limit;
            const WordPair& p = m_.list[i];
            // A pair asked again: only in a new round, once every pair was.
            if (m_.asked.count(m_.listIds[i])) {
                for (size_t j = 0; j < m_.list.size(); ++j)
                    if (!m_.list[j].known.isEmpty() && !m_.asked.count(m_.listIds[j]))
                        return fail(QString("%1/%2 asked twice in a round, %3/%4 not yet")
                                        .arg(p.known, p.unknown, m_.list[j].known, m_.list[j].unknown));
                m_.asked.clear();
            }
            m_.asked.insert(m_.listIds[i]);
            m_.question = o.askUnknownWords ? std::pair{p.known, p.unknown} : std::pair{p.unknown, p.known};
            m_.questionFile = m_.file;
            m_.questionOptions = o;
            const auto choices = {t->ui->Kyssa1, t->ui->Kyssa2, t->ui->Kyssa3, t->ui->Kyssa4, t->ui->Kyssa5};
            const auto offers = [&](const ClickLabel* k) { return k->text() == m_.question->second; };
            if (t->ui->Label1->text() != m_.question->first
                || (!o.normalMode && std::none_of(choices.begin(), choices.end(), offers)))
                return fail("the test shows \"" + t->ui->Label1->text() + "\" for " + p.known + "/" + p.unknown
                            + (o.normalMode ? "" : " or no choice holds the answer"));
        } else if (m_.question && t->ui->Label1->text() != m_.question->first) {
            return fail("the question changed from \"" + m_.question->first + "\" with no answer");
        }
        return true;
    }

    // Each judged answer is one more row, as judged, against the question shown.
    bool checkRecord(const QString& shown, const QString& answer)
    {
        recorded_ += answeredNow_;
        const QString rows = QFile::exists(record_.path) ? record_.one("SELECT count(*) FROM answers") : "0";
        if (rows != QString::number(recorded_))
            return fail(QString("the record holds %1 answers, the model judged %2").arg(rows).arg(recorded_));
        if (!answeredNow_ || !m_.question)
            return true;
        const TestOptions& o = m_.questionOptions;
        const QString given = o.normalMode ? trimBlanks(given_) : given_;
        const int outcome = !wrongNow_ ? 0 : waitedNow_ ? 2 : 1;
        const QStringList want{QDir::cleanPath(m_.questionFile),
                               o.askUnknownWords ? shown : answer,
                               o.askUnknownWords ? answer : shown,
                               QString::number(!o.askUnknownWords),
                               QString::number(!o.normalMode),
                               given,
                               QString::number(outcome)};
        const QString last = record_.one("SELECT l.path, p.known, p.unknown, a.side, a.mode, a.given, a.outcome "
                                         "FROM answers a JOIN lists l ON l.id = a.list JOIN pairs p ON p.id = a.pair "
                                         "ORDER BY a.id DESC LIMIT 1");
        return last == want.join('|') ? true
                                      : fail("the record's last answer is " + last + ", the model's " + want.join('|'));
    }

    // What the program holds and shows, as lines to compare with the model's.
    QStringList programView()
    {
        const MOODUL1& s = state();
        const Main* m = win<Main>();
        const Editor* e = win<Editor>();
        WordPairs list, rows;
        for (int i = 0; i <= s.LastWordIndex; ++i)
            list.push_back({s.KnownWords[size_t(i)], s.UnknownWords[size_t(i)]});
        for (int r = 0; e && r < std::min(e->ui->List1->count(), e->ui->List2->count()); ++r)
            rows.push_back({e->ui->List1->item(r)->text(), e->ui->List2->item(r)->text()});
        return {QString("main %1, editor %2, prompt %3").arg(bool(m)).arg(bool(e)).arg(bool(win<Kassav>())),
                e ? QString("editor %1/%2: %3").arg(e->ui->List1->count()).arg(e->ui->List2->count()).arg(show(rows))
                  : "",
                "list " + show(list == WordPairs{WordPair{}} ? WordPairs{} : list),
                "file " + s.CurrentFile + QString(", changed %1").arg(s.WordsModified),
                m ? "title " + m->windowTitle() : "",
                win<Kassav>() ? QString("prompt for %1/%2").arg(s.PendingAction).arg(s.MainWindowClosing) : "",
                importView()};
    }

    QString importView()
    {
        const Import* w = win<Import>();
        if (!w)
            return {};
        WordPairs table;
        for (int r = 0; r < w->ui->pairTable->rowCount(); ++r)
            table.push_back({w->ui->pairTable->item(r, 0)->text(), w->ui->pairTable->item(r, 1)->text()});
        return QString("import %1, OK %2: %3")
            .arg(w->path())
            .arg(w->ui->buttonBox->button(QDialogButtonBox::Ok)->isEnabled())
            .arg(show(table));
    }

    QStringList modelView()
    {
        return {QString("main %1, editor %2, prompt %3").arg(m_.main).arg(m_.editor).arg(m_.prompt),
                m_.editor ? QString("editor %1/%1: ").arg(m_.rows.size()) + show(m_.rows) : "",
                "list " + show(m_.list == WordPairs{WordPair{}} ? WordPairs{} : m_.list),
                "file " + m_.file + QString(", changed %1").arg(m_.modified),
                m_.main ? "title " + m_.title : "",
                m_.prompt ? QString("prompt for %1/%2").arg(m_.pending).arg(m_.closing) : "",
                m_.import ? QString("import %1, OK %2: %3")
                                .arg(m_.import->path)
                                .arg(m_.import->preview.ok())
                                .arg(show(m_.import->preview.ok() ? m_.import->preview.pairs : WordPairs{}))
                          : ""};
    }

    bool after()
    {
        QStringList shown;
        for (size_t i = preMessages_; i < s_->platform.messages.size(); ++i)
            shown << s_->platform.messages[i].text;
        const QRegularExpression want("\\A" + expected_.join('\n') + "\\z",
                                      QRegularExpression::DotMatchesEverythingOption);
        if (!want.match(shown.join('\n')).hasMatch())
            return fail("messages shown: [" + shown.join(" || ") + "], the model expects " + want.pattern());
        const int dialogs = int(s_->platform.dialogs.size() - preDialogs_);
        if (s_->platform.unexpectedDialogs || dialogs != asked_)
            return fail(QString("%1 file dialogs shown, the model expects %2").arg(dialogs).arg(asked_));
        if (!checkFiles())
            return false;
        // A test that went away showed a main window, a fresh one if it was closed.
        if (win<Main>() && preTest_ && win<Test>() != preTest_)
            loadMain();
        // A window closed last ends the program; only then may it end unasked.
        m_.ended = m_.ended || (s_->program.ended() && !m_.main && !m_.editor && !m_.prompt);
        const auto forms = s_->program.loadedForms();
        const bool onScreen = std::any_of(forms.begin(), forms.end(), [](Form* f) { return f->isVisible(); });
        if (s_->program.ended() != m_.ended || onScreen == m_.ended)
            return fail(
                QString("the program ended: %1, a window on screen: %2").arg(s_->program.ended()).arg(onScreen));
        if (m_.ended && !shownPart(m_.list).empty() && m_.modified == 1 && !savedNow_ && !m_.declined)
            return fail("the program ended and lost the list");
        if (m_.ended)
            return checkTest() && (startSession(), true);
        const QStringList program = programView(), model = modelView();
        for (qsizetype i = 0; i < program.size(); ++i)
            if (program[i] != model[i])
                return fail("the program has " + program[i].left(600) + "\nthe model has  " + model[i].left(600));
        m_.declined = m_.declined && !m_.main;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return checkTest();
    }

    std::mt19937 rng_;
    unsigned seed_;
    int steps_, step_ = 0, sessions_ = 0, saves_ = 0, judged_ = 0;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Session> s_;
    QStringList log_;
    std::map<QString, QByteArray> verified_; // bytes last found to read as the model has them
    Model m_;
    bool wroteBack_ = false;
    QString openAfterClick_; // a dropped file the prompt's Yes opens after its save
    // This step: the dialog's answers, what was before, what the model expects.
    std::vector<std::optional<QString>> dialogs_;
    Test* preTest_ = nullptr;
    int preAnswered_ = 0, asked_ = 0;
    size_t preSeeds_ = 0, preMessages_ = 0, preDialogs_ = 0;
    QStringList expected_; // patterns of the messages in order
    bool answeredNow_ = false, wrongNow_ = false, savedNow_ = false, timedOut_ = false, waitedNow_ = false;
    testing::RecordFile record_;
    int recorded_ = 0; // answers the model has judged in the whole run
    QString given_; // what this step's answer gave
};

} // namespace

class RandomModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(quietHandler); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void randomUserActionsAgainstTheModel()
    {
        const bool seeded = qEnvironmentVariableIsSet("VORBIX_RANDOM_SEED");
        const bool stepped = qEnvironmentVariableIsSet("VORBIX_RANDOM_STEPS");
        ModelRun run(seeded ? qEnvironmentVariableIntValue("VORBIX_RANDOM_SEED") : 20261206u,
                     stepped ? qEnvironmentVariableIntValue("VORBIX_RANDOM_STEPS") : 2500);
        QVERIFY2(run.run(), "see the seed, the step and the replay command above");
    }
};

QTEST_MAIN(RandomModelTest)
#include "test_random_model.moc"
