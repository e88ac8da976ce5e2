#include "state/Sorting.h"

#include <QLocale>

#include <algorithm>
#include <cstdint>
#include <numeric>
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

// About n*n/2 comparisons, so each one must be nearly free. The words are
// ranked once, with n log n comparisons by the same collator; equal words
// share a rank, so comparing ranks exchanges exactly what comparing the words
// would. The empty word ranks 0, below everything. The exchanges then run on
// ranks and positions alone, and the pairs move once, to where they end up.
std::vector<int> collationRanks(const Words& keySide, int last)
{
    const QCollator collator = wordCollator();
    const auto compare = [&](int a, int b) {
        const bool ea = keySide[a].isEmpty(), eb = keySide[b].isEmpty();
        if (ea || eb)
            return int(eb) - int(ea);
        return collator.compare(keySide[a], keySide[b]);
    };
    std::vector<int> order(last + 1);
    std::iota(order.begin(), order.end(), 0);
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

// The exchanges of a random list are a third of its n*n/2 comparisons, too
// many and too irregular to branch on. Each entry packs a rank (high 16 bits;
// a list has at most 1001 pairs) above the pair's position, and position i
// takes the lesser rank by masks instead of a branch. Ties never exchange:
// only the rank part is compared. Entries of rank `never` stay where they are.
void exchangeWhileLess(std::vector<std::uint32_t>& entries, std::uint32_t never)
{
    constexpr std::uint32_t RankPart = 0xFFFF0000u;
    const size_t n = entries.size();
    for (size_t i = 0; i < n; ++i) {
        std::uint32_t held = entries[i];
        if ((held >> 16) == never)
            continue;
        std::uint32_t bar = held & RankPart;
        for (size_t j = i + 1; j < n; ++j) {
            const std::uint32_t later = entries[j];
            const std::uint32_t exchange = 0u - std::uint32_t(later < bar); // all ones or none
            const std::uint32_t both = (later ^ held) & exchange;
            entries[j] = later ^ both;
            held ^= both;
            bar = held & RankPart;
        }
        entries[i] = held;
    }
}

void exchangeSort(MOODUL1& m, Words& keySide, Order order)
{
    const int last = lastListIndex(m);
    if (last < 1)
        return;

    const std::vector<int> rank = collationRanks(keySide, last);
    std::vector<std::uint32_t> entries(last + 1);
    constexpr std::uint32_t Top = 0xFFFF;
    for (int k = 0; k <= last; ++k) {
        // A-Z: a pair is exchanged for a later one of lower rank, never for an
        // empty one, and an empty one stays: the empty word goes to the top,
        // where nothing is below it and it is never moved. Z-A: exchanged for
        // a later one of higher rank, so ranks are turned upside down; the
        // empty word, ranked lowest, sinks to the end.
        const std::uint32_t r = order == Order::Ascending ? (rank[k] == 0 ? Top : rank[k] - 1) : Top - 1 - rank[k];
        entries[k] = r << 16 | std::uint32_t(k);
    }
    exchangeWhileLess(entries, order == Order::Ascending ? Top : ~0u);

    std::vector<QString> known(last + 1), unknown(last + 1);
    std::vector<std::int16_t> asked(last + 1);
    std::vector<std::uint32_t> ids(last + 1);
    for (int i = 0; i <= last; ++i) {
        known[i] = std::move(m.KnownWords[i]);
        unknown[i] = std::move(m.UnknownWords[i]);
        asked[i] = m.AskedFlags[i];
        ids[i] = m.PairIds[i];
    }
    for (int i = 0; i <= last; ++i) {
        const int from = entries[i] & 0xFFFF;
        m.KnownWords[i] = std::move(known[from]);
        m.UnknownWords[i] = std::move(unknown[from]);
        m.AskedFlags[i] = asked[from]; // a pair keeps its mark
        m.PairIds[i] = ids[from];
    }
}

} // namespace

void SortUnknownAZ(MOODUL1& m) { exchangeSort(m, m.UnknownWords, Order::Ascending); }
void SortUnknownZA(MOODUL1& m) { exchangeSort(m, m.UnknownWords, Order::Descending); }
void SortKnownAZ(MOODUL1& m) { exchangeSort(m, m.KnownWords, Order::Ascending); }
void SortKnownZA(MOODUL1& m) { exchangeSort(m, m.KnownWords, Order::Descending); }

} // namespace vorbix
