#pragma once

#include "state/SpellingDifference.h"

#include <QColor>
#include <QString>

namespace vorbix {

// The typed answer as a proofreader marks it: letters typed wrong are struck
// through, the right letters that belong there are underlined, in colours
// readable on `background`. One line of rich text.
QString differenceHtml(const std::vector<DiffPart>& parts, const QColor& background);

// What the marks mean, for the windows that show them.
QString differenceLegend();

} // namespace vorbix
