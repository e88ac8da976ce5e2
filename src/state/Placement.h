#pragma once

#include <QRect>

namespace vorbix {

// Where a window with a fixed place of its own opens: at that place when all
// of it is inside the screen's available area, otherwise moved the shortest
// way that brings all of it inside. A window larger than the area keeps its
// top-left corner (title bar, menu) on the area.
QRect placeWithin(const QRect& wanted, const QRect& available);

} // namespace vorbix
