#include "dictionary/DictionaryFile.h"
#include "dictionary/PairRule.h"
#include "state/Moodul1.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "support/Files.h"

#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(vorbix::dictionary::WordPairs)
Q_DECLARE_METATYPE(vorbix::dictionary::TextEncoding)

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

namespace {


void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void fill(MOODUL1& s, const WordPairs& pairs)
{
    for (int i = 0; i < MOODUL1::WordSlots; ++i) {
        s.KnownWords[i].clear();
        s.UnknownWords[i].clear();
    }
    for (size_t i = 0; i < pairs.size(); ++i) {
        s.KnownWords[i] = pairs[i].known;
        s.UnknownWords[i] = pairs[i].unknown;
    }
    s.LastWordIndex = static_cast<std::int16_t>(pairs.size()) - 1;
}

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += "w" + QByteArray::number(i) + "\r\n";
    return bytes;
}

// Words from a mixed alphabet: what field-wise reading would split or drop
// (commas, quotes, blanks), both hyphen forms, and text that needs each
// encoding. Some pairs of Baltic letters are also valid UTF-8.
QString randomWord(QRandomGenerator& rng, bool wide, bool mayBeEmpty)
{
    static const QString narrow = QStringLiteral("abcxyzABZ019-}-} ,,\"'\t;:!?õäöüšžŠŽÕÄÖÜĀąęėįų°–€«»\u0081");
    static const QString foreign = QStringLiteral("жюяЖЯαβΩ中");
    const int length = static_cast<int>(rng.bounded(mayBeEmpty ? 0 : 1, 12));
    QString word;
    for (int i = 0; i < length; ++i) {
        if (wide && rng.bounded(6) == 0)
            word += foreign[rng.bounded(foreign.size())];
        else
            word += narrow[rng.bounded(narrow.size())];
    }
    return word;
}

WordPairs afterReaderRule(WordPairs pairs)
{
    for (WordPair& p : pairs)
        applyPairRule(p.known, p.unknown, StoredHyphen, Hyphen);
    return pairs;
}

bool anyStoredHyphen(const WordPairs& pairs)
{
    for (const WordPair& p : pairs)
        if (p.known.contains(StoredHyphen) || p.unknown.contains(StoredHyphen))
            return true;
    return false;
}

} // namespace

class DictionaryTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
    }

    void pairRule_data()
    {
        QTest::addColumn<QString>("known");
        QTest::addColumn<QString>("unknown");
        QTest::addColumn<QString>("knownAfter");
        QTest::addColumn<QString>("unknownAfter");
        // From "-" to "}".
        QTest::newRow("one side, p=1") << "a-b-c" << "d" << "a}b-c" << "d";
        QTest::newRow("both sides, p=2") << "a-b-c" << "d-e-f" << "a}b}c" << "d}e}f";
        QTest::newRow("single hyphen") << "a-b" << "c" << "a}b" << "c";
        QTest::newRow("smaller count wins") << "--" << "-x-y-" << "}}" << "}x}y-";
        QTest::newRow("only unknown side") << "ab" << "c-d-e" << "ab" << "c}d-e";
        QTest::newRow("none at all") << "abc" << "" << "abc" << "";
        QTest::newRow("empty words") << "" << "" << "" << "";
    }
    void pairRule()
    {
        QFETCH(QString, known);
        QFETCH(QString, unknown);
        QFETCH(QString, knownAfter);
        QFETCH(QString, unknownAfter);
        applyPairRule(known, unknown, Hyphen, StoredHyphen);
        QCOMPARE(known, knownAfter);
        QCOMPARE(unknown, unknownAfter);
        // The reading direction undoes it when no "}" was typed.
        applyPairRule(known, unknown, StoredHyphen, Hyphen);
        QCOMPARE(known.count(StoredHyphen) + unknown.count(StoredHyphen), 0);
    }

    void pairRuleTurnsTypedBraceIntoHyphen()
    {
        // A "}" on one side only: nothing to store, but reading makes it a
        // hyphen. That is the format, not a fault.
        QString k = QStringLiteral("a}b"), u = QStringLiteral("c");
        applyPairRule(k, u, Hyphen, StoredHyphen);
        QCOMPARE(k, QStringLiteral("a}b"));
        applyPairRule(k, u, StoredHyphen, Hyphen);
        QCOMPARE(k, QStringLiteral("a-b"));
    }

    void examplePairsGiveTheseBytes()
    {
        MOODUL1 s;
        fill(s, {{"x-ray", "röntgen"}, {"koer", "dog"}});
        const QString path = file("example.dic");
        const WriteResult w = saveWithHyphenRule(s, path);
        QVERIFY2(w.ok, qPrintable(w.reason));
        QCOMPARE(w.encoding, TextEncoding::Windows1257);
        QCOMPARE(readBytes(path), QByteArray("x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\n"));
        QCOMPARE(s.KnownWords[0], QStringLiteral("x-ray"));

        const ReadResult r = readDictionaryFile(path);
        QVERIFY(r.ok());
        QCOMPARE(r.pairs, (WordPairs{{"x-ray", "röntgen"}, {"koer", "dog"}}));

        // The plain writer keeps the hyphen; both read alike.
        QVERIFY(savePlain(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("x-ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\n"));
        QCOMPARE(readDictionaryFile(path).pairs, r.pairs);
    }

    void savingChangesTypedBracesInMemoryOnly()
    {
        MOODUL1 s;
        fill(s, {{"a}b", "c"}, {"a-b-c", "d"}});
        const QString path = file("brace.dic");
        QVERIFY(saveWithHyphenRule(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("a}b\r\nc\r\na}b-c\r\nd\r\n"));
        QCOMPARE(s.KnownWords[0], QStringLiteral("a-b"));
        QCOMPARE(s.KnownWords[1], QStringLiteral("a-b-c"));
        QCOMPARE(readDictionaryFile(path).pairs, (WordPairs{{"a-b", "c"}, {"a-b-c", "d"}}));
    }

    void wholeLinesAreWords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WordPairs>("pairs");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << WordPairs{{"a", "b"}};
        QTest::newRow("LF") << QByteArray("a\nb\nc\nd\n") << WordPairs{{"a", "b"}, {"c", "d"}};
        QTest::newRow("mixed endings") << QByteArray("a\r\nb\nc\nd\r\n") << WordPairs{{"a", "b"}, {"c", "d"}};
        QTest::newRow("last line without end") << QByteArray("a\r\nb") << WordPairs{{"a", "b"}};
        QTest::newRow("last CR LF cut short") << QByteArray("a\r\nb\r") << WordPairs{{"a", "b"}};
        QTest::newRow("comma stays") << QByteArray("go, went\r\nminema\r\n") << WordPairs{{"go, went", "minema"}};
        QTest::newRow("quotes stay") << QByteArray("\"big\" cat\r\n\"\r\n") << WordPairs{{"\"big\" cat", "\""}};
        QTest::newRow("blanks stay") << QByteArray("  lead\r\ntrail  \r\n") << WordPairs{{"  lead", "trail  "}};
        QTest::newRow("empty words") << QByteArray("\r\n\r\nx\r\n\r\n") << WordPairs{{"", ""}, {"x", ""}};
        QTest::newRow("lone CR inside a word") << QByteArray("a\rb\r\nc\r\n") << WordPairs{{"a\rb", "c"}};
        QTest::newRow("empty file") << QByteArray() << WordPairs{};
    }
    void wholeLinesAreWords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(WordPairs, pairs);
        const ReadResult r = readDictionary(bytes);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        QCOMPARE(r.pairs, pairs);
        QVERIFY(!r.truncated);
    }

    void oddLinesAndLongLinesFail_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        QTest::newRow("one line") << QByteArray("only\r\n") << int(InputPastEndOfFile);
        QTest::newRow("three lines") << QByteArray("a\r\nb\r\nc") << int(InputPastEndOfFile);
        QTest::newRow("trailing empty line") << QByteArray("a\r\nb\r\n\r\n") << int(InputPastEndOfFile);
        QTest::newRow("longest line is fine")
            << QByteArray(MaxLineBytes, 'x') + "\r\n" + QByteArray(MaxLineBytes, 'y') << int(NoError);
        QTest::newRow("one byte too long") << QByteArray(MaxLineBytes + 1, 'x') + "\r\nb\r\n" << int(LineTooLong);
        QTest::newRow("too long without end") << "a\r\n" + QByteArray(MaxLineBytes + 1, 'y') << int(LineTooLong);
        QTest::newRow("huge junk") << QByteArray(8 * 1024 * 1024, '\xFF') << int(LineTooLong);
    }
    void oddLinesAndLongLinesFail()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const ReadResult r = readDictionary(bytes);
        QCOMPARE(r.error, error);
        if (error != NoError)
            QVERIFY(r.pairs.empty());
    }

    void binaryJunkNeverCrashes()
    {
        QRandomGenerator rng(7);
        for (int round = 0; round < 200; ++round) {
            QByteArray junk(static_cast<qsizetype>(rng.bounded(0, 600)), Qt::Uninitialized);
            for (char& c : junk)
                c = static_cast<char>(rng.bounded(256));
            if (round % 3 == 0)
                junk.prepend("\xEF\xBB\xBF");
            const ReadResult r = readDictionary(junk);
            const auto lines = junk.count('\n') + (junk.endsWith('\n') ? 0 : 1);
            if (r.ok())
                QVERIFY(qsizetype(r.pairs.size()) * 2 <= lines);
            else
                QCOMPARE(r.error, int(InputPastEndOfFile));
        }
        const ReadResult nul = readDictionary(QByteArray("a\0b\r\n\0\r\n", 8));
        QVERIFY(nul.ok());
        QCOMPARE(nul.pairs.front().known, QString::fromUtf16(u"a\0b", 3));
    }

    void capacity_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pairs");
        QTest::addColumn<bool>("truncated");
        QTest::newRow("1000 pairs") << 2000 << 1000 << false;
        QTest::newRow("1001 pairs") << 2002 << 1000 << true;
        QTest::newRow("one stray line after 1000 pairs") << 2001 << 1000 << true;
        QTest::newRow("999 pairs") << 1998 << 999 << false;
    }
    void capacity()
    {
        QFETCH(int, lines);
        QFETCH(int, pairs);
        QFETCH(bool, truncated);
        const ReadResult r = readDictionary(numberedLines(lines));
        QVERIFY(r.ok());
        QCOMPARE(int(r.pairs.size()), pairs);
        QCOMPARE(r.truncated, truncated);
        QCOMPARE(r.pairs.back().unknown, QStringLiteral("w%1").arg(2 * pairs - 1));
    }

    void sharedListIsSavedUpToFirstEmptyKnownWordAndAtMost1000()
    {
        MOODUL1 s;
        fill(s, {{"a", "1"}, {"b", "2"}, {"", "3"}, {"d", "4"}});
        s.LastWordIndex = 3;
        QCOMPARE(savedPairs(s), (WordPairs{{"a", "1"}, {"b", "2"}}));
        const QString path = file("stop.dic");
        QVERIFY(savePlain(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("a\r\n1\r\nb\r\n2\r\n"));

        fill(s, {});
        QVERIFY(saveWithHyphenRule(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray());

        for (int i = 0; i < MOODUL1::WordSlots; ++i) {
            s.KnownWords[i] = QStringLiteral("k%1").arg(i);
            s.UnknownWords[i] = QStringLiteral("u%1").arg(i);
        }
        QCOMPARE(int(savedPairs(s).size()), MaxPairs);

        // Storing keeps slot 1000, which files never reach.
        storePairs(s, {{"x", "y"}});
        QCOMPARE(s.LastWordIndex, std::int16_t(0));
        QVERIFY(s.KnownWords[1].isEmpty() && s.UnknownWords[999].isEmpty());
        QCOMPARE(s.KnownWords[1000], QStringLiteral("k1000"));
        storePairs(s, {});
        QCOMPARE(s.LastWordIndex, std::int16_t(-1));
        QVERIFY(s.listIsEmpty());
    }

    void encodingBothWays_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("word");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::newRow("Windows-1257") << QByteArray("r\xF6ntgen\r\n\xF0\xFE\xF5\xE4\r\n") << "röntgen"
                                      << TextEncoding::Windows1257;
        QTest::newRow("UTF-8") << QByteArray("r\xC3\xB6ntgen\r\nx\r\n") << "röntgen" << TextEncoding::Utf8;
        QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFkoer\r\ndog\r\n") << "koer"
                                         << TextEncoding::Utf8;
        QTest::newRow("invalid UTF-8 later on") << QByteArray("r\xC3\xB6ntgen\r\n\xF6\r\n") << "rĆ¶ntgen"
                                                << TextEncoding::Windows1257;
        QTest::newRow("ASCII") << QByteArray("dog\r\ncat\r\n") << "dog" << TextEncoding::Windows1257;
        QTest::newRow("euro sign") << QByteArray("\x80\r\n\xE6\r\n") << "€" << TextEncoding::Windows1257;
    }
    void encodingBothWays()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, word);
        QFETCH(TextEncoding, encoding);
        const ReadResult r = readDictionary(bytes);
        QVERIFY(r.ok());
        QCOMPARE(r.encoding, encoding);
        QCOMPARE(r.pairs.front().known, word);
    }

    void writerPicksTheEncoding()
    {
        QByteArray bytes;
        // Baltic letters fit the code page.
        QVERIFY(encodeDictionary({{"šokolaad", "žürii"}}, &bytes).ok);
        QCOMPARE(bytes, QByteArray("\xF0okolaad\r\n\xFE\xFCrii\r\n"));
        // Cyrillic does not: the whole file goes to UTF-8.
        WriteResult w = encodeDictionary({{"koer", "собака"}, {"õun", "яблоко"}}, &bytes);
        QCOMPARE(w.encoding, TextEncoding::Utf8);
        QCOMPARE(bytes, QString("koer\r\nсобака\r\nõun\r\nяблоко\r\n").toUtf8());
        QCOMPARE(readDictionary(bytes).pairs, (WordPairs{{"koer", "собака"}, {"õun", "яблоко"}}));
        // "Ä°" is C4 B0 in the code page, which is also valid UTF-8 for "İ":
        // such a list must be written so that it reads back as it was.
        w = encodeDictionary({{"Ä°", "x"}}, &bytes);
        QCOMPARE(w.encoding, TextEncoding::Utf8);
        QCOMPARE(readDictionary(bytes).pairs, (WordPairs{{"Ä°", "x"}}));
        // A word that starts with a byte-order mark keeps it.
        const QString marked = QChar(0xFEFF) + QStringLiteral("a");
        QVERIFY(encodeDictionary({{marked, "b"}}, &bytes).ok);
        QCOMPARE(readDictionary(bytes).pairs.front().known, marked);
    }

    void writerRefusesLineBreaks()
    {
        const QString path = file("keep.dic");
        writeBytes(path, "old\r\nlist\r\n");
        for (const QString& bad : {QStringLiteral("a\nb"), QStringLiteral("a\r\nb"), QStringLiteral("a\r")}) {
            const WriteResult w = writeDictionaryFile(path, {{"fine", "ok"}, {"x", bad}});
            QVERIFY(!w.ok);
            QVERIFY2(w.reason.contains(QLatin1String("pair 2")), qPrintable(w.reason));
            QVERIFY(w.reason.contains(QLatin1String("line break")));
            QCOMPARE(readBytes(path), QByteArray("old\r\nlist\r\n"));
        }
        MOODUL1 s;
        fill(s, {{"a-b", "x\ny"}});
        QVERIFY(!saveWithHyphenRule(s, path).ok);
        QCOMPARE(s.KnownWords[0], QStringLiteral("a-b"));
    }

    void openFailuresByPath()
    {
        QCOMPARE(readDictionaryFile(file("missing.dic")).error, int(FileNotFound));
        QCOMPARE(readDictionaryFile(file("nowhere/missing.dic")).error, int(PathNotFound));
        writeBytes(file("file"), "a\r\nb\r\n");
        QCOMPARE(readDictionaryFile(file("file/missing.dic")).error, int(PathNotFound));
        QVERIFY(QDir(tmp_->path()).mkdir("folder.dic"));
        QCOMPARE(readDictionaryFile(file("folder.dic")).error, int(PathFileAccessError));
        if (QFileInfo::exists(QStringLiteral("/dev/zero")))
            QCOMPARE(readDictionaryFile(QStringLiteral("/dev/zero")).error, int(PathFileAccessError));
    }

    void failedSaveLeavesOldFileByteForByte()
    {
        const QByteArray old("old\r\nlist\r\n\xF5\r\nx\r\n");
        const QString path = file("old.dic");
        writeBytes(path, old);
        WordPairs big;
        for (int i = 0; i < 500; ++i)
            big.push_back({QStringLiteral("known-%1").arg(i), QStringLiteral("unknown-%1").arg(i)});

        // The disk refuses to take more than a few bytes: the write fails
        // half way. (Works for root as well.)
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = saved;
        tight.rlim_cur = 64;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
        const WriteResult w = writeDictionaryFile(path, big);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!w.ok);
        QVERIFY(!w.reason.isEmpty());
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(tmp_->path()).entryList(QDir::Files), QStringList{"old.dic"});

        // A folder in the way.
        QVERIFY(QDir(tmp_->path()).mkdir("taken.dic"));
        QVERIFY(!writeDictionaryFile(file("taken.dic"), big).ok);
        QVERIFY(!writeDictionaryFile(file("no/such/dir.dic"), big).ok);

        // Memory is not touched by a failed hyphen-rule save either.
        MOODUL1 s;
        fill(s, {{"a}b", "c"}});
        QVERIFY(!saveWithHyphenRule(s, file("taken.dic")).ok);
        QCOMPARE(s.KnownWords[0], QStringLiteral("a}b"));
    }

    // Whatever the list, what a writer wrote reads back as the list the
    // program holds afterwards.
    void writeThenReadProperty()
    {
        QRandomGenerator rng(20240607);
        // Every save syncs to disk; in memory this takes a fraction of the time.
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
            ? QStringLiteral("/dev/shm/vorbix-XXXXXX")
            : QDir::tempPath() + QStringLiteral("/vorbix-XXXXXX");
        QTemporaryDir fast(base);
        QVERIFY(fast.isValid());
        const QString hyphenPath = fast.filePath("prop-hyphen.dic");
        const QString plainPath = fast.filePath("prop-plain.dic");
        int utf8Files = 0, balticFiles = 0;
        for (int round = 0; round < 400; ++round) {
            const bool wide = rng.bounded(4) == 0;
            const int count = round % 97 == 0 ? MaxPairs : static_cast<int>(rng.bounded(0, 30));
            WordPairs original;
            for (int i = 0; i < count; ++i)
                original.push_back({randomWord(rng, wide, false), randomWord(rng, wide, true)});
            MOODUL1 s;
            fill(s, original);
            const QByteArray context = "round " + QByteArray::number(round);

            const WriteResult plain = savePlain(s, plainPath);
            QVERIFY2(plain.ok, context);
            const ReadResult plainRead = readDictionaryFile(plainPath);
            QVERIFY2(plainRead.ok(), context);
            QVERIFY2(plainRead.pairs == afterReaderRule(original), context);

            const WriteResult hyphen = saveWithHyphenRule(s, hyphenPath);
            QVERIFY2(hyphen.ok, context);
            const ReadResult hyphenRead = readDictionaryFile(hyphenPath);
            QVERIFY2(hyphenRead.ok(), context);
            QVERIFY2(hyphenRead.pairs == savedPairs(s), context);
            QCOMPARE(hyphenRead.encoding, hyphen.encoding);
            if (!anyStoredHyphen(original))
                QVERIFY2(savedPairs(s) == original, context);
            (hyphen.encoding == TextEncoding::Utf8 ? utf8Files : balticFiles)++;
        }
        // Both encodings were exercised.
        QVERIFY(utf8Files > 50);
        QVERIFY(balticFiles > 50);
    }

private:
    QString file(const QString& name) const { return tmp_->filePath(name); }
    std::unique_ptr<QTemporaryDir> tmp_;
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "test_dictionary.moc"
