#pragma once

#include "ui/toolkit/Form.h"

namespace vorbix {

class Editor : public Form {
    Q_OBJECT
public:
    explicit Editor(Program& program) : Form(program) {}
};

} // namespace vorbix
