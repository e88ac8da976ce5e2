#include "state/Sorting.h"

#include <QLocale>
#include <QtTest>
#include <memory>
#include <numeric>
#include <random>

using namespace vorbix;

class SortingTest : public QObject {
    Q_OBJECT
private slots:
    // Each sort leaves the pairs exactly where the plain exchange sort
    // leaves them when it compares the words, case ignored, in the locale's
    // order (English for C): equal keys too. Asked marks go with their pairs.
    void sameAsTheExchangeSort()
    {
        const std::array routines{SortUnknownAZ, SortUnknownZA, SortKnownAZ, SortKnownZA};
        const char* const names[] = {"unknown A-Z", "unknown Z-A", "known A-Z", "known Z-A"};
        const QStringList pool{"",       "",     " ",   "a",  "A", "á",  "Ä",      "b",
                               "B",      "õun",  "Õun", "öö", "z", "Z",  "house",  "House",
                               "x-ray",  "xray", "10",  "9",  "ß", "ss", "\u200b", "e\u0301",
                               "\u00e9", "я",    "一",  "i",  "I", "ı",  "İ"};
        std::mt19937 random(20240611);
        auto m = std::make_unique<MOODUL1>();
        for (const QString locale : {"C", "et_EE", "de_DE", "en_US", "sv_SE", "tr_TR"}) {
            QLocale::setDefault(QLocale(locale));
            QCollator collator(QLocale(locale == "C" ? "en_US" : locale));
            collator.setCaseSensitivity(Qt::CaseInsensitive);
            for (int round = 0; round < 40; ++round) {
                const int n = 2 + random() % 60;
                QStringList keys;
                while (keys.size() < n)
                    keys << pool[random() % pool.size()] + (random() % 3 ? "" : pool[random() % pool.size()]);
                for (int v = 0; v < 4; ++v) {
                    std::vector<int> order(n);
                    std::iota(order.begin(), order.end(), 0);
                    for (int i = 0; i < n; ++i)
                        for (int j = i + 1; j < n; ++j)
                            if (const int c = collator.compare(keys[order[i]], keys[order[j]]);
                                v % 2 == 0 ? c > 0 && !keys[order[j]].isEmpty() : c < 0)
                                std::swap(order[i], order[j]);
                    auto& key = v >= 2 ? m->KnownWords : m->UnknownWords;
                    auto& other = v >= 2 ? m->UnknownWords : m->KnownWords;
                    for (int i = 0; i < n; ++i) {
                        key[i] = keys[i];
                        other[i] = QString::number(i);
                        m->AskedFlags[i] = std::int16_t(i % 2);
                    }
                    m->LastWordIndex = std::int16_t(n - 1);
                    routines[v](*m);
                    QString expected, sorted;
                    for (int i = 0; i < n; ++i) {
                        expected += QString("%1 #%2 %3, ").arg(keys[order[i]]).arg(order[i]).arg(order[i] % 2);
                        sorted += QString("%1 #%2 %3, ").arg(key[i], other[i]).arg(m->AskedFlags[i]);
                    }
                    const QString row = QString("%1, %2, round %3: ").arg(locale, names[v]).arg(round);
                    QVERIFY2(sorted == expected, qPrintable(row + sorted));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(SortingTest)
#include "test_sorting.moc"
