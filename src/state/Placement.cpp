#include "state/Placement.h"

#include <algorithm>

namespace vorbix {

namespace {

// The start of a span of the given length moved the least way into
// [first, last]; a span that cannot fit starts at first.
int clampSpan(int start, int length, int first, int last)
{
    const int latest = last - length + 1;
    if (latest < first)
        return first;
    return std::clamp(start, first, latest);
}

} // namespace

QRect placeWithin(const QRect& wanted, const QRect& available)
{
    if (!available.isValid())
        return wanted;
    QRect placed = wanted;
    placed.moveTo(clampSpan(wanted.left(), wanted.width(), available.left(), available.right()),
                  clampSpan(wanted.top(), wanted.height(), available.top(), available.bottom()));
    return placed;
}

} // namespace vorbix
