// A whole process from exec to the splash on screen, then a plain exit: the
// start of the program as its main() does it, timed from outside.
#include "startup/FirstPaint.h"

#include "state/CommandLine.h"
#include "state/Version.h"
#include "ui/main/Algus.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    vorbix::CommandLine commandLine;
    commandLine.parse(arguments);
    QApplication app(argc, argv);
    QApplication::setApplicationName(vorbix::applicationTitle());
    QApplication::setApplicationVersion(vorbix::versionText());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vorbix/vorbix32.png")));
    QApplication::setQuitOnLastWindowClosed(false);

    vorbix::bench::FirstPaint watch;
    vorbix::QtPlatform platform;
    vorbix::Program program(platform);
    const bool shown = watch.waitFor(program.show<vorbix::Algus>());
    return shown ? 0 : 1;
}
