// Random whole-program runs: thousands of user actions played on the real
// windows, with the invariants that matter checked after every one of them.
//
//   VORBIX_RANDOM_SEED=7 VORBIX_RANDOM_STEPS=200000 tests/test_random_session
//
// runs longer on demand; VORBIX_RANDOM_TRACE=1 prints every action as it
// starts (for a crash, where no failure message gets out).
#include "dictionary/DictionaryFile.h"
#include "dictionary/PairRule.h"
#include "state/TestRound.h"
#include "support/Harness.h"
#include "ui/about/About.h"
#include "ui/editor/Editor.h"
#include "ui/main/Algus.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/Timer.h"

#include "ui_About.h"
#include "ui_AkenVale.h"
#include "ui_Algus.h"
#include "ui_Editor.h"
#include "ui_Kassav.h"
#include "ui_Main.h"
#include "ui_Test.h"
#include "ui_Tulemus.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <sys/stat.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

using namespace vorbix;
using namespace vorbix::dictionary;
using namespace vorbix::testing;

namespace {

// ---------------------------------------------------------------------------
// Words, lists and files

const QStringList CommonWords{
    "koer", "dog", "kass", "cat", "x-ray", "röntgen", "go, went", "\"quoted\"", "  padded  ", "Maja",
    "maja", "HOUSE", "house", "a-b-c", "d}e", "собака", "Ёлка", "šokolaad", "Žürii", "e-mail", "}", "-",
    "end,", "'single'", "tühik ", " algus", "õun", "ÕUN", "Zebra", "zebra", "ärge", "über",
};

QString randomWord(std::mt19937& rng)
{
    static const QString letters = QStringLiteral(
        "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzABCXYZ   --}},\"'0123õäöüšžÕÄÖÜŠŽжюяЖЯбвгд");
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    if (pick(2) == 0)
        return CommonWords[pick(CommonWords.size())];
    QString w;
    const int length = 1 + pick(10);
    for (int i = 0; i < length; ++i)
        w += letters[pick(letters.size())];
    return w;
}

// What a list is, as far as losing it goes: a "}" is a hyphen in a file,
// and the order does not count (a sort alone is no change of the list).
QString fingerprint(const WordPairs& pairs)
{
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(pairs.size()));
    for (WordPair p : pairs)
        rows << p.known.replace(StoredHyphen, Hyphen) + QChar(0x1F) + p.unknown.replace(StoredHyphen, Hyphen);
    rows.sort();
    return rows.join(QChar(0x1E));
}

// The rows exactly as they are, order not counted.
QStringList multiset(const WordPairs& pairs)
{
    QStringList rows;
    for (const WordPair& p : pairs)
        rows << p.known + QChar(0x1F) + p.unknown;
    rows.sort();
    return rows;
}

WordPairs withRule(WordPairs pairs, bool hyphenRule)
{
    for (WordPair& p : pairs) {
        if (hyphenRule)
            applyPairRule(p.known, p.unknown, Hyphen, StoredHyphen);
        applyPairRule(p.known, p.unknown, StoredHyphen, Hyphen);
    }
    return pairs;
}

bool holdsLineBreak(const WordPairs& pairs)
{
    for (const WordPair& p : pairs)
        for (const QString& w : {p.known, p.unknown})
            if (w.contains(u'\r') || w.contains(u'\n'))
                return true;
    return false;
}

WordPairs editorPairs(const Editor* e)
{
    WordPairs pairs;
    if (!e)
        return pairs;
    const int n = std::min(e->ui->List1->count(), e->ui->List2->count());
    for (int i = 0; i < n; ++i)
        pairs.push_back({e->ui->List1->item(i)->text(), e->ui->List2->item(i)->text()});
    return pairs;
}

int selectedRow(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

QByteArray fileBytes(const QString& path, bool* exists)
{
    QFile f(path);
    *exists = QFileInfo(path).isFile() && f.open(QIODevice::ReadOnly);
    return *exists ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(path));
}

QByteArray encoded(const WordPairs& pairs)
{
    QByteArray bytes;
    if (!encodeDictionary(pairs, &bytes).ok)
        qFatal("fixture words do not encode");
    return bytes;
}

// The files a run can reach and the folders that hold them, to catch writes
// nobody asked for. A folder's time changes with every file made, renamed or
// removed in it, which is how a save that writes a new file shows.
struct Stamp {
    bool exists = false;
    bool dir = false;
    qint64 size = 0;
    qint64 mtime = 0;
    quint64 inode = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QString& path)
{
    struct stat st {};
    Stamp s;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.dir = S_ISDIR(st.st_mode);
    s.size = s.dir ? 0 : st.st_size;
    s.mtime = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = st.st_ino;
    return s;
}

// A word as a log line can show it: control characters escaped, long ones cut.
QString visible(const QString& text, int longest = 60)
{
    QString out;
    for (const QChar c : text.left(longest)) {
        if (c.isPrint())
            out += c;
        else
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    }
    return text.size() > longest ? out + QStringLiteral("...") : out;
}

bool typable(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// Drops the warnings QtTest gives for events that propagate to the window
// unused (Enter in a line edit, a click on a label) and the offscreen
// platform's about raising windows: normal here, and thousands of them would
// use up QtTest's message limit.
QtMessageHandler previousHandler = nullptr;
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

// Real key clicks, also for letters QTest's Latin-1 helpers cannot send.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u < 0x7f)
            QTest::keyClick(w, char(u));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

void clickAt(QWidget* w, QPoint pos = {}, Qt::KeyboardModifiers mods = {})
{
    QTest::mouseClick(w, Qt::LeftButton, mods, pos);
}

// A check box or option button takes the click on its indicator.
void clickIndicator(QWidget* w) { clickAt(w, QPoint(8, w->height() / 2)); }

void clickRow(QListWidget* list, int row, Qt::KeyboardModifiers mods = {})
{
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    clickAt(list->viewport(), list->visualItemRect(item).center(), mods);
}

// ---------------------------------------------------------------------------

class RandomRun {
public:
    RandomRun(quint32 seed, int steps, const QString& root)
        : seed_(seed), steps_(steps), root_(root), rng_(seed)
    {
        trace_ = qEnvironmentVariableIntValue("VORBIX_RANDOM_TRACE") != 0;
        QDir(root_).mkpath(QStringLiteral("files"));
        QDir(root_).mkpath(QStringLiteral("saves"));
        QDir(root_).mkpath(QStringLiteral("files/folder.dic"));
        buildPools();
    }

    ~RandomRun()
    {
        h_.reset();
        Harness::flush();
    }

    bool run()
    {
        startSession();
        for (step_ = 1; step_ <= steps_ && failure_.isEmpty(); ++step_)
            oneStep();
        return failure_.isEmpty();
    }

    QString failure() const { return failure_; }

    QString summary() const
    {
        QStringList lines;
        lines << QStringLiteral("seed %1: %2 steps, %3 sessions (%4 ended), %5 saves checked (%6 failed as "
                                "expected), %7 opens checked (%8 refused files)")
                     .arg(seed_)
                     .arg(step_ - 1)
                     .arg(sessions_)
                     .arg(ends_)
                     .arg(savesChecked_)
                     .arg(failedSaves_)
                     .arg(opensChecked_)
                     .arg(refusedOpens_);
        QStringList kinds;
        for (const auto& [name, n] : counts_)
            kinds << QStringLiteral("%1 %2").arg(name).arg(n);
        lines << kinds.join(QStringLiteral(", "));
        QStringList events;
        for (const auto& [name, n] : events_)
            events << QStringLiteral("%1 %2").arg(name).arg(n);
        lines << QStringLiteral("messages and states: ") + events.join(QStringLiteral(", "));
        QStringList endings;
        for (const auto& [name, n] : endings_)
            endings << QStringLiteral("%1 %2").arg(name).arg(n);
        lines << QStringLiteral("ended by: ") + endings.join(QStringLiteral(", "));
        return lines.join(u'\n');
    }

    const std::map<QString, int>& counts() const { return counts_; }

private:
    struct Answer {
        bool accepted = false;
        QString path;
    };

    enum class SaveFrom { Save, SaveAs, PromptYes };

    struct SavePlan {
        bool active = false;
        bool viaDialog = false;
        bool cancelled = false;
        QString target;
        bool plain = false;
        bool predictedFail = false;
        bool existed = false;
        QByteArray before;
        WordPairs expected;
    };

    struct Candidate {
        int weight;
        QString name;
        std::function<void()> run;
    };
    struct Group {
        int weight;
        std::vector<Candidate> options;
    };

    // --- randomness ------------------------------------------------------
    int pick(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    template <class T> const T& oneOf(const std::vector<T>& v) { return v[static_cast<size_t>(pick(int(v.size())))]; }

    // --- the program under test -------------------------------------------
    MOODUL1& state() { return h_->program.state(); }
    template <class F> F* loaded() { return h_->program.loaded<F>(); }
    bool ended() const { return h_->program.ended(); }
    QString path(const QString& name) const { return root_ + u'/' + name; }
    QString untitled() { return Main::untitledPath(h_->platform); }

    // --- files --------------------------------------------------------------
    void buildPools()
    {
        for (const char* name : {"small.dic", "one.dic", "full.dic", "over.dic", "cyrillic.dic", "baltic.dic",
                                 "empty.dic", "gap.dic", "cr.dic", "odd.dic", "long.dic", "binary.dic",
                                 "quotes.dic", "folder.dic"})
            openPool_.push_back(path(QStringLiteral("files/") + QLatin1String(name)));
        for (const char* name : {"a.dic", "b.dic", "c.dic"}) {
            savePool_.push_back(path(QStringLiteral("saves/") + QLatin1String(name)));
            openPool_.push_back(savePool_.back());
        }
        savePool_.push_back(path(QStringLiteral("Untitled.dic")));
        savePool_.push_back(path(QStringLiteral("files/small.dic")));
        savePool_.push_back(path(QStringLiteral("files/cyrillic.dic")));
        openPool_.push_back(path(QStringLiteral("Untitled.dic")));
        // Where nothing can be read or written.
        for (const QString& bad : {path(QStringLiteral("files/missing.dic")), path(QStringLiteral("nofolder/x.dic")),
                                   QStringLiteral("Q:\\lists\\x.dic")})
            openPool_.push_back(bad);
        failPool_ = {path(QStringLiteral("nofolder/x.dic")), path(QStringLiteral("files/folder.dic"))};
    }

    // Lists on disk, good and broken, written afresh for every session (the
    // program may have saved over the good ones).
    void writeFixtures()
    {
        auto words = [&](int n, bool cyrillic) {
            WordPairs pairs;
            for (int i = 0; i < n; ++i) {
                QString k = randomWord(rng_), u = randomWord(rng_);
                if (cyrillic)
                    k += QStringLiteral("ж");
                pairs.push_back({k, u});
            }
            return pairs;
        };
        auto numbered = [](int n) {
            WordPairs pairs;
            for (int i = 0; i < n; ++i)
                pairs.push_back({QStringLiteral("sõna-%1").arg(i), QStringLiteral("word}%1").arg(i)});
            return pairs;
        };
        writeFile(path("files/small.dic"), encoded(words(2 + pick(7), false)));
        writeFile(path("files/one.dic"), encoded(words(1, false)));
        static const QByteArray full = encoded(numbered(1000));
        static const QByteArray over = encoded(numbered(1001));
        writeFile(path("files/full.dic"), full);
        writeFile(path("files/over.dic"), over);
        writeFile(path("files/cyrillic.dic"), encoded(words(3 + pick(5), true)));
        writeFile(path("files/baltic.dic"), QByteArray("t\xF5lge\r\nv\xE4ike\r\n\xD0okolaad\r\nchocolate\r\n"));
        writeFile(path("files/empty.dic"), QByteArray());
        writeFile(path("files/gap.dic"), QByteArray("a\r\nb\r\n\r\nx\r\nc\r\nd\r\n"));
        writeFile(path("files/cr.dic"), QByteArray("old\rmac\r\nline\r\nkoer\r\ndog\r\n"));
        writeFile(path("files/odd.dic"), QByteArray("one\r\ntwo\r\nthree\r\n"));
        writeFile(path("files/long.dic"), QByteArray(70000, 'x') + "\r\ny\r\n");
        writeFile(path("files/quotes.dic"), QByteArray("\"go, went\"\r\n  padded\r\n,\r\n\"\r\n"));
        QByteArray noise(1 + pick(3000), '\0');
        for (char& c : noise)
            c = static_cast<char>(pick(256));
        writeFile(path("files/binary.dic"), noise);
    }

    std::map<QString, Stamp> stamps() const
    {
        std::map<QString, Stamp> all;
        for (const auto* pool : {&openPool_, &savePool_})
            for (const QString& file : *pool)
                all[file] = stampOf(file);
        for (const char* folder : {"", "/files", "/saves", "/nofolder"})
            all[root_ + QLatin1String(folder)] = stampOf(root_ + QLatin1String(folder));
        return all;
    }

    // --- sessions -------------------------------------------------------------
    void startSession()
    {
        h_.reset();
        Harness::flush();
        ++sessions_;
        sessionStep_ = 0;
        writeFixtures();
        h_ = std::make_unique<Harness>();
        h_->platform.setCurrentDirectory(root_);
        safe_ = {fingerprint({})};
        // Some sessions are left soon, most stay a while: both the ways out
        // and the states deep inside get their share.
        leaving_ = chance(0.3) ? 4 : 1;
        drawGeneration_ = generation_ = 0;
        // Now and then a session as after a long day's drill, where only the
        // overflow checks stand between the counters and wrapping round.
        if (chance(0.03)) {
            state().AnsweredCount = static_cast<std::int16_t>(32760 + pick(8));
            state().WrongCount = static_cast<std::int16_t>(pick(state().AnsweredCount + 1));
            state().ElapsedSeconds = static_cast<std::int16_t>(32760 + pick(8));
            ++events_[QStringLiteral("sessions with counters near 32767")];
        }
        h_->program.show<Algus>();
    }

    // --- one step -------------------------------------------------------------
    void oneStep()
    {
        ++sessionStep_;
        pre_ = state();
        preEditor_ = loaded<Editor>();
        preEditorRows_ = editorPairs(preEditor_);
        preTest_ = loaded<Test>();
        preMain_ = loaded<Main>();
        preTitle_ = preMain_ ? preMain_->windowTitle() : QString();
        preStamps_ = stamps();
        h_->platform.messages.clear();
        h_->platform.dialogs.clear();
        h_->platform.seeds.clear();
        scripted_.clear();
        plan_ = {};
        detail_.clear();

        const Candidate* chosen = chooseAction();
        if (!chosen) {
            fail(QStringLiteral("no window to act on, but the program has not ended"));
            return;
        }
        action_ = chosen->name;
        ++counts_[action_];
        if (trace_)
            fprintf(stderr, "step %d: %s\n", step_, qPrintable(action_));
        chosen->run();
        // Painting and the like, now and then: enough to run the windows'
        // own drawing, not so often that it costs the run its length.
        if (step_ % 8 == 0)
            QCoreApplication::processEvents();

        recent_.push_back(QStringLiteral("step %1 (session %2/%3): %4%5")
                              .arg(step_)
                              .arg(sessions_)
                              .arg(sessionStep_)
                              .arg(action_, detail_.isEmpty() ? QString() : QStringLiteral(" [") + visible(detail_, 200) + u']'));
        if (recent_.size() > 14)
            recent_.pop_front();

        h_->platform.clearDialogAnswers();
        afterStep();
        Harness::flush();
        if (failure_.isEmpty() && ended())
            startSession();
    }

    // A window first, then one of its actions, so that a window with few
    // controls gets its turn as often as one with many.
    const Candidate* chooseAction()
    {
        groups_.clear();
        auto group = [this](int weight) { groups_.push_back({weight, {}}); };
        const Add add = [this](int weight, const char* name, std::function<void()> f) {
            groups_.back().options.push_back({weight, QString::fromLatin1(name), std::move(f)});
        };
        bool any = false;
        for (Form* f : h_->program.loadedForms()) {
            if (!f->isVisible())
                continue;
            any = true;
            if (auto* w = qobject_cast<Algus*>(f)) {
                group(10);
                splashActions(w, add);
            } else if (auto* w = qobject_cast<Main*>(f)) {
                group(30);
                mainActions(w, add);
            } else if (auto* w = qobject_cast<Editor*>(f)) {
                group(40);
                editorActions(w, add);
            } else if (auto* w = qobject_cast<Test*>(f)) {
                group(50);
                testActions(w, add);
            } else if (auto* w = qobject_cast<AkenVale*>(f)) {
                group(20);
                wrongActions(w, add);
            } else if (auto* w = qobject_cast<Tulemus*>(f)) {
                group(15);
                resultActions(w, add);
            } else if (auto* w = qobject_cast<Kassav*>(f)) {
                group(20);
                promptActions(w, add);
            } else if (auto* w = qobject_cast<About*>(f)) {
                group(10);
                aboutActions(w, add);
            }
        }
        if (!any)
            return nullptr;
        group(6);
        add(1, "clock.advance", [this] { advanceClock(); });

        auto choose = [this](const auto& items, auto weightOf) {
            int total = 0;
            for (const auto& i : items)
                total += weightOf(i);
            int r = pick(total);
            for (const auto& i : items) {
                if (r < weightOf(i))
                    return &i;
                r -= weightOf(i);
            }
            return &items.back();
        };
        const Group* g = choose(groups_, [](const Group& x) { return x.options.empty() ? 0 : x.weight; });
        return choose(g->options, [](const Candidate& c) { return c.weight; });
    }

    using Add = std::function<void(int, const char*, std::function<void()>)>;

    // --- the clock --------------------------------------------------------------
    void advanceClock()
    {
        int ms;
        const int kind = pick(100);
        if (kind < 60)
            ms = 1 + pick(1500);
        else if (kind < 90)
            ms = 1500 + pick(10500);
        else if (kind < 99)
            ms = 12000 + pick(110000);
        else
            ms = 3600 * 1000 * (1 + pick(9)); // hours: the clock's counter at its limit
        detail_ = QString::number(ms) + QStringLiteral(" ms");
        h_->platform.advance(ms);
    }

    // --- the splash ---------------------------------------------------------------
    void splashActions(Algus* a, const Add& add)
    {
        QPointer<Algus> w(a);
        auto handedOver = [this, w] {
            expect(!w || w->isUnloaded(), "the splash is still there after its hand-over");
            expect(loaded<Main>() && loaded<Main>()->isVisible(), "the splash handed over to no main window");
        };
        add(2, "splash.click", [=, this] {
            clickAt(w, QPoint(20, 20));
            handedOver();
        });
        add(1, "splash.clickLabel", [=, this] {
            clickAt(chance(0.5) ? static_cast<QWidget*>(w->ui->Label1) : w->ui->Label2);
            handedOver();
        });
        add(1, "splash.key", [=, this] {
            QTest::keyClick(w, 'x');
            handedOver();
        });
        add(1, "splash.keyNoChar", [=, this] {
            QTest::keyClick(w, chance(0.5) ? Qt::Key_Left : Qt::Key_F5);
            expect(w && !w->isUnloaded() && w->isVisible(), "a key without a character handed over");
        });
        add(2, "splash.wait", [=, this] {
            h_->platform.advance(2006);
            handedOver();
        });
        add(1, "splash.closeBox", [=, this] {
            w->close();
            expect(w && !w->isUnloaded() && w->isVisible(), "the splash went on a close command it refuses");
        });
    }

    // --- the main window --------------------------------------------------------------
    void toolbar(Main* m, const char* key)
    {
        for (QAction* a : m->ui->Toolbar1->actions())
            if (a->property("key").toString() == QLatin1String(key)) {
                clickAt(m->ui->Toolbar1->widgetForAction(a));
                return;
            }
        fail(QStringLiteral("no toolbar button ") + QLatin1String(key));
    }

    void mainActions(Main* main, const Add& add)
    {
        QPointer<Main> m(main);
        add(8, "main.new.menu", [=, this] { newFile([=, this] { m->ui->MFNew->trigger(); }); });
        add(4, "main.new.toolbar", [=, this] { newFile([=, this] { toolbar(m, "New"); }); });
        add(12, "main.open.menu", [=, this] { openFile([=, this] { m->ui->MFOpen->trigger(); }, false); });
        add(8, "main.open.toolbar", [=, this] { openFile([=, this] { toolbar(m, "Open"); }, false); });
        add(12, "main.save.menu", [=, this] { saveFile(SaveFrom::Save, [=, this] { m->ui->MFSave->trigger(); }); });
        add(8, "main.save.toolbar", [=, this] { saveFile(SaveFrom::Save, [=, this] { toolbar(m, "Save"); }); });
        add(12, "main.saveAs.menu", [=, this] { saveFile(SaveFrom::SaveAs, [=, this] { m->ui->MFSaveAs->trigger(); }); });
        add(leaving_, "main.exit.menu", [=, this] { exitProgram([=, this] { m->ui->MFExit->trigger(); }); });
        add(leaving_, "main.exit.toolbar", [=, this] { exitProgram([=, this] { toolbar(m, "Exit"); }); });
        add(leaving_, "main.exit.button", [=, this] { exitProgram([=, this] { clickAt(m->ui->Command2); }); });
        add(4, "main.about", [=, this] {
            const bool open = loaded<About>() != nullptr;
            m->ui->MAbout->trigger();
            // An open box is only brought forward; its load hid the main window.
            expect(loaded<About>() && loaded<About>()->isVisible() && (open || !m->isVisible()),
                   "About did not take the main window's place");
        });
        add(12, "main.editor.button", [=, this] { openEditor([=, this] { clickAt(m->ui->Command1); }); });
        add(4, "main.editor.toolbar", [=, this] { openEditor([=, this] { toolbar(m, "Edit"); }); });
        add(12, "main.test.button", [=, this] { startTest([=, this] { clickAt(m->ui->nupptest); }); });
        add(4, "main.test.toolbar", [=, this] { startTest([=, this] { toolbar(m, "Testime"); }); });
        add(4, "main.option1", [=, this] { clickIndicator(m->ui->Option1); });
        add(4, "main.option2", [=, this] { clickIndicator(m->ui->Option2); });
        add(4, "main.option3", [=, this] { clickIndicator(m->ui->Option3); });
        add(4, "main.option4", [=, this] { clickIndicator(m->ui->Option4); });
        add(8, "main.check1", [=, this] { clickIndicator(m->ui->Check1); });
        if (m->ui->VScroll1->isEnabled())
            add(12, "main.vscroll", [=, this] {
                QScrollBar* bar = m->ui->VScroll1;
                const int kind = pick(4);
                if (kind == 0)
                    QTest::keyClick(bar, Qt::Key_Up);
                else if (kind == 1)
                    QTest::keyClick(bar, Qt::Key_Down);
                else
                    bar->setValue(chance(0.7) ? 1 + pick(8) : pick(301)); // the user drags it
                detail_ = QString::number(bar->value());
            });
        add(leaving_, "main.closeBox", [=, this] { closeMain(m); });
    }

    void newFile(const std::function<void()>& go)
    {
        go();
        expect(state().CurrentFile == untitled(), "New left a named current file");
        expectListUnchanged("New");
    }

    void openEditor(const std::function<void()>& go)
    {
        const bool wasOpen = preEditor_ != nullptr;
        go();
        Editor* e = loaded<Editor>();
        if (!expect(e && e->isVisible(), "the editor did not open"))
            return;
        if (wasOpen)
            expect(editorPairs(e) == preEditorRows_, "opening the open editor again changed its lists");
        else
            expect(editorPairs(e) == savedPairs(state()), "the editor opened with other words than the list");
    }

    void startTest(const std::function<void()>& go)
    {
        const bool empty = pre_.listIsEmpty();
        const bool running = preTest_ != nullptr;
        go();
        if (empty) {
            expect(!h_->platform.messages.empty(), "a test on an empty list said nothing");
            expect(running || !loaded<Test>(), "a test opened on an empty list");
        } else {
            // A round that was complete already may go straight to the results.
            expect(loaded<Test>() || loaded<Tulemus>(), "Test on a list with words opened no test");
        }
    }

    // The list as the way out sees it: an open editor's rows are written
    // back first.
    bool listOnTheWayOutEmpty() const { return preEditor_ ? preEditorRows_.empty() : pre_.listIsEmpty(); }
    WordPairs listOnTheWayOut() const { return preEditor_ ? preEditorRows_ : savedPairs(pre_); }

    void exitProgram(const std::function<void()>& go)
    {
        const bool asks = !listOnTheWayOutEmpty() && pre_.WordsModified == 1;
        go();
        if (asks) {
            expect(!ended(), "Exit with a changed list ended without asking");
            expect(loaded<Kassav>() && state().PendingAction == PendingExit, "Exit with a changed list did not ask");
        } else {
            expect(ended(), "Exit with an unchanged or empty list did not end");
        }
    }

    void closeMain(Main* m)
    {
        const bool editorOpen = preEditor_ != nullptr;
        m->close();
        expect(!loaded<Main>(), "the main window refused its close box");
        if (!pre_.listIsEmpty())
            expect(!ended() && loaded<Kassav>() && state().MainWindowClosing == 1,
                   "closing the main window with words did not ask");
        else if (!editorOpen)
            expect(ended(), "closing the main window with an empty list did not end");
    }

    // --- file dialogs -------------------------------------------------------------------
    Answer openAnswer()
    {
        if (chance(0.12))
            return {};
        if (chance(0.04))
            return {true, QString()};
        return {true, oneOf(openPool_)};
    }

    // Up to three files (broken ones send the dialog back), then a cancel, so
    // that no dialog goes unanswered.
    void scriptOpen()
    {
        const int n = 1 + pick(3);
        for (int i = 0; i < n; ++i)
            scripted_.push_back(openAnswer());
        scripted_.push_back({});
        for (const Answer& a : scripted_) {
            if (a.accepted)
                h_->platform.answerDialog(a.path);
            else
                h_->platform.cancelDialog();
            detail_ += (a.accepted ? QFileInfo(a.path).fileName() : QStringLiteral("cancel")) + u' ';
        }
    }

    void openFile(const std::function<void()>& go, bool fromPrompt)
    {
        scriptOpen();
        go();
        checkOpen(fromPrompt);
    }

    void checkOpen(bool fromPrompt)
    {
        const int consumed = static_cast<int>(h_->platform.dialogs.size());
        if (!fromPrompt && !pre_.listIsEmpty() && pre_.WordsModified == 1) {
            expect(consumed == 0, "Open with a changed list showed its dialog without asking");
            expect(loaded<Kassav>() && state().PendingAction == PendingOpen, "Open with a changed list did not ask");
            expectListUnchanged("Open that asks first");
            return;
        }
        ++opensChecked_;
        int expectedMessages = 0;
        int stop = -1;
        std::optional<ReadResult> opened;
        QString openedPath;
        for (int i = 0; i < int(scripted_.size()); ++i) {
            const Answer& a = scripted_[size_t(i)];
            if (!a.accepted || a.path.isEmpty()) {
                stop = i;
                break;
            }
            ReadResult r = readDictionaryFile(a.path);
            if (!r.ok()) {
                ++expectedMessages;
                ++refusedOpens_;
                continue;
            }
            expectedMessages += r.truncated ? 1 : 0;
            opened = std::move(r);
            openedPath = a.path;
            stop = i;
            break;
        }
        expect(consumed == stop + 1, QStringLiteral("Open showed its dialog %1 times, not %2").arg(consumed).arg(stop + 1));
        for (const FileDialogRequest& r : h_->platform.dialogs)
            expect(r.mode == FileDialogRequest::Mode::Open, "Open showed a save dialog");
        expect(int(h_->platform.messages.size()) == expectedMessages,
               QStringLiteral("Open showed %1 messages, not %2").arg(h_->platform.messages.size()).arg(expectedMessages));
        if (!opened) {
            expectListUnchanged("an Open that read no file");
            if (preMain_ && loaded<Main>() == preMain_)
                expect(preMain_->windowTitle() == preTitle_, "an Open that read no file changed the title");
            // A main window that had to come back starts untitled.
            expect(state().CurrentFile == (preMain_ ? pre_.CurrentFile : untitled()),
                   "an Open that read no file changed the current file");
            return;
        }
        const WordPairs& pairs = opened->pairs;
        MOODUL1& s = state();
        bool same = s.LastWordIndex == int(pairs.size()) - 1;
        for (size_t i = 0; same && i < pairs.size(); ++i)
            same = s.KnownWords[i] == pairs[i].known && s.UnknownWords[i] == pairs[i].unknown;
        expect(same, "the list is not what the opened file holds");
        expect(s.CurrentFile == openedPath, "the opened file is not the current file");
        const Main* m = loaded<Main>();
        expect(m && m->windowTitle() == QStringLiteral("English Quorvel - ") + QFileInfo(openedPath).fileName(),
               "the title does not name the opened file");
        safe_.insert(fingerprint(savedPairs(s)));
    }

    Answer saveAnswer()
    {
        const int kind = pick(100);
        if (kind < 18)
            return {};
        if (kind < 21)
            return {true, QString()};
        if (kind < 31)
            return {true, oneOf(failPool_)};
        return {true, oneOf(savePool_)};
    }

    // Works out what the save must do before it runs: which file it writes,
    // in which form, and whether it can succeed at all.
    void planSave(SaveFrom from)
    {
        SavePlan p;
        p.active = true;
        const bool isUntitled = pre_.CurrentFile == untitled();
        if (from == SaveFrom::SaveAs || isUntitled) {
            p.viaDialog = true;
            const Answer a = saveAnswer();
            scripted_.push_back(a);
            if (a.accepted)
                h_->platform.answerDialog(a.path);
            else
                h_->platform.cancelDialog();
            detail_ += a.accepted ? QStringLiteral("as ") + QDir(root_).relativeFilePath(a.path) : QStringLiteral("cancel");
            p.cancelled = !a.accepted;
            if (a.accepted && !a.path.isEmpty())
                p.target = a.path;
        } else {
            p.target = pre_.CurrentFile;
            p.plain = from == SaveFrom::PromptYes;
            detail_ += QDir(root_).relativeFilePath(p.target);
        }
        if (!p.target.isEmpty()) {
            // On the way out an open editor's words go into the file too.
            const bool leaving = from == SaveFrom::PromptYes
                || (p.viaDialog && (pre_.PendingAction == PendingExit || pre_.MainWindowClosing == 1));
            const WordPairs list = leaving ? listOnTheWayOut() : savedPairs(pre_);
            const QFileInfo info(p.target);
            p.predictedFail = info.isDir() || !info.absoluteDir().exists() || holdsLineBreak(list);
            p.before = fileBytes(p.target, &p.existed);
            p.expected = withRule(list, !p.plain);
        }
        plan_ = p;
    }

    void saveFile(SaveFrom from, const std::function<void()>& go)
    {
        planSave(from);
        go();
        checkSave(from);
    }

    void checkSave(SaveFrom from)
    {
        const SavePlan& p = plan_;
        const int consumed = static_cast<int>(h_->platform.dialogs.size());
        expect(consumed == (p.viaDialog ? 1 : 0),
               QStringLiteral("the save showed %1 dialogs, not %2").arg(consumed).arg(p.viaDialog ? 1 : 0));
        for (const FileDialogRequest& r : h_->platform.dialogs)
            expect(r.mode == FileDialogRequest::Mode::Save, "a save showed an open dialog");
        auto saveMessages = [this] {
            int n = 0;
            for (const auto& m : h_->platform.messages)
                n += m.text.startsWith(QLatin1String("The list could not be saved")) ? 1 : 0;
            return n;
        };
        const bool mayEnd = p.viaDialog ? pre_.PendingAction == PendingExit || pre_.MainWindowClosing == 1
                                        : from == SaveFrom::PromptYes && pre_.PendingAction == PendingExit;

        if (p.cancelled) {
            // Spelled out as a way to decline the save: the list is not lost
            // behind the user's back.
            if (from == SaveFrom::PromptYes)
                declined();
            expect(!ended(), "a cancelled save dialog ended the program");
            expect(state().MainWindowClosing == 0 && !loaded<Kassav>(), "a cancelled save dialog left the prompt");
            expect(loaded<Main>() && loaded<Main>()->isVisible(), "a cancelled save dialog left no main window");
            return;
        }
        if (p.target.isEmpty()) {
            // Accepted without a name: nothing written, so nothing saved.
            expect(saveMessages() == 1, "a save without a file name was not reported");
            expect(!ended(), "the program ended after a save without a file name");
            if (from == SaveFrom::PromptYes)
                expect(state().WordsModified == 1, "a save without a file name let the list count as saved");
            return;
        }
        ++savesChecked_;
        bool exists = false;
        const QByteArray after = fileBytes(p.target, &exists);
        if (p.predictedFail) {
            ++failedSaves_;
            expect(exists == p.existed && after == p.before, "a failed save changed the file on disk");
            expect(saveMessages() == 1, "a failed save was not reported");
            expect(!ended(), "the program ended after a failed save");
            if (from == SaveFrom::PromptYes)
                expect(state().WordsModified == 1, "a failed save from the prompt let the list count as saved");
            return;
        }
        expect(saveMessages() == 0, "a save that should work was reported as failed");
        const ReadResult back = readDictionaryFile(p.target);
        if (!expect(back.ok(), QStringLiteral("the saved file does not read back (error %1)").arg(back.error)))
            return;
        expect(back.pairs == p.expected,
               QStringLiteral("the saved file reads back as %1 pairs, not as the %2 of the list")
                   .arg(back.pairs.size())
                   .arg(p.expected.size()));
        if (!p.plain)
            expect(savedPairs(state()) == p.expected, "after the save the list in memory is not what the file holds");
        if (p.viaDialog)
            expect(state().CurrentFile == p.target, "Save As did not make the file current");
        if (const Main* m = loaded<Main>(); m && !p.plain && !ended())
            expect(m->windowTitle() == QStringLiteral("Vorbix - ") + p.target, "the title does not name the saved file");
        safe_.insert(fingerprint(p.expected));
        if (mayEnd)
            expect(ended(), "a save on the way out did not end the program");
        else if (from != SaveFrom::PromptYes)
            expect(!ended(), "a save from the menu ended the program");
    }

    // --- the editor -----------------------------------------------------------------------
    void editorActions(Editor* editor, const Add& add)
    {
        QPointer<Editor> e(editor);
        auto box = [=, this]() -> QLineEdit* {
            QWidget* f = e->focusWidget();
            if (chance(0.5) && (f == e->ui->Text1 || f == e->ui->Text2))
                return static_cast<QLineEdit*>(f);
            return chance(0.5) ? e->ui->Text1 : e->ui->Text2;
        };
        auto edit = [=, this](std::function<void()> f) { return [=, this] { editorCommand(e, f); }; };
        add(8, "editor.type", edit([=, this] {
                QLineEdit* b = box();
                const QString w = randomWord(rng_);
                detail_ = b->objectName() + u' ' + visible(w);
                typeText(b, w);
            }));
        add(6, "editor.enter", edit([=, this] {
                QLineEdit* b = box();
                detail_ = b->objectName();
                QTest::keyClick(b, chance(0.8) ? Qt::Key_Return : Qt::Key_Enter);
            }));
        add(1, "editor.clearBox", edit([=, this] {
                QLineEdit* b = box();
                detail_ = b->objectName();
                QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(b, Qt::Key_Backspace);
                expect(b->text().isEmpty(), "select all and backspace left text in the box");
            }));
        add(3, "editor.add", edit([=, this] { clickAt(e->ui->Command1); }));
        add(2, "editor.delete", edit([=, this] { clickAt(e->ui->Command2); }));
        add(2, "editor.replace", edit([=, this] { clickAt(e->ui->Command3); }));
        if (e->ui->List1->count() > 0) {
            add(4, "editor.selectRow", edit([=, this] {
                    QListWidget* list = chance(0.5) ? e->ui->List1 : e->ui->List2;
                    const int row = pick(list->count());
                    detail_ = list->objectName() + u' ' + QString::number(row);
                    clickRow(list, row);
                }));
            add(1, "editor.unselectRow", edit([=, this] {
                    QListWidget* list = chance(0.5) ? e->ui->List1 : e->ui->List2;
                    const int row = selectedRow(list);
                    if (row >= 0)
                        clickRow(list, row, Qt::ControlModifier);
                }));
            add(1, "editor.deleteKey", edit([=, this] {
                    QTest::keyClick(chance(0.5) ? e->ui->List1 : e->ui->List2, Qt::Key_Delete);
                }));
        }
        add(2, "editor.sort", [=, this] { sortEditor(e); });
        add(1, "editor.exit", [=, this] { leaveEditor(e, [=, this] { clickAt(e->ui->Command4); }); });
        add(1, "editor.closeBox", [=, this] { leaveEditor(e, [=, this] { e->close(); }); });
    }

    // Every command of the working copy: what it may do to the rows.
    void editorCommand(Editor* e, const std::function<void()>& go)
    {
        const WordPairs before = editorPairs(e);
        const WordPair typed{e->ui->Text1->text(), e->ui->Text2->text()};
        int sel = selectedRow(e->ui->List1);
        if (sel < 0)
            sel = selectedRow(e->ui->List2);
        go();
        if (!expect(loaded<Editor>() == e, "an editor command closed the editor"))
            return;
        const WordPairs after = editorPairs(e);
        const QStringList was = multiset(before);
        const QStringList now = multiset(after);
        auto plus = [](WordPairs p, const WordPair& x) {
            p.push_back(x);
            return multiset(p);
        };
        auto minus = [&](WordPairs p) {
            if (sel >= 0 && sel < int(p.size()))
                p.erase(p.begin() + sel);
            return p;
        };
        const int delta = int(after.size()) - int(before.size());
        if (delta == 1)
            expect(now == plus(before, typed), "a pair came into the editor that was not the typed one");
        else if (delta == -1)
            expect(sel >= 0 && now == multiset(minus(before)), "the editor lost a pair other than the selected one");
        else if (delta == 0)
            expect(now == was || (sel >= 0 && now == plus(minus(before), typed)),
                   "an editor command changed the pairs in a way none of them does");
        else
            expect(false, QStringLiteral("an editor command changed the row count by %1").arg(delta));
        if (before.size() >= size_t(MOODUL1::FileCapacity))
            expect(after.size() <= before.size(), "the editor grew past what a file can hold");
        if (after != before)
            expect(state().WordsModified == 1, "the editor changed the list but it does not count as changed");
        // Only a re-applied sort writes the shared list, and then as shown.
        expect(savedPairs(state()) == savedPairs(pre_) || savedPairs(state()) == after,
               "an editor command wrote the shared list other than as the editor shows it");
    }

    void sortEditor(Editor* e)
    {
        const WordPairs before = editorPairs(e);
        QPushButton* buttons[] = {e->ui->Command5, e->ui->Command6, e->ui->Command7, e->ui->Command8};
        const int b = pick(4);
        detail_ = buttons[b]->objectName();
        clickAt(buttons[b]);
        const WordPairs after = editorPairs(e);
        expect(multiset(after) == multiset(before), "a sort lost or invented a pair");
        expect(savedPairs(state()) == after && state().LastWordIndex == int(after.size()) - 1,
               "a sort did not leave the list as the editor shows it");
        expect(state().WordsModified == pre_.WordsModified, "a sort changed whether the list counts as changed");
    }

    void leaveEditor(Editor* e, const std::function<void()>& go)
    {
        const WordPairs rows = editorPairs(e);
        go();
        expect(!loaded<Editor>(), "the editor did not close");
        expect(savedPairs(state()) == rows && state().LastWordIndex == int(rows.size()) - 1,
               "leaving the editor did not write its words back");
        expect(loaded<Main>() && loaded<Main>()->isVisible(), "leaving the editor brought no main window");
        expect(state().WordsModified == pre_.WordsModified, "leaving the editor changed whether the list counts as changed");
    }

    // --- the test -----------------------------------------------------------------------------
    bool askUnknown()
    {
        const Main* m = loaded<Main>();
        return !m || m->ui->Option1->isChecked();
    }
    bool normalMode()
    {
        const Main* m = loaded<Main>();
        return !m || m->ui->Option3->isChecked();
    }
    QString expected()
    {
        const int q = std::clamp<int>(state().CurrentQuestion, 0, MOODUL1::WordSlots - 1);
        return askUnknown() ? state().UnknownWords[q] : state().KnownWords[q];
    }

    void submit(Test* t)
    {
        const int how = pick(4);
        if (how == 0 && t->ui->Command1->isEnabled())
            clickAt(t->ui->Command1);
        else if (how == 1)
            QTest::keyClick(t->ui->Text1, Qt::Key_Escape);
        else
            QTest::keyClick(t->ui->Text1, Qt::Key_Return);
    }

    // The counters after one answer: right leaves the wrong ones alone, wrong
    // counts and opens the wrong-answer window.
    void expectCounted(bool right)
    {
        if (pre_.AnsweredCount < INT16_MAX)
            expect(state().AnsweredCount == pre_.AnsweredCount + 1, "an answer was not counted");
        if (right) {
            expect(state().WrongCount == pre_.WrongCount, "a right answer counted as wrong");
        } else {
            if (pre_.WrongCount < INT16_MAX)
                expect(state().WrongCount == pre_.WrongCount + 1, "a wrong answer was not counted as wrong");
            const AkenVale* wrong = loaded<AkenVale>();
            if (!expect(wrong != nullptr, "a wrong answer opened no wrong-answer window"))
                return;
            // It shows the pair just answered, the right answer beside it.
            const int q = pre_.CurrentQuestion;
            const bool unknown = askUnknown();
            expect(wrong->ui->Label2->text() == (unknown ? pre_.KnownWords[q] : pre_.UnknownWords[q])
                       && wrong->ui->Label3->text() == (unknown ? pre_.UnknownWords[q] : pre_.KnownWords[q]),
                   "the wrong-answer window shows another pair than the one answered");
        }
    }

    void testActions(Test* test, const Add& add)
    {
        QPointer<Test> t(test);
        const bool typing = t->ui->Text1->isVisible() && t->ui->Text1->isEnabled();
        if (typing) {
            add(5, "test.answerRight", [=, this] {
                const QString want = expected();
                const bool normal = normalMode();
                QString typed = want;
                if (normal && chance(0.3))
                    typed = QStringLiteral("  ") + typed + QStringLiteral(" ");
                detail_ = visible(typed);
                QTest::keyClick(t->ui->Text1, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(t->ui->Text1, Qt::Key_Backspace);
                if (typable(typed))
                    typeText(t->ui->Text1, typed);
                else
                    t->ui->Text1->setText(typed); // pasted: no key gives a control character
                submit(t);
                // Only blanks are trimmed: a word stored with blanks around
                // it is never answered right.
                if ((normal ? trimBlanks(typed) : typed) == want)
                    expectCounted(true);
            });
            add(3, "test.answerWrong", [=, this] {
                const QString want = expected();
                const QString typed = randomWord(rng_);
                detail_ = visible(typed) + QStringLiteral(" for ") + visible(want);
                QTest::keyClick(t->ui->Text1, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(t->ui->Text1, Qt::Key_Backspace);
                typeText(t->ui->Text1, typed);
                const bool normal = normalMode();
                submit(t);
                if ((normal ? trimBlanks(typed) : typed) != want)
                    expectCounted(false);
            });
            add(1, "test.typeOnly", [=, this] { typeText(t->ui->Text1, randomWord(rng_)); });
        }
        std::vector<ClickLabel*> shown;
        for (ClickLabel* k : {t->ui->Kyssa1, t->ui->Kyssa2, t->ui->Kyssa3, t->ui->Kyssa4, t->ui->Kyssa5})
            if (k->isVisible())
                shown.push_back(k);
        if (!shown.empty()) {
            // The check reads the mode live: a choice picked after the main
            // window went back to Normal is trimmed like a typed answer.
            const auto rightChoice = [this](const QString& text) {
                return (normalMode() ? trimBlanks(text) : text) == expected();
            };
            add(3, "test.choiceRight", [=, this] {
                for (ClickLabel* k : shown)
                    if (rightChoice(k->text())) {
                        detail_ = k->objectName();
                        clickAt(k);
                        expectCounted(true);
                        return;
                    }
                detail_ = QStringLiteral("no right choice shown");
            });
            add(2, "test.choiceAny", [=, this] {
                ClickLabel* k = shown[size_t(pick(int(shown.size())))];
                detail_ = k->objectName() + u' ' + visible(k->text());
                const bool right = rightChoice(k->text());
                clickAt(k);
                expectCounted(right);
            });
            add(1, "test.hover", [=, this] { QTest::mouseMove(shown[size_t(pick(int(shown.size())))]); });
        }
        if (t->Timer1->isEnabled() && t->Timer1->interval() > 0)
            add(2, "test.timeOut", [=, this] {
                const bool right = (normalMode() ? trimBlanks(t->ui->Text1->text()) : t->ui->Text1->text()) == expected();
                detail_ = QString::number(t->Timer1->interval()) + QStringLiteral(" ms");
                h_->platform.advance(t->Timer1->interval() + 1);
                expectCounted(right);
            });
        add(1, "test.results", [=, this] { clickAt(t->ui->Command3); });
        add(1, "test.close", [=, this] {
            clickAt(t->ui->Command2);
            expect(!loaded<Test>() && loaded<Main>() && loaded<Main>()->isVisible(),
                   "closing the test brought no main window");
        });
        add(1, "test.closeBox", [=, this] {
            t->close();
            expect(!loaded<Test>(), "the test refused its close box");
        });
    }

    void wrongActions(AkenVale* wrong, const Add& add)
    {
        QPointer<AkenVale> a(wrong);
        add(5, "wrong.continue", [=, this] {
            clickAt(a->ui->Command1);
            expect(!loaded<AkenVale>(), "Continue did not close the wrong-answer window");
            expect(state().WrongAnswerAcknowledged, "Continue did not acknowledge the wrong answer");
        });
        add(1, "wrong.closeBox", [=, this] {
            a->close();
            expect(loaded<AkenVale>() == a && a->isVisible(), "the wrong-answer window went without Continue");
        });
    }

    void resultActions(Tulemus* results, const Add& add)
    {
        QPointer<Tulemus> r(results);
        add(3, "results.again", [=, this] {
            clickAt(r->ui->Command1);
            expect(state().AnsweredCount == 0 && state().WrongCount == 0, "Again kept the counters");
        });
        add(3, "results.end", [=, this] {
            clickAt(r->ui->Command2);
            expect(state().AnsweredCount == 0 && state().WrongCount == 0, "End Test kept the counters");
            expect(!loaded<Tulemus>() && !loaded<Test>(), "End Test left a test window");
        });
        add(1, "results.closeBox", [=, this] {
            r->close();
            expect(state().AnsweredCount == pre_.AnsweredCount && state().WrongCount == pre_.WrongCount,
                   "closing the results changed the counters");
        });
    }

    // --- the save prompt ----------------------------------------------------------------------
    // The user's own decision not to keep the list as it stands.
    void declined()
    {
        safe_.insert(fingerprint(savedPairs(pre_)));
        if (preEditor_)
            safe_.insert(fingerprint(preEditorRows_));
    }

    void promptActions(Kassav* prompt, const Add& add)
    {
        QPointer<Kassav> k(prompt);
        auto closed = [this](const char* how) {
            if (ended())
                return;
            expect(!loaded<Kassav>(), QStringLiteral("the prompt stayed after ") + QLatin1String(how));
            expect(state().PendingAction == 0 && state().MainWindowClosing == 0,
                   QStringLiteral("the prompt left its reason behind after ") + QLatin1String(how));
        };
        add(3, "prompt.yes", [=, this] {
            saveFile(SaveFrom::PromptYes, [=, this] { clickAt(k->ui->Command1); });
            closed("Yes");
            const bool failed = !plan_.cancelled && (plan_.predictedFail || plan_.target.isEmpty());
            if (!ended() && !failed)
                expect(state().WordsModified == 0, "Yes left the list counted as changed");
        });
        add(3, "prompt.no", [=, this] {
            declined();
            const bool opens = pre_.PendingAction == PendingOpen;
            if (opens)
                openFile([=, this] { clickAt(k->ui->Command2); }, true);
            else
                clickAt(k->ui->Command2);
            if (pre_.PendingAction == PendingExit)
                expect(ended(), "No on the way out did not end the program");
            closed("No");
            expect(state().WordsModified == 0, "No left the list counted as changed");
        });
        add(2, "prompt.cancel", [=, this] {
            if (pre_.MainWindowClosing == 1)
                declined();
            clickAt(k->ui->Command3);
            closed("Cancel");
            expect(state().WordsModified == pre_.WordsModified, "Cancel changed whether the list counts as changed");
        });
        add(1, "prompt.closeBox", [=, this] {
            if (pre_.MainWindowClosing == 1)
                declined();
            k->close();
            closed("its close box");
            expect(state().WordsModified == pre_.WordsModified,
                   "closing the prompt changed whether the list counts as changed");
        });
    }

    // --- the About box ------------------------------------------------------------------------
    void aboutActions(About* about, const Add& add)
    {
        QPointer<About> a(about);
        auto gone = [this] {
            expect(!loaded<About>(), "the About box stayed");
            expect(loaded<Main>() && loaded<Main>()->isVisible(), "the About box did not bring the main window back");
        };
        add(2, "about.ok", [=, this] {
            clickAt(a->ui->cmdOK);
            gone();
        });
        add(1, "about.key", [=, this] {
            QTest::keyClick(a, chance(0.5) ? Qt::Key_Escape : Qt::Key_Return);
            gone();
        });
        add(1, "about.closeBox", [=, this] {
            a->close();
            gone();
        });
        add(1, "about.sysInfo", [=, this] {
            clickAt(a->ui->cmdSysInfo);
            expect(h_->platform.messages.size() == 1, "System Info without a program to start said nothing");
        });
        add(1, "about.contact", [=, this] {
            QTest::mouseDClick(a->ui->Label1, Qt::LeftButton);
            expect(h_->platform.clipboard == About::contactAddress(), "the contact address is not on the clipboard");
        });
    }

    // --- after every step -----------------------------------------------------------------------
    void expectListUnchanged(const char* what)
    {
        const MOODUL1& s = state();
        bool same = s.LastWordIndex == pre_.LastWordIndex;
        for (int i = 0; same && i < MOODUL1::WordSlots; ++i)
            same = s.KnownWords[i] == pre_.KnownWords[i] && s.UnknownWords[i] == pre_.UnknownWords[i];
        expect(same, QLatin1String(what) + QStringLiteral(" changed the list"));
    }

    void afterStep()
    {
        if (!failure_.isEmpty())
            return;
        const MOODUL1& s = state();
        static const std::pair<const char*, const char*> messageKinds[] = {
            {"ERROR ", "open refused"},
            {"Only the first", "file cut at 1000 pairs"},
            {"The list could not be saved", "save refused"},
            {"The word list is full", "editor full"},
            {"There is nothing to test", "nothing to test"},
        };
        for (const auto& m : h_->platform.messages)
            for (const auto& [prefix, kind] : messageKinds)
                if (m.text.startsWith(QLatin1String(prefix)))
                    ++events_[QLatin1String(kind)];
        if (s.AnsweredCount == INT16_MAX)
            ++events_[QStringLiteral("steps with the answer count at 32767")];
        if (s.ElapsedSeconds == INT16_MAX)
            ++events_[QStringLiteral("steps with the clock count at 32767")];

        // Bounds.
        expect(s.LastWordIndex >= -1 && s.LastWordIndex < MOODUL1::WordSlots,
               QStringLiteral("LastWordIndex %1 outside -1..1000").arg(s.LastWordIndex));
        expect(s.CurrentQuestion >= 0 && s.CurrentQuestion < MOODUL1::WordSlots,
               QStringLiteral("CurrentQuestion %1 outside the arrays").arg(s.CurrentQuestion));
        for (int i = std::max(0, s.LastWordIndex + 1); i < MOODUL1::WordSlots; ++i)
            if (!s.KnownWords[i].isEmpty() || !s.UnknownWords[i].isEmpty()) {
                expect(false, QStringLiteral("a word at %1, after the last pair %2").arg(i).arg(s.LastWordIndex));
                break;
            }
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            if (s.AskedFlags[i] != 0 && s.AskedFlags[i] != 1) {
                expect(false, QStringLiteral("asked mark %1 at %2").arg(s.AskedFlags[i]).arg(i));
                break;
            }

        // The question drawn lies in the list it was drawn from, for as long
        // as that list stands.
        bool listChanged = s.LastWordIndex != pre_.LastWordIndex;
        for (int i = 0; !listChanged && i < MOODUL1::WordSlots; ++i)
            listChanged = s.KnownWords[i] != pre_.KnownWords[i];
        if (listChanged)
            ++generation_;
        if (!h_->platform.seeds.empty() && loaded<Test>())
            drawGeneration_ = generation_;
        if (drawGeneration_ == generation_)
            expect(s.CurrentQuestion <= std::max<int>(0, s.LastWordIndex),
                   QStringLiteral("CurrentQuestion %1 after the last pair %2").arg(s.CurrentQuestion).arg(s.LastWordIndex));

        // Counters.
        expect(s.WrongCount >= 0 && s.AnsweredCount >= s.WrongCount,
               QStringLiteral("counters answered %1, wrong %2").arg(s.AnsweredCount).arg(s.WrongCount));
        expect(s.ElapsedSeconds >= 0, QStringLiteral("ElapsedSeconds %1").arg(s.ElapsedSeconds));
        expect(s.WordsModified == 0 || s.WordsModified == 1, QStringLiteral("WordsModified %1").arg(s.WordsModified));
        expect(s.PendingAction >= 0 && s.PendingAction <= 2, QStringLiteral("PendingAction %1").arg(s.PendingAction));
        if (!ended())
            expect((s.PendingAction == 0 && s.MainWindowClosing == 0) || loaded<Kassav>(),
                   "a reason for the save prompt is left without the prompt");

        // Whether the list counts as changed moves only by the editor and
        // the prompt.
        if (s.WordsModified != pre_.WordsModified) {
            const bool byEditor = s.WordsModified == 1 && action_.startsWith(QLatin1String("editor."));
            const bool byPrompt = action_ == QLatin1String("prompt.yes") || action_ == QLatin1String("prompt.no");
            expect(byEditor || byPrompt,
                   QStringLiteral("%1 made the list count as %2").arg(action_, s.WordsModified ? "changed" : "saved"));
        }

        if (Editor* e = loaded<Editor>()) {
            expect(e->ui->List1->count() == e->ui->List2->count(),
                   QStringLiteral("editor lists of %1 and %2 rows").arg(e->ui->List1->count()).arg(e->ui->List2->count()));
            expect(e->ui->List1->count() <= MOODUL1::FileCapacity,
                   QStringLiteral("the editor holds %1 rows").arg(e->ui->List1->count()));
        }

        expect(h_->platform.unexpectedDialogs == 0, "a dialog came up that no action asked for");

        // Files: only the save being checked may have touched the disk (and
        // the folder it writes into).
        const auto now = stamps();
        const QString targetFolder = plan_.target.isEmpty() ? QString() : QFileInfo(plan_.target).absolutePath();
        for (const auto& [file, stamp] : now)
            if (!(preStamps_[file] == stamp) && file != plan_.target && file != targetFolder)
                expect(false, QStringLiteral("%1 changed on disk").arg(QDir(root_).relativeFilePath(file)));

        // Windows: every visible one belongs to the program, and a running
        // program shows at least one.
        bool anyVisible = false;
        const auto forms = h_->program.loadedForms();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* f = qobject_cast<Form*>(w);
            if (!f || !f->isVisible())
                continue;
            if (std::find(forms.begin(), forms.end(), f) == forms.end())
                expect(false, QStringLiteral("%1 is on screen after it was closed").arg(f->metaObject()->className()));
            anyVisible = true;
        }

        if (!ended()) {
            expect(anyVisible, "the program runs on with no window on screen");
            return;
        }

        // The end: only where the save rules lead there, and nothing the user
        // made is lost on the way.
        ++ends_;
        ++endings_[action_];
        expect(h_->platform.ended == 1, QStringLiteral("the program ended %1 times").arg(h_->platform.ended));
        expect(!anyVisible, "a window is still on screen after the end");
        static const QStringList mayEnd{"main.exit.", "main.closeBox", "main.save", "prompt.", "results.",
                                        "wrong.continue"};
        bool allowed = false;
        for (const QString& prefix : mayEnd)
            allowed = allowed || action_.startsWith(prefix);
        expect(allowed, QStringLiteral("the program ended on %1").arg(action_));
        const QString list = fingerprint(savedPairs(s));
        expect(safe_.count(list) > 0, "the program ended with a changed list that was neither saved nor given up");
        if (preEditor_)
            expect(safe_.count(fingerprint(preEditorRows_)) > 0,
                   "the program ended with an open editor's words neither saved nor given up");
    }

    // --- failures ---------------------------------------------------------------------------------
    bool expect(bool ok, const QString& what)
    {
        if (!ok)
            fail(what);
        return ok;
    }
    bool expect(bool ok, const char* what) { return expect(ok, QString::fromUtf8(what)); }

    void fail(const QString& what)
    {
        if (!failure_.isEmpty())
            return;
        QStringList lines;
        lines << QStringLiteral("seed %1, step %2 (session %3, its step %4): %5")
                     .arg(seed_)
                     .arg(step_)
                     .arg(sessions_)
                     .arg(sessionStep_)
                     .arg(what);
        lines << QStringLiteral("action: ") + action_ + (detail_.isEmpty() ? QString() : QStringLiteral(" [") + visible(detail_, 200) + u']');
        QStringList windows;
        for (Form* f : h_->program.loadedForms())
            windows << QLatin1String(f->metaObject()->className()) + (f->isVisible() ? QString() : QStringLiteral(" (hidden)"));
        lines << QStringLiteral("windows: ") + (ended() ? QStringLiteral("none, the program has ended") : windows.join(QStringLiteral(", ")));
        lines << QStringLiteral("last actions:");
        for (const QString& r : recent_)
            lines << QStringLiteral("  ") + r;
        lines << QStringLiteral("again: VORBIX_RANDOM_SEED=%1 VORBIX_RANDOM_STEPS=%2 tests/test_random_session")
                     .arg(seed_)
                     .arg(step_);
        failure_ = lines.join(u'\n');
    }

    const quint32 seed_;
    const int steps_;
    const QString root_;
    std::mt19937 rng_;
    bool trace_ = false;
    std::unique_ptr<Harness> h_;

    std::vector<QString> openPool_, savePool_, failPool_;
    std::set<QString> safe_;
    std::vector<Answer> scripted_;
    SavePlan plan_;
    std::vector<Group> groups_;
    int leaving_ = 1; // the weight of each way out of the main window

    MOODUL1 pre_;
    QPointer<Editor> preEditor_;
    WordPairs preEditorRows_;
    std::map<QString, Stamp> preStamps_;
    QPointer<Test> preTest_;
    QPointer<Main> preMain_;
    QString preTitle_;
    int generation_ = 0, drawGeneration_ = 0;

    int step_ = 0, sessions_ = 0, sessionStep_ = 0, ends_ = 0;
    int savesChecked_ = 0, failedSaves_ = 0, opensChecked_ = 0, refusedOpens_ = 0;
    QString action_, detail_, failure_;
    std::deque<QString> recent_;
    std::map<QString, int> counts_, endings_, events_;

};

} // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(quietHandler); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void randomUserActions()
    {
        bool seedSet = false, stepsSet = false;
        const quint32 seed = qEnvironmentVariable("VORBIX_RANDOM_SEED").toUInt(&seedSet);
        const int steps = qEnvironmentVariableIntValue("VORBIX_RANDOM_STEPS", &stepsSet);
        // Saves sync to disk; a memory disk keeps thousands of them quick.
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
            ? QStringLiteral("/dev/shm/vorbix-random-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/vorbix-random-XXXXXX");
        QTemporaryDir dir(base);
        QVERIFY(dir.isValid());

        QElapsedTimer clock;
        clock.start();
        RandomRun run(seedSet ? seed : 20261206u, stepsSet ? steps : 2500, dir.path());
        const bool ok = run.run();
        qInfo().noquote() << run.summary();
        qInfo() << "took" << clock.elapsed() << "ms";

        // QtTest cuts long messages: the whole story goes to stderr.
        if (!ok)
            fprintf(stderr, "%s\n", qPrintable(run.failure()));
        QVERIFY2(ok, qPrintable(run.failure().section(u'\n', 0, 0)));

        // The run reached every window (a run that never got past the
        // splash would pass all its checks).
        for (const char* kind : {"splash.", "main.open", "main.save", "editor.type", "editor.sort", "test.answerRight",
                                 "test.timeOut", "wrong.continue", "results.", "prompt.yes", "prompt.no", "about."}) {
            int n = 0;
            for (const auto& [name, count] : run.counts())
                n += name.startsWith(QLatin1String(kind)) ? count : 0;
            QVERIFY2(n > 0, kind);
        }
    }
};

QTEST_MAIN(RandomSessionTest)
#include "test_random_session.moc"
