#pragma once

#include "dictionary/Import.h"

#include <QString>
#include <QStringList>

namespace vorbix::dictionary {

// The messages after a list from another program was taken: how many pairs
// were read and how many entries were skipped and why (an unchosen lesson is
// no loss), and which entries a list over MaxPairs left out.
QStringList importMessages(const QString& path, const ImportPreview& preview);

// What the import window says it will read: pairs, range, skips.
QString importSummary(const ImportPreview& preview);

} // namespace vorbix::dictionary
