#include "state/Version.h"
#include "ui/main/Algus.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>
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

} // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "vorbix: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start it from a desktop session, or on a virtual display:\n"
                     "    xvfb-run -a ./build/vorbix\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(vorbix::applicationTitle());
    QApplication::setApplicationVersion(vorbix::versionText());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vorbix/vorbix32.png")));
    // Windows decide themselves when the program ends: a hidden window that is
    // still loaded keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);

    vorbix::QtPlatform platform;
    vorbix::Program program(platform);
    program.show<vorbix::Algus>();
    return QApplication::exec();
}
