#pragma once

#include "ui/toolkit/Form.h"

namespace vorbix {

class Kassav : public Form {
    Q_OBJECT
public:
    explicit Kassav(Program& program) : Form(program) {}
};

} // namespace vorbix
