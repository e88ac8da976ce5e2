#include "dictionary/DictionaryFile.h"
#include "dictionary/PairRule.h"
#include "state/Moodul1.h"
#include "support/Files.h"
#include "support/Trickle.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

Q_DECLARE_METATYPE(WordPairs)
Q_DECLARE_METATYPE(FileFormat)

namespace {

const FileFormat Baltic{TextEncoding::Windows1257, false};
const FileFormat Utf8{TextEncoding::Utf8, false};
const FileFormat Utf8Bom{TextEncoding::Utf8, true};
const FileFormat Utf16LE{TextEncoding::Utf16LE, true};
const FileFormat Utf16BE{TextEncoding::Utf16BE, true};

QByteArray utf16(const QString& text, bool bigEndian, bool mark = true)
{
    QByteArray out = mark ? QByteArray(bigEndian ? "\xFE\xFF" : "\xFF\xFE") : QByteArray();
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return out;
}

// n numbered pairs, one line per word.
QByteArray numberedLines(int lines, const char* end = "\r\n")
{
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += "w" + QByteArray::number(i) + end;
    return bytes;
}

// What Save does to an opened file, in memory: the list and the format the
// program holds afterwards, and the bytes.
struct Saved {
    WriteResult result;
    QByteArray bytes;
    WordPairs after;
};
Saved saveOpened(const WordPairs& opened, std::optional<FileFormat> format)
{
    MOODUL1 s;
    storePairs(s, opened);
    Saved out;
    const WordPairs stored = withStoredHyphens(savedPairs(s));
    out.result = encodeDictionary(stored, &out.bytes, format);
    out.after = withHyphens(stored);
    return out;
}

// Open, Save, reopen, Save again: either the bytes are refused, or the
// reopened words are the saved ones and the second save is the same bytes.
QString roundTripFault(const QByteArray& bytes)
{
    const ReadResult first = readDictionary(bytes);
    if (!first.ok())
        return first.pairs.empty() ? QString() : "a refused read gave pairs";
    const Saved saved = saveOpened(first.pairs, first.format);
    if (!saved.result.ok)
        return "Save refused an opened list: " + saved.result.reason;
    const ReadResult again = readDictionary(saved.bytes);
    if (!again.ok() || again.truncated || again.pairs != saved.after)
        return "reopened words differ from the saved ones";
    const Saved second = saveOpened(again.pairs, again.format);
    if (!second.result.ok || second.bytes != saved.bytes)
        return "the second save gave other bytes";
    return {};
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
        QCOMPARE(s.CurrentFileFormat, Baltic);
        // Memory takes the form that reads back: the typed "}" is now a hyphen.
        const WordPairs read{{"x-ray", "röntgen"}, {"koer", "dog"}, {"a-b", "c"}};
        QCOMPARE(savedPairs(s), read);
        QCOMPARE(readDictionaryFile(path).pairs, read);
        // The plain writer keeps the hyphen; both read alike.
        QVERIFY(savePlain(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("x-ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\na-b\r\nc\r\n"));
        QCOMPARE(readDictionaryFile(path).pairs, read);
    }

    void opens_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WordPairs>("pairs");
        QTest::addColumn<FileFormat>("format");
        QTest::newRow("UTF-8") << QByteArray("r\xC3\xB6ntgen\r\n\xC5\xA1okk\r\n") << WordPairs{{"röntgen", "šokk"}} << Utf8;
        QTest::newRow("UTF-8 with mark, LF") << "\xEF\xBB\xBF" + QString("koer\nсобака\n").toUtf8()
                                             << WordPairs{{"koer", "собака"}} << Utf8Bom;
        QTest::newRow("UTF-8, a word starting with U+FEFF after the mark")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "a\r\nb\r\n") << WordPairs{{QChar(0xFEFF) + QString("a"), "b"}} << Utf8Bom;
        QTest::newRow("ASCII is UTF-8") << QByteArray("go, went\r\n  \"big\" cat  \r\n")
                                        << WordPairs{{"go, went", "  \"big\" cat  "}} << Utf8;
        QTest::newRow("UTF-16LE as Notepad saves it")
            << utf16("koer\r\nсобака\r\nx-ray\r\n😀\r\n", false) << WordPairs{{"koer", "собака"}, {"x-ray", "😀"}} << Utf16LE;
        QTest::newRow("UTF-16BE, LF, no final line end")
            << utf16("õun\napple", true) << WordPairs{{"õun", "apple"}} << Utf16BE;
        QTest::newRow("UTF-16LE mark only") << QByteArray("\xFF\xFE") << WordPairs{} << Utf16LE;
        QTest::newRow("Windows-1257") << QByteArray("\xF5un\r\n\xD0okolaad\r\n") << WordPairs{{"õun", "Šokolaad"}} << Baltic;
        QTest::newRow("Windows-1257 starting like a UTF-8 mark")
            << QByteArray("\xEF\xBB\xBF\xF5\r\nx\r\n") << WordPairs{{"ļ»æõ", "x"}} << Baltic;
        QTest::newRow("Windows-1257 C1 bytes") << QByteArray("\x81\x98\r\n\x80\r\n") << WordPairs{{"\u0081\u0098", "€"}} << Baltic;
        QTest::newRow("CR at the very end is a line end") << QByteArray("a\r\nb\r") << WordPairs{{"a", "b"}} << Utf8;
        QTest::newRow("empty words") << QByteArray("\r\n\r\n") << WordPairs{{"", ""}} << Utf8;
        QTest::newRow("empty file") << QByteArray() << WordPairs{} << Utf8;
        const QString longest(MaxWordLength, u'x');
        QTest::newRow("words of the longest length, Windows-1257")
            << "\xF5" + longest.toLatin1().mid(1) + "\r\n" + longest.toLatin1() << WordPairs{{"õ" + longest.mid(1), longest}} << Baltic;
        const QString wide(MaxWordLength, u'中'); // three bytes each: the longest UTF-8 line there is
        QTest::newRow("words of the longest length, UTF-8")
            << (wide + "\r\n" + wide + "\r\n").toUtf8() << WordPairs{{wide, wide}} << Utf8;
        const QString astral = QString("😀").repeated(MaxWordLength / 2) + "x";
        QTest::newRow("words of the longest length, UTF-16")
            << utf16(astral + "\r\n" + longest + "\r\n", false) << WordPairs{{astral, longest}} << Utf16LE;
    }
    void opens()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(WordPairs, pairs);
        QFETCH(FileFormat, format);
        const ReadResult r = readDictionary(bytes);
        QCOMPARE(r.error, int(NoError));
        QCOMPARE(r.pairs, pairs);
        QCOMPARE(r.format, format);
        QVERIFY(!r.truncated);
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error");
        const QByteArray fine = "koer\r\ndog\r\n";
        QTest::newRow("UTF-8 with one stray Latin-1 byte") << fine + "\xC5\xA1okk\r\ncaf\xE9\r\n" << int(NotText);
        QTest::newRow("Windows-1257 with 0xA1") << fine + "\xA1\r\nx\r\n" << int(NotText);
        QTest::newRow("Windows-1257 with 0xA5") << fine + "x\r\n\xF5\xA5\r\n" << int(NotText);
        QByteArray binary;
        for (int b = 255; b >= 0; --b)
            binary += char(b);
        QTest::newRow("binary") << binary << int(NotText);
        QTest::newRow("NUL in UTF-8") << QByteArray("a\0b\r\nc\r\n", 8) << int(NotText);
        QTest::newRow("NUL in Windows-1257") << QByteArray("\xF5\0\r\nc\r\n", 7) << int(NotText);
        QTest::newRow("UTF-16LE without a mark") << utf16("koer\r\ndog\r\n", false, false) << int(NotText);
        QTest::newRow("UTF-16LE cut in a unit") << utf16("koer\r\ndog", false).chopped(1) << int(NotText);
        QTest::newRow("UTF-16BE lone surrogate") << utf16(QString("a\r\nb") + QChar(0xD83D) + "c\r\n", true) << int(NotText);
        QTest::newRow("UTF-16LE NUL character") << utf16(QString("a\r\nb") + QChar(0) + "\r\n", false) << int(NotText);
        QTest::newRow("lone CR inside a line") << QByteArray("a\rb\r\nc\r\n") << int(CarriageReturnInLine);
        QTest::newRow("CR only line ends") << QByteArray("a\rb\rc\rd\r") << int(CarriageReturnInLine);
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb\r\n") << int(CarriageReturnInLine);
        QTest::newRow("lone CR in UTF-16") << utf16("a\rb\r\nc\r\n", false) << int(CarriageReturnInLine);
        QTest::newRow("odd line count") << QByteArray("a\r\nb\r\nc") << int(InputPastEndOfFile);
        QTest::newRow("an empty line after the last pair") << QByteArray("a\r\nb\r\n\r\n") << int(InputPastEndOfFile);
        const QByteArray over(MaxWordLength + 1, 'x');
        QTest::newRow("word one too long, Windows-1257") << fine + "\xF5" + over.mid(1) + "\r\nb\r\n" << int(LineTooLong);
        QTest::newRow("word one too long, UTF-8 at the end") << fine + "a\r\n" + over << int(LineTooLong);
        QTest::newRow("word one too long, UTF-16") << utf16("a\r\n" + QString(MaxWordLength + 1, u'ж'), true) << int(LineTooLong);
        QTest::newRow("word one too long, three-byte UTF-8") << "a\r\n" + QString(MaxWordLength + 1, u'中').toUtf8() << int(LineTooLong);
        QTest::newRow("8 MiB without a line end") << QByteArray(8 * 1024 * 1024, '\xFF') << int(LineTooLong);
    }
    void refuses()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        const ReadResult r = readDictionary(bytes);
        QCOMPARE(r.error, error);
        QVERIFY(r.pairs.empty());
        // The file on disk the same.
        const QString path = tmp_->filePath("refused.dic");
        writeBytes(path, bytes);
        QCOMPARE(readDictionaryFile(path).error, error);
    }

    void atMost1000PairsAreRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("truncated");
        QTest::newRow("1000 pairs") << numberedLines(2000) << false;
        QTest::newRow("1000 pairs and empty lines") << numberedLines(2000) + "\r\n\r\n\n\r\n" << false;
        QTest::newRow("1000 pairs, LF, and empty lines") << numberedLines(2000, "\n") + "\n\n" << false;
        QTest::newRow("1000 pairs in UTF-16 and empty lines") << utf16(numberedLines(2000) + "\r\n\r\n", false) << false;
        QTest::newRow("a 1001st known word") << numberedLines(2001) << true;
        QTest::newRow("empty lines, then a word") << numberedLines(2000) + "\r\n\r\nx" << true;
        QTest::newRow("1001 pairs in UTF-16") << utf16(numberedLines(2002), true) << true;
        // What was not read does not count against the file.
        QTest::newRow("a refused byte after 1000 pairs") << numberedLines(2000) + "\xA1\r\n\0\r\n" << true;
    }
    void atMost1000PairsAreRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, truncated);
        const QString path = tmp_->filePath("capacity.dic");
        writeBytes(path, bytes);
        for (const ReadResult& r : {readDictionary(bytes), readDictionaryFile(path)}) {
            QCOMPARE(r.error, int(NoError));
            QCOMPARE(int(r.pairs.size()), MaxPairs);
            QCOMPARE(r.truncated, truncated);
            QCOMPARE(r.pairs.back().unknown, QStringLiteral("w1999"));
        }
    }

    // Read from a stream in small pieces, a file reads as it does whole:
    // line ends, UTF-16 units and the look past the 1000th pair cut anywhere.
    void streamedReadsAsWhole()
    {
        const QString longest(MaxWordLength, u'中');
        const QByteArray files[] = {
            utf16("a\r\n" + QString(MaxWordLength, u'ж') + "\r\nb\r\nc\r\n", false),
            utf16("a\r\n" + QString(MaxWordLength + 1, u'ж') + "\r\n", true),
            ("a\r\n" + longest + "\r\n").toUtf8(), ("a\r\n" + longest + "x\r\n").toUtf8(),
            numberedLines(2000) + "\r\n\r\n", numberedLines(2000) + "\r\n\r\nx",
            utf16(numberedLines(2000) + "\r\n", true) + "\r", QByteArray("a\rb\r\nc\r\n"),
            QByteArray("\xF5\r\n\xA1\r\n")};
        for (const QByteArray& bytes : files) {
            const ReadResult whole = readDictionary(bytes);
            for (const qint64 piece : {1, 2, 3, 7, 4096}) {
                Trickle stream(bytes, piece);
                const ReadResult r = readDictionary(stream);
                const QByteArray context = bytes.left(12).toHex(' ') + " in pieces of " + QByteArray::number(piece);
                QVERIFY2(r.error == whole.error && r.pairs == whole.pairs && r.truncated == whole.truncated
                             && r.format == whole.format,
                         context);
            }
        }
    }

    // Open then Save gives the file back byte for byte, in the encoding it
    // came in, unless the words cannot stay there.
    void saveKeepsTheEncoding_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("firstKnown"); // put in place of the first known word, unless empty
        QTest::addColumn<QString>("added"); // a pair "added|added" appended before saving
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<FileFormat>("format");
        const QString words = "x}ray\r\nröntgen\r\nšokk\r\nõun\r\n";
        QTest::newRow("UTF-8") << words.toUtf8() << "" << "" << words.toUtf8() << Utf8;
        QTest::newRow("UTF-8 with mark") << "\xEF\xBB\xBF" + words.toUtf8() << "" << "" << "\xEF\xBB\xBF" + words.toUtf8() << Utf8Bom;
        QTest::newRow("UTF-16LE") << utf16(words, false) << "" << "" << utf16(words, false) << Utf16LE;
        QTest::newRow("UTF-16BE") << utf16(words, true) << "" << "" << utf16(words, true) << Utf16BE;
        QTest::newRow("Windows-1257") << QByteArray("x}ray\r\nr\xF6ntgen\r\n\xD0okk\r\n\xF5un\r\n") << "" << ""
                                      << QByteArray("x}ray\r\nr\xF6ntgen\r\n\xD0okk\r\n\xF5un\r\n") << Baltic;
        QTest::newRow("LF becomes CR LF") << QByteArray("a\nb\n") << "" << "" << QByteArray("a\r\nb\r\n") << Utf8;
        QTest::newRow("ASCII UTF-16 stays UTF-16") << utf16("a\r\nb\r\n", true) << "" << "" << utf16("a\r\nb\r\n", true) << Utf16BE;
        QTest::newRow("Windows-1257 gets a word it cannot hold")
            << QByteArray("\xF5un\r\napple\r\n") << "" << "ж" << QString("õun\r\napple\r\nж\r\nж\r\n").toUtf8() << Utf8;
        QTest::newRow("Windows-1257 bytes that would read as UTF-8")
            << QByteArray("\xF5\r\nx\r\n") << "Ä°" << "" << QString("Ä°\r\nx\r\n").toUtf8() << Utf8;
        // "˙ž" is FF FE in the code page: a UTF-16 mark.
        QTest::newRow("Windows-1257 bytes that would read as UTF-16")
            << QByteArray("\xF5\r\nx\r\n") << "\u02D9\u017E" << "" << QString("\u02D9\u017E\r\nx\r\n").toUtf8() << Utf8;
    }
    void saveKeepsTheEncoding()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, firstKnown);
        QFETCH(QString, added);
        QFETCH(QByteArray, saved);
        QFETCH(FileFormat, format);
        const QString path = tmp_->filePath("kept.dic");
        writeBytes(path, file);
        const ReadResult r = readDictionaryFile(path);
        QVERIFY2(r.ok(), qPrintable(r.detail));
        MOODUL1 s;
        WordPairs pairs = r.pairs;
        if (!firstKnown.isEmpty())
            pairs[0].known = firstKnown;
        if (!added.isEmpty())
            pairs.push_back({added, added});
        storePairs(s, pairs);
        s.CurrentFileFormat = r.format;
        const WriteResult w = saveWithHyphenRule(s, path);
        QVERIFY2(w.ok, qPrintable(w.reason));
        QCOMPARE(readBytes(path), saved);
        QCOMPARE(w.format, format);
        QCOMPARE(s.CurrentFileFormat, format);
        // The save prompt's writer keeps it as well.
        QVERIFY(savePlain(s, path).ok);
        QCOMPARE(readBytes(path), saved.replace('}', '-'));
        QCOMPARE(readDictionaryFile(path).pairs, savedPairs(s));
    }

    void saveRefusesWhatOpenWouldRefuse_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("reason");
        QTest::newRow("line break") << "a\r\nb" << "line break";
        QTest::newRow("lone LF") << "a\nb" << "line break";
        QTest::newRow("lone CR") << "a\rb" << "line break";
        QTest::newRow("NUL") << QString("a") + QChar(0) << "NUL";
        QTest::newRow("lone high surrogate") << QString("a") + QChar(0xD83D) << "surrogate";
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) + "a" << "surrogate";
        QTest::newRow("one too long") << QString(MaxWordLength + 1, u'x') << "32768 characters";
        QTest::newRow("one too long in UTF-8") << QString(MaxWordLength + 1, u'中') << "32768 characters";
    }
    void saveRefusesWhatOpenWouldRefuse()
    {
        QFETCH(QString, word);
        QFETCH(QString, reason);
        const QString path = tmp_->filePath("old.dic");
        writeBytes(path, "old\r\nlist\r\n");
        for (const bool known : {true, false}) {
            MOODUL1 s;
            storePairs(s, {{"fine", "ok"}, {known ? word : "x", known ? "y" : word}});
            s.CurrentFileFormat = Utf16BE;
            const WriteResult w = saveWithHyphenRule(s, path);
            QVERIFY(!w.ok);
            QVERIFY2(w.reason.startsWith("pair 2 (\"") && w.reason.contains(reason), qPrintable(w.reason));
            QVERIFY(w.reason.size() < 200); // a long word is cut short in the message
            QVERIFY(!savePlain(s, path).ok);
            QCOMPARE(readBytes(path), QByteArray("old\r\nlist\r\n"));
            QCOMPARE(s.CurrentFileFormat, Utf16BE);
            QCOMPARE(savedPairs(s)[1].known, known ? word : "x");
        }
        WordPairs tooMany(MaxPairs + 1, WordPair{"a", "b"});
        QByteArray bytes;
        QVERIFY(!encodeDictionary(tooMany, &bytes).ok);
    }

    // A word of exactly the limit is written in every encoding and reads back.
    void longestWordsRoundTrip()
    {
        const QString cases[] = {QString(MaxWordLength, u'x'), QString(MaxWordLength, u'õ'),
                                 QString(MaxWordLength, u'中'), QString("😀").repeated(MaxWordLength / 2) + "ž"};
        for (const FileFormat format : {Baltic, Utf8, Utf8Bom, Utf16LE, Utf16BE}) {
            for (const QString& word : cases) {
                QByteArray bytes;
                const WriteResult w = encodeDictionary({{word, word}}, &bytes, format);
                QVERIFY2(w.ok, qPrintable(w.reason));
                const ReadResult r = readDictionary(bytes);
                QVERIFY2(r.ok(), qPrintable(r.detail));
                QVERIFY(r.pairs == (WordPairs{{word, word}}));
            }
        }
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
        QVERIFY(!s.CurrentFileFormat);
    }

    // A folder on the path that may not be searched, or a file that may not
    // be read. Root is not held back by permissions, so as root the reading
    // runs in a child process that has dropped to "nobody".
    void permissionFailuresAre70()
    {
        QVERIFY(QFile::setPermissions(tmp_->path(), QFileDevice::Permissions(0x7555)));
        const QString folder = tmp_->filePath("locked");
        QVERIFY(QDir().mkdir(folder));
        writeBytes(folder + "/words.dic", "a\r\nb\r\n");
        writeBytes(tmp_->filePath("unreadable.dic"), "a\r\nb\r\n");
        QVERIFY(QFile::setPermissions(tmp_->filePath("unreadable.dic"), QFileDevice::Permissions()));
        const auto errorOf = [](const QString& path) {
            if (geteuid() != 0)
                return readDictionaryFile(path).error;
            const pid_t child = fork();
            if (child == 0) {
                const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
                _exit(dropped ? readDictionaryFile(path).error : 255);
            }
            int status = 0;
            waitpid(child, &status, 0);
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        };
        for (const auto permissions : {0x0000, 0x6666}) { // nothing; read and write without search
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(permissions)));
            QCOMPARE(errorOf(folder + "/words.dic"), int(PermissionDenied));
        }
        QCOMPARE(errorOf(tmp_->filePath("unreadable.dic")), int(PermissionDenied));
        QCOMPARE(errorOf(folder + "/missing/words.dic"), int(PermissionDenied));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        QCOMPARE(errorOf(folder + "/words.dic"), int(NoError));
        QCOMPARE(errorOf(folder + "/missing.dic"), int(FileNotFound));
    }

    // Whatever the bytes: refused with nothing, or saved and reopened as the
    // same words, and saved again as the same bytes.
    void anyBytesRoundTripOrAreRefused()
    {
        QRandomGenerator rng(7);
        const QByteArray pieces[] = {"-", "}", "x", " ", "\xC3\xB5", "\xF5", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                     "\xEF\xBB\xBF", "\xFF", "\xFE", "\xC4\xB0", "\x81"};
        const QByteArray rare[] = {"\r", "\xA1", QByteArray(1, '\0'), "\xED\xA0\x80", "\xC0\xAF"};
        int opened = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray text;
            for (int lines = rng.bounded(0, 12) + (rng.bounded(4) == 0); lines > 0; --lines) {
                for (int n = rng.bounded(0, 6); n > 0; --n)
                    text += rng.bounded(30) == 0 ? rare[rng.bounded(int(std::size(rare)))]
                                                 : pieces[rng.bounded(int(std::size(pieces)))];
                text += rng.bounded(3) == 0 ? "\n" : "\r\n";
            }
            QByteArray bytes;
            switch (rng.bounded(6)) {
            case 0: bytes = utf16(QString::fromUtf8(text), false); break;
            case 1: bytes = utf16(QString::fromUtf8(text), true); break;
            case 2: bytes = "\xEF\xBB\xBF" + text; break;
            default: bytes = text;
            }
            if (rng.bounded(8) == 0 && !bytes.isEmpty()) // a byte cut off or changed
                rng.bounded(2) ? bytes.chop(1) : void(bytes[rng.bounded(bytes.size())] = char(rng.bounded(256)));
            const QString fault = roundTripFault(bytes);
            QVERIFY2(fault.isEmpty(), qPrintable(fault + ": " + bytes.toHex(' ')));
            opened += readDictionary(bytes).ok();
        }
        QVERIFY2(opened > 1000, qPrintable(QString::number(opened)));
    }

    // What a save wrote reads back as the list the program holds afterwards.
    void writeThenReadProperty()
    {
        QRandomGenerator rng(20240607);
        // Commas, quotes, blanks, both hyphen forms and letters that need each encoding.
        const QString narrow = QStringLiteral("abcXYZ09-}-} ,,\"'\t;õäöüšžŠŽÕÄĀąęėįų°–€«»\u0081\u02D9");
        const QStringList foreign = {"ж", "ю", "Я", "α", "Ω", "中", QString(QChar(0xFEFF)), "😀"};
        const auto randomWord = [&](bool wide, bool mayBeEmpty) {
            QString word;
            for (int i = rng.bounded(mayBeEmpty ? 0 : 1, 12); i > 0; --i)
                word += wide && rng.bounded(6) == 0 ? foreign[rng.bounded(foreign.size())]
                                                    : QString(narrow[rng.bounded(narrow.size())]);
            return word;
        };
        const std::optional<FileFormat> formats[] = {std::nullopt, Baltic, Utf8, Utf8Bom, Utf16LE, Utf16BE};
        const QString path = tmp_->filePath("prop.dic");
        int utf8Files = 0, balticFiles = 0, utf16Files = 0;
        for (int round = 0; round < 300; ++round) {
            WordPairs original;
            for (int i = round % 97 == 0 ? MaxPairs : rng.bounded(0, 30), wide = rng.bounded(4) == 0; i > 0; --i)
                original.push_back({randomWord(wide, false), randomWord(wide, true)});
            MOODUL1 s;
            storePairs(s, original);
            s.CurrentFileFormat = formats[rng.bounded(int(std::size(formats)))];
            const QByteArray context = "round " + QByteArray::number(round);
            const WriteResult w = saveWithHyphenRule(s, path);
            const ReadResult r = readDictionaryFile(path);
            QVERIFY2(w.ok && r.ok() && r.pairs == savedPairs(s), context + " " + w.reason.toUtf8() + r.detail.toUtf8());
            QCOMPARE(s.CurrentFileFormat, w.format);
            if (!std::any_of(original.begin(), original.end(), [](const WordPair& p) {
                    return (p.known + p.unknown).contains(StoredHyphen); }))
                QVERIFY2(r.pairs == original, context);
            // Saving the unchanged list again keeps the words and, from the
            // second save on (the pair rule may still move a typed "}" once),
            // the bytes.
            const QByteArray first = readBytes(path);
            const Saved second = saveOpened(savedPairs(s), s.CurrentFileFormat);
            const Saved third = saveOpened(second.after, second.result.format);
            QVERIFY2(second.after == savedPairs(s) && third.bytes == second.bytes, context);
            if (!first.contains('}'))
                QVERIFY2(second.bytes == first, context);
            (w.format.encoding == TextEncoding::Windows1257 ? balticFiles
             : w.format.encoding == TextEncoding::Utf8     ? utf8Files
                                                           : utf16Files)++;
        }
        QVERIFY2(utf8Files > 40 && balticFiles > 40 && utf16Files > 40,
                 qPrintable(QString("%1 %2 %3").arg(utf8Files).arg(balticFiles).arg(utf16Files)));
    }

private:
    std::unique_ptr<QTemporaryDir> tmp_;
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "test_dictionary.moc"
