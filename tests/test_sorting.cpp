#include "state/Sorting.h"

#include <QLocale>
#include <QtTest>

#include <memory>
#include <random>

using namespace vorbix;

namespace {

using Routine = void (*)(MOODUL1&);
using Pairs = std::vector<std::pair<QString, QString>>; // known, unknown

struct Variant {
    const char* name;
    Routine routine;
    bool known;
    bool ascending;
};
const Variant variants[] = {
    {"SortUnknownAZ", SortUnknownAZ, false, true},
    {"SortUnknownZA", SortUnknownZA, false, false},
    {"SortKnownAZ", SortKnownAZ, true, true},
    {"SortKnownZA", SortKnownZA, true, false},
};

std::unique_ptr<MOODUL1> listOf(const Pairs& pairs)
{
    auto m = std::make_unique<MOODUL1>();
    for (size_t i = 0; i < pairs.size(); ++i) {
        m->KnownWords[i] = pairs[i].first;
        m->UnknownWords[i] = pairs[i].second;
    }
    m->LastWordIndex = static_cast<std::int16_t>(pairs.size()) - 1;
    return m;
}

Pairs pairsOf(const MOODUL1& m, int count)
{
    Pairs result;
    for (int i = 0; i < count; ++i)
        result.emplace_back(m.KnownWords[i], m.UnknownWords[i]);
    return result;
}

// Sorts keys on the routine's side; the other side tags each with its row,
// and every result checks that the tags came along.
QStringList sortedKeys(Routine routine, const QStringList& keys)
{
    const bool known = routine == SortKnownAZ || routine == SortKnownZA;
    Pairs pairs;
    for (int i = 0; i < keys.size(); ++i) {
        const QString tag = QString::number(i);
        pairs.emplace_back(known ? keys[i] : tag, known ? tag : keys[i]);
    }
    auto m = listOf(pairs);
    routine(*m);
    QStringList result;
    for (const auto& [k, u] : pairsOf(*m, keys.size())) {
        const QString& key = known ? k : u;
        if (keys[(known ? u : k).toInt()] != key)
            return {"a pair came apart"};
        result << key;
    }
    return result;
}

// The same exchange sort, collating the strings at every comparison.
void referenceSort(MOODUL1& m, bool known, bool ascending)
{
    const QCollator collator = wordCollator();
    auto& keys = known ? m.KnownWords : m.UnknownWords;
    for (int i = 0; i <= m.LastWordIndex; ++i) {
        for (int j = i + 1; j <= m.LastWordIndex; ++j) {
            const int c = collator.compare(keys[i], keys[j]);
            if (ascending ? c > 0 && !keys[j].isEmpty() : c < 0) {
                std::swap(m.KnownWords[i], m.KnownWords[j]);
                std::swap(m.UnknownWords[i], m.UnknownWords[j]);
            }
        }
    }
}

} // namespace

class SortingTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void caseIsIgnored()
    {
        for (const Variant& v : variants) {
            QCOMPARE(sortedKeys(v.routine, {"cherry", "apple", "Banana"}),
                     v.ascending ? QStringList({"apple", "Banana", "cherry"})
                                 : QStringList({"cherry", "Banana", "apple"}));
        }
    }

    // Equal keys are never exchanged with each other; where they end up is
    // what the other exchanges leave, not their old order.
    void equalKeysAreNeverExchanged()
    {
        for (const Variant& v : variants)
            QCOMPARE(sortedKeys(v.routine, {"house", "House"}), QStringList({"house", "House"}));
        QCOMPARE(sortedKeys(SortKnownAZ, {"house", "House", "a", "z"}), QStringList({"a", "House", "house", "z"}));
        QCOMPARE(sortedKeys(SortUnknownZA, {"House", "house", "a", "z"}), QStringList({"z", "house", "House", "a"}));
    }

    void emptyKeys()
    {
        // A-Z never moves a pair with an empty key, at position 0 neither,
        // and sorts the others around it.
        QCOMPARE(sortedKeys(SortUnknownAZ, {"b", "", "a"}), QStringList({"a", "", "b"}));
        QCOMPARE(sortedKeys(SortUnknownAZ, {"", "c", "b", "", "a"}), QStringList({"", "a", "b", "", "c"}));
        QCOMPARE(sortedKeys(SortKnownAZ, {"", "c", "b"}), QStringList({"", "b", "c"}));
        // Z-A puts them last.
        QCOMPARE(sortedKeys(SortUnknownZA, {"", "a", "", "b"}), QStringList({"b", "a", "", ""}));
        QCOMPARE(sortedKeys(SortKnownZA, {"x", "", "y"}), QStringList({"y", "x", ""}));
        // A blank is a word.
        QCOMPARE(sortedKeys(SortUnknownAZ, {"b", " ", "a"}), QStringList({" ", "a", "b"}));
    }

    void sortsOnlyTheListInUse()
    {
        auto m = listOf({{"c", "1"}, {"b", "2"}, {"a", "3"}});
        m->LastWordIndex = 1;
        SortKnownAZ(*m);
        QCOMPARE(pairsOf(*m, 3), Pairs({{"b", "2"}, {"c", "1"}, {"a", "3"}}));
        QCOMPARE(m->LastWordIndex, std::int16_t(1));
        QCOMPARE(m->WordsModified, std::int16_t(0));
        for (std::int16_t last : {0, -1}) {
            for (const Variant& v : variants) {
                m->LastWordIndex = last;
                v.routine(*m);
                QCOMPARE(pairsOf(*m, 3), Pairs({{"b", "2"}, {"c", "1"}, {"a", "3"}}));
            }
        }

        // All 1001 places.
        Pairs words;
        for (int i = 0; i < MOODUL1::WordSlots; ++i) // 7919 is prime: a permutation
            words.emplace_back(QString::number(1000 + (i * 7919) % 1001), QString::number(i));
        m = listOf(words);
        SortKnownZA(*m);
        for (int i = 0; i < MOODUL1::WordSlots; ++i) {
            QCOMPARE(m->KnownWords[i].toInt(), 2000 - i);
            QCOMPARE(1000 + (m->UnknownWords[i].toInt() * 7919) % 1001, 2000 - i);
        }
    }

    void followsTheLocale()
    {
        const QStringList words{"zebra", "öö", "ohakas", "pall"};
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        QCOMPARE(sortedKeys(SortKnownAZ, words), QStringList({"ohakas", "pall", "zebra", "öö"}));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(sortedKeys(SortKnownAZ, words), QStringList({"ohakas", "öö", "pall", "zebra"}));
        // The C locale still sorts alphabetically and ignores case.
        QLocale::setDefault(QLocale::c());
        QCOMPARE(sortedKeys(SortKnownAZ, {"b", "A", "a", "B"}), QStringList({"A", "a", "b", "B"}));
    }

    // The sort keys must give exactly the exchanges that collating the
    // strings each time gives, words of ignorable characters included.
    void sortKeysMatchStringComparison()
    {
        const QStringList pool{"", "", " ", "  a", "a", "A", "á", "Ä", "ä", "b", "B", "õun", "Õun",
                               "öö", "ü", "y", "z", "Z", "zz", "house", "House", "HOUSE", "x-ray",
                               "x ray", "xray", "10", "9", "ß", "ss", "\u200b", "\u200b\u200b",
                               "e\u0301", "\u00e9", "Straße", "strasse", "Ω", "ω", "я", "Я", "一"};
        std::mt19937 random(20240611);
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Estonian, QLocale::Estonia),
                                      QLocale(QLocale::Swedish, QLocale::Sweden),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Turkish, QLocale::Turkey)}) {
            QLocale::setDefault(locale);
            for (int round = 0; round < 40; ++round) {
                const int n = 2 + static_cast<int>(random() % 60);
                Pairs words;
                for (int i = 0; i < n; ++i) {
                    QString a = pool[random() % pool.size()];
                    if (random() % 3 == 0)
                        a += pool[random() % pool.size()];
                    words.emplace_back(a, pool[random() % pool.size()] + QString::number(i));
                }
                for (const Variant& v : variants) {
                    auto bySortKey = listOf(words);
                    auto byString = listOf(words);
                    v.routine(*bySortKey);
                    referenceSort(*byString, v.known, v.ascending);
                    QVERIFY2(pairsOf(*bySortKey, n) == pairsOf(*byString, n),
                             qPrintable(QStringLiteral("%1, %2, round %3").arg(v.name, locale.name()).arg(round)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(SortingTest)
#include "test_sorting.moc"
