#pragma once

#include <QString>

namespace vorbix::dictionary {

// The file keeps a hyphen as "}". A pair is converted together: with p the
// smaller of the two words' counts of `from` (but at least 1), each word has
// its first p occurrences changed to `to`. This is the format's rule and what
// makes a "}" typed on one side only come back as a hyphen.
void applyPairRule(QString& known, QString& unknown, QChar from, QChar to);

inline constexpr QChar Hyphen = u'-';
inline constexpr QChar StoredHyphen = u'}';

} // namespace vorbix::dictionary
