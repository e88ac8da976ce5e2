#include "dictionary/DictionaryFile.h"
#include "dictionary/PairRule.h"
#include "state/Moodul1.h"
#include "support/Files.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

class DictionaryTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
    }

    void pairRuleAndTheExampleBytes()
    {
        // known|unknown|both as stored
        for (const QString row : {"a-b-c|d|a}b-c|d", "a-b-c|d-e-f|a}b}c|d}e}f", "--|-x-y-|}}|}x}y-", "abc||abc|"}) {
            QString k = row.section('|', 0, 0), u = row.section('|', 1, 1);
            applyPairRule(k, u, Hyphen, StoredHyphen);
            QCOMPARE(k + '|' + u, row.section('|', 2));
            applyPairRule(k, u, StoredHyphen, Hyphen);
            QCOMPARE(k + '|' + u, row.section('|', 0, 1));
        }
        // The example list.
        MOODUL1 s;
        storePairs(s, {{"x-ray", "röntgen"}, {"koer", "dog"}, {"a}b", "c"}});
        const QString path = tmp_->filePath("example.dic");
        QVERIFY(saveWithHyphenRule(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\na}b\r\nc\r\n"));
        // Memory takes the form that reads back: the typed "}" is now a hyphen.
        const WordPairs read{{"x-ray", "röntgen"}, {"koer", "dog"}, {"a-b", "c"}};
        QCOMPARE(savedPairs(s), read);
        QCOMPARE(readDictionaryFile(path).pairs, read);
        // The plain writer keeps the hyphen; both read alike.
        QVERIFY(savePlain(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("x-ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\na-b\r\nc\r\n"));
        QCOMPARE(readDictionaryFile(path).pairs, read);
    }

    void linesAreWholeWordsAtMost1000PairsOrTheReadFails()
    {
        const std::pair<QByteArray, WordPairs> good[] = {
            {"go, went\r\n\"big\" cat\r\n", {{"go, went", "\"big\" cat"}}},
            {"  lead\r\ntrail  \r\n", {{"  lead", "trail  "}}},
            {"a\nb\r\nc\r\nd", {{"a", "b"}, {"c", "d"}}}, {"\r\n\r\n", {{"", ""}}}, {{}, {}}};
        for (const auto& [bytes, pairs] : good)
            QCOMPARE(readDictionary(bytes).pairs, pairs);
        const QByteArray longest(MaxLineBytes, 'x');
        QVERIFY(readDictionary(longest + "\r\n" + longest).ok());
        const std::pair<QByteArray, int> bad[] = {
            {"only\r\n", InputPastEndOfFile}, {"a\r\nb\r\nc", InputPastEndOfFile},
            {longest + "x\r\nb\r\n", LineTooLong}, {"a\r\n" + longest + "y", LineTooLong},
            {QByteArray(8 * 1024 * 1024, '\xFF'), LineTooLong}};
        for (const auto& [bytes, error] : bad) {
            const ReadResult r = readDictionary(bytes);
            QCOMPARE(r.error, error);
            QVERIFY(r.pairs.empty());
        }
        // Junk never crashes: it reads as pairs of lines or fails for an odd count.
        QRandomGenerator rng(7);
        for (int round = 0; round < 200; ++round) {
            QByteArray junk(rng.bounded(0, 600), Qt::Uninitialized);
            for (char& c : junk)
                c = static_cast<char>(rng.bounded(256));
            const ReadResult r = readDictionary(round % 3 ? junk : "\xEF\xBB\xBF" + junk);
            if (r.ok())
                QVERIFY(qsizetype(r.pairs.size()) * 2 <= junk.count('\n') + 1);
            else
                QCOMPARE(r.error, int(InputPastEndOfFile));
        }
        // At most 1000 pairs are read; more is cut off and said so.
        for (const auto& [lines, truncated] : {std::pair{2000, false}, {2001, true}, {2002, true}}) {
            QByteArray bytes;
            for (int i = 0; i < lines; ++i)
                bytes += "w" + QByteArray::number(i) + "\r\n";
            const ReadResult r = readDictionary(bytes);
            QCOMPARE(int(r.pairs.size()), MaxPairs);
            QCOMPARE(r.truncated, truncated);
            QCOMPARE(r.pairs.back().unknown, QStringLiteral("w1999"));
        }
    }

    void utf8FallbackBothWays()
    {
        QCOMPARE(readDictionary("r\xC3\xB6ntgen\r\nx\r\n").pairs, (WordPairs{{"röntgen", "x"}}));
        // One line that is not UTF-8 makes the whole file the code page.
        QCOMPARE(readDictionary("r\xC3\xB6ntgen\r\n\xF6\r\n").pairs, (WordPairs{{"rĆ¶ntgen", "ö"}}));

        QByteArray bytes;
        WriteResult w = encodeDictionary({{"koer", "собака"}, {"õun", "x"}}, &bytes);
        QCOMPARE(w.encoding, TextEncoding::Utf8);
        QCOMPARE(bytes, QString("koer\r\nсобака\r\nõun\r\nx\r\n").toUtf8());
        // "Ä°" is C4 B0 in the code page, also valid UTF-8 for "İ": it must still read back.
        w = encodeDictionary({{"Ä°", "x"}}, &bytes);
        QCOMPARE(w.encoding, TextEncoding::Utf8);
        QCOMPARE(readDictionary(bytes).pairs, (WordPairs{{"Ä°", "x"}}));
    }

    void failedSaveLeavesOldFileByteForByte()
    {
        const QString path = tmp_->filePath("old.dic");
        QVERIFY(writeDictionaryFile(path, {{"old", "list"}, {"õ", "x"}}).ok);
        const QByteArray old = readBytes(path);
        WordPairs big;
        for (int i = 0; i < 500; ++i)
            big.push_back({QStringLiteral("known-%1").arg(i), QStringLiteral("unknown-%1").arg(i)});
        MOODUL1 s;
        storePairs(s, big);
        // The disk takes no more than 64 bytes, so the write fails half way (for root too).
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit tight{64, saved.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
        const WriteResult w = saveWithHyphenRule(s, path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!w.ok);
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(tmp_->path()).entryList(QDir::Files), QStringList{"old.dic"});
        QCOMPARE(savedPairs(s), big);
        // A line break in a word is refused before anything is written.
        QVERIFY(!writeDictionaryFile(path, {{"fine", "ok"}, {"x", "a\r\nb"}}).ok);
        QCOMPARE(readBytes(path), old);
    }

    // What a save wrote reads back as the list the program holds afterwards.
    void writeThenReadProperty()
    {
        QRandomGenerator rng(20240607);
        // Commas, quotes, blanks, both hyphen forms and letters that need each encoding.
        const QString narrow = QStringLiteral("abcXYZ09-}-} ,,\"'\t;õäöüšžŠŽÕÄĀąęėįų°–€«»\u0081");
        const QString foreign = QStringLiteral("жюяЖЯαβΩ中");
        const auto randomWord = [&](bool wide, bool mayBeEmpty) {
            QString word;
            for (int i = rng.bounded(mayBeEmpty ? 0 : 1, 12); i > 0; --i)
                word += wide && rng.bounded(6) == 0 ? foreign[rng.bounded(foreign.size())]
                                                    : narrow[rng.bounded(narrow.size())];
            return word;
        };
        const QString path = tmp_->filePath("prop.dic");
        int utf8Files = 0, balticFiles = 0;
        for (int round = 0; round < 300; ++round) {
            WordPairs original;
            for (int i = round % 97 == 0 ? MaxPairs : rng.bounded(0, 30), wide = rng.bounded(4) == 0; i > 0; --i)
                original.push_back({randomWord(wide, false), randomWord(wide, true)});
            MOODUL1 s;
            storePairs(s, original);
            const QByteArray context = "round " + QByteArray::number(round);
            const WriteResult w = saveWithHyphenRule(s, path);
            const ReadResult r = readDictionaryFile(path);
            QVERIFY2(w.ok && r.ok() && r.pairs == savedPairs(s), context);
            QCOMPARE(r.encoding, w.encoding);
            if (!std::any_of(original.begin(), original.end(), [](const WordPair& p) {
                    return (p.known + p.unknown).contains(StoredHyphen); }))
                QVERIFY2(r.pairs == original, context);
            (w.encoding == TextEncoding::Utf8 ? utf8Files : balticFiles)++;
        }
        QVERIFY(utf8Files > 40 && balticFiles > 40);
    }

private:
    std::unique_ptr<QTemporaryDir> tmp_;
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "test_dictionary.moc"
