#include "ui/toolkit/Form.h"

#include "ui/toolkit/Program.h"

#include <QCloseEvent>

namespace vorbix {

Form::Form(Program& program) : QWidget(nullptr), program_(program)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() = default;

Platform& Form::platform() { return program_.platform(); }
MOODUL1& Form::state() { return program_.state(); }

void Form::Show()
{
    if (unloaded_ || unloading_)
        return;
    if (isVisible())
        raise();
    show();
    activateWindow();
}

void Form::Hide()
{
    if (!unloaded_)
        hide();
}

void Form::setTitleBar(bool minimiseButton, bool closeButton)
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeButton)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimiseButton)
        flags |= Qt::WindowMinimizeButtonHint;
    setWindowFlags(flags);
}

void Form::Unload() { program_.unload(*this); }

void Form::closeEvent(QCloseEvent* event)
{
    // Closing is always ours to carry out: unload runs the handler and
    // destroys the window, so Qt must not hide it on its own.
    event->ignore();
    if (unloaded_ || unloading_ || !userMayClose())
        return;
    Unload();
}

} // namespace vorbix
