#include "ui/test/Test.h"

#include "ui_Test.h"

#include "history/Recorder.h"
#include "state/Draw.h"
#include "state/Drill.h"
#include "state/NumberForm.h"
#include "state/ShownQuestion.h"
#include "state/TestRound.h"
#include "ui/main/Main.h"
#include "ui/progress/Progress.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/KeyGuard.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/Timer.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace vorbix {

namespace {

// Announced at every question, also one that reads as the one before.
void describe(QWidget* w, const QString& question)
{
    if (w->accessibleDescription() != question) {
        w->setAccessibleDescription(question);
        return;
    }
    QAccessibleEvent changed(w, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

} // namespace

Test::Test(Program& program) : Form(program), ui(std::make_unique<Ui::Test>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setTitleBar(true);
    setFixedSize(size());
    picture_ = QPixmap(QStringLiteral(":/vorbix/vorbix32.png"));

    for (QLabel* label : findChildren<QLabel*>())
        setMenuColours(label);

    Timer1 = new Timer(platform(), this, 0, true);
    Timer2 = new Timer(platform(), this, 1000, true);
    connect(Timer1, &Timer::timeout, this, &Test::Timer1_Timer);
    connect(Timer2, &Timer::timeout, this, &Test::Timer2_Timer);

    connect(ui->Command1, &QPushButton::clicked, this, &Test::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Test::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Test::Command3_Click);
    ui->Text1->installEventFilter(this);

    connect(ui->Kyssa1, &ClickLabel::clicked, this, &Test::Kyssa1_Click);
    connect(ui->Kyssa2, &ClickLabel::clicked, this, &Test::Kyssa2_Click);
    connect(ui->Kyssa3, &ClickLabel::clicked, this, &Test::Kyssa3_Click);
    connect(ui->Kyssa4, &ClickLabel::clicked, this, &Test::Kyssa4_Click);
    connect(ui->Kyssa5, &ClickLabel::clicked, this, &Test::Kyssa5_Click);
    connect(ui->Kyssa1, &ClickLabel::mouseMoved, this, &Test::Kyssa1_MouseMove);
    connect(ui->Kyssa2, &ClickLabel::mouseMoved, this, &Test::Kyssa2_MouseMove);
    connect(ui->Kyssa3, &ClickLabel::mouseMoved, this, &Test::Kyssa3_MouseMove);
    connect(ui->Kyssa4, &ClickLabel::mouseMoved, this, &Test::Kyssa4_MouseMove);
    connect(ui->Kyssa5, &ClickLabel::mouseMoved, this, &Test::Kyssa5_MouseMove);
    // The keyboard's choice lights up as the mouse's does.
    connect(ui->Kyssa1, &ClickLabel::focused, this, &Test::Kyssa1_MouseMove);
    connect(ui->Kyssa2, &ClickLabel::focused, this, &Test::Kyssa2_MouseMove);
    connect(ui->Kyssa3, &ClickLabel::focused, this, &Test::Kyssa3_MouseMove);
    connect(ui->Kyssa4, &ClickLabel::focused, this, &Test::Kyssa4_MouseMove);
    connect(ui->Kyssa5, &ClickLabel::focused, this, &Test::Kyssa5_MouseMove);
    for (ClickLabel* k : choices())
        k->makeChoice();
    connect(qApp, &QApplication::focusChanged, this, &Test::focusMoved);

    for (QWidget* w : {ui->Label2, ui->Label3, ui->Label4, ui->Label5, ui->Label6, ui->Label7})
        designPositions_.emplace_back(w, w->pos());
    designSize_ = size();
}

// Destroying the controls moves the focus, after this class is gone.
Test::~Test() { disconnect(qApp, nullptr, this, nullptr); }

TestOptions Test::options() { return Main::options(program()); }

std::array<ClickLabel*, 5> Test::choices() const
{
    return {ui->Kyssa1, ui->Kyssa2, ui->Kyssa3, ui->Kyssa4, ui->Kyssa5};
}

void Test::Form_Load()
{
    MOODUL1& s = state();
    const TestOptions o = options();
    shown_ = {};

    if (o.timeLimitOn) {
        // Up to 300 000 ms: held in a full int, never in 16 bits.
        const int limitMs = o.timeLimitSeconds * 1000;
        Timer1->setInterval(limitMs);
    }

    ui->Label2->setText(QStringLiteral("Vastatud: ") + signedNumber(s.AnsweredCount));
    ui->Label3->setText(QStringLiteral("Õigeid: ") + signedNumber(rightAnswers(s)));
    ui->Label4->setText(QStringLiteral("Valesid: ") + signedNumber(s.WrongCount));
    ui->Label6->setText(QStringLiteral("Vastata: ") + signedNumber(wordsLeft(s)));
    ui->Label7->setText(QStringLiteral("Aeg: ") + signedNumber(o.timeLimitSeconds - s.ElapsedSeconds));
    ui->Label5->setText(QStringLiteral("Õigeid vastuseid on ") + rightShare(s, QStringLiteral("0 %")));

    platform().randomize(platform().timeOfDay());

    const auto rnd = [this] { return platform().rnd(); };
    for (;;) {
        const NextQuestion next = drilling(s) ? drawDrillQuestion(s, rnd) : drawNextQuestion(s, rnd);
        if (next == NextQuestion::Chosen)
            break;
        // A drill whose pairs left the list (an edit, an Open) ends with
        // the answers it has.
        if (next == NextQuestion::NothingToAsk && drilling(s) && s.AnsweredCount != 0) {
            showResults();
            return;
        }
        if (next == NextQuestion::NothingToAsk) {
            // The list emptied under the open test (an empty file opened,
            // every pair deleted): leave, keeping the counters.
            Unload();
            Main::showNothingToTest(platform());
            return;
        }
        // A round completed with the results due: they end this test.
        showResults();
        return;
    }

    // From here on the question is fixed, whatever changes under it.
    shown_ = takeQuestion(s, s.CurrentQuestion, o);
    shownList_ = s.CurrentFile;
    shownAtMs_ = platform().monotonicMs();
    showWord(ui->Label1, shown_.question);
    s.AskedFlags[shown_.pair] = 1;
    if (drilling(s))
        markAsked(s, shown_.pair);
    ui->Text1->setText(QString());
    describe(ui->Text1, shown_.question);
    for (ClickLabel* k : choices())
        describe(k, shown_.question);
    // Enter, Space and Esc wait for a press made with this question seen.
    program().keyGuard().rearm(this);

    if (shown_.mode == AnswerMode::Normal)
        arrangeNormal();
    else
        arrangeChoices();
}

// Each mode sets up the whole of its layout, so a switch between questions
// leaves nothing of the other behind.
void Test::arrangeNormal()
{
    for (ClickLabel* k : choices())
        k->hide();
    ui->Text1->show();
    ui->Command1->setEnabled(true);
    // Measured afresh each time: once the labels have moved up it is 0.
    const int d = ui->Label7->y() - ui->Kyssa1->y();
    for (QLabel* label : {ui->Label7, ui->Label6, ui->Label5, ui->Label4, ui->Label3, ui->Label2})
        label->move(label->x(), label->y() - d);
    setFixedSize(width(), height() - d);
    ui->Text1->setFocus();
}

void Test::restoreDesignLayout()
{
    for (const auto& [widget, pos] : designPositions_)
        widget->move(pos);
    setFixedSize(designSize_);
}

void Test::arrangeChoices()
{
    restoreDesignLayout();
    ui->Text1->hide();
    ui->Command1->setEnabled(false);
    for (ClickLabel* k : choices())
        k->show();
    fillChoices();
    // The light stays on its place, as designed, and the focus with it.
    // Before anything is lit the keys go to the window, where Enter
    // answers nothing.
    if (ClickLabel* lit = litChoice())
        lit->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void Test::fillChoices()
{
    vorbix::fillChoices(state(), shown_, [this] { return platform().rnd(); });
    const auto k = choices();
    for (size_t place = 0; place < 5; ++place)
        showWord(k[place], shown_.choices[place]);
}

// Behind the wrong-answer window the next question is set up but not seen.
bool Test::answerable() const { return !isUnloaded() && isVisible() && shown_.isShown(); }

bool Test::choicesOnScreen() const { return answerable() && shown_.mode == AnswerMode::Choices; }

// Opened already (from an earlier "Results"), the window is filled afresh:
// it must show the counts of now.
void Test::showResults()
{
    const bool wasOpen = program().loaded<Tulemus>() != nullptr;
    Tulemus& results = program().form<Tulemus>();
    if (wasOpen)
        results.Form_Load();
    results.Show();
}

void Test::Command1_Click()
{
    const bool byClock = std::exchange(clockAnswers_, false);
    // Only a question on screen can be answered, and only once: a late
    // click, key or time-out finds none.
    if (!answerable())
        return;
    const ShownQuestion q = std::exchange(shown_, ShownQuestion{});
    MOODUL1& s = state();

    s.ElapsedSeconds = 0;
    Timer1->setEnabled(false);
    Timer1->setEnabled(true);

    if (q.mode == AnswerMode::Normal)
        ui->Text1->setText(trimBlanks(ui->Text1->text()));

    const bool right = answerIsRight(ui->Text1->text(), q.expected);
    const bool firstOfTest = s.AnsweredCount == 0;
    countAnswer(s, right);
    record(q, right, byClock, firstOfTest);
    const PairKey pair = q.askUnknownWords ? PairKey{q.question, q.expected} : PairKey{q.expected, q.question};
    noteAnswer(s.LastTestMistakes, s.CurrentFile, {pair, ui->Text1->text(), q.expected}, right, firstOfTest);
    if (!right) {
        platform().beep();
        AkenVale* alreadyOpen = program().loaded<AkenVale>();
        AkenVale& wrong = program().form<AkenVale>();
        // Left open from the end of the previous test: its load is run again.
        if (alreadyOpen)
            wrong.Form_Load();
        wrong.showQuestion(q, ui->Text1->text());
        Hide();
        wrong.Show();
    }

    if (testIsOver(s)) {
        showResults();
        program().unload<Test>();
        return;
    }
    Form_Load();
}

void Test::Text1_KeyPress(int& KeyAscii)
{
    if ((KeyAscii != KeyAsciiEnter && KeyAscii != KeyAsciiEscape) || !answerable())
        return;
    KeyAscii = 0;
    ui->Label1->setText(signedNumber(state().LastWordIndex));
    Command1_Click();
}

bool Test::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui->Text1 || event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    int code = keyAscii(static_cast<QKeyEvent*>(event));
    if (code == 0)
        return false; // not a character: editing keys work as usual
    Text1_KeyPress(code);
    return code == 0;
}

void Test::Command2_Click()
{
    Unload();
    program().show<Main>();
}

void Test::Command3_Click()
{
    if (resultsDue(state()))
        showResults();
}

void Test::Timer1_Timer()
{
    state().ElapsedSeconds = 0;
    clockAnswers_ = true;
    Command1_Click();
}

void Test::Timer2_Timer()
{
    const TestOptions o = options();
    if (!o.timeLimitOn)
        return;
    checkedIncrement(state().ElapsedSeconds);
    ui->Label7->setText(QStringLiteral("Aeg: ") + signedNumber(o.timeLimitSeconds - state().ElapsedSeconds));
}

// However the test ends, the main window is there to go on from, and results
// left open from an earlier "Results" show what this test added.
void Test::Form_Unload()
{
    // A drill lives on into its results, for "Again".
    if (!program().loaded<Tulemus>())
        endDrill(state());
    // The test's answers are in the record now.
    if (Progress* progress = program().loaded<Progress>())
        progress->refresh();
    if (Tulemus* results = program().loaded<Tulemus>())
        results->showCounts();
    program().show<Main>();
}

// A pick is judged by the word offered, whatever the label could show of it.
void Test::choose(ClickLabel* label)
{
    const auto k = choices();
    const auto at = std::find(k.begin(), k.end(), label);
    if (!choicesOnScreen() || !label->isVisible() || at == k.end())
        return;
    light(label);
    ui->Text1->setText(shown_.choices[static_cast<size_t>(at - k.begin())]);
    Command1_Click();
}

// Keys 1 to 5 light a choice by place; the arrows walk the choices, round
// at the ends. Enter or Space then answers the lit one (ClickLabel).
void Test::keyPressEvent(QKeyEvent* event)
{
    const auto k = choices();
    if (!choicesOnScreen() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        Form::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    if (key >= Qt::Key_1 && key <= Qt::Key_5) {
        light(k[static_cast<size_t>(key - Qt::Key_1)]);
        return;
    }
    int step = 0;
    if (key == Qt::Key_Down || key == Qt::Key_Right)
        step = 1;
    else if (key == Qt::Key_Up || key == Qt::Key_Left)
        step = -1;
    if (step == 0) {
        Form::keyPressEvent(event);
        return;
    }
    const auto at = std::find(k.begin(), k.end(), litChoice());
    const int from = at == k.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - k.begin());
    light(k[static_cast<size_t>((from + step + 5) % 5)]);
}

// Tab from the window, before anything is lit, lights the first or last choice.
bool Test::focusNextPrevChild(bool next)
{
    if (!choicesOnScreen() || (focusWidget() && focusWidget() != this))
        return Form::focusNextPrevChild(next);
    light(choices()[next ? 0 : 4]);
    return true;
}

void Test::Kyssa1_Click() { choose(ui->Kyssa1); }
void Test::Kyssa2_Click() { choose(ui->Kyssa2); }
void Test::Kyssa3_Click() { choose(ui->Kyssa3); }
void Test::Kyssa4_Click() { choose(ui->Kyssa4); }
void Test::Kyssa5_Click() { choose(ui->Kyssa5); }

void Test::highlight(ClickLabel* label)
{
    const QColor highlight = systemColour(SystemColour::Highlight);
    if (label->palette().color(QPalette::Window) == highlight)
        return;
    for (ClickLabel* other : choices())
        if (other != label)
            setMenuColours(other);
    setColours(label, highlight, systemColour(SystemColour::HighlightText));
}

// What is lit is what Enter or Space answers: the focus goes with the light.
void Test::light(ClickLabel* label)
{
    highlight(label);
    if (label->isVisible() && focusWidget() != label)
        label->setFocus(Qt::OtherFocusReason);
}

void Test::unlight()
{
    for (ClickLabel* k : choices())
        setMenuColours(k);
}

ClickLabel* Test::litChoice() const
{
    const QColor highlight = systemColour(SystemColour::Highlight);
    for (ClickLabel* k : choices())
        if (k->palette().color(QPalette::Window) == highlight)
            return k;
    return nullptr;
}

// Tabbing on to a button takes the light along: Enter then presses that
// button, and no choice may look as if it would be answered.
void Test::focusMoved(QWidget* from, QWidget* to)
{
    const auto k = choices();
    const auto isChoice = [&k](QWidget* w) { return std::find(k.begin(), k.end(), w) != k.end(); };
    if (from && to && to->window() == this && to != this && isChoice(from) && !isChoice(to))
        unlight();
}

void Test::Kyssa1_MouseMove() { light(ui->Kyssa1); }
void Test::Kyssa2_MouseMove() { light(ui->Kyssa2); }
void Test::Kyssa3_MouseMove() { light(ui->Kyssa3); }
void Test::Kyssa4_MouseMove() { light(ui->Kyssa4); }
void Test::Kyssa5_MouseMove() { light(ui->Kyssa5); }

// Behind the wrong-answer window no time counts for the next question.
void Test::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    if (shown_.isShown())
        shownAtMs_ = platform().monotonicMs();
}

// The answer as it was judged, against the question as it was shown. A test
// is what the counters count: it begins when they start from zero.
void Test::record(const ShownQuestion& q, bool right, bool byClock, bool firstOfTest)
{
    history::Answer a;
    a.when = QDateTime::currentDateTime();
    a.listPath = shownList_;
    a.known = q.askUnknownWords ? q.question : q.expected;
    a.unknown = q.askUnknownWords ? q.expected : q.question;
    a.side = q.askUnknownWords ? history::AskedSide::UnknownWord : history::AskedSide::KnownWord;
    a.mode = q.mode == AnswerMode::Normal ? history::Mode::Normal : history::Mode::Choices;
    a.given = ui->Text1->text();
    a.outcome = right ? history::Outcome::Right : byClock ? history::Outcome::TimedOut : history::Outcome::Wrong;
    a.seconds = double(platform().monotonicMs() - shownAtMs_) / 1000.0;
    program().history().record(a, firstOfTest);
}

void Test::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

} // namespace vorbix
