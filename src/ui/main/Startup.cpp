#include "ui/main/Startup.h"

#include "history/History.h"
#include "history/Recorder.h"
#include "state/CommandLine.h"
#include "state/Version.h"
#include "ui/main/Algus.h"
#include "ui/toolkit/Program.h"

#include <QApplication>
#include <QDir>

namespace vorbix {

void startProgram(Program& program, const CommandLine& commandLine)
{
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(versionText());
    // Windows decide themselves when the program ends: a hidden window that is
    // still loaded keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);
    program.setStartupFile(commandLine.file(QDir::currentPath()));
    program.history().setPath(history::Store::defaultPath());
    program.history().setRecording(!commandLine.wantsNoHistory());
    program.show<Algus>();
}

} // namespace vorbix
