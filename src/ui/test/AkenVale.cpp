#include "ui/test/AkenVale.h"

#include "ui_AkenVale.h"

#include "ui/main/Main.h"
#include "ui/test/Test.h"
#include "state/SpellingDifference.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/DifferenceText.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/Timer.h"

namespace vorbix {

namespace {
constexpr int AnswerRowTop = 120; // pixels, below the right answer
constexpr int AnswerRowHeight = 32; // what the window and Continue move down
} // namespace

AkenVale::AkenVale(Program& program) : Form(program, Kind::Dialog), ui(std::make_unique<Ui::AkenVale>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setTitleBar(false, false);
    setFixedSize(size());

    // The user's answer, in a row of its own below the design's, only while
    // its option is on.
    answerCaption_ = new QLabel(QStringLiteral("Your answer:"), this);
    answerCaption_->setObjectName(QStringLiteral("AnswerCaption"));
    answerCaption_->setFont(ui->Label5->font());
    answerCaption_->setGeometry(ui->Label5->x(), AnswerRowTop, ui->Label5->width(), ui->Label5->height());
    answerText_ = new QLabel(this);
    answerText_->setObjectName(QStringLiteral("AnswerText"));
    answerText_->setTextFormat(Qt::RichText);
    answerText_->setFont(ui->Label3->font());
    answerText_->setGeometry(ui->Label3->x(), AnswerRowTop, ui->Label3->width(), ui->Label3->height());
    answerCaption_->setBuddy(answerText_);
    answerCaption_->hide();
    answerText_->hide();
    designSize_ = size();
    designContinue_ = ui->Command1->pos();

    for (QLabel* label : {ui->Label1, ui->Label2, ui->Label3, answerText_})
        setMenuColours(label);

    // Continue is the only way on: Enter and Esc both mean it.
    setDefaultButton(ui->Command1);
    setCancelButton(ui->Command1);
    connect(ui->Command1, &QPushButton::clicked, this, &AkenVale::Command1_Click);
}

AkenVale::~AkenVale() = default;

void AkenVale::Form_Load()
{
    MOODUL1& s = state();
    if (Test* test = program().loaded<Test>()) {
        test->Timer1->setEnabled(false);
        test->Timer2->setEnabled(false);
    }
    s.WrongAnswerAcknowledged = false;
}

void AkenVale::showQuestion(const ShownQuestion& q, const QString& given)
{
    showWord(ui->Label2, q.question);
    showWord(ui->Label3, q.expected);
    showAnswer(Main::options(program()).showWrongAnswer, given, q.expected);
}

void AkenVale::showAnswer(bool on, const QString& given, const QString& expected)
{
    answerCaption_->setVisible(on);
    answerText_->setVisible(on);
    ui->Command1->move(designContinue_ + QPoint(0, on ? AnswerRowHeight : 0));
    setFixedSize(designSize_ + QSize(0, on ? AnswerRowHeight : 0));
    if (!on)
        return;
    const auto parts = spellingDifference(given, expected);
    answerText_->setText(differenceHtml(parts, answerText_->palette().color(QPalette::Window)));
    answerText_->setToolTip(differenceLegend());
    const QString typed = given.trimmed().isEmpty() ? QStringLiteral("nothing") : given;
    answerText_->setAccessibleName(QStringLiteral("Your answer: ") + typed);
    answerText_->setAccessibleDescription(describeDifference(parts));
}

// Only a test window that is still open gets its clock back; after the
// last answer the test is over and the results stay in front alone.
void AkenVale::restartTestClock()
{
    if (!Main::options(program()).timeLimitOn)
        return;
    state().ElapsedSeconds = 0;
    if (Test* test = program().loaded<Test>()) {
        test->Timer1->setEnabled(true);
        test->Timer2->setEnabled(true);
    }
}

void AkenVale::Command1_Click()
{
    restartTestClock();
    state().WrongAnswerAcknowledged = true;
    Unload();
}

// The results are opened by the answer check alone, never from here.
void AkenVale::Form_Unload()
{
    restartTestClock();
    if (Test* test = program().loaded<Test>())
        test->Show();
}

} // namespace vorbix
