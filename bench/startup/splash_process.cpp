// A whole process from exec to the splash on screen, then a plain exit: the
// start of the program as its main() does it, timed from outside.
#include "startup/FirstPaint.h"

#include "state/CommandLine.h"
#include "ui/main/Algus.h"
#include "ui/main/Startup.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    vorbix::CommandLine commandLine;
    commandLine.parse(arguments);
    QApplication app(argc, argv);
    vorbix::bench::FirstPaint watch;
    vorbix::QtPlatform platform;
    vorbix::Program program(platform);
    vorbix::startProgram(program, commandLine);
    return vorbix::bench::reportShown(watch.waitFor(*program.loaded<vorbix::Algus>()));
}
