#pragma once

#include "state/Moodul1.h"

#include <QCollator>

namespace vorbix {

// How words are ordered for sorting: the user's locale, case ignored. The C
// locale has no alphabetical order of its own (and its collator's sort keys
// would not ignore case), so there the common English order stands in.
QCollator wordCollator();

// Exchange sorts over positions 0..LastWordIndex of the word arrays, by one
// side, moving whole pairs with their asked marks and identities. Keys that compare equal
// are never exchanged. An A-Z sort never moves a pair whose key is empty; a
// Z-A sort moves such pairs to the end. LastWordIndex and WordsModified stay as they are.
void SortUnknownAZ(MOODUL1& m);
void SortUnknownZA(MOODUL1& m);
void SortKnownAZ(MOODUL1& m);
void SortKnownZA(MOODUL1& m);

} // namespace vorbix
