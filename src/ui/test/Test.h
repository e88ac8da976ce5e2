#pragma once

#include "ui/toolkit/Form.h"

namespace vorbix {

class Test : public Form {
    Q_OBJECT
public:
    explicit Test(Program& program) : Form(program) {}
};

} // namespace vorbix
