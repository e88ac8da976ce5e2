#include "ui/test/AkenVale.h"

#include "ui_AkenVale.h"

#include "ui/main/Main.h"
#include "ui/test/Test.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/Timer.h"

namespace vorbix {

AkenVale::AkenVale(Program& program) : Form(program, Kind::Dialog), ui(std::make_unique<Ui::AkenVale>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setTitleBar(false, false);
    setFixedSize(size());

    for (QLabel* label : {ui->Label1, ui->Label2, ui->Label3})
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

void AkenVale::showQuestion(const ShownQuestion& q)
{
    showWord(ui->Label2, q.question);
    showWord(ui->Label3, q.expected);
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
