#include "ui/main/Main.h"
#include "ui/toolkit/Program.h"

namespace vorbix {

void Main::MFNew_Click() { state().CurrentFile = untitledPath(); }

void Main::MFOpen_Click() {}

void Main::MFSave_Click() {}

void Main::MFSaveAs_Click() {}

bool Main::SavePlain() { return false; }

} // namespace vorbix
