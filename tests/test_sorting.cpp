#include "state/Sorting.h"

#include <QLocale>
#include <QtTest>
#include <memory>
#include <random>

using namespace vorbix;

class SortingTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    // Each sort makes exactly the exchanges of the plain exchange sort that
    // compares the words, case ignored, in the locale's order (English for
    // C), equal keys included; each pair's other word and asked mark follow.
    void sameAsTheExchangeSort()
    {
        struct Variant {
            const char* name;
            void (*routine)(MOODUL1&);
            bool known, ascending;
        };
        const Variant variants[] = {
            {"unknown A-Z", SortUnknownAZ, false, true}, {"unknown Z-A", SortUnknownZA, false, false},
            {"known A-Z", SortKnownAZ, true, true}, {"known Z-A", SortKnownZA, true, false}};
        const QStringList pool{"", "", " ", "a", "A", "á", "Ä", "b", "B", "õun", "Õun", "öö", "z", "Z", "house",
                               "House", "x-ray", "xray", "10", "9", "ß", "ss", "\u200b", "e\u0301", "\u00e9", "я",
                               "一", "i", "I", "ı", "İ"};
        std::mt19937 random(20240611);
        auto m = std::make_unique<MOODUL1>();
        for (const QString locale : {"C", "et_EE", "de_DE", "en_US", "sv_SE", "tr_TR"}) {
            QLocale::setDefault(QLocale(locale));
            QCollator collator(QLocale(locale == "C" ? "en_US" : locale));
            collator.setCaseSensitivity(Qt::CaseInsensitive);
            for (int round = 0; round < 40; ++round) {
                QStringList keys;
                for (int n = 2 + random() % 60; keys.size() < n;)
                    keys << pool[random() % pool.size()] + (random() % 3 ? "" : pool[random() % pool.size()]);
                for (const Variant& v : variants) {
                    QStringList expected = keys;
                    for (int i = 0; i < keys.size(); ++i) {
                        for (int j = i + 1; j < keys.size(); ++j) {
                            const int c = collator.compare(expected[i], expected[j]);
                            if (v.ascending ? c > 0 && !expected[j].isEmpty() : c < 0)
                                expected.swapItemsAt(i, j);
                        }
                    }
                    auto& key = v.known ? m->KnownWords : m->UnknownWords;
                    auto& other = v.known ? m->UnknownWords : m->KnownWords;
                    for (int i = 0; i < keys.size(); ++i) {
                        key[i] = keys[i];
                        other[i] = QString::number(i);
                        m->AskedFlags[i] = std::int16_t(i % 2);
                    }
                    m->LastWordIndex = std::int16_t(keys.size() - 1);
                    v.routine(*m);
                    QStringList sorted;
                    for (int i = 0; i < keys.size(); ++i) {
                        const int from = other[i].toInt();
                        const bool together = keys[from] == key[i] && m->AskedFlags[i] == from % 2;
                        sorted << key[i] + (together ? "" : " (split from its pair)");
                    }
                    const QString row = QString("%1, %2, round %3: ").arg(locale, v.name).arg(round);
                    QVERIFY2(sorted == expected, qPrintable(row + keys.join('|')));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(SortingTest)
#include "test_sorting.moc"
