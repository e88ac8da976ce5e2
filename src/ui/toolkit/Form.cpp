#include "ui/toolkit/Form.h"

#include "state/Placement.h"
#include "ui/toolkit/KeyGuard.h"
#include "ui/toolkit/Program.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

namespace vorbix {

namespace {

// Qt calls a plain top-level widget a "client" (a filler to screen readers);
// our windows are frames and dialogs.
QAccessibleInterface* formAccessible(const QString&, QObject* object)
{
    auto* form = qobject_cast<Form*>(object);
    if (!form)
        return nullptr;
    return new QAccessibleWidget(form, form->kind() == Form::Kind::Dialog ? QAccessible::Dialog : QAccessible::Window);
}

QMargins marginsBetween(const QRect& outer, const QRect& inner)
{
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

Form::Form(Program& program, Kind kind) : QWidget(nullptr), program_(program), kind_(kind)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(formAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() = default;

int Form::keyAscii(const QKeyEvent* key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
        return KeyAsciiEnter;
    if (key->key() == Qt::Key_Escape)
        return KeyAsciiEscape;
    return key->text().isEmpty() ? 0 : key->text().at(0).unicode();
}

Platform& Form::platform() { return program_.platform(); }
MOODUL1& Form::state() { return program_.state(); }

void Form::Show()
{
    if (unloaded_ || unloading_)
        return;
    // Brought forward, maybe with new content: keys wait for a fresh press.
    program_.keyGuard().rearm(this);
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

void Form::setDesignPosition(QPoint topLeft) { designPosition_ = topLeft; }

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

void Form::keyPressEvent(QKeyEvent* event)
{
    // Keys reach the window when the focused control has no use for them;
    // a focused push button has taken Enter already (see showEvent).
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (defaultButton_ && defaultButton_->isEnabled() && defaultButton_->isVisible()) {
            defaultButton_->click();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible()) {
            cancelButton_->click();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void Form::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shownBefore_ || event->spontaneous())
        return;
    shownBefore_ = true;
    // A push button takes Enter itself once it has the focus, and shows so,
    // as in a dialog.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(true);
    placeOnScreen();
}

QMargins Form::frameEstimate() const
{
    if (windowFlags() & Qt::FramelessWindowHint)
        return {};
    if (const QWindow* window = windowHandle(); window && !window->frameMargins().isNull())
        return window->frameMargins();
    // Before the window system has framed this window, another one it has
    // framed tells how thick its frames are.
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible() || (w->windowFlags() & Qt::FramelessWindowHint))
            continue;
        const QMargins m = marginsBetween(w->frameGeometry(), w->geometry());
        if (!m.isNull())
            return m;
    }
    // Failing all that, room for a title bar at least.
    return {0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
}

void Form::placeOnScreen()
{
    if (!designPosition_)
        return;
    if (layout())
        layout()->activate();
    const QRect inside(*designPosition_, size());
    QScreen* screen = QGuiApplication::screenAt(inside.center());
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QMargins frame = frameEstimate();
    const QRect placed = placeWithin(inside.marginsAdded(frame), screen->availableGeometry());
    setGeometry(QRect(placed.topLeft() + QPoint(frame.left(), frame.top()), inside.size()));
}

} // namespace vorbix
