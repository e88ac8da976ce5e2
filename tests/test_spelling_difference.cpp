// Where a typed answer parts from the right one: the alignment, the kind of
// every slip, and the words a screen reader gets.
#include "state/SpellingDifference.h"
#include <QtTest>

using namespace vorbix;

namespace {

// "abc" same, "(+e)" missing, "(-x)" extra, "[a>o]" wrong, "[H>h:case]" a
// slip, "{ie~ei}" swapped.
QString notation(const std::vector<DiffPart>& parts)
{
    QString out;
    for (const DiffPart& p : parts) {
        switch (p.mark) {
        case Mark::Same:
            out += p.expected;
            break;
        case Mark::Missing:
            out += "(+" + p.expected + ")";
            break;
        case Mark::Extra:
            out += "(-" + p.typed + ")";
            break;
        case Mark::Swapped:
            out += "{" + p.typed + "~" + p.expected + "}";
            break;
        case Mark::Wrong: {
            static const char* slips[] = {"", ":case", ":accent", ":form"};
            out += "[" + p.typed + ">" + p.expected + slips[int(p.slip)] + "]";
            break;
        }
        }
    }
    return out;
}

} // namespace

class SpellingDifferenceTest : public QObject {
    Q_OBJECT
private slots:
    void difference_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QString>("spoken"); // empty: not checked in this row
        const QString decomposedE = QStringLiteral("e\u0301"), composedE = QStringLiteral("\u00e9");
        QTest::newRow("right, blanks at the ends") << "  house "
                                                   << "house"
                                                   << "house"
                                                   << "No difference.";
        QTest::newRow("letter left out (insertion needed)") << "hous"
                                                            << "house"
                                                            << "hous(+e)"
                                                            << "Letter 5: “e” missing.";
        QTest::newRow("two letters left out") << "hse"
                                              << "house"
                                              << "h(+ou)se"
                                              << "Letter 2: “ou” missing.";
        QTest::newRow("letter too many (deletion needed)") << "houuse"
                                                           << "house"
                                                           << "hou(-u)se"
                                                           << "After letter 3: “u” extra.";
        QTest::newRow("extra at the start") << "xhouse"
                                            << "house"
                                            << "(-x)house"
                                            << "At the start: “x” extra.";
        QTest::newRow("substitution") << "hause"
                                      << "house"
                                      << "h[a>o]use"
                                      << "Letter 2: “a” instead of “o”.";
        QTest::newRow("swapped letters") << "recieve"
                                         << "receive"
                                         << "rec{ie~ei}ve"
                                         << "Letter 4: “ie” instead of “ei”, letters swapped.";
        QTest::newRow("case") << "House"
                              << "house"
                              << "[H>h:case]ouse"
                              << "Letter 1: “H” instead of “h”, other case.";
        QTest::newRow("diacritics") << "oun"
                                    << "õun"
                                    << "[o>õ:accent]un"
                                    << "Letter 1: “o” instead of “õ”, other accent.";
        QTest::newRow("case and accent together") << "Oun"
                                                  << "õun"
                                                  << "[O>õ:accent]un"
                                                  << "";
        QTest::newRow("combining mark stays with its letter") << "a\u0308x"
                                                              << "ax"
                                                              << "[a\u0308>a:accent]x"
                                                              << "Letter 1: “a\u0308” instead of “a”, other accent.";
        QTest::newRow("combining and precomposed: same look, other characters")
            << decomposedE << composedE << "[" + decomposedE + ">" + composedE + ":form]"
            << "Letter 1: “" + decomposedE + "” instead of “" + composedE
                + "”, looks the same but is written with other characters.";
        QTest::newRow("outside the basic plane, substituted") << "𝔸b"
                                                              << "𝔹b"
                                                              << "[𝔸>𝔹]b"
                                                              << "Letter 1: “𝔸” instead of “𝔹”.";
        QTest::newRow("outside the basic plane, extra") << "x😀y"
                                                        << "xy"
                                                        << "x(-😀)y"
                                                        << "After letter 1: “😀” extra.";
        QTest::newRow("emoji with skin tone is one letter") << "👍🏽"
                                                            << "👍"
                                                            << "[👍🏽>👍]"
                                                            << "";
        QTest::newRow("nothing typed (time-out)") << ""
                                                  << "cat"
                                                  << "(+cat)"
                                                  << "Letter 1: “cat” missing.";
        QTest::newRow("nothing right at all") << "dog"
                                              << "cat"
                                              << "[dog>cat]"
                                              << "";
        QTest::newRow("inner blanks count") << "ice  cream"
                                            << "ice cream"
                                            << "ice (- )cream"
                                            << "";
        QTest::newRow("several slips in one word")
            << "Hosue"
            << "house"
            << "[H>h:case]o{su~us}e"
            << "Letter 1: “H” instead of “h”, other case. Letter 3: “su” instead of “us”, letters swapped.";
    }
    void difference()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(QString, spoken);
        const auto parts = spellingDifference(typed, expected);
        QTEST(notation(parts), "parts");
        QCOMPARE(hasDifference(parts), spoken != "No difference.");
        if (!spoken.isEmpty())
            QCOMPARE(describeDifference(parts), spoken);
    }

    // Long words still get an answer at once: the differing middle of two
    // texts too long to align is one part, the ends around it still match.
    void longWordsStayCheap()
    {
        const QString typed = "pre" + QString(3000, 'a') + "post";
        const QString expected = "pre" + QString(2000, 'b') + "post";
        QCOMPARE(notation(spellingDifference(typed, expected)),
                 "pre[" + QString(3000, 'a') + ">" + QString(2000, 'b') + "]post");
    }
};

QTEST_GUILESS_MAIN(SpellingDifferenceTest)
#include "test_spelling_difference.moc"
