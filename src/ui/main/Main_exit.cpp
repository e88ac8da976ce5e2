#include "ui/editor/Editor.h"
#include "ui/main/Import.h"
#include "ui/main/Kassav.h"
#include "ui/main/Main.h"
#include "ui/toolkit/Program.h"

namespace vorbix {

void Main::MFExit_Click()
{
    if (listWouldBeLost()) {
        state().PendingAction = PendingExit;
        program().show<Kassav>();
        return;
    }
    program().end();
}

// The close always goes through; a non-empty list is offered for saving.
void Main::Form_Unload()
{
    // A file not yet accepted stays where it is; the list goes to the prompt.
    program().unload<Import>();
    state().ClosedMainOptions = options();
    syncEditor(program());
    if (!state().listIsEmpty()) {
        state().MainWindowClosing = 1;
        program().show<Kassav>();
        return;
    }
    // Whatever else is open, nothing is left to lose but words typed into an
    // open editor's boxes: for them the program lives on with the editor.
    if (const Editor* editor = program().loaded<Editor>(); editor && editor->holdsTyping())
        return;
    program().end();
}

} // namespace vorbix
