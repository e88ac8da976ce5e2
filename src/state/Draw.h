#pragma once

#include "state/NumberForm.h"

namespace vorbix {

// Picks an index 0..last from a uniform r in [0, 1): r x last in single
// precision, rounded half to even, so both ends come up half as often as
// the inner indices.
inline int drawIndex(double r, int last)
{
    if (last <= 0)
        return 0;
    const float product = static_cast<float>(r) * static_cast<float>(last);
    const auto i = static_cast<int>(roundHalfEven(static_cast<double>(product)));
    return i > last ? last : (i < 0 ? 0 : i);
}

} // namespace vorbix
