#pragma once

#include "ui/toolkit/Form.h"

namespace vorbix {

class Tulemus : public Form {
    Q_OBJECT
public:
    explicit Tulemus(Program& program) : Form(program) {}
};

} // namespace vorbix
