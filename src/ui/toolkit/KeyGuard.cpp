#include "ui/toolkit/KeyGuard.h"

#include "ui/toolkit/Platform.h"

#include <QAbstractSpinBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace vorbix {

namespace {

unsigned keyBit(int key)
{
    switch (key) {
    case Qt::Key_Return:
        return 1;
    case Qt::Key_Enter:
        return 2;
    case Qt::Key_Space:
        return 4;
    case Qt::Key_Escape:
        return 8;
    default:
        return 0;
    }
}

} // namespace

KeyGuard::KeyGuard(Platform& platform) : platform_(platform)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KeyGuard::~KeyGuard() = default;

void KeyGuard::rearm(const QWidget* window) { windows_[window] = {platform_.monotonicMs(), 0}; }

bool KeyGuard::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::Show && type != QEvent::Hide)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    if (type == QEvent::KeyPress)
        return swallows(widget, static_cast<QKeyEvent*>(event));
    if (widget->isWindow()) {
        if (type == QEvent::Show)
            rearm(widget);
        else
            windows_.remove(widget);
    }
    return false;
}

bool KeyGuard::swallows(QWidget* receiver, const QKeyEvent* key)
{
    const unsigned bit = keyBit(key->key());
    // A blank typed into a text is no command.
    if (bit == 0
        || (key->key() == Qt::Key_Space
            && (qobject_cast<QLineEdit*>(receiver) || qobject_cast<QAbstractSpinBox*>(receiver))))
        return false;
    const auto watch = windows_.find(receiver->window());
    if (watch == windows_.end() || (watch->fresh & bit))
        return false;
    if (key->isAutoRepeat() || platform_.monotonicMs() - watch->since < WaitMs)
        return true;
    watch->fresh |= bit;
    return false;
}

} // namespace vorbix
