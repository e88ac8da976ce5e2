#include "state/Sorting.h"

#include <QLocale>
#include <QtTest>

#include <memory>
#include <random>

using namespace vorbix;

namespace {

using Routine = void (*)(MOODUL1&);
using Pairs = std::vector<std::pair<QString, QString>>; // known, unknown

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

QStringList column(const MOODUL1& m, bool known, int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i)
        result << (known ? m.KnownWords[i] : m.UnknownWords[i]);
    return result;
}

// Sorts one column of keys alone, each paired with a tag naming its row.
QStringList sortedKeys(Routine routine, bool known, const QStringList& keys)
{
    Pairs pairs;
    for (int i = 0; i < keys.size(); ++i) {
        const QString tag = QString::number(i);
        pairs.emplace_back(known ? keys[i] : tag, known ? tag : keys[i]);
    }
    auto m = listOf(pairs);
    routine(*m);
    return column(*m, known, keys.size());
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

} // namespace

class SortingTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void caseIsIgnored_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("expected");
        const QStringList fruit{"cherry", "apple", "Banana"};
        for (int v = 0; v < 4; ++v) {
            QTest::newRow(variants[v].name)
                << v << fruit
                << (variants[v].ascending ? QStringList{"apple", "Banana", "cherry"}
                                          : QStringList{"cherry", "Banana", "apple"});
        }
    }
    void caseIsIgnored()
    {
        QFETCH(int, variant);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, expected);
        const Variant& v = variants[variant];
        QCOMPARE(sortedKeys(v.routine, v.known, keys), expected);
    }

    void pairsTravelTogether()
    {
        const Pairs words{{"koer", "dog"}, {"Kass", "cat"}, {"hobune", "horse"}, {"lehm", "cow"},
                          {"Ahv", "monkey"}};
        for (const Variant& v : variants) {
            auto m = listOf(words);
            v.routine(*m);
            Pairs sorted = pairsOf(*m, 5);
            Pairs before = words;
            std::sort(sorted.begin(), sorted.end());
            std::sort(before.begin(), before.end());
            QVERIFY2(sorted == before, v.name);
        }
        auto m = listOf(words);
        SortUnknownAZ(*m);
        QCOMPARE(column(*m, true, 5), (QStringList{"Kass", "lehm", "koer", "hobune", "Ahv"}));
        SortKnownZA(*m);
        QCOMPARE(column(*m, false, 5), (QStringList{"cow", "dog", "cat", "horse", "monkey"}));
    }

    // Equal keys are never exchanged with each other; where they end up is
    // what the other exchanges leave, not their old order.
    void equalKeysAreNeverExchanged()
    {
        QCOMPARE(sortedKeys(SortKnownAZ, true, {"house", "House"}), (QStringList{"house", "House"}));
        QCOMPARE(sortedKeys(SortKnownAZ, true, {"House", "house"}), (QStringList{"House", "house"}));
        QCOMPARE(sortedKeys(SortKnownZA, true, {"house", "House"}), (QStringList{"house", "House"}));
        QCOMPARE(sortedKeys(SortUnknownZA, false, {"House", "house"}), (QStringList{"House", "house"}));
        QCOMPARE(sortedKeys(SortKnownAZ, true, {"house", "House", "a", "z"}),
                 (QStringList{"a", "House", "house", "z"}));
        QCOMPARE(sortedKeys(SortUnknownZA, false, {"House", "house", "a", "z"}),
                 (QStringList{"z", "house", "House", "a"}));
    }

    void emptyKeys()
    {
        // A-Z never moves a pair with an empty key, wherever it stands, and
        // sorts the others around it.
        QCOMPARE(sortedKeys(SortUnknownAZ, false, {"b", "", "a"}), (QStringList{"a", "", "b"}));
        QCOMPARE(sortedKeys(SortUnknownAZ, false, {"", "c", "b", "", "a"}),
                 (QStringList{"", "a", "b", "", "c"}));
        QCOMPARE(sortedKeys(SortKnownAZ, true, {"", "c", "b"}), (QStringList{"", "b", "c"}));
        // Z-A puts them last.
        QCOMPARE(sortedKeys(SortUnknownZA, false, {"", "a", "", "b"}), (QStringList{"b", "a", "", ""}));
        QCOMPARE(sortedKeys(SortKnownZA, true, {"x", "", "y"}), (QStringList{"y", "x", ""}));
        // Blanks are words, not empty.
        QCOMPARE(sortedKeys(SortUnknownAZ, false, {"b", " ", "a"}), (QStringList{" ", "a", "b"}));
    }

    void sortsOnlyTheListInUse()
    {
        auto m = listOf({{"c", "1"}, {"b", "2"}, {"a", "3"}});
        m->KnownWords[3] = "0 stray";
        m->WordsModified = 0;
        m->LastWordIndex = 1;
        SortKnownAZ(*m);
        QCOMPARE(column(*m, true, 4), (QStringList{"b", "c", "a", "0 stray"}));
        QCOMPARE(m->LastWordIndex, std::int16_t(1));
        QCOMPARE(m->WordsModified, std::int16_t(0));

        for (std::int16_t last : {std::int16_t(0), std::int16_t(-1)}) {
            for (const Variant& v : variants) {
                auto one = listOf({{"z", "z"}, {"a", "a"}});
                one->LastWordIndex = last;
                v.routine(*one);
                QCOMPARE(column(*one, true, 2), (QStringList{"z", "a"}));
                QCOMPARE(one->LastWordIndex, last);
            }
        }
    }

    void fullArraySorts()
    {
        Pairs words;
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            words.emplace_back(QStringLiteral("w%1").arg((i * 7919) % 1001, 4, 10, QLatin1Char('0')),
                               QString::number(i));
        auto m = listOf(words);
        QCOMPARE(m->LastWordIndex, std::int16_t(1000));
        SortKnownZA(*m);
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            QCOMPARE(m->KnownWords[i], QStringLiteral("w%1").arg(1000 - i, 4, 10, QLatin1Char('0')));
        for (int i = 0; i < MOODUL1::WordSlots; ++i)
            QCOMPARE((m->UnknownWords[i].toInt() * 7919) % 1001, 1000 - i);
    }

    void followsTheLocale()
    {
        const QStringList words{"zebra", "öö", "ohakas", "pall"};
        QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
        QCOMPARE(sortedKeys(SortKnownAZ, true, words), (QStringList{"ohakas", "pall", "zebra", "öö"}));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(sortedKeys(SortKnownAZ, true, words), (QStringList{"ohakas", "öö", "pall", "zebra"}));
        // The C locale still sorts alphabetically and ignores case.
        QLocale::setDefault(QLocale::c());
        QCOMPARE(sortedKeys(SortKnownAZ, true, {"b", "A", "a", "B"}), (QStringList{"A", "a", "b", "B"}));
        QCOMPARE(wordCollator().compare(QStringLiteral("Ärger"), QStringLiteral("ärger")), 0);
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
        const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Estonian, QLocale::Estonia),
                                   QLocale(QLocale::Swedish, QLocale::Sweden),
                                   QLocale(QLocale::German, QLocale::Germany),
                                   QLocale(QLocale::Turkish, QLocale::Turkey)};
        for (const QLocale& locale : locales) {
            QLocale::setDefault(locale);
            for (int round = 0; round < 40; ++round) {
                const int n = 2 + static_cast<int>(random() % 60);
                Pairs words;
                for (int i = 0; i < n; ++i) {
                    QString a = pool[random() % pool.size()];
                    QString b = pool[random() % pool.size()];
                    if (random() % 3 == 0)
                        a += pool[random() % pool.size()];
                    words.emplace_back(a, b + QString::number(i));
                }
                for (const Variant& v : variants) {
                    auto bySortKey = listOf(words);
                    auto byString = listOf(words);
                    v.routine(*bySortKey);
                    referenceSort(*byString, v.known, v.ascending);
                    if (pairsOf(*bySortKey, n) != pairsOf(*byString, n))
                        QFAIL(qPrintable(QStringLiteral("%1 differs in %2, round %3")
                                             .arg(v.name, locale.name())
                                             .arg(round)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(SortingTest)
#include "test_sorting.moc"
