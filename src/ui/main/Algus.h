#pragma once

#include "ui/toolkit/Form.h"

#include <QPixmap>

#include <memory>

namespace Ui {
class Algus;
}

namespace vorbix {

class Timer;

// Start-up splash: steps a banner through the version and credits, then
// hands over to the main window.
class Algus : public Form {
    Q_OBJECT
public:
    explicit Algus(Program& program);
    ~Algus() override;

    void Form_Load() override;
    void Timer1_Timer(); // the hand-over
    void Timer2_Timer(); // banner step
    void Form_Click();
    void Label1_Click();
    void Label2_Click();
    void Form_KeyPress(int keyAscii);

    static QString bannerVersionText();
    static QString authorName();

    std::unique_ptr<Ui::Algus> ui;
    Timer* Timer1 = nullptr;
    Timer* Timer2 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool userMayClose() const override { return false; }

private:
    QPixmap picture_;
};

} // namespace vorbix
