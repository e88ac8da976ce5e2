// Plays random user actions against the real windows and keeps a small model
// of what the user has: the words on screen, every file on disk, the current
// file and title, unsaved changes, the counters and the question on screen.
// After every step the program must agree with the model. CI runs one fixed
// seed; longer runs and replays:
//   VORBIX_RANDOM_SEED=7 VORBIX_RANDOM_STEPS=200000 ./tests/test_random_model
#include "dictionary/DictionaryFile.h"
#include "dictionary/WordListFile.h"
#include "state/Sorting.h"
#include "support/ScriptedPlatform.h"
#include "ui/about/About.h"
#include "ui/editor/Editor.h"
#include "ui/main/Algus.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/Program.h"

#include "ui_About.h"
#include "ui_AkenVale.h"
#include "ui_Editor.h"
#include "ui_Kassav.h"
#include "ui_Main.h"
#include "ui_Test.h"
#include "ui_Tulemus.h"

#include <QCollatorSortKey>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <optional>
#include <set>
#include <random>

#include <sys/stat.h>

using namespace vorbix;
using namespace vorbix::dictionary;

namespace {

QtMessageHandler previousHandler = nullptr;
// Thousands of harmless offscreen warnings would use up QtTest's message limit.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg
        && (message.startsWith(QLatin1String("Keyboard event not accepted"))
            || message.startsWith(QLatin1String("Mouse event"))
            || message.startsWith(QLatin1String("This plugin does not support"))))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

// The scripted platform, telling the model when a question is set up: every
// set-up reseeds the generator once.
class ModelPlatform : public testing::ScriptedPlatform {
public:
    int setups = 0;
    void randomize(double seed) override
    {
        ++setups;
        ScriptedPlatform::randomize(seed);
    }
};

struct Session {
    ModelPlatform platform;
    Program program{platform};
};

// ---- the model's own rules -------------------------------------------------

QString blanksTrimmed(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.mid(b, e - b);
}

// The file format's pair rule: passes change the first `from` of each word
// until one of the two has none left.
void passRule(QString& k, QString& u, QChar from, QChar to)
{
    for (;;) {
        const qsizetype i = k.indexOf(from), j = u.indexOf(from);
        if (i >= 0)
            k[i] = to;
        if (j >= 0)
            u[j] = to;
        if (k.indexOf(from) < 0 || u.indexOf(from) < 0)
            return;
    }
}

// What the editor shows and every writer writes: up to the first pair
// without a known word.
WordPairs shownPart(const WordPairs& list, size_t cap = 1001)
{
    WordPairs out;
    for (const WordPair& p : list) {
        if (p.known.isEmpty() || out.size() == cap)
            break;
        out.push_back(p);
    }
    return out;
}

bool isAscii(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool emptyList(const WordPairs& list) { return list.empty() || list.front().known.isEmpty(); }

QString signedNum(int n) { return (n >= 0 ? QStringLiteral(" ") : QString()) + QString::number(n); }

// A straight exchange sort, as the sort buttons promise: keys compared in the
// user's order with case ignored; A-Z never moves a pair with an empty key.
void exchangeSort(WordPairs& list, int button)
{
    const bool byUnknown = button < 2, ascending = button % 2 == 0;
    const QCollator collator = wordCollator();
    const auto key = [&](const WordPair& p) { return byUnknown ? p.unknown : p.known; };
    std::vector<QCollatorSortKey> keys;
    for (const WordPair& p : list)
        keys.push_back(collator.sortKey(key(p)));
    const auto cmp = [&](size_t a, size_t b) {
        const bool ea = key(list[a]).isEmpty(), eb = key(list[b]).isEmpty();
        if (ea || eb)
            return ea == eb ? 0 : (ea ? -1 : 1);
        return keys[a].compare(keys[b]);
    };
    for (size_t i = 0; i < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j) {
            const bool swap = ascending ? !key(list[j]).isEmpty() && cmp(i, j) > 0 : cmp(i, j) < 0;
            if (swap) {
                std::swap(list[i], list[j]);
                keys[i].swap(keys[j]);
            }
        }
}

struct FileModel {
    enum Kind { Good, Broken, Folder } kind = Good;
    FileKind list = FileKind::Dictionary; // how Save may write it back
    QString skipped;                      // the message about lines it skips
    WordPairs pairs;
    std::optional<FileFormat> format; // the encoding it must read in, when the model knows it
    bool truncated = false;
    int error = 0;        // what opening it reports, for a broken one
    QByteArray bytes;     // a broken file stays these bytes until saved over
    bool writable = true; // a save there succeeds
};

// The question on screen, as the user saw it when it was set up.
struct Question {
    QString text;   // Label1
    QString answer; // the other word of the pair shown
    WordPair pair;
};

struct ExpectedMessage {
    QString text;
    bool prefix = false; // the rest is the system's reason
};

// Real key clicks, also for letters QTest's Latin-1 helpers cannot send.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

class ModelRun {
public:
    ModelRun(unsigned seed, int steps) : rng_(seed), seed_(seed), steps_(steps)
    {
        trace_ = qEnvironmentVariableIsSet("VORBIX_RANDOM_TRACE");
    }

    bool run()
    {
        if (!dir_.isValid())
            return fail("no temporary folder");
        startSession();
        for (step_ = 1; step_ <= steps_; ++step_) {
            before();
            oneStep();
            if (!after())
                return false;
        }
        qInfo("%d steps, %d sessions, %d saves, %d answers judged, %d opens, %d undone or redone", steps_,
              sessions_, saves_, judged_, opens_, undos_);
        return true;
    }

private:
    // ---- plumbing ------------------------------------------------------
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    int pickWeighted(std::initializer_list<int> weights)
    {
        return std::discrete_distribution<int>(weights.begin(), weights.end())(rng_);
    }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    QString path(const QString& name) const { return QDir::cleanPath(dir_.filePath(name)); }
    MOODUL1& state() { return s_->program.state(); }
    template <class F> F* win() { return s_->program.loaded<F>(); }
    void act(const QString& what)
    {
        log_ << what;
        if (log_.size() > 15)
            log_.removeFirst();
        if (trace_)
            fprintf(stderr, "step %d: %s\n", step_, qPrintable(what));
    }
    QString untitled() const { return QDir(dir_.path()).path() + QDir::separator() + "Untitled.dic"; }

    bool fail(const QString& what)
    {
        qWarning().noquote() << QString("seed %1, step %2, session %3: %4\nlast actions: %5\nreplay: "
                                        "VORBIX_RANDOM_SEED=%1 VORBIX_RANDOM_STEPS=%2 QT_QPA_PLATFORM=offscreen "
                                        "tests/test_random_model -maxwarnings 0")
                                    .arg(seed_).arg(step_).arg(sessions_).arg(what, log_.join(" | "));
        return false;
    }

    QString randomWord()
    {
        static const QStringList parts{"maja", "dog", "x-ray", "a}b", "go, went", "\"q\"", "  lead",
                                       "tail ", "õun", "šokk", "собака", "Ab", "ab", "-", "a-b-c"};
        QString w = parts[pick(parts.size())];
        if (chance(0.3))
            w += parts[pick(parts.size())];
        return w;
    }

    // ---- fixtures ------------------------------------------------------
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

    // The fixtures as bytes, by name; written once and put back at the start
    // of every session where a save changed them.
    std::map<QString, QByteArray> fixtureBytes()
    {
        std::map<QString, QByteArray> f;
        f["good.dic"] = "x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\nkass\r\ncat\r\n";
        f["one.dic"] = "maja\nhouse";
        f["empty.dic"] = "";
        f["blanks.dic"] = "  tail \r\n lead  \r\nAb\r\nab\r\nx-y-z\r\nq}r\r\n";
        f["gap.dic"] = "a\r\n1\r\n\r\n2\r\nc\r\n3\r\n";
        f["same.dic"] = "maja\r\nhouse\r\nmaja\r\nhome\r\nkodu\r\nhouse\r\n";
        // UTF-8 and UTF-16 whose words all fit the Baltic code page: Save must
        // still keep their encoding.
        f["utf8.dic"] = QString("õun\r\napple\r\nšokk\r\nshock\r\n").toUtf8();
        f["bom.dic"] = "\xEF\xBB\xBF" + QString("maja\r\nhouse\r\nkõne\r\ncall\r\n").toUtf8();
        const QString wide = QString("\uFEFFkoer\r\ndog\r\nšokk\r\nshock\r\n");
        f["utf16.dic"] = QByteArray(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
        // Lists of other programs: one Save writes back, one it must not.
        f["words.tsv"] = "maja\thouse\r\nx-ray\tr\xC3\xB6ntgen\r\nkoer\tdog\r\n";
        f["list.csv"] = "known,unknown\r\nkass,cat\r\n\"go, went\",minema\r\nonly one\r\n";
        QByteArray big, over;
        for (int i = 0; i < 1001; ++i) {
            const QByteArray pair = "w" + QByteArray::number(i) + (i % 7 ? "" : "}x") + "\r\ns"
                + QByteArray::number(1000 - i) + "\r\n";
            if (i < 990)
                big += pair;
            over += pair;
        }
        f["big.dic"] = big;
        f["over.dic"] = over;
        f["odd.dic"] = "a\r\nb\r\nc\r\n";
        f["junk.dic"] = QByteArray("\0\xff\r\n\x01", 5) + QByteArray(70000, 'z');
        return f;
    }

    void writeFixtures()
    {
        QDir dir(dir_.path());
        const auto fixtures = fixtureBytes();
        const bool first = fixtureModels_.empty();
        for (const QFileInfo& fi : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
            const QString p = QDir::cleanPath(fi.filePath());
            const bool fixture = fixtures.count(fi.fileName()) || fi.fileName() == "folder.dic";
            if (fixture && !touched_.count(p))
                continue;
            if (fi.isDir())
                QDir(p).removeRecursively();
            else
                QFile::remove(p);
        }
        for (const auto& [name, bytes] : fixtures) {
            if (!first && !touched_.count(path(name)))
                continue;
            QFile f(path(name));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
        }
        dir.mkdir("folder.dic");
        // Read-only, so that they stay broken; where writes go through anyway
        // (root) the model knows a save may change them.
        for (const char* broken : {"odd.dic", "junk.dic"})
            QFile::setPermissions(path(broken), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        for (const QString& p : touched_)
            verified_.erase(p);
        touched_.clear();

        if (first) {
            for (const QFileInfo& fi : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
                FileModel f;
                const QString p = QDir::cleanPath(fi.filePath());
                if (fi.isDir()) {
                    f.kind = FileModel::Folder;
                    f.writable = false;
                    f.error = readWordListFile(p).error;
                } else {
                    const ListReadResult r = readWordListFile(p);
                    f.kind = r.ok() ? FileModel::Good : FileModel::Broken;
                    f.list = r.kind;
                    if (r.ok())
                        f.format = r.format;
                    if (r.ok() && r.skipped() > 0)
                        f.skipped = skippedText(p, r);
                    f.pairs = r.pairs;
                    f.truncated = r.truncated;
                    f.error = r.error;
                    f.writable = fi.isWritable();
                    if (!r.ok())
                        f.bytes = bytesOf(p);
                }
                fixtureModels_[p] = f;
            }
        }
        files_ = fixtureModels_;
    }

    static QByteArray bytesOf(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }

    void startSession()
    {
        writeFixtures();
        s_ = std::make_unique<Session>();
        s_->platform.setCurrentDirectory(QDir(dir_.path()).path());
        // Now and then a file named on the command line.
        startupFile_ = chance(0.2) ? path(QStringList{"good.dic", "same.dic", "odd.dic", "missing.dic"}[pick(4)])
                                   : QString();
        s_->program.setStartupFile(startupFile_);
        s_->program.show<Algus>();
        ++sessions_;
        shared_.clear();
        rows_.clear();
        editorOpen_ = mainLoaded_ = promptOpen_ = ended_ = false;
        activeSort_ = -1;
        options_ = closedOptions_ = TestOptions{};
        currentFile_.clear();
        title_.clear();
        modified_ = pending_ = closing_ = 0;
        kind_ = FileKind::Dictionary;
        format_.reset();
        learnFormat_.clear();
        answered_ = wrong_ = 0;
        question_.reset();
        typed_.clear();
        asked_.clear();
        declined_ = false;
    }

    // ---- before a step -------------------------------------------------
    struct Before {
        int answered = 0, wrong = 0, setups = 0;
        size_t messages = 0, dialogs = 0;
        Test* test = nullptr;
        std::vector<Form*> loaded;
    } pre_;

    void before()
    {
        auto& pf = s_->platform;
        pf.clearDialogAnswers();
        dialogScript_.clear();
        static const QStringList names{"good.dic", "one.dic", "empty.dic", "blanks.dic", "gap.dic",
                                       "same.dic", "utf8.dic", "odd.dic", "junk.dic", "folder.dic",
                                       "missing.dic", "nofolder/x.dic", "big.dic", "over.dic", "words.tsv",
                                       "list.csv", "saved.tsv", "bom.dic", "utf16.dic"};
        if (pick(8) < 6) {
            const QString p = path(chance(0.25) ? "saved.dic" : names[pick(names.size())]);
            pf.answerDialog(p);
            dialogScript_.push_back(p);
        } else {
            pf.cancelDialog();
            dialogScript_.push_back(std::nullopt);
        }
        for (int i = 0; i < 4; ++i) { // a failed open offers the dialog again
            pf.cancelDialog();
            dialogScript_.push_back(std::nullopt);
        }
        pre_.answered = state().AnsweredCount;
        pre_.wrong = state().WrongCount;
        pre_.setups = pf.setups;
        pre_.messages = pf.messages.size();
        pre_.dialogs = pf.dialogs.size();
        pre_.test = win<Test>();
        pre_.loaded = s_->program.loadedForms();
        expected_.clear();
        dialogsExpected_ = 0;
        answeredNow_ = false;
        savedNow_ = false;
        mainPredicted_ = false;
        if (Main* m = win<Main>())
            m->setProperty("modelSeen", true);
    }

    // ---- the model's transitions ----------------------------------------
    std::deque<std::optional<QString>> dialogScript_;
    std::optional<QString> nextDialog()
    {
        ++dialogsExpected_;
        if (dialogScript_.empty())
            return std::nullopt;
        auto a = dialogScript_.front();
        dialogScript_.pop_front();
        if (!log_.isEmpty())
            log_.last() += a ? " -> " + QFileInfo(*a).fileName() : QString(" -> cancel");
        if (trace_)
            fprintf(stderr, "  dialog: %s\n", a ? qPrintable(*a) : "cancel");
        return a;
    }

    TestOptions testOptions() const { return mainLoaded_ ? options_ : closedOptions_; }

    void loadMain()
    {
        if (mainLoaded_)
            return;
        mainLoaded_ = true;
        mainPredicted_ = true;
        options_ = TestOptions{};
        if (currentFile_.isEmpty())
            currentFile_ = untitled();
        title_ = "Vorbix - " + (currentFile_ == untitled() ? QString("Untitled.dic") : currentFile_);
    }

    // The editor's words into the list; a changed list starts a new round.
    void writeBack()
    {
        if (rows_ != shared_)
            asked_.clear();
        shared_ = rows_;
    }

    // Every save and every question of the prompt sees the editor's words.
    void syncEditor()
    {
        if (editorOpen_)
            writeBack();
    }

    void reloadEditor()
    {
        rows_ = shownPart(shared_);
        activeSort_ = -1;
        undo_.clear(); // the steps belonged to the list that is gone
        undone_ = 0;
    }

    // Windows other than the prompt that keep the program alive.
    bool othersLoaded() const
    {
        if (mainLoaded_ || editorOpen_)
            return true;
        for (Form* f : pre_.loaded)
            if (!qobject_cast<Kassav*>(f) && !qobject_cast<Main*>(f) && !qobject_cast<Editor*>(f))
                return true;
        return false;
    }

    void end() { ended_ = true; }

    enum class Writer { HyphenRule, Plain, TabSeparated };
    bool writeFile(const QString& target, Writer writer)
    {
        auto it = files_.find(target);
        const bool writable = it != files_.end() ? it->second.writable
                                                 : QFileInfo(QFileInfo(target).absolutePath()).isDir();
        WordPairs saved = shownPart(shared_, MaxPairs);
        const bool tsv = writer == Writer::TabSeparated;
        // A tab-separated line needs both words.
        const bool fits = !tsv || std::none_of(saved.begin(), saved.end(), [](const WordPair& p) {
            return p.unknown.isEmpty();
        });
        if (!writable || !fits) {
            expected_.push_back({saveFailureText(target, "\x01").section(QChar(1), 0, 0), true});
            return false;
        }
        WordPairs readBack = saved;
        for (size_t i = 0; i < saved.size() && !tsv; ++i) {
            if (writer == Writer::HyphenRule) {
                passRule(readBack[i].known, readBack[i].unknown, u'-', u'}');
                passRule(readBack[i].known, readBack[i].unknown, u'}', u'-');
                // The words take the form they read back in, asked or not.
                for (WordPair& a : asked_)
                    if (a == saved[i])
                        a = readBack[i];
                shared_[i] = readBack[i];
            } else {
                passRule(readBack[i].known, readBack[i].unknown, u'}', u'-');
            }
        }
        FileModel f;
        f.pairs = readBack;
        if (!tsv) {
            // The list keeps its encoding; a Unicode one holds every word,
            // the code page all of plain ASCII. Which other words the code
            // page holds is the writer's business, so then the file tells.
            // Plain ASCII without a mark reads the same in either.
            const bool ascii = std::all_of(saved.begin(), saved.end(), [](const WordPair& p) {
                return isAscii(p.known) && isAscii(p.unknown);
            });
            if (format_ && format_->encoding != TextEncoding::Windows1257) {
                if (!(ascii && format_->encoding == TextEncoding::Utf8 && !format_->byteOrderMark))
                    f.format = format_;
            } else if (ascii) {
                format_ = FileFormat{TextEncoding::Windows1257, false};
            } else {
                learnFormat_ = target;
                format_.reset();
            }
        }
        // An empty file has no tabs to tell: it reads as an empty .dic.
        f.list = tsv && !saved.empty() ? FileKind::TabSeparated : FileKind::Dictionary;
        files_[target] = f;
        touched_.insert(target);
        verified_.erase(target);
        savedNow_ = true;
        ++saves_;
        return true;
    }

    void modelOpen()
    {
        for (;;) {
            syncEditor();
            if (!emptyList(shared_) && modified_ == 1) {
                pending_ = PendingOpen;
                promptOpen_ = true;
                return;
            }
            const auto answer = nextDialog();
            if (!answer || answer->isEmpty())
                return;
            if (openPath(*answer))
                return;
        }
    }

    // A file opened as the user picked it: all or nothing.
    bool openPath(const QString& p)
    {
        const auto it = files_.find(p);
        if (it == files_.end() || it->second.kind != FileModel::Good) {
            const int code = it != files_.end() ? it->second.error
                : QFileInfo(QFileInfo(p).absolutePath()).isDir() ? FileNotFound : PathNotFound;
            expected_.push_back({openFailureText(code, p)});
            return false;
        }
        ++opens_;
        shared_ = it->second.pairs;
        if (shared_.size() > size_t(MaxPairs))
            shared_.resize(MaxPairs);
        currentFile_ = p;
        kind_ = it->second.list;
        format_ = it->second.format;
        title_ = "English Quorvel - " + QFileInfo(p).fileName();
        asked_.clear(); // a new list starts a new round
        if (editorOpen_)
            reloadEditor();
        if (!it->second.skipped.isEmpty())
            expected_.push_back({it->second.skipped});
        if (it->second.truncated)
            expected_.push_back({truncatedText(p)});
        return true;
    }

    void modelSaveAs()
    {
        saveAsFailed_ = false;
        const auto answer = nextDialog();
        if (!answer) {
            closing_ = 0;
            loadMain();
            if (promptOpen_)
                closePrompt();
            return;
        }
        syncEditor();
        const FileKind kind = QFileInfo(*answer).suffix().toLower() == "tsv" ? FileKind::TabSeparated
                                                                             : FileKind::Dictionary;
        if (!writeFile(*answer, kind == FileKind::TabSeparated ? Writer::TabSeparated : Writer::HyphenRule)) {
            saveAsFailed_ = true;
            return;
        }
        currentFile_ = *answer;
        kind_ = kind;
        if (pending_ == PendingExit || closing_ == 1) {
            end();
            return;
        }
        title_ = "Vorbix - " + *answer;
    }

    // A list of another program's file is saved under a new name.
    bool needsSaveAs() const { return currentFile_ == untitled() || kind_ == FileKind::Imported; }

    void modelSave()
    {
        if (needsSaveAs()) {
            modelSaveAs();
            return;
        }
        syncEditor();
        if (writeFile(currentFile_, kind_ == FileKind::TabSeparated ? Writer::TabSeparated : Writer::HyphenRule))
            title_ = "Vorbix - " + currentFile_;
    }

    void modelExit()
    {
        syncEditor();
        if (!emptyList(shared_) && modified_ == 1) {
            pending_ = PendingExit;
            promptOpen_ = true;
            return;
        }
        end();
    }

    void modelCloseMain()
    {
        closedOptions_ = options_;
        syncEditor();
        mainLoaded_ = false;
        if (!emptyList(shared_)) {
            closing_ = 1;
            promptOpen_ = true;
            return;
        }
        // An empty list: only an open editor keeps the program going.
        if (!editorOpen_)
            end();
    }

    void closePrompt()
    {
        promptOpen_ = false;
        pending_ = PendingNone;
        closing_ = 0;
        if (!othersLoaded())
            end();
    }

    void modelYes()
    {
        syncEditor();
        modified_ = 0;
        bool failed = false;
        if (needsSaveAs()) {
            loadMain(); // Save As lives on the main window
            modelSaveAs();
            if (ended_ || !promptOpen_)
                return;
            failed = saveAsFailed_;
        } else {
            failed = !writeFile(currentFile_, kind_ == FileKind::TabSeparated ? Writer::TabSeparated : Writer::Plain);
            if (!failed && pending_ == PendingExit) {
                end();
                return;
            }
        }
        if (failed) {
            modified_ = 1;
            loadMain();
        }
        closePrompt();
    }

    void modelNo()
    {
        modified_ = 0;
        declined_ = true;
        if (pending_ == PendingOpen) {
            pending_ = PendingNone;
            loadMain();
            modelOpen();
        } else if (pending_ == PendingExit) {
            end();
            return;
        }
        closePrompt();
    }

    // ---- steps -----------------------------------------------------------
    void oneStep()
    {
        std::vector<Form*> shown;
        for (Form* f : s_->program.loadedForms())
            if (f->isVisible())
                shown.push_back(f);
        // The test and the windows around it get more turns: answers are
        // what the judgements need.
        std::vector<int> weights;
        for (Form* f : shown)
            weights.push_back(qobject_cast<Test*>(f) ? 8 : qobject_cast<Main*>(f) || qobject_cast<Editor*>(f) ? 3 : 2);
        Form* f = shown[std::discrete_distribution<int>(weights.begin(), weights.end())(rng_)];
        if (auto* m = qobject_cast<Main*>(f)) mainAction(*m);
        else if (auto* e = qobject_cast<Editor*>(f)) editorAction(*e);
        else if (auto* t = qobject_cast<Test*>(f)) testAction(*t);
        else if (auto* w = qobject_cast<AkenVale*>(f)) { act("continue"); w->ui->Command1->click(); }
        else if (auto* r = qobject_cast<Tulemus*>(f)) resultsAction(*r);
        else if (auto* k = qobject_cast<Kassav*>(f)) promptAction(*k);
        else if (auto* a = qobject_cast<About*>(f)) aboutAction(*a);
        else splashAction(*qobject_cast<Algus*>(f));
    }

    void splashAction(Algus& a)
    {
        loadMain();
        if (!startupFile_.isEmpty())
            openPath(std::exchange(startupFile_, QString()));
        if (chance(0.5)) {
            act("splash waits");
            s_->platform.advance(2006);
        } else {
            act("splash click");
            a.Form_Click();
        }
    }

    // A menu item, its toolbar button or its key: one of the three ways in.
    void fileCommand(Main& m, QAction* item, const QString& toolbarKey, QKeySequence keys)
    {
        int way = pick(3);
        if ((way == 1 && toolbarKey.isEmpty()) || (way == 2 && keys.isEmpty()))
            way = 0;
        if (!log_.isEmpty())
            log_.last() += QStringList{" by menu", " by toolbar", " by key"}[way];
        if (way == 1) {
            for (QAction* b : m.ui->Toolbar1->actions())
                if (b->property("key").toString() == toolbarKey) {
                    b->trigger();
                    return;
                }
        }
        if (way == 2) {
            QApplication::setActiveWindow(&m);
            const QKeyCombination k = keys[0];
            QTest::keyClick(&m, k.key(), k.keyboardModifiers());
            return;
        }
        item->trigger();
    }

    void mainAction(Main& m)
    {
        auto& ui = *m.ui;
        // new, open, save, save as, exit, close, editor, test, about, options, time limit
        static const int first[] = {0, 1, 4, 5, 6, 7, 8, 10, 12, 13, 15};
        switch (first[pickWeighted({2, 6, 3, 2, 1, 1, 5, 6, 1, 3, 2})]) {
        case 0:
            act("new");
            currentFile_ = untitled();
            kind_ = FileKind::Dictionary;
            fileCommand(m, ui.MFNew, "New", QKeySequence::New);
            break;
        case 1: case 2: case 3:
            act("open");
            modelOpen();
            fileCommand(m, ui.MFOpen, "Open", QKeySequence::Open);
            break;
        case 4:
            act("save");
            modelSave();
            fileCommand(m, ui.MFSave, "Save", QKeySequence::Save);
            break;
        case 5:
            act("save as");
            modelSaveAs();
            fileCommand(m, ui.MFSaveAs, {}, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
            break;
        case 6:
            act("exit");
            modelExit();
            if (chance(0.3))
                ui.Command2->click();
            else
                fileCommand(m, ui.MFExit, "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q));
            break;
        case 7:
            act("close main");
            modelCloseMain();
            m.close();
            break;
        case 8: case 9:
            act("editor");
            if (!editorOpen_) {
                editorOpen_ = true;
                reloadEditor();
            }
            if (chance(0.5))
                ui.Command1->click();
            else
                m.Toolbar1_ButtonClick("Edit");
            break;
        case 10: case 11:
            act("test");
            if (emptyList(shared_))
                expected_.push_back({nothingToTest()});
            if (chance(0.5))
                ui.nupptest->click();
            else
                m.Toolbar1_ButtonClick("Testime");
            break;
        case 12:
            act("about");
            ui.MAbout->trigger();
            break;
        case 13: case 14: {
            const bool unknown = chance(0.5), normal = chance(0.5);
            act(QString("options %1 %2").arg(unknown ? "unknown" : "known", normal ? "normal" : "choices"));
            (unknown ? ui.Option1 : ui.Option2)->setChecked(true);
            (normal ? ui.Option3 : ui.Option4)->setChecked(true);
            options_.askUnknownWords = unknown;
            options_.normalMode = normal;
            break;
        }
        default: {
            const bool on = chance(0.5);
            const int seconds = pick(4);
            act(QString("time limit %1 %2").arg(on).arg(seconds));
            ui.Check1->setChecked(on);
            if (on)
                ui.VScroll1->setValue(seconds);
            options_.timeLimitOn = on;
            options_.timeLimitSeconds = ui.VScroll1->value();
            break;
        }
        }
    }

    static QString nothingToTest()
    {
        return "There is nothing to test (no words). Please use the Editor and add some words or open "
               "already existing file with words!";
    }

    static QString fullList() { return "The word list is full: it holds at most 1000 pairs."; }

    // Each editor command that changed the rows or the sort is one step to
    // undo. A step that wrote the list back (a sort, also one re-applied by
    // an add) writes it back again when undone or redone; undoing an edit is
    // an edit.
    struct UndoStep {
        WordPairs before, after;
        int sortBefore = -1, sortAfter = -1;
        bool changesList = false, writesBack = false;
    };
    template <class F> void editorCommand(bool changesList, F&& command)
    {
        UndoStep step{rows_, {}, activeSort_, -1, changesList, false};
        wroteBack_ = false;
        command();
        step.after = rows_;
        step.sortAfter = activeSort_;
        step.writesBack = wroteBack_;
        if (step.after == step.before && step.sortAfter == step.sortBefore)
            return;
        undo_.resize(undone_);
        undo_.push_back(std::move(step));
        undone_ = undo_.size();
    }
    void restore(const WordPairs& rows, int sort, const UndoStep& step)
    {
        rows_ = rows;
        activeSort_ = sort;
        if (step.changesList)
            modified_ = 1;
        if (step.writesBack)
            writeBack();
    }
    void modelUndo(bool redo)
    {
        if ((redo && undone_ < undo_.size()) || (!redo && undone_ > 0))
            ++undos_;
        if (redo && undone_ < undo_.size()) {
            const UndoStep& step = undo_[undone_++];
            restore(step.after, step.sortAfter, step);
        } else if (!redo && undone_ > 0) {
            const UndoStep& step = undo_[--undone_];
            restore(step.before, step.sortBefore, step);
        }
    }

    // The editor adds a pair and puts it in place when a sort is active.
    void modelAdd(const QString& known, const QString& unknown)
    {
        if (rows_.size() >= size_t(MOODUL1::FileCapacity)) {
            expected_.push_back({fullList()});
            return;
        }
        editorCommand(true, [&] {
            modified_ = 1;
            rows_.push_back({known, unknown});
            reapplySort();
        });
    }

    // A sort moves pairs, not what was asked of them.
    void modelSort(int button)
    {
        wroteBack_ = true;
        writeBack();
        exchangeSort(shared_, button);
        rows_ = shownPart(shared_);
        activeSort_ = button;
    }

    void reapplySort()
    {
        if (activeSort_ >= 0)
            modelSort(activeSort_);
    }

    static int selectedRow(const QListWidget* list)
    {
        const auto items = list->selectedItems();
        return items.isEmpty() ? -1 : list->row(items.first());
    }

    void editorAction(Editor& e)
    {
        auto& ui = *e.ui;
        QApplication::setActiveWindow(&e);
        switch (pick(14)) {
        case 0: case 1: case 2: {
            act("type pair");
            const QString unknown = randomWord(), known = randomWord();
            ui.Text1->clear();
            ui.Text2->clear();
            typeText(ui.Text2, unknown);
            QTest::keyClick(ui.Text2, Qt::Key_Return); // moves on to the known word
            typeText(ui.Text1, known);
            modelAdd(known, unknown);
            QTest::keyClick(chance(0.7) ? ui.Text1 : ui.Text2, Qt::Key_Return);
            break;
        }
        case 3: {
            const QString known = chance(0.8) ? randomWord() : QString();
            const QString unknown = chance(0.8) ? randomWord() : QString();
            act("add button " + known + "/" + unknown);
            ui.Text1->setText(known);
            ui.Text2->setText(unknown);
            if (!known.isEmpty() && !unknown.isEmpty())
                modelAdd(known, unknown);
            ui.Command1->click();
            break;
        }
        case 4: {
            const int n = 5 + pick(12);
            act(QString("paste %1 pairs").arg(n));
            for (int i = 0; i < n; ++i) {
                const QString known = "p" + QString::number(pick(100000)), unknown = randomWord();
                ui.Text1->setText(known);
                ui.Text2->setText(unknown);
                modelAdd(known, unknown);
                ui.Command1->click();
            }
            break;
        }
        case 5:
            act("select");
            if (ui.List1->count()) {
                const int r = pick(ui.List1->count());
                if (chance(0.5))
                    (chance(0.5) ? ui.List1 : ui.List2)->setCurrentRow(r);
                else
                    clickRow(chance(0.5) ? ui.List1 : ui.List2, r);
            }
            break;
        case 6: {
            act("delete");
            int r = selectedRow(ui.List1);
            if (r < 0)
                r = selectedRow(ui.List2);
            if (r >= 0 && r < int(rows_.size()))
                editorCommand(true, [&] {
                    rows_.erase(rows_.begin() + r);
                    modified_ = 1;
                });
            if (chance(0.5))
                ui.Command2->click();
            else
                QTest::keyClick(chance(0.5) ? ui.List1 : ui.List2, Qt::Key_Delete);
            break;
        }
        case 7: {
            const QString known = randomWord(), unknown = randomWord();
            act("replace with " + known + "/" + unknown);
            int r = selectedRow(ui.List1);
            if (r < 0)
                r = selectedRow(ui.List2);
            if (r < 0 && rows_.size() >= size_t(MOODUL1::FileCapacity)) {
                expected_.push_back({fullList()});
            } else {
                editorCommand(true, [&] {
                    if (r >= 0 && r < int(rows_.size()))
                        rows_.erase(rows_.begin() + r);
                    rows_.push_back({known, unknown});
                    modified_ = 1;
                    reapplySort();
                });
            }
            ui.Text1->setText(known);
            ui.Text2->setText(unknown);
            ui.Command3->click();
            break;
        }
        case 8: case 9: {
            const int button = pick(4);
            act(QString("sort %1").arg(button));
            editorCommand(false, [&] { modelSort(button); });
            QPushButton* b[] = {ui.Command5, ui.Command6, ui.Command7, ui.Command8};
            b[button]->click();
            break;
        }
        case 10: case 11: {
            const bool redo = chance(0.3);
            act(redo ? "redo" : "undo");
            modelUndo(redo);
            const QKeyCombination keys[] = {Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y};
            const QKeyCombination k = keys[redo ? 1 + pick(2) : 0];
            QTest::keyClick(chance(0.5) ? static_cast<QWidget*>(ui.List1) : ui.List2, k.key(), k.keyboardModifiers());
            break;
        }
        case 12:
            act("exit editor");
            leaveEditor();
            ui.Command4->click();
            break;
        default:
            act("close editor");
            leaveEditor();
            e.close();
            break;
        }
    }

    static void clickRow(QListWidget* list, int row)
    {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }

    void leaveEditor()
    {
        writeBack();
        editorOpen_ = false;
        rows_.clear();
        loadMain();
    }

    // The user's verdict on an answer to the question on screen.
    void judge(const QString& given)
    {
        answeredNow_ = true;
        wrongNow_ = !question_ || blanksTrimmed(given) != blanksTrimmed(question_->answer);
        ++judged_;
    }

    void testAction(Test& t)
    {
        auto& ui = *t.ui;
        const QString expected = question_ ? question_->answer : QString();
        const bool typing = ui.Text1->isVisible();
        switch (pick(10)) {
        case 0: case 1: case 2: {
            if (!typing)
                break;
            const int how = pick(4);
            QString typed = expected;
            if (chance(0.3))
                typed = "  " + typed + " ";
            if (chance(0.35))
                typed = chance(0.5) ? typed.toUpper() + "x" : QString("?");
            if (how == 3 && !ui.Command1->isEnabled())
                break;
            act(QString("answer \"%1\" by %2").arg(typed, QStringList{"enter", "esc", "enter", "ok"}[how]));
            ui.Text1->setText(typed);
            judge(typed);
            if (how == 3)
                ui.Command1->click();
            else
                QTest::keyClick(ui.Text1, how == 1 ? Qt::Key_Escape : Qt::Key_Return);
            break;
        }
        case 3: {
            if (!typing)
                break;
            typed_ = chance(0.5) ? expected : randomWord();
            act("type without answering \"" + typed_ + "\"");
            ui.Text1->setText(typed_);
            break;
        }
        case 4: {
            act("wait for the time limit");
            for (int i = 0; i < 5 && state().AnsweredCount == pre_.answered; ++i)
                s_->platform.advance(1000);
            if (state().AnsweredCount != pre_.answered)
                judge(typed_);
            break;
        }
        case 5: case 6: {
            ClickLabel* labels[] = {ui.Kyssa1, ui.Kyssa2, ui.Kyssa3, ui.Kyssa4, ui.Kyssa5};
            ClickLabel* k = labels[pick(5)];
            if (!k->isVisible())
                break;
            const bool twice = chance(0.3);
            act(QString("%1 \"%2\"").arg(twice ? "double-click" : "choose", k->text()));
            judge(k->text());
            QTest::mouseClick(k, Qt::LeftButton);
            // The second click of a double-click lands where the first left
            // it: on the same label, if it is still on screen.
            if (twice && k->isVisible()) {
                QTest::mouseDClick(k, Qt::LeftButton);
                QTest::mouseRelease(k, Qt::LeftButton);
            }
            break;
        }
        case 7: {
            ClickLabel* labels[] = {ui.Kyssa1, ui.Kyssa2, ui.Kyssa3, ui.Kyssa4, ui.Kyssa5};
            const int n = pick(5);
            if (!labels[n]->isVisible())
                break;
            act(QString("choose by key %1 \"%2\"").arg(n + 1).arg(labels[n]->text()));
            judge(labels[n]->text());
            if (chance(0.5)) {
                QTest::keyClick(&t, Qt::Key(Qt::Key_1 + n));
            } else {
                labels[n]->setFocus();
                QTest::keyClick(labels[n], chance(0.5) ? Qt::Key_Space : Qt::Key_Return);
            }
            break;
        }
        case 8:
            act("results");
            ui.Command3->click();
            break;
        default:
            act("close test");
            if (chance(0.5))
                ui.Command2->click();
            else
                t.close();
            break;
        }
    }

    void resultsAction(Tulemus& r)
    {
        switch (pick(3)) {
        case 0:
            act("again");
            answered_ = wrong_ = 0;
            // The list may have emptied since the test ended.
            if (std::none_of(shared_.begin(), shared_.end(), [](const WordPair& p) { return !p.known.isEmpty(); }))
                expected_.push_back({nothingToTest()});
            r.ui->Command1->click();
            break;
        case 1:
            act("end test");
            answered_ = wrong_ = 0;
            r.ui->Command2->click();
            break;
        default:
            act("close results");
            r.close();
            break;
        }
    }

    void promptAction(Kassav& k)
    {
        switch (pick(4)) {
        case 0: case 1:
            act("prompt yes");
            modelYes();
            k.ui->Command1->click();
            break;
        case 2:
            act("prompt no");
            modelNo();
            k.ui->Command2->click();
            break;
        default:
            act("prompt cancel");
            declined_ = true;
            closePrompt();
            if (chance(0.5))
                k.ui->Command3->click();
            else
                k.close();
            break;
        }
    }

    void aboutAction(About& a)
    {
        act("about ok");
        loadMain(); // a main window closed meanwhile comes back fresh
        if (chance(0.5))
            a.ui->cmdOK->click();
        else
            a.close();
    }

    // ---- checks after a step -------------------------------------------
    // A list of one empty pair is the empty list as the program starts with
    // it (LastWordIndex 0, no words).
    static WordPairs plain(WordPairs list)
    {
        if (list.size() == 1 && list[0].known.isEmpty() && list[0].unknown.isEmpty())
            list.clear();
        return list;
    }
    static WordPairs listOf(const MOODUL1& s)
    {
        WordPairs out;
        for (int i = 0; i <= s.LastWordIndex && i < MOODUL1::WordSlots; ++i)
            out.push_back({s.KnownWords[i], s.UnknownWords[i]});
        return plain(out);
    }
    static WordPairs rowsOf(const Editor& e)
    {
        WordPairs out;
        for (int r = 0; r < e.ui->List1->count(); ++r)
            out.push_back({e.ui->List1->item(r)->text(), e.ui->List2->item(r)->text()});
        return out;
    }
    static QString show(const WordPairs& list)
    {
        QStringList out;
        for (size_t i = 0; i < list.size() && i < 12; ++i)
            out << list[i].known + "/" + list[i].unknown;
        if (list.size() > 12)
            out << QString("... (%1 pairs)").arg(list.size());
        return "[" + out.join(", ") + "]";
    }
    static QString firstDifference(const WordPairs& got, const WordPairs& want)
    {
        for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
            if (!(got[i] == want[i]))
                return QString(" (pair %1: %2/%3, model %4/%5)")
                    .arg(i).arg(got[i].known, got[i].unknown, want[i].known, want[i].unknown);
        return QString(" (%1 pairs, model %2)").arg(got.size()).arg(want.size());
    }

    bool checkFiles()
    {
        QDir dir(dir_.path());
        std::set<QString> onDisk;
        for (const QFileInfo& fi : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
            onDisk.insert(QDir::cleanPath(fi.filePath()));
        for (const QString& p : onDisk)
            if (!files_.count(p))
                return fail("a file nobody saved: " + p);
        for (const auto& [p, f] : files_) {
            if (!onDisk.count(p))
                return fail("a file went missing: " + p);
            if (f.kind == FileModel::Folder)
                continue;
            struct stat st {};
            ::stat(QFile::encodeName(p).constData(), &st);
            const QString stamp = QString("%1/%2/%3.%4").arg(st.st_ino).arg(st.st_size).arg(st.st_mtim.tv_sec)
                                      .arg(st.st_mtim.tv_nsec);
            // Read again only what changed on disk or in the model.
            if (verified_.count(p) && verified_[p] == stamp)
                continue;
            verified_[p] = stamp;
            const ListReadResult r = readWordListFile(p);
            if (f.kind == FileModel::Broken) {
                if (r.error != f.error || bytesOf(p) != f.bytes)
                    return fail("a broken file changed with no save aimed at it: " + p);
                continue;
            }
            if (!r.ok())
                return fail(QString("%1 no longer reads (error %2)").arg(p).arg(r.error));
            if (learnFormat_ == p) {
                format_ = r.format;
                learnFormat_.clear();
            }
            if (f.format && r.format != *f.format)
                return fail(QString("the file %1 is written in encoding %2 (mark %3), the model expects %4 (mark %5)")
                                .arg(p).arg(int(r.format.encoding)).arg(r.format.byteOrderMark)
                                .arg(int(f.format->encoding)).arg(f.format->byteOrderMark));
            if (r.pairs != f.pairs || r.truncated != f.truncated || r.kind != f.list)
                return fail(QString("the file %1 holds %2 (kind %3%4), the model %5 (kind %6%7)%8")
                                .arg(p, show(r.pairs)).arg(int(r.kind)).arg(r.truncated ? ", cut" : "")
                                .arg(show(f.pairs)).arg(int(f.list)).arg(f.truncated ? ", cut" : "")
                                .arg(firstDifference(r.pairs, f.pairs)));
        }
        return true;
    }

    bool checkMessages()
    {
        const auto& got = s_->platform.messages;
        QStringList shown;
        for (size_t i = pre_.messages; i < got.size(); ++i)
            shown << got[i].text;
        bool same = size_t(shown.size()) == expected_.size();
        for (size_t i = 0; same && i < expected_.size(); ++i)
            same = expected_[i].prefix ? shown[i].startsWith(expected_[i].text) : shown[i] == expected_[i].text;
        if (same)
            return true;
        QStringList want;
        for (const auto& e : expected_)
            want << e.text + (e.prefix ? "..." : "");
        return fail("messages shown: [" + shown.join(" || ") + "], the model expects [" + want.join(" || ") + "]");
    }

    // What the test shows: counters moved only by answers, each answer judged
    // against the question that was on screen.
    bool checkJudgement()
    {
        auto& s = state();
        if (answeredNow_) {
            ++answered_;
            if (wrongNow_)
                ++wrong_;
        }
        if (s.AnsweredCount != answered_ || s.WrongCount != wrong_) {
            const QString what = answeredNow_
                ? QString("an answer judged %1 against \"%2\" -> \"%3\"")
                      .arg(wrongNow_ ? "wrong" : "right", question_ ? question_->text : "?",
                           question_ ? question_->answer : "?")
                : QString("no answer given");
            return fail(QString("counters %1 answered / %2 wrong, the model %3 / %4 after %5")
                            .arg(s.AnsweredCount).arg(s.WrongCount).arg(answered_).arg(wrong_).arg(what));
        }
        if (answeredNow_ && wrongNow_) {
            const AkenVale* w = win<AkenVale>();
            if (!w)
                return fail("a wrong answer without the wrong-answer window");
            if (question_ && (w->ui->Label2->text() != question_->text || w->ui->Label3->text() != question_->answer))
                return fail(QString("the wrong-answer window shows \"%1\" -> \"%2\", the question was \"%3\" -> \"%4\"")
                                .arg(w->ui->Label2->text(), w->ui->Label3->text(), question_->text,
                                     question_->answer));
        }

        Test* t = win<Test>();
        if (t != pre_.test || !t)
            question_.reset();
        if (!t) {
            typed_.clear();
        } else if (s_->platform.setups != pre_.setups) {
            // A new question is on screen.
            typed_.clear();
            const int i = s.CurrentQuestion;
            if (i < 0 || size_t(i) >= shared_.size())
                return fail(QString("question %1 of a list of %2").arg(i).arg(shared_.size()));
            const WordPair pair = shared_[size_t(i)];
            if (pair.known.isEmpty())
                return fail("a pair without a known word is asked");
            const TestOptions o = testOptions();
            Question q{o.askUnknownWords ? pair.known : pair.unknown, o.askUnknownWords ? pair.unknown : pair.known,
                       pair};
            if (t->ui->Label1->text() != q.text)
                return fail("the test shows \"" + t->ui->Label1->text() + "\" for the pair " + pair.known + "/"
                            + pair.unknown);
            if (!o.normalMode) {
                bool offered = false;
                for (QLabel* k : {t->ui->Kyssa1, t->ui->Kyssa2, t->ui->Kyssa3, t->ui->Kyssa4, t->ui->Kyssa5})
                    offered |= k->text() == q.answer;
                if (!offered)
                    return fail("no choice holds the answer \"" + q.answer + "\"");
            }
            // Once per round: a pair comes again only when every pair of
            // the list has been asked.
            std::map<std::pair<QString, QString>, int> left;
            for (const WordPair& p : shared_)
                if (!p.known.isEmpty())
                    ++left[{p.known, p.unknown}];
            for (const WordPair& p : asked_)
                --left[{p.known, p.unknown}];
            bool roundDone = true;
            for (const auto& [p, n] : left)
                roundDone &= n <= 0;
            if (roundDone)
                asked_.clear();
            else if (left[{pair.known, pair.unknown}] <= 0)
                return fail("the pair " + pair.known + "/" + pair.unknown + " is asked twice in one round");
            asked_.push_back(pair);
            question_ = q;
        } else if (question_ && t->ui->Label1->text() != question_->text) {
            return fail("the question changed from \"" + question_->text + "\" to \"" + t->ui->Label1->text()
                        + "\" with no answer");
        }

        // Results on screen after a test show what was counted.
        if (const Tulemus* r = win<Tulemus>(); r && r->isVisible() && !win<Test>()) {
            const QString want = "Word count: " + signedNum(answered_) + " | Right: " + signedNum(answered_ - wrong_)
                + " | Wrong: " + signedNum(wrong_);
            const QString got = r->ui->Label1->text() + " | " + r->ui->Label2->text() + " | " + r->ui->Label3->text();
            if (got != want)
                return fail("the results show [" + got + "], counted were [" + want + "]");
        }
        return true;
    }

    bool after()
    {
        auto& s = state();
        if (s.LastWordIndex < -1 || s.LastWordIndex > 1000)
            return fail("LastWordIndex out of bounds");
        if (s.CurrentQuestion < 0 || s.CurrentQuestion > 1000)
            return fail("CurrentQuestion out of bounds");
        if (s.WrongCount < 0 || s.AnsweredCount < s.WrongCount || s.ElapsedSeconds < 0)
            return fail("counters");
        if (const Editor* e = win<Editor>())
            if (e->ui->List1->count() != e->ui->List2->count() || e->ui->List1->count() > 1000)
                return fail("editor lists out of step");
        if (s_->platform.unexpectedDialogs)
            return fail("a dialog nobody asked for");
        const int dialogs = int(s_->platform.dialogs.size() - pre_.dialogs);
        if (dialogs != dialogsExpected_)
            return fail(QString("%1 file dialogs shown, the model expects %2").arg(dialogs).arg(dialogsExpected_));
        if (!checkMessages() || !checkFiles())
            return false;

        // A main window that came back after the test ended is a fresh one.
        Main* m = win<Main>();
        if (m && !mainLoaded_ && pre_.test && win<Test>() != pre_.test)
            loadMain();
        if (m && !m->property("modelSeen").toBool() && !mainPredicted_ && !s_->program.ended())
            return fail("a main window was loaded that nobody asked for");
        // A window closed last ends the program; only then may it end unasked.
        if (s_->program.ended() && !ended_ && !mainLoaded_ && !editorOpen_ && !promptOpen_)
            ended_ = true;

        if (s_->program.ended() != ended_)
            return fail(ended_ ? "the program should have ended" : "the program ended");
        if (ended_) {
            const bool lost = !emptyList(shared_) && modified_ == 1 && !savedNow_ && !declined_;
            if (lost)
                return fail("the program ended and lost the list");
            for (Form* f : s_->program.loadedForms())
                if (f->isVisible())
                    return fail("a window outlived the end");
            if (!checkJudgement())
                return false;
            s_.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            startSession();
            return true;
        }

        if (bool(m) != mainLoaded_)
            return fail(mainLoaded_ ? "the main window is gone" : "a main window is loaded");
        if (bool(win<Editor>()) != editorOpen_)
            return fail(editorOpen_ ? "the editor is gone" : "an editor is open");
        if (bool(win<Kassav>()) != promptOpen_)
            return fail(promptOpen_ ? "the save prompt is missing" : "a save prompt is open");
        if (mainLoaded_)
            declined_ = false;

        if (const Editor* e = win<Editor>(); e && rowsOf(*e) != rows_)
            return fail("the editor shows " + show(rowsOf(*e)) + ", the model " + show(rows_)
                        + firstDifference(rowsOf(*e), rows_));
        if (listOf(s) != plain(shared_))
            return fail("the list holds " + show(listOf(s)) + ", the model " + show(shared_)
                        + firstDifference(listOf(s), plain(shared_)));
        for (int i = std::max(0, s.LastWordIndex + 1); i < MaxPairs; ++i)
            if (!s.KnownWords[i].isEmpty() || !s.UnknownWords[i].isEmpty())
                return fail(QString("words left after the last pair at %1").arg(i));
        if (s.CurrentFile != currentFile_)
            return fail("the current file is " + s.CurrentFile + ", the model " + currentFile_);
        if (m && m->windowTitle() != title_)
            return fail("the title is \"" + m->windowTitle() + "\", the model \"" + title_ + "\"");
        if (s.WordsModified != modified_)
            return fail(QString("WordsModified is %1, the model %2").arg(s.WordsModified).arg(modified_));
        if (promptOpen_ && (s.PendingAction != pending_ || s.MainWindowClosing != closing_))
            return fail(QString("the prompt is open for %1/%2, the model %3/%4")
                            .arg(s.PendingAction).arg(s.MainWindowClosing).arg(pending_).arg(closing_));
        if (!checkJudgement())
            return false;

        bool anyShown = false;
        for (Form* f : s_->program.loadedForms())
            anyShown |= f->isVisible();
        if (!anyShown)
            return fail("the program runs with no window on screen");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    }

    std::mt19937 rng_;
    unsigned seed_;
    int steps_;
    bool trace_ = false;
    int step_ = 0, sessions_ = 0, saves_ = 0, judged_ = 0, opens_ = 0, undos_ = 0;
    QTemporaryDir dir_;
    std::unique_ptr<Session> s_;
    QStringList log_;
    std::map<QString, QString> verified_; // stamp of a file last found as the model has it
    std::set<QString> touched_;           // files to put back for the next session
    std::map<QString, FileModel> fixtureModels_;

    // The model.
    std::map<QString, FileModel> files_;
    WordPairs shared_; // the list last opened or written back
    WordPairs rows_;   // the editor's rows while it is open
    bool editorOpen_ = false, mainLoaded_ = false, promptOpen_ = false, ended_ = false;
    int activeSort_ = -1;
    std::vector<UndoStep> undo_;
    size_t undone_ = 0; // steps done, the rest can be redone
    bool wroteBack_ = false;
    TestOptions options_, closedOptions_;
    QString currentFile_, title_;
    FileKind kind_ = FileKind::Dictionary;
    std::optional<FileFormat> format_; // the list's encoding, for the next save
    QString learnFormat_;              // a file just written in the encoding the writer chose
    QString startupFile_; // named on the command line, opened at the hand-over
    int modified_ = 0, pending_ = 0, closing_ = 0;
    int answered_ = 0, wrong_ = 0;
    std::optional<Question> question_;
    QString typed_; // in the answer box, not submitted
    WordPairs asked_; // pairs asked in this round
    bool declined_ = false;

    // This step.
    std::vector<ExpectedMessage> expected_;
    int dialogsExpected_ = 0;
    bool answeredNow_ = false, wrongNow_ = false, savedNow_ = false, mainPredicted_ = false;
    bool saveAsFailed_ = false;
};

} // namespace

class RandomModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(quietHandler); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void randomUserActionsAgainstTheModel()
    {
        const unsigned seed = qEnvironmentVariableIsSet("VORBIX_RANDOM_SEED")
            ? qEnvironmentVariableIntValue("VORBIX_RANDOM_SEED") : 20261206u;
        const int steps = qEnvironmentVariableIsSet("VORBIX_RANDOM_STEPS")
            ? qEnvironmentVariableIntValue("VORBIX_RANDOM_STEPS") : 2500;
        ModelRun run(seed, steps);
        QVERIFY2(run.run(), "see the seed, the step and the replay command above");
    }
};

QTEST_MAIN(RandomModelTest)
#include "test_random_model.moc"
