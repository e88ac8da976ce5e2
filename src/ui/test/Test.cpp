#include "ui/test/Test.h"

#include "ui_Test.h"

#include "state/Draw.h"
#include "state/NumberForm.h"
#include "state/TestRound.h"
#include "ui/main/Main.h"
#include "ui/test/AkenVale.h"
#include "ui/test/Tulemus.h"
#include "ui/toolkit/ClickLabel.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/Timer.h"

#include <QKeyEvent>
#include <QPainter>

namespace vorbix {

namespace {

constexpr int KeyEnter = 13;
constexpr int KeyEscape = 27;

} // namespace

Test::Test(Program& program) : Form(program), ui(std::make_unique<Ui::Test>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setTitleBar(true);
    setFixedSize(size());
    picture_ = QPixmap(QStringLiteral(":/vorbix/vorbix32.png"));

    // The window keeps the palette (its window colours are the menu-bar
    // ones already), so disabled buttons still look disabled.
    const QColor menuBar = systemColour(SystemColour::MenuBar);
    const QColor menuText = systemColour(SystemColour::MenuText);
    for (QLabel* label : findChildren<QLabel*>())
        setColours(label, menuBar, menuText);

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
}

Test::~Test() = default;

TestOptions Test::options() { return Main::Options(program()); }
bool Test::askUnknownWords() { return options().askUnknownWords; }
bool Test::normalMode() { return options().normalMode; }

QString Test::answerSide(int index)
{
    return askUnknownWords() ? state().UnknownWords[index] : state().KnownWords[index];
}

std::array<ClickLabel*, 5> Test::choices() const
{
    return {ui->Kyssa1, ui->Kyssa2, ui->Kyssa3, ui->Kyssa4, ui->Kyssa5};
}

void Test::Form_Load()
{
    MOODUL1& s = state();
    const TestOptions o = options();

    if (o.timeLimitOn) {
        // Up to 300 000 ms: held in a full int, never in 16 bits.
        const int limitMs = o.timeLimitSeconds * 1000;
        Timer1->setInterval(limitMs);
    }

    ui->Label2->setText(QStringLiteral("Vastatud: ") + signedNumber(s.AnsweredCount));
    ui->Label3->setText(QStringLiteral("Õigeid: ") + signedNumber(s.AnsweredCount - s.WrongCount));
    ui->Label4->setText(QStringLiteral("Valesid: ") + signedNumber(s.WrongCount));
    ui->Label6->setText(QStringLiteral("Vastata: ") + signedNumber(s.LastWordIndex + 1 - s.AnsweredCount));
    ui->Label7->setText(QStringLiteral("Aeg: ") + signedNumber(o.timeLimitSeconds - s.ElapsedSeconds));
    if (s.AnsweredCount != 0)
        ui->Label5->setText(QStringLiteral("Õigeid vastuseid on ")
                            + signedNumber(percentRight(s.AnsweredCount - s.WrongCount, s.AnsweredCount))
                            + QStringLiteral("%"));
    else
        ui->Label5->setText(QStringLiteral("Õigeid vastuseid on 0 %"));

    platform().randomize(platform().timeOfDay());

    const auto rnd = [this] { return platform().rnd(); };
    for (;;) {
        const NextQuestion next = drawNextQuestion(s, rnd);
        if (next == NextQuestion::Chosen)
            break;
        if (next == NextQuestion::NothingToAsk) {
            // The list emptied under the open test (an empty file opened,
            // every pair deleted): leave, keeping the counters.
            Unload();
            Main::ShowNothingToTest(platform());
            return;
        }
        program().show<Tulemus>();
        if (isUnloaded())
            return;
        // The results were open already, so their load did not end this
        // test: go on with the new round.
    }

    const int question = s.CurrentQuestion;
    ui->Label1->setText(askUnknownWords() ? s.KnownWords[question] : s.UnknownWords[question]);
    s.AskedFlags[question] = 1;
    ui->Text1->setText(QString());

    if (normalMode())
        arrangeNormal();
    else
        fillChoices();
}

void Test::arrangeNormal()
{
    for (ClickLabel* k : choices())
        k->hide();
    // Measured afresh each time: once the labels have moved up it is 0.
    const int d = ui->Label7->y() - ui->Kyssa1->y();
    for (QLabel* label : {ui->Label7, ui->Label6, ui->Label5, ui->Label4, ui->Label3, ui->Label2})
        label->move(label->x(), label->y() - d);
    setFixedSize(width(), height() - d);
}

void Test::fillChoices()
{
    ui->Text1->hide();
    ui->Command1->setEnabled(false);

    const auto k = choices();
    const int p = drawIndex(platform().rnd(), 4);
    k[p]->setText(answerSide(state().CurrentQuestion));
    // The other places are not checked against the right one: repeats and
    // empty texts stay as drawn.
    const int last = lastAskableIndex(state());
    for (int place : choiceFillOrder(p))
        k[place]->setText(answerSide(drawIndex(platform().rnd(), last)));
}

void Test::Command1_Click()
{
    MOODUL1& s = state();
    const TestOptions o = options();

    s.ElapsedSeconds = 0;
    Timer1->setEnabled(false);
    Timer1->setEnabled(true);

    if (o.normalMode)
        ui->Text1->setText(trimBlanks(ui->Text1->text()));

    const int question = s.CurrentQuestion;
    const QString& expected = o.askUnknownWords ? s.UnknownWords[question] : s.KnownWords[question];
    if (ui->Text1->text() != expected) {
        platform().beep();
        checkedIncrement(s.WrongCount);
        AkenVale* alreadyOpen = program().loaded<AkenVale>();
        AkenVale& wrong = program().form<AkenVale>();
        // Left open from the end of the previous test: show this question.
        if (alreadyOpen)
            wrong.Form_Load();
        Hide();
        wrong.Show();
    }

    checkedIncrement(s.AnsweredCount);
    if (s.AnsweredCount > s.LastWordIndex) {
        program().show<Tulemus>();
        program().unload<Test>();
        return;
    }
    Form_Load();
}

void Test::Text1_KeyPress(int& KeyAscii)
{
    if (KeyAscii != KeyEnter && KeyAscii != KeyEscape)
        return;
    KeyAscii = 0;
    ui->Label1->setText(signedNumber(state().LastWordIndex));
    Command1_Click();
}

bool Test::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui->Text1 || event->type() != QEvent::KeyPress)
        return Form::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    int code = 0;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        code = KeyEnter;
    else if (key->key() == Qt::Key_Escape)
        code = KeyEscape;
    else if (!key->text().isEmpty())
        code = key->text().at(0).unicode();
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
    if (state().AnsweredCount != 0 && state().WrongAnswerAcknowledged)
        program().show<Tulemus>();
}

void Test::Timer1_Timer()
{
    state().ElapsedSeconds = 0;
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

// However the test ends, the main window is there to go on from.
void Test::Form_Unload() { program().show<Main>(); }

void Test::choose(ClickLabel* label)
{
    ui->Text1->setText(label->text());
    Command1_Click();
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
            setColours(other, systemColour(SystemColour::MenuBar), systemColour(SystemColour::MenuText));
    setColours(label, highlight, systemColour(SystemColour::HighlightText));
}

void Test::Kyssa1_MouseMove() { highlight(ui->Kyssa1); }
void Test::Kyssa2_MouseMove() { highlight(ui->Kyssa2); }
void Test::Kyssa3_MouseMove() { highlight(ui->Kyssa3); }
void Test::Kyssa4_MouseMove() { highlight(ui->Kyssa4); }
void Test::Kyssa5_MouseMove() { highlight(ui->Kyssa5); }

void Test::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

} // namespace vorbix
