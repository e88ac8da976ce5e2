#pragma once

#include "state/ShownQuestion.h"
#include "ui/toolkit/Form.h"

#include <memory>

class QLabel;

namespace Ui {
class AkenVale;
}

namespace vorbix {

// After a wrong or timed-out answer: the question and the right answer,
// with the test's clock stopped until "Continue".
class AkenVale : public Form {
    Q_OBJECT
public:
    explicit AkenVale(Program& program);
    ~AkenVale() override;

    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click(); // Continue

    // The question just judged wrong, as the user saw it, and what was
    // given for it: shown against the right answer under its option.
    void showQuestion(const ShownQuestion& q, const QString& given);

    std::unique_ptr<Ui::AkenVale> ui;

protected:
    // No close box: "Continue" is the way out.
    bool userMayClose() const override { return false; }

private:
    void restartTestClock();
    void showAnswer(bool on, const QString& given, const QString& expected);

    QLabel* answerCaption_ = nullptr;
    QLabel* answerText_ = nullptr;
    QSize designSize_;
    QPoint designContinue_;
};

} // namespace vorbix
