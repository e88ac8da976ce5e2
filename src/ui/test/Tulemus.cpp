#include "ui/test/Tulemus.h"

#include "ui_Tulemus.h"

#include "ui/toolkit/Contrast.h"
#include "state/Drill.h"
#include "state/NumberForm.h"
#include "state/ShownQuestion.h"
#include "state/TestRound.h"
#include "ui/test/Test.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

namespace vorbix {

Tulemus::Tulemus(Program& program) : Form(program, Kind::Dialog), ui(std::make_unique<Ui::Tulemus>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setFixedSize(size());

    for (QLabel* label : {ui->Label1, ui->Label2, ui->Label4})
        setMenuColours(label);
    // "Wrong:" is in the highlight text colour, which on the menu-bar colour
    // is often unreadable (white on light grey): it gets the highlight as
    // its background, darkened or lightened as far as reading needs.
    const QColor highlightText = systemColour(SystemColour::HighlightText);
    setColours(ui->Label3, withContrast(systemColour(SystemColour::Highlight), highlightText), highlightText);

    connect(ui->Command1, &QPushButton::clicked, this, &Tulemus::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Tulemus::Command2_Click);
}

Tulemus::~Tulemus() = default;

// Run again on an open window when a test ends: the counts are those of now.
void Tulemus::Form_Load()
{
    program().unload<Test>();
    showCounts();
    if (state().AnsweredCount != 0)
        for (int i = 0; i < 3; ++i)
            platform().beep();
}

// A drill goes on only into the test that "Again" has just opened.
void Tulemus::Form_Unload()
{
    if (!program().loaded<Test>())
        endDrill(state());
}

void Tulemus::showCounts()
{
    const MOODUL1& s = state();
    const int right = rightAnswers(s);
    ui->Label1->setText(QStringLiteral("Word count: ") + signedNumber(s.AnsweredCount));
    ui->Label2->setText(QStringLiteral("Right: ") + signedNumber(right));
    ui->Label3->setText(QStringLiteral("Wrong: ") + signedNumber(s.WrongCount));
    ui->Label4->setText(QStringLiteral("Right answers: ") + rightShare(s, QStringLiteral("0%")));
}

void Tulemus::Command1_Click()
{
    resetCounts(state());
    // The new test first: were this the last window, closing it first would
    // end the program. With the counters at zero the set-up never turns to
    // the results, so this window is not needed by it.
    program().show<Test>();
    Unload();
}

void Tulemus::Command2_Click()
{
    resetCounts(state());
    Unload();
    program().unload<Test>();
}

} // namespace vorbix
