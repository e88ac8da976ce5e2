// Plays random user actions against the real windows and checks after every
// step what must always hold. CI runs one fixed seed; longer runs:
//   VORBIX_RANDOM_SEED=7 VORBIX_RANDOM_STEPS=200000 ./tests/test_random_session
#include "dictionary/DictionaryFile.h"
#include "support/Harness.h"
#include "ui/about/About.h"
#include "ui/editor/Editor.h"
#include "ui/main/Algus.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Test.h"
#include "ui/test/Tulemus.h"

#include "ui_About.h"
#include "ui_Editor.h"
#include "ui_Kassav.h"
#include "ui_Main.h"
#include "ui_Test.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <random>

#include <sys/stat.h>

using namespace vorbix;
using namespace vorbix::dictionary;
using namespace vorbix::testing;

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

// Pairs compared as the file format sees them: "}" and "-" alike, any order.
QStringList normalised(const WordPairs& pairs)
{
    QStringList out;
    for (const auto& p : pairs) {
        QString both = p.known + QLatin1Char('\n') + p.unknown;
        out << both.replace(QLatin1Char('}'), QLatin1Char('-'));
    }
    out.sort();
    return out;
}

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

class RandomRun {
public:
    RandomRun(unsigned seed, int steps) : rng_(seed), seed_(seed), steps_(steps) {}

    bool run()
    {
        if (!dir_.isValid())
            return fail("no temporary folder");
        writeFixtures();
        startSession();
        for (step_ = 1; step_ <= steps_; ++step_) {
            before();
            oneStep();
            if (!after())
                return false;
        }
        qInfo("%d steps, %d sessions, %d saves checked", steps_, sessions_, saves_);
        return true;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    QString path(const QString& name) const { return dir_.filePath(name); }
    MOODUL1& state() { return h_->program.state(); }
    template <class F> F* win() { return h_->program.loaded<F>(); }
    void act(const QString& what) { log_ << what; if (log_.size() > 12) log_.removeFirst(); }

    QString randomWord()
    {
        static const QStringList parts{"maja", "dog", "x-ray", "a}b", "go, went", "\"q\"", "  lead",
                                       "tail ", "õun", "šokk", "собака", "Ab", "ab", "-"};
        QString w = parts[pick(parts.size())];
        if (chance(0.3))
            w += parts[pick(parts.size())];
        return w;
    }

    void writeFixtures()
    {
        auto write = [this](const QString& name, const QByteArray& bytes) {
            QFile f(path(name));
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
        };
        write("good.dic", "x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\nkass\r\ncat\r\n");
        write("one.dic", "maja\nhouse");
        write("empty.dic", "");
        write("odd.dic", "a\r\nb\r\nc\r\n");
        write("junk.dic", QByteArray("\0\xff\r\n\x01", 5) + QByteArray(70000, 'z'));
        QDir(dir_.path()).mkdir("folder.dic");
    }

    void startSession()
    {
        h_ = std::make_unique<Harness>();
        h_->platform.setCurrentDirectory(dir_.path());
        h_->program.show<Algus>();
        ++sessions_;
    }

    // What the step starts from, for the checks after it.
    void before()
    {
        h_->platform.clearDialogAnswers();
        const int choice = pick(8);
        static const QStringList names{"good.dic", "one.dic", "empty.dic", "odd.dic", "junk.dic",
                                       "folder.dic", "missing.dic", "nofolder/x.dic"};
        if (choice < 6)
            h_->platform.answerDialog(path(chance(0.3) ? "saved.dic" : names[pick(names.size())]));
        else
            h_->platform.cancelDialog();
        for (int i = 0; i < 4; ++i)
            h_->platform.cancelDialog(); // a failed open offers the dialog again
        hashes_ = fileHashes();
        const Editor* e = win<Editor>();
        working_ = e ? editorPairs(*e) : listPairs();
        // Every edit counts as a change until it is saved or given up.
        unchanged_ = state().WordsModified == 0;
    }

    WordPairs listPairs() { return savedPairs(state()); }
    static WordPairs editorPairs(const Editor& e)
    {
        WordPairs pairs;
        for (int r = 0; r < e.ui->List1->count(); ++r)
            pairs.push_back({e.ui->List1->item(r)->text(), e.ui->List2->item(r)->text()});
        return pairs;
    }

    std::map<QString, QByteArray> fileHashes() const
    {
        std::map<QString, QByteArray> out;
        for (const QFileInfo& fi : QDir(dir_.path()).entryInfoList(QDir::Files)) {
            QFile f(fi.filePath());
            f.open(QIODevice::ReadOnly);
            // A save replaces the file: a new inode even when the bytes are the same.
            struct stat st {};
            ::stat(QFile::encodeName(fi.filePath()).constData(), &st);
            out[fi.filePath()] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Md5)
                + QByteArray::number(qulonglong(st.st_ino));
        }
        return out;
    }

    void oneStep()
    {
        std::vector<Form*> shown;
        for (Form* f : h_->program.loadedForms())
            if (f->isVisible())
                shown.push_back(f);
        Form* f = shown[pick(static_cast<int>(shown.size()))];
        if (auto* m = qobject_cast<Main*>(f)) mainAction(*m);
        else if (auto* e = qobject_cast<Editor*>(f)) editorAction(*e);
        else if (auto* t = qobject_cast<Test*>(f)) testAction(*t);
        else if (auto* w = qobject_cast<AkenVale*>(f)) { act("continue"); w->Command1_Click(); }
        else if (auto* r = qobject_cast<Tulemus*>(f)) resultsAction(*r);
        else if (auto* k = qobject_cast<Kassav*>(f)) promptAction(*k);
        else if (auto* a = qobject_cast<About*>(f)) aboutAction(*a);
        else { act("splash"); h_->platform.advance(2006); }
    }

    void mainAction(Main& m)
    {
        switch (pick(14)) {
        case 0: act("new"); m.ui->MFNew->trigger(); break;
        case 1: case 2: act("open"); m.ui->MFOpen->trigger(); break;
        case 3: act("save"); m.ui->MFSave->trigger(); break;
        case 4: act("save as"); m.ui->MFSaveAs->trigger(); break;
        case 5: act("exit"); m.ui->Command2->click(); break;
        case 6: act("close main"); m.close(); break;
        case 7: case 8: act("editor"); m.ui->Command1->click(); break;
        case 9: case 10: act("test"); m.ui->nupptest->click(); break;
        case 11: act("about"); m.ui->MAbout->trigger(); break;
        case 12: act("options");
            (chance(0.5) ? m.ui->Option1 : m.ui->Option2)->setChecked(true);
            (chance(0.5) ? m.ui->Option3 : m.ui->Option4)->setChecked(true);
            break;
        default: act("time limit"); m.ui->Check1->setChecked(chance(0.4)); m.ui->VScroll1->setValue(pick(4)); break;
        }
    }

    void editorAction(Editor& e)
    {
        auto& ui = *e.ui;
        switch (pick(9)) {
        case 0: case 1: case 2: act("type pair");
            typeText(ui.Text2, randomWord());
            QTest::keyClick(ui.Text2, Qt::Key_Return);
            typeText(ui.Text1, randomWord());
            QTest::keyClick(chance(0.8) ? ui.Text1 : ui.Text2, Qt::Key_Return);
            break;
        case 3: act("select"); if (ui.List1->count()) (chance(0.5) ? ui.List1 : ui.List2)->setCurrentRow(pick(ui.List1->count())); break;
        case 4: act("delete"); ui.Command2->click(); break;
        case 5: act("replace"); ui.Text1->setText(randomWord()); ui.Text2->setText(randomWord()); ui.Command3->click(); break;
        case 6: act("sort");
            for (QPushButton* b : {ui.Command5, ui.Command6, ui.Command7, ui.Command8})
                if (chance(0.25)) { b->click(); break; }
            break;
        case 7: act("exit editor"); ui.Command4->click(); break;
        default: act("close editor"); e.close(); break;
        }
    }

    void testAction(Test& t)
    {
        auto& ui = *t.ui;
        const Main* m = win<Main>();
        const bool unknown = !m || m->ui->Option1->isChecked();
        const int q = state().CurrentQuestion;
        switch (pick(6)) {
        case 0: case 1: act("answer right");
            ui.Text1->setText(unknown ? state().UnknownWords[q] : state().KnownWords[q]);
            QTest::keyClick(ui.Text1, Qt::Key_Return);
            break;
        case 2: act("answer wrong"); ui.Text1->setText("?"); ui.Command1->click(); break;
        case 3: act("time out"); h_->platform.advance(4001); break;
        case 4: act("choose");
            for (QWidget* k : {ui.Kyssa1, ui.Kyssa2, ui.Kyssa3, ui.Kyssa4, ui.Kyssa5})
                if (k->isVisible() && chance(0.3)) { QTest::mouseClick(k, Qt::LeftButton); break; }
            break;
        default: {
            const bool results = chance(0.5);
            act(results ? "results" : "close test");
            (results ? ui.Command3 : ui.Command2)->click();
            break;
        }
        }
    }

    void resultsAction(Tulemus& r)
    {
        switch (pick(3)) {
        case 0: act("again"); r.Command1_Click(); break;
        case 1: act("end test"); r.Command2_Click(); break;
        default: act("close results"); r.close(); break;
        }
    }

    void promptAction(Kassav& k)
    {
        switch (pick(4)) {
        case 0: case 1: act("prompt yes"); k.ui->Command1->click(); break;
        case 2: act("prompt no"); declined_ = true; k.ui->Command2->click(); break;
        default: act("prompt cancel"); declined_ = true;
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
        if (chance(0.5)) a.ui->cmdOK->click(); else a.close();
    }

    bool fail(const QString& what)
    {
        qWarning().noquote() << QString("seed %1, step %2, session %3: %4\nlast actions: %5")
                                    .arg(seed_).arg(step_).arg(sessions_).arg(what, log_.join(" | "));
        return false;
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
        if (h_->platform.unexpectedDialogs)
            return fail("a dialog nobody asked for");

        // Every file written reads back as the list it was written from.
        bool saved = false;
        for (const auto& [file, hash] : fileHashes()) {
            const auto old = hashes_.find(file);
            if (old != hashes_.end() && old->second == hash)
                continue;
            saved = true;
            ++saves_;
            const ReadResult read = readDictionaryFile(file);
            if (!read.ok() || normalised(read.pairs) != normalised(listPairs()))
                return fail("file does not read back as the list: " + file);
        }

        if (h_->program.ended()) {
            // Ending may only let go of a list that was empty, unchanged,
            // saved or given up by the user.
            if (!working_.empty() && !unchanged_ && !saved && !declined_)
                return fail("the program ended and lost the list");
            for (Form* f : h_->program.loadedForms())
                if (f->isVisible())
                    return fail("a window outlived the end");
            h_.reset();
            Harness::flush();
            declined_ = false;
            startSession();
            return true;
        }
        // A list given up at the prompt stays given up until the main window
        // is back to ask again.
        if (win<Main>())
            declined_ = false;
        bool anyShown = false;
        for (Form* f : h_->program.loadedForms())
            anyShown |= f->isVisible();
        if (!anyShown)
            return fail("the program runs with no window on screen");
        Harness::flush();
        return true;
    }

    std::mt19937 rng_;
    unsigned seed_;
    int steps_;
    int step_ = 0, sessions_ = 0, saves_ = 0;
    QTemporaryDir dir_;
    std::unique_ptr<Harness> h_;
    QStringList log_;
    std::map<QString, QByteArray> hashes_;
    WordPairs working_;
    bool unchanged_ = true, declined_ = false;
};

} // namespace

class RandomSessionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(quietHandler); }
    void cleanupTestCase() { qInstallMessageHandler(previousHandler); }

    void randomUserActions()
    {
        const unsigned seed = qEnvironmentVariableIsSet("VORBIX_RANDOM_SEED")
            ? qEnvironmentVariableIntValue("VORBIX_RANDOM_SEED") : 20261206u;
        const int steps = qEnvironmentVariableIsSet("VORBIX_RANDOM_STEPS")
            ? qEnvironmentVariableIntValue("VORBIX_RANDOM_STEPS") : 2500;
        RandomRun run(seed, steps);
        QVERIFY2(run.run(), "see the seed and step above");
    }
};

QTEST_MAIN(RandomSessionTest)
#include "test_random_session.moc"
