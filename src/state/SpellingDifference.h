#pragma once

#include <QString>

#include <vector>

namespace vorbix {

// Where a typed answer parts from the right one, letter by letter. A letter
// is a grapheme cluster: a base with its combining marks, or a character
// outside the basic plane, is never split.
enum class Mark {
    Same, // typed as it should be
    Wrong, // typed, but other letters belong here
    Swapped, // two neighbouring letters typed the other way round
    Missing, // left out
    Extra // typed, but nothing belongs here
};

// Why letters that were typed count as wrong although they look close.
enum class Slip {
    None,
    Case, // the same letter in the other case
    Accent, // the same base letter with other accents
    Form // the same text stored in another way (composed or not)
};

struct DiffPart {
    Mark mark = Mark::Same;
    QString typed; // empty for Missing
    QString expected; // empty for Extra
    Slip slip = Slip::None;
    int letter = 0; // 0-based place in the right word where the part starts
};

// Aligns the typed answer with the right one by the fewest edits (a swap of
// two neighbours is one), as the answer is judged: blanks at either end do
// not count. Neighbouring parts of one kind are joined. Right answers give
// Same parts only, or none when both are empty.
std::vector<DiffPart> spellingDifference(const QString& typed, const QString& expected);

bool hasDifference(const std::vector<DiffPart>& parts);

// The difference in words, for a screen reader: "Letter 2: “a” instead of
// “o”. Letter 6: “e” missing."
QString describeDifference(const std::vector<DiffPart>& parts);

} // namespace vorbix
