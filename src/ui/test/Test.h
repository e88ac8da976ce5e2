#pragma once

#include "state/ShownQuestion.h"
#include "state/TestOptions.h"
#include "ui/toolkit/Form.h"

#include <QPixmap>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace Ui {
class Test;
}

namespace vorbix {

class ClickLabel;
class Main;
class Timer;

// The word test: asks every pair of the list once per round, typed or
// picked among five choices, under an optional time limit per answer.
class Test : public Form {
    Q_OBJECT
public:
    explicit Test(Program& program);
    ~Test() override;

    // The set-up, run on load and again before every further question.
    void Form_Load() override;
    void Form_Unload() override;

    void Command1_Click(); // the answer check
    void Command2_Click(); // Close
    void Command3_Click(); // Results
    void Text1_KeyPress(int& KeyAscii);
    void Timer1_Timer(); // the time limit ran out
    void Timer2_Timer(); // one-second clock

    void Kyssa1_Click();
    void Kyssa2_Click();
    void Kyssa3_Click();
    void Kyssa4_Click();
    void Kyssa5_Click();
    void Kyssa1_MouseMove();
    void Kyssa2_MouseMove();
    void Kyssa3_MouseMove();
    void Kyssa4_MouseMove();
    void Kyssa5_MouseMove();

    std::unique_ptr<Ui::Test> ui;
    Timer* Timer1 = nullptr;
    Timer* Timer2 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    TestOptions options();
    void arrangeNormal();
    void arrangeChoices();
    void restoreDesignLayout();
    void fillChoices();
    void choose(ClickLabel* label);
    void highlight(ClickLabel* label);
    void light(ClickLabel* label);
    void unlight();
    ClickLabel* litChoice() const;
    void focusMoved(QWidget* from, QWidget* to);
    void showResults();
    bool answerable() const;
    bool choicesOnScreen() const;
    std::array<ClickLabel*, 5> choices() const;
    void record(const ShownQuestion& q, bool right, bool byClock, bool firstOfTest);

    QPixmap picture_;
    ShownQuestion shown_;
    // Where the statistics sit in the design, and the design size: Choices
    // mode puts them back after Normal mode moved them.
    std::vector<std::pair<QWidget*, QPoint>> designPositions_;
    QSize designSize_;
    // For the learning record: the list the question came from, when it
    // came into view, and whether the clock is the one answering.
    QString shownList_;
    std::int64_t shownAtMs_ = 0;
    bool clockAnswers_ = false;
};

} // namespace vorbix
