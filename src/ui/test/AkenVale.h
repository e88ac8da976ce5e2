#pragma once

#include "ui/toolkit/Form.h"

namespace vorbix {

class AkenVale : public Form {
    Q_OBJECT
public:
    explicit AkenVale(Program& program) : Form(program) {}
};

} // namespace vorbix
