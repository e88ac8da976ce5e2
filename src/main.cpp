// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/CommandLine.h"
#include "state/Version.h"
#include "ui/main/Algus.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

// Help, version and mistakes end the program here. Needs an application
// object (the help names the program by it), but no display.
int answer(const vorbix::CommandLine& commandLine, bool parsed)
{
    if (!parsed) {
        std::fprintf(stderr, "vorbix: %s\nTry 'vorbix --help' for more information.\n",
                     qPrintable(commandLine.errorText()));
        return 1;
    }
    const QString text =
        commandLine.wantsHelp() ? commandLine.helpText() : vorbix::CommandLine::versionLine() + QLatin1Char('\n');
    std::fputs(qPrintable(text), stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt's own options (-platform, -style ...) are unknown here; they are
    // taken off by the application object, and the rest is read again then.
    vorbix::CommandLine commandLine;
    const bool parsed = commandLine.parse(argumentList(argc, argv));
    if (parsed ? (commandLine.wantsHelp() || commandLine.wantsVersion()) : !displayAvailable()) {
        QCoreApplication core(argc, argv);
        return answer(commandLine, parsed);
    }

    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "vorbix: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start it from a desktop session, or on a virtual display:\n"
                     "    xvfb-run -a ./build/vorbix\n");
        return 2;
    }
    QApplication app(argc, argv);
    if (!parsed) {
        const bool understood = commandLine.parse(QCoreApplication::arguments());
        if (!understood || commandLine.wantsHelp() || commandLine.wantsVersion())
            return answer(commandLine, understood);
    }
    QApplication::setApplicationName(vorbix::applicationTitle());
    QApplication::setApplicationVersion(vorbix::versionText());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vorbix/vorbix32.png")));
    // Windows decide themselves when the program ends: a hidden window that is
    // still loaded keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);

    vorbix::QtPlatform platform;
    vorbix::Program program(platform);
    program.setStartupFile(commandLine.file(QDir::currentPath()));
    program.show<vorbix::Algus>();
    return QApplication::exec();
}
