#include "state/Moodul1.h"

#include <algorithm>

namespace vorbix {

int lastListIndex(const MOODUL1& s) { return std::min<int>(s.LastWordIndex, MOODUL1::WordSlots - 1); }

int pairCount(const MOODUL1& s, int limit)
{
    int n = 0;
    while (n < limit && !s.KnownWords[n].isEmpty())
        ++n;
    return n;
}

bool needsSavePrompt(const MOODUL1& s) { return !s.listIsEmpty() && s.WordsModified == 1; }

} // namespace vorbix
