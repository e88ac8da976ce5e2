// The floor with text: a bare window of the splash's size and kind showing
// one label, so that Qt's font set-up is paid here too.
#include "startup/FirstPaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    vorbix::bench::FirstPaint watch;
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setGeometry(55, 198, 589, 327);
    QLabel label(QStringLiteral("Vorbix ver 1.4.0"), &window);
    label.setGeometry(16, 144, 569, 33);
    window.show();
    return vorbix::bench::reportShown(watch.waitFor(window));
}
