#include "dictionary/PairRule.h"

#include <algorithm>

namespace vorbix::dictionary {

namespace {

void replaceFirst(QString& word, QChar from, QChar to, qsizetype count)
{
    qsizetype i = word.indexOf(from);
    if (i < 0)
        return;
    QChar* d = word.data();
    for (; i < word.size() && count > 0; ++i) {
        if (d[i] == from) {
            d[i] = to;
            --count;
        }
    }
}

} // namespace

void applyPairRule(QString& known, QString& unknown, QChar from, QChar to)
{
    if (from == to || (!known.contains(from) && !unknown.contains(from)))
        return;
    // Pass by pass, one occurrence in each word, until a word has none left:
    // that is min(counts) passes, or one pass when a word had none at all.
    const qsizetype passes = std::max<qsizetype>(1, std::min(known.count(from), unknown.count(from)));
    replaceFirst(known, from, to, passes);
    replaceFirst(unknown, from, to, passes);
}

} // namespace vorbix::dictionary
