#include "state/Sorting.h"

#include <QLocale>
#include <QtTest>
#include <memory>
#include <random>

using namespace vorbix;

namespace {

struct Variant { void (*routine)(MOODUL1&); bool known, ascending; };
const Variant variants[] = {{SortUnknownAZ, false, true}, {SortUnknownZA, false, false},
                            {SortKnownAZ, true, true}, {SortKnownZA, true, false}};

// Sorts keys on the variant's side, the other side tagged with each row, and
// gives the keys in their new order, after checking that the tags came along.
QStringList sortedKeys(const Variant& v, const QStringList& keys)
{
    auto m = std::make_unique<MOODUL1>();
    auto& key = v.known ? m->KnownWords : m->UnknownWords;
    auto& tag = v.known ? m->UnknownWords : m->KnownWords;
    for (int i = 0; i < keys.size(); ++i) {
        key[i] = keys[i];
        tag[i] = QString::number(i);
    }
    m->LastWordIndex = static_cast<std::int16_t>(keys.size()) - 1;
    v.routine(*m);
    QStringList result;
    for (int i = 0; i < keys.size(); result << key[i++])
        if (keys[tag[i].toInt()] != key[i])
            return {"a pair was split"};
    return result;
}

} // namespace

class SortingTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void caseEqualAndEmptyKeys()
    {
        for (const Variant& v : variants) {
            QCOMPARE(sortedKeys(v, {"cherry", "apple", "Banana"}),
                     v.ascending ? QStringList({"apple", "Banana", "cherry"}) : QStringList({"cherry", "Banana", "apple"}));
            // Equal keys are never exchanged with each other.
            QCOMPARE(sortedKeys(v, {"house", "House"}), QStringList({"house", "House"}));
        }
        // A-Z never moves a pair with an empty key and sorts the others
        // around it; Z-A puts them last.
        QCOMPARE(sortedKeys(variants[0], {"", "c", "b", "", "a"}), QStringList({"", "a", "b", "", "c"}));
        QCOMPARE(sortedKeys(variants[2], {"b", "", "a"}), QStringList({"a", "", "b"}));
        QCOMPARE(sortedKeys(variants[1], {"", "a", "", "b"}), QStringList({"b", "a", "", ""}));
        QCOMPARE(sortedKeys(variants[3], {"x", "", "y"}), QStringList({"y", "x", ""}));
    }

    // The sort keys must give exactly the exchanges that collating the
    // strings at every comparison gives.
    void sortKeysMatchStringComparison()
    {
        const QStringList pool{"", "", " ", "a", "A", "á", "Ä", "b", "B", "õun", "Õun", "öö", "z", "Z", "house",
                               "House", "x-ray", "xray", "10", "9", "ß", "ss", "\u200b", "e\u0301", "\u00e9", "я", "一"};
        std::mt19937 random(20240611);
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Estonian, QLocale::Estonia),
                                      QLocale(QLocale::Swedish, QLocale::Sweden), QLocale(QLocale::Turkish, QLocale::Turkey)}) {
            QLocale::setDefault(locale);
            const QCollator collator = wordCollator();
            for (int round = 0; round < 40; ++round) {
                QStringList keys;
                for (int n = 2 + random() % 60; keys.size() < n;)
                    keys << pool[random() % pool.size()] + (random() % 3 ? "" : pool[random() % pool.size()]);
                for (const Variant& v : variants) {
                    QStringList expected = keys; // the same exchange sort, by collator
                    for (int i = 0; i < expected.size(); ++i)
                        for (int j = i + 1, c; j < expected.size(); ++j)
                            if (c = collator.compare(expected[i], expected[j]); v.ascending ? c > 0 && !expected[j].isEmpty() : c < 0)
                                expected.swapItemsAt(i, j);
                    QVERIFY2(sortedKeys(v, keys) == expected, qPrintable(locale.name() + " " + QString::number(round)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(SortingTest)
#include "test_sorting.moc"
