#include "state/Sorting.h"

#include <QCollatorSortKey>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace vorbix {

QCollator wordCollator()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

namespace {

enum class Order { Ascending, Descending };
using Words = std::array<QString, MOODUL1::WordSlots>;

// About n*n/2 comparisons: each key is collated once up front and travels
// with its pair, so a comparison is a byte compare of two sort keys. The
// empty word is handled apart, as a sort key cannot tell it from a word of
// ignorable characters only.
void exchangeSort(MOODUL1& m, Words& keySide, Order order)
{
    const int last = std::min<int>(m.LastWordIndex, MOODUL1::WordSlots - 1);
    if (last < 1)
        return;

    const QCollator collator = wordCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(last + 1);
    std::vector<char> empty(last + 1);
    for (int i = 0; i <= last; ++i) {
        keys.push_back(collator.sortKey(keySide[i]));
        empty[i] = keySide[i].isEmpty();
    }
    const auto compare = [&](int a, int b) {
        if (empty[a])
            return empty[b] ? 0 : -1;
        if (empty[b])
            return 1;
        return keys[a].compare(keys[b]);
    };

    for (int i = 0; i <= last; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            const bool exchange = order == Order::Ascending ? !empty[j] && compare(i, j) > 0
                                                            : compare(i, j) < 0;
            if (!exchange)
                continue;
            m.KnownWords[i].swap(m.KnownWords[j]);
            m.UnknownWords[i].swap(m.UnknownWords[j]);
            std::swap(m.AskedFlags[i], m.AskedFlags[j]); // a pair keeps its mark
            keys[i].swap(keys[j]);
            std::swap(empty[i], empty[j]);
        }
    }
}

} // namespace

void SortUnknownAZ(MOODUL1& m) { exchangeSort(m, m.UnknownWords, Order::Ascending); }
void SortUnknownZA(MOODUL1& m) { exchangeSort(m, m.UnknownWords, Order::Descending); }
void SortKnownAZ(MOODUL1& m) { exchangeSort(m, m.KnownWords, Order::Ascending); }
void SortKnownZA(MOODUL1& m) { exchangeSort(m, m.KnownWords, Order::Descending); }

} // namespace vorbix
