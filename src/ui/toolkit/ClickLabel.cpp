#include "ui/toolkit/ClickLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace vorbix {

namespace {

// What a screen reader sees of a choice: a button named by its word.
class ChoiceAccessible : public QAccessibleWidget {
public:
    explicit ChoiceAccessible(ClickLabel* label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return label()->text();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            label()->pick();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    ClickLabel* label() const { return static_cast<ClickLabel*>(widget()); }
};

QAccessibleInterface* choiceFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String(ClickLabel::staticMetaObject.className()))
        return nullptr;
    auto* label = qobject_cast<ClickLabel*>(object);
    return label && label->isChoice() ? new ChoiceAccessible(label) : nullptr;
}

} // namespace

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) { setMouseTracking(true); }

void ClickLabel::makeChoice()
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(choiceFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    choice_ = true;
    // Not by a click: whoever lights a choice gives it the focus.
    setFocusPolicy(Qt::TabFocus);
}

void ClickLabel::mousePressEvent(QMouseEvent* event)
{
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = pressed_ && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The base class passes this on as a press; the release that follows
    // ends the double click, not a click of its own.
    QLabel::mouseDoubleClickEvent(event);
    pressed_ = false;
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    emit mouseMoved();
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (choice_ && event->modifiers() == Qt::NoModifier
        && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        // A key held down picks once.
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickLabel::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    update();
    emit focused();
}

void ClickLabel::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    update();
}

void ClickLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!choice_ || !hasFocus())
        return;
    // The mouse may have taken the highlight elsewhere: the keyboard's
    // choice keeps a focus frame.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

} // namespace vorbix
