// The floor for the start-up measure: a process that only brings up Qt and
// one empty window of the splash's size and kind, then exits.
#include "startup/FirstPaint.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    vorbix::bench::FirstPaint watch;
    // The splash's size and place from its design, frameless like it. It links
    // nothing of the program, so the figures are written out here.
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(55, 198, 589, 327);
    window.show();
    return vorbix::bench::reportShown(watch.waitFor(window));
}
