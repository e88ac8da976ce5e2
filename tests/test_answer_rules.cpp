// The rules of a word test that need no window: what counts as the right
// answer, how answers are counted, and which pair the next draw gives.
#include "dictionary/DictionaryFile.h"
#include "state/ShownQuestion.h"
#include "state/TestRound.h"
#include <QtTest>

using namespace vorbix;

class AnswerRulesTest : public QObject {
    Q_OBJECT
private slots:
    void rightAnswer_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("right");
        // Case and tabs count too: the window tests type them.
        QTest::newRow("blanks at either end of either word") << "  house"
                                                             << "house  " << true;
        QTest::newRow("accent differs") << "oun"
                                        << "õun" << false;
        QTest::newRow("inner blanks differ") << "ice  cream"
                                             << "ice cream" << false;
    }
    void rightAnswer()
    {
        QFETCH(QString, given);
        QFETCH(QString, stored);
        QTEST(answerIsRight(given, stored), "right");
    }

    // A full counter stays as it is, and the answer is not counted at all.
    void fullCounterStays()
    {
        MOODUL1 s;
        s.AnsweredCount = INT16_MAX;
        QVERIFY(!countAnswer(s, false));
        QCOMPARE(s.AnsweredCount, INT16_MAX);
        QCOMPARE(s.WrongCount + 0, 0);
    }

    // A pair without a known word is marked and never asked; a round that
    // completes with no wrong answer acknowledged goes on into the next.
    void nextPair()
    {
        MOODUL1 s;
        s.LastWordIndex = 2;
        s.KnownWords[0] = "a";
        s.KnownWords[2] = "c";
        s.AskedFlags[0] = s.AskedFlags[2] = 1;
        s.AnsweredCount = 2;
        QList<double> draws{0.5, 0.99, 0.0}; // the pair without a word, an asked one, then the new round
        const auto rnd = [&draws] {
            if (draws.isEmpty())
                throw std::runtime_error("drawn past the script");
            return draws.takeFirst();
        };
        QCOMPARE(drawNextQuestion(s, rnd), NextQuestion::Chosen);
        QCOMPARE(s.CurrentQuestion + 0, 0);
        QVERIFY(draws.isEmpty());
    }

    void counts_data()
    {
        QTest::addColumn<int>("answered");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("last"); // LastWordIndex
        QTest::addColumn<bool>("seen"); // the last wrong answer acknowledged
        QTest::addColumn<QString>("shown"); // questions left, share right, results due at a round's end
        QTest::newRow("no answers yet") << 0 << 0 << 4 << true << "5, none, no";
        QTest::newRow("1 right of 8, a tie to even") << 8 << 7 << 9 << true << "2,  12%, due";
        QTest::newRow("2 right of 3, wrong one unseen") << 3 << 1 << 4 << false << "2,  67%, no";
        QTest::newRow("all wrong") << 3 << 3 << 3 << true << "1,  0%, due";
        QTest::newRow("list shrank under the test") << 6 << 0 << 1 << true << "1,  100%, due";
    }
    void counts()
    {
        MOODUL1 s;
        QFETCH(int, answered);
        QFETCH(int, wrong);
        QFETCH(int, last);
        QFETCH(bool, seen);
        s.AnsweredCount = std::int16_t(answered);
        s.WrongCount = std::int16_t(wrong);
        s.LastWordIndex = std::int16_t(last);
        s.WrongAnswerAcknowledged = seen;
        QTEST(QString("%1, %2, %3").arg(questionsLeft(s)).arg(rightShare(s, "none"), resultsDue(s) ? "due" : "no"),
              "shown");
    }

    // The answer at the drawn place, the fillers in the designed order.
    void choices_data()
    {
        QTest::addColumn<int>("pairs");
        QTest::addColumn<QList<double>>("draws"); // the place, then four fillers
        QTest::addColumn<QString>("offered");
        const double place[] = {0, 0.25, 0.5, 0.75, 0.99};
        const char* offered[] = {"e a b c d", "a e b c d", "a b e c d", "a c b e d", "a d b c e"};
        for (int p = 0; p < 5; ++p)
            QTest::addRow("answer in place %d", p + 1)
                << 5 << QList<double>{place[p], 0, 0.25, 0.5, 0.75} << offered[p];
        QTest::newRow("one pair: its answer everywhere") << 1 << QList<double>{0.5, 0.9, 0.9, 0.1, 0.6} << "a a a a a";
    }
    void choices()
    {
        QFETCH(int, pairs);
        QFETCH(QList<double>, draws);
        MOODUL1 s;
        for (int i = 0; i < pairs; ++i) {
            s.KnownWords[size_t(i)] = QString(QChar('A' + i));
            s.UnknownWords[size_t(i)] = QString(QChar('a' + i));
        }
        s.LastWordIndex = std::int16_t(pairs - 1);
        ShownQuestion q = takeQuestion(s, pairs - 1, TestOptions{true, false});
        fillChoices(s, q, [&draws] { return draws.takeFirst(); });
        QTEST(QStringList(q.choices.begin(), q.choices.end()).join(' '), "offered");
    }

    // The editor's write-backs during a test: a, c asked of a b c d.
    void marksTravelWithPairs_data()
    {
        QTest::addColumn<QString>("writeBacks"); // the rows written back in turn; an upper-case one is new
        QTest::addColumn<QString>("asked"); // the pairs then marked, in list order
        QTest::newRow("sorted") << "dcba"
                                << "ca";
        QTest::newRow("unasked one deleted") << "acd"
                                             << "ac";
        QTest::newRow("asked ones deleted, then undone") << "bd|dcba|abcd"
                                                         << "ac";
        QTest::newRow("pair added") << "abcdE"
                                    << "ac";
        QTest::newRow("same words, new pair") << "bdA"
                                              << "";
    }
    void marksTravelWithPairs()
    {
        QFETCH(QString, writeBacks);
        MOODUL1 s;
        dictionary::storePairs(s, {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
        s.AskedFlags[0] = s.AskedFlags[2] = 1;
        const auto ids = s.PairIds;
        for (const QString& rows : writeBacks.split('|')) {
            dictionary::WordPairs pairs;
            std::vector<std::uint32_t> listed;
            for (QChar c : rows) {
                pairs.push_back({c.toLower(), "x"});
                listed.push_back(c.isUpper() ? 0 : ids[size_t(c.unicode() - 'a')]);
            }
            dictionary::storeListedPairs(s, pairs, listed);
        }
        QString asked;
        for (int i = 0; i <= s.LastWordIndex; ++i)
            asked += s.AskedFlags[size_t(i)] ? s.KnownWords[size_t(i)] : "";
        QTEST(asked, "asked");
    }
};

QTEST_APPLESS_MAIN(AnswerRulesTest)
#include "test_answer_rules.moc"
