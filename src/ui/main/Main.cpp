#include "ui/main/Main.h"

#include "ui_Main.h"

#include "history/Recorder.h"
#include "state/Drill.h"
#include "state/NumberForm.h"
#include "state/Version.h"
#include "ui/about/About.h"
#include "ui/editor/Editor.h"
#include "ui/test/Test.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Platform.h"
#include "ui/toolkit/Program.h"

#include <QApplication>
#include <QRadioButton>
#include <QDir>
#include <QWheelEvent>
#include <QVBoxLayout>

#include <cstdlib>

namespace vorbix {

Main::Main(Program& program) : Form(program), ui(std::make_unique<Ui::Main>()), CommonDialog1(program.platform())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    ui->menuBar->setFont(QFont());
    // A screen reader names each option with its group, as the eye reads
    // the caption above it.
    for (const auto& [caption, group] : {std::pair{ui->Label1, ui->Picture2}, std::pair{ui->Label3, ui->Picture1}}) {
        group->setAccessibleName(caption->text());
        for (QRadioButton* option : group->findChildren<QRadioButton*>())
            option->setAccessibleDescription(caption->text());
    }
    // The program's icon, for the prompt, the About box and the dialogs: set
    // here, as reading it loads every image plugin, which the splash (which
    // has no icon) must not wait for.
    QApplication::setWindowIcon(windowIcon());

    // A title bar with a close box but no maximise button: a borderless
    // window could be neither moved nor closed on most desktops.
    setTitleBar(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(ui->menuBar);
    ui->client->setFixedSize(twips(6540), twips(4350));
    layout->addWidget(ui->client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The design places the client area; the menu bar goes above it.
    setDesignPosition(QPoint(twips(4410), twips(3825) - ui->menuBar->sizeHint().height()));

    // The menu's separator lines carry their design names.
    const char* separatorNames[] = {"Separaator", "joon2", "joon3"};
    int n = 0;
    for (QAction* a : ui->MFile->actions())
        if (a->isSeparator() && n < 3)
            a->setObjectName(QString::fromLatin1(separatorNames[n++]));

    ui->MFNew->setShortcut(QKeySequence::New);
    ui->MFOpen->setShortcut(QKeySequence::Open);
    ui->MFSave->setShortcut(QKeySequence::Save);
    // Not every platform has a standard key for Save As.
    ui->MFSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    // Nor for Quit: the Windows key scheme has none, and Ctrl+Q is what
    // desktops here use.
    ui->MFExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    setAcceptDrops(true);
    CommonDialog1.Filter = QStringLiteral("Quorvel's Files (*.dic) |*.dic|");
    CommonDialog1.DefaultExt = QStringLiteral(".dic");

    connect(ui->MFNew, &QAction::triggered, this, &Main::MFNew_Click);
    connect(ui->MFOpen, &QAction::triggered, this, &Main::MFOpen_Click);
    connect(ui->MFSave, &QAction::triggered, this, &Main::MFSave_Click);
    connect(ui->MFSaveAs, &QAction::triggered, this, &Main::MFSaveAs_Click);
    connect(ui->MFExit, &QAction::triggered, this, &Main::MFExit_Click);
    connect(ui->MAbout, &QAction::triggered, this, &Main::MAbout_Click);
    connect(ui->MPShow, &QAction::triggered, this, &Main::MPShow_Click);
    connect(ui->MPMistakes, &QAction::triggered, this, &Main::MPMistakes_Click);
    connect(ui->MPWeakest, &QAction::triggered, this, &Main::MPWeakest_Click);
    connect(ui->MPRecord, &QAction::triggered, this, &Main::MPRecord_Click);
    connect(ui->MPClearList, &QAction::triggered, this, &Main::MPClearList_Click);
    connect(ui->MPClearAll, &QAction::triggered, this, &Main::MPClearAll_Click);
    connect(ui->Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* button) { Toolbar1_ButtonClick(button->property("key").toString()); });
    connect(ui->Command1, &QPushButton::clicked, this, &Main::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Main::Command2_Click);
    connect(ui->nupptest, &QPushButton::clicked, this, &Main::nupptest_Click);
    connect(ui->Check1, &QCheckBox::toggled, this, &Main::Check1_Click);
    connect(ui->VScroll1, &QScrollBar::valueChanged, this, &Main::VScroll1_Change);
    // The spinner has its largest value at the top, so its up arrow (and the
    // Up key) must raise the value; Qt's arrows step towards the top's end of
    // the range whichever way the bar is drawn.
    connect(ui->VScroll1, &QAbstractSlider::actionTriggered, this, [this](int action) {
        QScrollBar* bar = ui->VScroll1;
        int step = 0;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            step = -bar->singleStep();
            break;
        case QAbstractSlider::SliderSingleStepSub:
            step = bar->singleStep();
            break;
        case QAbstractSlider::SliderPageStepAdd:
            step = -bar->pageStep();
            break;
        case QAbstractSlider::SliderPageStepSub:
            step = bar->pageStep();
            break;
        default:
            return;
        }
        bar->setSliderPosition(bar->value() + step);
    });
    ui->VScroll1->installEventFilter(this);
}

bool Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui->VScroll1 || event->type() != QEvent::Wheel)
        return Form::eventFilter(watched, event);
    // Qt turns the wheel into a move toward the top of the range, which is
    // drawn at the bottom here: the wheel goes through the arrows instead,
    // turning away from the user meaning the up arrow.
    const auto* wheel = static_cast<QWheelEvent*>(event);
    int delta = wheel->angleDelta().y();
    if (wheel->inverted())
        delta = -delta;
    wheelRest_ += delta;
    const int steps = wheelRest_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRest_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    for (int i = 0; i < std::abs(steps); ++i)
        ui->VScroll1->triggerAction(steps > 0 ? QAbstractSlider::SliderSingleStepSub
                                              : QAbstractSlider::SliderSingleStepAdd);
    return true;
}

Main::~Main() = default;

QString Main::untitledPath(Platform& platform)
{
    return platform.currentDirectory() + QDir::separator() + untitledFileName();
}

bool Main::isUntitled(Program& program) { return program.state().CurrentFile == untitledPath(program.platform()); }

QString Main::untitledPath() { return untitledPath(platform()); }

bool Main::isUntitled() { return isUntitled(program()); }

TestOptions Main::options() const
{
    TestOptions o;
    o.askUnknownWords = ui->Option1->isChecked();
    o.normalMode = ui->Option3->isChecked();
    o.timeLimitOn = ui->Check1->isChecked();
    o.timeLimitSeconds = ui->VScroll1->value();
    o.showWrongAnswer = ui->MPShowAnswer->isChecked();
    return o;
}

TestOptions Main::options(Program& program)
{
    if (const Main* main = program.loaded<Main>())
        return main->options();
    return program.state().ClosedMainOptions;
}

void Main::Form_Load()
{
    state().WrongAnswerAcknowledged = false;
    Check1_Click();
    // --no-history, or the option unticked before this window was loaded.
    ui->MPRecord->setChecked(program().history().recording());
    // A main window loaded again while the list lives on keeps its file:
    // an untitled one would send the next save elsewhere.
    if (state().CurrentFile.isEmpty())
        state().CurrentFile = untitledPath();
    setWindowTitle(mainWindowTitle(isUntitled() ? untitledFileName() : state().CurrentFile));
}

QString Main::timeLimitEstonian(int seconds)
{
    const int m = seconds / 60;
    const int s = seconds - 60 * m;
    return QStringLiteral(" ") + signedNumber(m) + QStringLiteral(" minutit ja ") + signedNumber(s)
        + QStringLiteral(" sekundit.");
}

QString Main::timeLimitEnglish(int seconds)
{
    const int m = seconds / 60;
    const int s = seconds - 60 * m;
    return QStringLiteral(" ") + signedNumber(m) + QStringLiteral(" minutes and ") + signedNumber(s)
        + QStringLiteral(" seconds");
}

void Main::Check1_Click()
{
    if (ui->Check1->isChecked()) {
        ui->VScroll1->setEnabled(true);
        ui->Label2->setText(timeLimitEstonian(ui->VScroll1->value()));
    } else {
        ui->VScroll1->setEnabled(false);
        ui->Label2->setText(QString());
    }
}

void Main::VScroll1_Change() { ui->Label2->setText(timeLimitEnglish(ui->VScroll1->value())); }

void Main::Command1_Click() { program().show<Editor>(); }

void Main::Command2_Click() { MFExit_Click(); }

void Main::nupptest_Click()
{
    if (!state().listIsEmpty()) {
        // A test opened from here asks the whole list.
        if (!program().loaded<Test>())
            endDrill(state());
        program().show<Test>();
        return;
    }
    showNothingToTest(platform());
}

void Main::showNothingToTest(Platform& platform)
{
    platform.messageBox(QStringLiteral("There is nothing to test (no words). Please use the Editor "
                                       "and add some words or open already existing file with words!"),
                        MessageIcon::Critical);
}

void Main::MAbout_Click() { program().show<About>(); }

void Main::Toolbar1_ButtonClick(const QString& key)
{
    if (key == QLatin1String("New"))
        MFNew_Click();
    else if (key == QLatin1String("Open"))
        MFOpen_Click();
    else if (key == QLatin1String("Save"))
        MFSave_Click();
    else if (key == QLatin1String("Edit"))
        Command1_Click();
    else if (key == QLatin1String("Testime"))
        nupptest_Click();
    else if (key == QLatin1String("Exit"))
        MFExit_Click();
}

} // namespace vorbix
