#pragma once

#include "ui/toolkit/Form.h"

namespace vorbix {

class About : public Form {
    Q_OBJECT
public:
    explicit About(Program& program) : Form(program) {}
};

} // namespace vorbix
