#pragma once

#include <QStringList>

namespace vorbix::history {

// The statements that bring a record of this version (0: a new file) up to
// Store::SchemaVersion, in one transaction with the version stamp.
QStringList upgradeSteps(int version);

} // namespace vorbix::history
