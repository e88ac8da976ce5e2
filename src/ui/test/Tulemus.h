#pragma once

#include "ui/toolkit/Form.h"

#include <memory>

namespace Ui {
class Tulemus;
}

namespace vorbix {

// The outcome of a test; its buttons are the only reset of the counters.
class Tulemus : public Form {
    Q_OBJECT
public:
    explicit Tulemus(Program& program);
    ~Tulemus() override;

    void Form_Load() override;
    void Form_Unload() override;
    // Fills the labels with the counts of now, quietly.
    void showCounts();
    void Command1_Click(); // Again
    void Command2_Click(); // End Test

    std::unique_ptr<Ui::Tulemus> ui;
};

} // namespace vorbix
