#include "ui/main/Kassav.h"

#include "ui_Kassav.h"

#include "ui/editor/Editor.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Design.h"
#include "ui/toolkit/Program.h"

#include <utility>

namespace vorbix {

Kassav::Kassav(Program& program) : Form(program, Kind::Dialog), ui(std::make_unique<Ui::Kassav>())
{
    ui->setupUi(this);
    applyDesignFonts(this);
    setTitleBar(false);
    setFixedSize(size());
    setDesignPosition(QPoint(twips(4770), twips(4395)));
    setCancelButton(ui->Command3);
    connect(ui->Command1, &QPushButton::clicked, this, &Kassav::Command1_Click);
    connect(ui->Command2, &QPushButton::clicked, this, &Kassav::Command2_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Kassav::Command3_Click);
}

Kassav::~Kassav() = default;

void Kassav::Form_Load() { ui->Label1->setText(state().CurrentFile); }

// Every way the prompt closes (its buttons and its close box) clears why it
// was opened; the close box is a Cancel.
void Kassav::Form_Unload()
{
    state().PendingAction = PendingNone;
    state().PendingOpenPath.clear();
    state().MainWindowClosing = 0;
}

void Kassav::Command1_Click()
{
    auto& s = state();
    // A dropped file is opened once the list it would replace is saved; File >
    // Open leaves the user to choose Open again. Not on the way out.
    const QString dropped = s.PendingAction == PendingOpen && s.MainWindowClosing == 0 ? s.PendingOpenPath : QString();
    // What an open editor holds is saved too, or the words would count as
    // saved while only the editor has them.
    Main::syncEditor(program());
    s.WordsModified = 0;
    bool failed = false;
    if (Main::needsSaveAs(program())) {
        // Save As lives on the main window (its dialog keeps its settings);
        // it ends the program itself after a save asked for on the way out.
        Main& main = program().form<Main>();
        main.MFSaveAs_Click();
        if (program().ended())
            return;
        failed = main.lastSaveAsFailed();
    } else {
        // The plain writer needs no main window, which may be closed by now.
        failed = !Main::savePlain(program());
        if (!failed && s.PendingAction == PendingExit) {
            program().end();
            return;
        }
    }
    if (failed) {
        // The list is still unsaved: the next way out must ask again, and
        // the user needs a window to try from.
        s.WordsModified = 1;
        program().show<Main>();
    } else if (!dropped.isEmpty() && !isUnloaded()) { // gone: Save As was cancelled
        s.PendingAction = PendingNone;
        program().show<Main>().openDropped(dropped);
    }
    s.PendingAction = PendingNone;
    s.MainWindowClosing = 0;
    Unload();
}

void Kassav::Command2_Click()
{
    auto& s = state();
    s.WordsModified = 0;
    if (s.PendingAction == PendingOpen) {
        s.PendingAction = PendingNone;
        const QString dropped = std::exchange(s.PendingOpenPath, QString());
        // Shown, not just loaded: the main window may have been closed
        // meanwhile, and a hidden one would keep the program running unseen.
        Main& main = program().show<Main>();
        if (dropped.isEmpty())
            main.MFOpen_Click();
        else
            main.openDropped(dropped);
    } else if (s.PendingAction == PendingExit) {
        s.PendingAction = PendingNone;
        program().end();
        return;
    }
    s.MainWindowClosing = 0;
    Hide();
    Unload();
}

void Kassav::Command3_Click()
{
    state().PendingAction = PendingNone;
    state().MainWindowClosing = 0;
    Unload();
}

} // namespace vorbix
