#pragma once

#include "ui/toolkit/Form.h"

#include <memory>

namespace Ui {
class Kassav;
}

namespace vorbix {

// The save prompt: offers to save the list before it would be lost.
class Kassav : public Form {
    Q_OBJECT
public:
    explicit Kassav(Program& program);
    ~Kassav() override;

    void Form_Load() override;
    void Form_Unload() override;
    void Command1_Click(); // Yes
    void Command2_Click(); // No
    void Command3_Click(); // Cancel

    std::unique_ptr<Ui::Kassav> ui;
};

} // namespace vorbix
