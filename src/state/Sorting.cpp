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

// About n*n/2 comparisons, so each one must be nearly free: every key is
// collated once, the distinct keys are ranked with n log n key comparisons,
// and the exchange sort then compares small integers. Equal keys share a
// rank, so the exchanges are exactly those of comparing the words. The empty
// word ranks below everything (0), as a sort key cannot tell it from a word
// of ignorable characters only.
std::vector<int> collationRanks(const Words& keySide, int last)
{
    const QCollator collator = wordCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(last + 1);
    for (int i = 0; i <= last; ++i)
        keys.push_back(collator.sortKey(keySide[i]));
    const auto compare = [&](int a, int b) {
        const bool ea = keySide[a].isEmpty(), eb = keySide[b].isEmpty();
        if (ea || eb)
            return int(eb) - int(ea);
        return keys[a].compare(keys[b]);
    };
    std::vector<int> order(last + 1);
    for (int i = 0; i <= last; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    std::vector<int> rank(last + 1);
    int r = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && compare(order[k - 1], order[k]) != 0)
            ++r;
        rank[order[k]] = keySide[order[k]].isEmpty() ? 0 : r + 1;
    }
    return rank;
}

void exchangeSort(MOODUL1& m, Words& keySide, Order order)
{
    const int last = lastListIndex(m);
    if (last < 1)
        return;

    std::vector<int> rank = collationRanks(keySide, last);
    for (int i = 0; i <= last; ++i) {
        for (int j = i + 1; j <= last; ++j) {
            const bool exchange = order == Order::Ascending ? rank[j] != 0 && rank[i] > rank[j]
                                                            : rank[i] < rank[j];
            if (!exchange)
                continue;
            m.KnownWords[i].swap(m.KnownWords[j]);
            m.UnknownWords[i].swap(m.UnknownWords[j]);
            std::swap(m.AskedFlags[i], m.AskedFlags[j]); // a pair keeps its mark
            std::swap(rank[i], rank[j]);
        }
    }
}

} // namespace

void SortUnknownAZ(MOODUL1& m) { exchangeSort(m, m.UnknownWords, Order::Ascending); }
void SortUnknownZA(MOODUL1& m) { exchangeSort(m, m.UnknownWords, Order::Descending); }
void SortKnownAZ(MOODUL1& m) { exchangeSort(m, m.KnownWords, Order::Ascending); }
void SortKnownZA(MOODUL1& m) { exchangeSort(m, m.KnownWords, Order::Descending); }

} // namespace vorbix
