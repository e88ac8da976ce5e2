#pragma once

#include <QLabel>

namespace vorbix {

// A label that reports clicks, double clicks and the mouse moving over it.
// A click is a press and a release on the label; the second release of a
// double click is not another click.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);

    // Makes the label a choice that can be picked without a mouse: Tab
    // gives it the focus, Enter or Space picks it, and screen readers see a
    // button named by its text whose press action picks it.
    void makeChoice();
    bool isChoice() const { return choice_; }
    // Picks it as a click would.
    void pick() { emit clicked(); }

signals:
    void clicked();
    void doubleClicked();
    void mouseMoved();
    void focused();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
    bool choice_ = false;
};

} // namespace vorbix
