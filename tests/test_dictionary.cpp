#include "dictionary/DictionaryFile.h"
#include "dictionary/Import.h"
#include "dictionary/ImportText.h"
#include "dictionary/PairRule.h"
#include "dictionary/WordListFile.h"
#include "support/DicRoundTrip.h"
#include "support/Files.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

Q_DECLARE_METATYPE(FileFormat)

namespace {

const FileFormat Baltic{TextEncoding::Windows1257, false}, Utf8{TextEncoding::Utf8, false},
    Utf8Bom{TextEncoding::Utf8, true}, Utf16LE{TextEncoding::Utf16LE, true}, Utf16BE{TextEncoding::Utf16BE, true};

QByteArray utf16(const QString& text, bool bigEndian, bool mark = true)
{
    QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

// "known/unknown; known/unknown"
QString shown(const WordPairs& pairs)
{
    QStringList rows;
    for (const WordPair& p : pairs)
        rows << p.known + "/" + p.unknown;
    return rows.join("; ");
}

// "error 54", or the pairs read, with " cut" when more were left unread.
QString summary(const ReadResult& r)
{
    const QString read = r.error ? "error " + QString::number(r.error) + shown(r.pairs) : shown(r.pairs);
    return r.truncated ? read + " cut" : read;
}

QString causeName(ImportError error)
{
    static const std::map<ImportError, const char*> names{{ImportError::NotText, "not text"},
                                                          {ImportError::BrokenXml, "broken XML"},
                                                          {ImportError::TooDeep, "too deep"},
                                                          {ImportError::OneLanguage, "one language"},
                                                          {ImportError::NoUsablePair, "no usable pair"},
                                                          {ImportError::UnclosedQuote, "unclosed quote"},
                                                          {ImportError::NulCharacter, "NUL"},
                                                          {ImportError::BrokenText, "broken text"},
                                                          {ImportError::TooLarge, "too large"},
                                                          {ImportError::UnknownEncoding, "unknown encoding"},
                                                          {ImportError::OddLineCount, "odd line count"},
                                                          {ImportError::LoneCarriageReturn, "lone CR"}};
    return names.count(error) ? names.at(error) : "cause " + QString::number(int(error));
}

// A list from another program as Enter takes the import window's first
// guesses: the pairs, what was skipped and whether Save writes it back as it
// came ([dic], [tsv]); or why it was refused and the words that say so.
QString summary(const ImportPreview& p)
{
    if (!p.ok())
        return causeName(p.error) + ": " + p.errorText;
    QString text = shown(p.pairs);
    if (p.entries > p.firstEntry + int(p.pairs.size()))
        text += " cut";
    if (p.skippedTotal())
        text += QString(" (%1 skipped)").arg(p.skippedTotal());
    if (p.kind == FileKind::Imported)
        return text;
    return text + (p.kind == FileKind::Dictionary ? " [dic]" : " [tsv]");
}

QString refused(int error) { return "error " + QString::number(error); }

// 1000 numbered pairs, one line per word: the file, and the pairs shown.
std::pair<QString, QString> thousandPairs()
{
    QString file, pairs;
    for (int i = 0; i < 2 * MaxPairs; i += 2) {
        file += QString("w%1\r\nw%2\r\n").arg(i).arg(i + 1);
        pairs += QString(i ? "; w%1/w%2" : "w%1/w%2").arg(i).arg(i + 1);
    }
    return {file, pairs};
}

// A KVTML 2 document as KWordQuiz and Parley write it, lessons pointing at entries.
QByteArray kvtml2(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"kvtml2.dtd\">\n"
           "<kvtml version=\"2.0\"><information><title>t</title></information><identifiers>"
           "<identifier id=\"0\"><name>Eesti</name></identifier><identifier id=\"1\"><name>English</name>"
           "</identifier></identifiers>\n<entries>\n"
        + entries + "</entries><lessons><container><name>L</name><entry id=\"0\"/></container></lessons></kvtml>\n";
}

// A null word leaves its translation out.
QByteArray entry(int id, const QByteArray& t0, const QByteArray& t1)
{
    QByteArray e = "<entry id=\"" + QByteArray::number(id) + "\">";
    for (const auto& [tid, text] : {std::pair{"0", t0}, std::pair{"1", t1}})
        if (!text.isNull())
            e += QByteArray("<translation id=\"") + tid + "\"><text>" + text + "</text></translation>";
    return e + "</entry>\n";
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

    // The pair rule both ways, a new list saved as the example file, and a
    // save cut short that leaves it.
    void pairRuleAndTheExampleBytes()
    {
        for (const QString row : {"a-b-c|d|a}b-c|d", "a-b-c|d-e-f|a}b}c|d}e}f", "--|-x-y-|}}|}x}y-", "abc||abc|"}) {
            QString k = row.section('|', 0, 0), u = row.section('|', 1, 1);
            applyPairRule(k, u, Hyphen, StoredHyphen);
            QCOMPARE(k + '|' + u, row.section('|', 2));
            applyPairRule(k, u, StoredHyphen, Hyphen);
            QCOMPARE(k + '|' + u, row.section('|', 0, 1));
        }
        MOODUL1 s;
        storePairs(s, {{"x-ray", "röntgen"}, {"koer", "dog"}, {"a}b", "c"}});
        const QString path = tmp_->filePath("example.dic");
        QVERIFY(saveWithHyphenRule(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("x}ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\na}b\r\nc\r\n"));
        QCOMPARE(s.CurrentFileFormat, Baltic);
        // Memory takes the form that reads back: the typed "}" is now a hyphen.
        const QString read = "x-ray/röntgen; koer/dog; a-b/c";
        QCOMPARE(shown(savedPairs(s)), read);
        QCOMPARE(shown(readDictionaryFile(path).pairs), read);
        // The save prompt's writer keeps the hyphen; both read alike.
        QVERIFY(savePlain(s, path).ok);
        QCOMPARE(readBytes(path), QByteArray("x-ray\r\nr\xF6ntgen\r\nkoer\r\ndog\r\na-b\r\nc\r\n"));
        QCOMPARE(shown(readDictionaryFile(path).pairs), read);
        QByteArray none;
        QVERIFY(!encodeDictionary(WordPairs(MaxPairs + 1, WordPair{"a", "b"}), &none).ok);
        // The disk takes no more than 64 bytes, so the write fails half way (for
        // root too): the old file stays byte for byte, and no stray file is left.
        const QByteArray old = readBytes(path);
        const WordPairs big(500, WordPair{"known words", "unknown words"});
        MOODUL1 t;
        storePairs(t, big);
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit tight{64, saved.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &tight) == 0);
        const WriteResult w = saveWithHyphenRule(t, path);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        QVERIFY(!w.ok);
        QCOMPARE(readBytes(path), old);
        QCOMPARE(QDir(tmp_->path()).entryList(QDir::Files), QStringList{"example.dic"});
        QCOMPARE(savedPairs(t), big);
        QVERIFY(!t.CurrentFileFormat);
    }

    // Each .dic read from memory, from disk and from a stream in small
    // pieces: the same words, error, format and cut; what opens saves back.
    // Other names are read as Open reads any list: by name, then content.
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<FileFormat>("format");
        const auto row = [](const char* what, const QByteArray& bytes, const QString& expected,
                            FileFormat format = Utf8) {
            QTest::newRow(what) << bytes << QString("read.dic") << expected << format;
        };
        const auto [thousand, all] = thousandPairs();
        const QString x(MaxWordLength, u'x'), wide(MaxWordLength, u'中'), astral = QString("😀").repeated(16383) + "x";
        row("UTF-8", "r\xC3\xB6ntgen\r\n  \"big\", cat \r\n", "röntgen/  \"big\", cat ");
        row("UTF-8 with mark, LF", "\xEF\xBB\xBF" + QString("koer\nсобака\n").toUtf8(), "koer/собака", Utf8Bom);
        row("a word starting with U+FEFF after the mark", QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") + "a\r\nb\r\n",
            QChar(0xFEFF) + QString("a/b"), Utf8Bom);
        row("UTF-16LE as Notepad saves it", utf16("koer\r\nсобака\r\nx-ray\r\n😀\r\n", false), "koer/собака; x-ray/😀",
            Utf16LE);
        row("UTF-16BE, LF, no final line end", utf16("õun\napple", true), "õun/apple", Utf16BE);
        row("Windows-1257, C1 bytes", "\xF5un\r\n\xD0okolaad\x80\x81\x98\r\n", "õun/Šokolaad€\u0081\u0098", Baltic);
        row("Windows-1257 starting like a UTF-8 mark", "\xEF\xBB\xBF\xF5\r\nx\r\n", "ļ»æõ/x", Baltic);
        row("CR at the very end is a line end", "a\r\nb\r", "a/b");
        row("empty words", "\r\n\r\n", "/");
        row("empty file", "", "");
        row("longest words, Windows-1257", ("õ" + x.mid(1) + "\r\n" + x).toLatin1(), "õ" + x.mid(1) + "/" + x, Baltic);
        row("longest words, UTF-8", (wide + "\r\n" + wide + "\r\n").toUtf8(), wide + "/" + wide);
        row("longest words, UTF-16", utf16(astral + "\r\n" + x + "\r\n", false), astral + "/" + x, Utf16LE);
        const QByteArray fine = "koer\r\ndog\r\n";
        row("UTF-8 with one stray Latin-1 byte", fine + "\xC5\xA1okk\r\ncaf\xE9\r\n", refused(NotText));
        row("Windows-1257 with 0xA1", fine + "\xA1\r\nx\r\n", refused(NotText));
        row("Windows-1257 with 0xA5", fine + "x\r\n\xF5\xA5\r\n", refused(NotText));
        row("NUL in UTF-8", QByteArray("a\0b\r\nc\r\n", 8), refused(NotText));
        row("NUL in Windows-1257", QByteArray("\xF5\0\r\nc\r\n", 7), refused(NotText));
        row("UTF-16LE without a mark", utf16("koer\r\ndog\r\n", false, false), refused(NotText));
        row("UTF-16LE cut in a unit", utf16("koer\r\ndog", false).chopped(1), refused(NotText));
        const QString surrogate = QString("a\r\nb") + QChar(0xD83D) + "c\r\n";
        row("UTF-16BE lone surrogate", utf16(surrogate, true), refused(NotText));
        row("UTF-16LE NUL character", utf16(QString("a\r\nb") + QChar(0) + "\r\n", false), refused(NotText));
        row("lone CR inside a line", "a\rb\r\nc\r\n", refused(CarriageReturnInLine));
        row("CR CR LF", "a\r\r\nb\r\n", refused(CarriageReturnInLine));
        row("lone CR in UTF-16", utf16("a\rb\r\nc\r\n", false), refused(CarriageReturnInLine));
        row("odd line count", "a\r\nb\r\nc", refused(InputPastEndOfFile));
        row("an empty line after the last pair", "a\r\nb\r\n\r\n", refused(InputPastEndOfFile));
        const QString tooLong = refused(LineTooLong);
        row("word one too long, Windows-1257", fine + ("õ" + x + "\r\nb\r\n").toLatin1(), tooLong);
        row("word one too long, UTF-8 at the end", fine + "a\r\n" + x.toUtf8() + "x", tooLong);
        row("word one too long, UTF-16", utf16("a\r\n" + QString(MaxWordLength + 1, u'ж'), true), tooLong);
        row("word one too long, three-byte UTF-8", ("a\r\n" + wide + "中").toUtf8(), tooLong);
        row("8 MiB without a line end", QByteArray(8 * 1024 * 1024, '\xFF'), tooLong);
        row("1000 pairs", thousand.toUtf8(), all);
        row("1000 pairs and empty lines", (thousand + "\r\n\r\n\n\r\n").toUtf8(), all);
        row("1000 pairs, LF, and empty lines", QString(thousand + "\n\n").remove('\r').toUtf8(), all);
        row("1000 pairs in UTF-16 and empty lines", utf16(thousand + "\r\n\r\n", false), all, Utf16LE);
        row("a 1001st known word", (thousand + "w").toUtf8(), all + " cut");
        row("empty lines, then a word", (thousand + "\r\n\r\nx").toUtf8(), all + " cut");
        row("1001 pairs in UTF-16", utf16(thousand + "a\r\nb\r\n", true), all + " cut", Utf16BE);
        // What was not read does not count against the file.
        row("a refused byte after 1000 pairs", thousand.toUtf8() + QByteArray("\xA1\r\n\0\r\n", 6), all + " cut");
        QTest::newRow(".DIC is read as .dic, commas and all")
            << QByteArray("go, went\r\nl\xE4ks\r\na;b\r\nc;d\r\n") << QString("WORDS.DIC")
            << QString("go, went/läks; a;b/c;d") << Baltic;
        // Lists from other programs.
        const auto list = [](const char* what, const QByteArray& bytes, const char* name, const QString& read) {
            QTest::newRow(what) << bytes << QString(name) << read << Utf8;
        };
        list("two-column tsv is Vorbix's own", "koer\tdog\nkass\tcat", "l.txt", "koer/dog; kass/cat [tsv]");
        // Save would drop the mark: not a form Vorbix writes back.
        list("two-column tsv with BOM is imported", "\xEF\xBB\xBFkoer\tdog\nkass\tcat", "l.txt", "koer/dog; kass/cat");
        list("more columns: the first two", "koer\tdog\tHund\nkass\tcat\n", "l.tsv", "koer/dog; kass/cat");
        list("a line with one column is skipped", "koer,dog\nlonely\nkass,cat\n,x\n", "l.csv",
             "koer/dog; kass/cat (2 skipped)");
        list("blank lines are no entries", "koer\tdog\r\n\r\n\r\nkass\tcat\r\n\r\n", "l.tsv",
             "koer/dog; kass/cat [tsv]");
        list("no separator in most lines: .dic", "go, went\r\nl\xC3\xA4ks\r\n", "l.txt", "go, went/läks [dic]");
        list("no structure: .dic rules", "a\r\nb\r\nc\r\n", "l.csv",
             "odd line count: The file ends after a known word on line 3: an odd number of lines.");
        list("xml that is not kvtml", "<b>koer</b>\r\n<i>dog</i>\r\n", "l.xml", "<b>koer</b>/<i>dog</i> [dic]");
        // Refused for a cause, in words that name the line or entry.
        list("quote never closed", "koer,dog\nkass,\"cat\n", "l.csv",
             "unclosed quote: A quote opened on line 2 is never closed.");
        list("no line holds both words", "a,\n,b\nc,\n", "l.csv", "no usable pair: No line holds both words.");
        list("kvtml2 one language only", kvtml2(entry(0, "koer", {}) + entry(1, "kass", {})), "l.kvtml",
             "one language: The file holds words in one language only (Eesti); a pair needs two.");
        list("kvtml not well-formed", kvtml2(entry(0, "k", "d") + "<entry><translation id=\"0\"><text>x</entry>"),
             "l.kvtml",
             "broken XML: The KVTML file is not well-formed XML on line 6: Opening and ending tag mismatch.");
        // 1000 pairs at most; an unusable entry after the 1000th is no further pair.
        QByteArray csv, entries;
        QStringList numbered;
        for (int i = 0; i < MaxPairs; ++i) {
            const QByteArray k = "k" + QByteArray::number(i), u = "u" + QByteArray::number(i);
            csv += k + ";" + u + "\n";
            entries += entry(i, k, u);
            numbered << k + "/" + u;
        }
        const QString every = numbered.join("; ");
        list("csv 1001", csv + "k1000;u1000\n", "big.list", every + " cut");
        const QByteArray tsv = QByteArray(csv).replace(';', '\t') + "k\tu\n";
        list("tsv 1001 is not written over", tsv, "b.tsv", every + " cut");
        list("kvtml 1000 and an empty one", kvtml2(entries + entry(1000, "x", "")), "big.list", every + " (1 skipped)");
        list("kvtml 1001", kvtml2(entries + entry(1000, "k", "u")), "big.list", every + " cut");
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QFETCH(FileFormat, format);
        // The name decides, as in Open.
        if (!name.endsWith(".dic", Qt::CaseInsensitive)) {
            QCOMPARE(summary(previewImport(bytes, name)), expected);
            return;
        }
        const QString path = tmp_->filePath(name);
        writeBytes(path, bytes);
        for (const ReadResult& r : {readDictionary(bytes), readDictionaryFile(path)}) {
            QCOMPARE(summary(r), expected);
            QVERIFY(r.error || r.format == format);
        }
        for (const qint64 piece : {1, 2, 7})
            QCOMPARE(roundTripFault(bytes, std::max(piece, bytes.size() / 256)), QString());
    }

    // Save writes, in every format, what Open reads back (in UTF-8 when
    // Windows-1257 cannot hold it or would read back otherwise), and refuses
    // what Open would refuse: the pair named, the file and the list untouched.
    void saveTakesWhatOpenReads_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("reason"); // empty: saved and read back
        QTest::addColumn<bool>("notBaltic");
        QTest::newRow("longest, ASCII") << QString(MaxWordLength, u'x') << "" << false;
        QTest::newRow("longest, Windows-1257") << QString(MaxWordLength, u'õ') << "" << false;
        QTest::newRow("longest, three-byte UTF-8") << QString(MaxWordLength, u'中') << "" << true;
        QTest::newRow("longest, surrogate pairs") << QString("😀").repeated(MaxWordLength / 2) + "ž"
                                                  << "" << true;
        QTest::newRow("Windows-1257 bytes that would read as UTF-8") << "Ä°"
                                                                     << "" << true;
        // "˙ž" is FF FE in the code page: a UTF-16 mark.
        QTest::newRow("Windows-1257 bytes that would read as UTF-16") << "\u02D9\u017E"
                                                                      << "" << true;
        QTest::newRow("line break") << "a\r\nb"
                                    << "line break" << true;
        QTest::newRow("lone LF") << "a\nb"
                                 << "line break" << true;
        QTest::newRow("lone CR") << "a\rb"
                                 << "line break" << true;
        QTest::newRow("NUL") << QString("a") + QChar(0) << "NUL" << true;
        QTest::newRow("lone high surrogate") << QString("a") + QChar(0xD83D) << "surrogate" << true;
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) + "a"
                                            << "surrogate" << true;
        QTest::newRow("one too long") << QString(MaxWordLength + 1, u'x') << "32768 characters" << true;
        QTest::newRow("one too long in UTF-8") << QString(MaxWordLength + 1, u'中') << "32768 characters" << true;
    }
    void saveTakesWhatOpenReads()
    {
        QFETCH(QString, word);
        QFETCH(QString, reason);
        QFETCH(bool, notBaltic);
        for (const FileFormat format : {Baltic, Utf8, Utf8Bom, Utf16LE, Utf16BE}) {
            const WordPairs pairs{{word, word}, {"fine", "ok"}};
            QByteArray bytes;
            const WriteResult w = encodeDictionary(pairs, &bytes, format);
            if (reason.isEmpty())
                QVERIFY2(w.ok && readDictionary(bytes).pairs == pairs
                             && w.format == (format == Baltic && notBaltic ? Utf8 : format),
                         qPrintable(w.reason));
            else // a long word is cut short in the message
                QVERIFY2(!w.ok && w.reason.startsWith("pair 1 (\"") && w.reason.contains(reason)
                             && w.reason.size() < 200,
                         qPrintable(w.reason));
        }
        const QString path = tmp_->filePath("old.dic");
        writeBytes(path, "old\r\nlist\r\n");
        for (const bool known : {true, false}) {
            MOODUL1 s;
            storePairs(s, {{"fine", "ok"}, {known ? word : "x", known ? "y" : word}});
            s.CurrentFileFormat = Utf16BE;
            const WriteResult w = saveWithHyphenRule(s, path);
            QCOMPARE(w.ok, reason.isEmpty());
            QCOMPARE(savePlain(s, path).ok, reason.isEmpty());
            if (!reason.isEmpty()) {
                QVERIFY2(w.reason.startsWith("pair 2 ("), qPrintable(w.reason));
                QCOMPARE(readBytes(path), QByteArray("old\r\nlist\r\n"));
                QCOMPARE(s.CurrentFileFormat, Utf16BE);
                QCOMPARE(savedPairs(s)[1].known, known ? word : "x");
            }
        }
    }

    // A folder on the path that may not be searched, or a file that may not
    // be read. Root is not held back by permissions, so as root the reading
    // runs in a child process that has dropped to "nobody".
    void permissionFailuresAre70()
    {
        const QString folder = tmp_->filePath("locked"), unreadable = tmp_->filePath("unreadable.dic");
        QVERIFY(QFile::setPermissions(tmp_->path(), QFileDevice::Permissions(0x7555)) && QDir().mkdir(folder));
        writeBytes(folder + "/words.dic", "a\r\nb\r\n");
        writeBytes(unreadable, "a\r\nb\r\n");
        QVERIFY(QFile::setPermissions(unreadable, QFileDevice::Permissions()));
        const auto errorOf = [](const QString& path) {
            if (geteuid() != 0)
                return readDictionaryFile(path).error;
            const pid_t child = fork();
            if (child == 0)
                _exit(setgid(65534) == 0 && setuid(65534) == 0 ? readDictionaryFile(path).error : 255);
            int status = 0;
            waitpid(child, &status, 0);
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        };
        for (const auto permissions : {0x0000, 0x6666}) { // nothing; read and write without search
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(permissions)));
            QCOMPARE(errorOf(folder + "/words.dic"), int(PermissionDenied));
            QCOMPARE(errorOf(folder + "/missing/words.dic"), int(PermissionDenied));
        }
        QCOMPARE(errorOf(unreadable), int(PermissionDenied));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
        QCOMPARE(errorOf(folder + "/words.dic"), int(NoError));
        QCOMPARE(errorOf(folder + "/missing.dic"), int(FileNotFound));
    }

    // Random files: refused with nothing, or saved and reopened as the same
    // words and saved again as the same bytes. Then a pair is typed, which
    // may need another encoding, and the list saved reads back as it is.
    void anyBytesRoundTripOrAreRefused()
    {
        QRandomGenerator rng(7);
        const QByteArray pieces[] = {"-",
                                     "}",
                                     "x",
                                     " ",
                                     "\t",
                                     ",\"",
                                     "\xC3\xB5",
                                     "\xF5",
                                     "\xE2\x82\xAC",
                                     "\xF0\x9F\x98\x80",
                                     "\xEF\xBB\xBF",
                                     "\xFF",
                                     "\xFE",
                                     "\xC4\xB0",
                                     "\x81"};
        const QByteArray rare[] = {"\r", "\xA1", QByteArray(1, '\0'), "\xED\xA0\x80", "\xC0\xAF"};
        const QStringList typed = {"x-y", "ж", "中", "\u02D9\u017E", "Ä°", "\uFEFF", "😀", "õ", "a}b"};
        const QString path = tmp_->filePath("random.dic");
        int opened = 0, saved = 0;
        for (int round = 0; round < 3000; ++round) {
            QByteArray text;
            for (int lines = rng.bounded(0, 12) + (rng.bounded(4) == 0); lines > 0; --lines) {
                for (int n = rng.bounded(0, 6); n > 0; --n)
                    text += rng.bounded(30) == 0 ? rare[rng.bounded(int(std::size(rare)))]
                                                 : pieces[rng.bounded(int(std::size(pieces)))];
                text += rng.bounded(3) == 0 ? "\n" : "\r\n";
            }
            QByteArray bytes = text;
            const int form = rng.bounded(6);
            if (form < 2)
                bytes = utf16(QString::fromUtf8(text), form == 1);
            else if (form == 2)
                bytes = "\xEF\xBB\xBF" + text;
            if (rng.bounded(8) == 0 && !bytes.isEmpty()) // a byte cut off or changed
                rng.bounded(2) ? bytes.chop(1) : void(bytes[rng.bounded(bytes.size())] = char(rng.bounded(256)));
            const QString context = QString::number(round) + ": " + bytes.toHex(' ');
            const QString fault = roundTripFault(bytes, rng.bounded(1, 8));
            QVERIFY2(fault.isEmpty(), qPrintable(fault + " in round " + context));
            const ReadResult r = readDictionary(bytes);
            opened += r.ok();
            if (!r.ok() || round % 10) // saving to disk is slow
                continue;
            ++saved;
            MOODUL1 s;
            WordPairs pairs = r.pairs;
            pairs.insert(pairs.begin(), {typed[rng.bounded(typed.size())], "y" + typed[rng.bounded(typed.size())]});
            storePairs(s, pairs);
            s.CurrentFileFormat = r.format;
            const WriteResult w = saveWithHyphenRule(s, path);
            QVERIFY2(w.ok && readDictionaryFile(path).pairs == savedPairs(s) && s.CurrentFileFormat == w.format,
                     qPrintable(w.reason + " in round " + context));
            QVERIFY2(roundTripFault(readBytes(path), 3).isEmpty(), qPrintable(context));
            // The save prompt's writer keeps the format and writes the words
            // as they are.
            QVERIFY2(savePlain(s, path).ok && s.CurrentFileFormat == w.format
                         && readDictionaryFile(path).pairs == withHyphens(savedPairs(s)),
                     qPrintable(context));
        }
        QVERIFY2(opened > 1000 && saved > 100, qPrintable(QString("%1 opened, %2 saved").arg(opened).arg(saved)));
    }

    // What Vorbix writes reads back the same, and is Vorbix's own form;
    // what would not come back is refused, naming the pair. Read errors and
    // the message after a lossy import.
    void tabSeparatedRoundTrip()
    {
        const WordPairs pairs{
            {"Word", "Translation"},    {"koer", "dog"},      {"go, went; gone", "läks"}, {"tab\there", "\"quoted\""},
            {"#not a header", "#fine"}, {"  spaced ", " x "}, {"\uFEFFbom", "a\"b"},      {"x-ray}", "—"}};
        QByteArray bytes;
        QVERIFY(encodeTabSeparated(pairs, &bytes).ok);
        QVERIFY(bytes.startsWith("\"Word\"\tTranslation\r\nkoer\tdog\r\ngo, went; "
                                 "gone\tl\xC3\xA4ks\r\n\"tab\there\"\t\"\"\"quoted\"\"\"\r\n"));
        QVERIFY(bytes.contains("\r\n\"#not a header\"\t#fine\r\n"));
        for (const QString name : {"out.tsv", "out.txt", "out"})
            QCOMPARE(summary(previewImport(bytes, name)), shown(pairs) + " [tsv]");
        for (const WordPair& bad : {WordPair{"two\nlines", "x"}, WordPair{"cr\r", "x"}, WordPair{"koer", ""},
                                    WordPair{QString("nul") + QChar(0), "x"}, WordPair{"x", QString(QChar(0xD800))}}) {
            QByteArray none;
            const WriteResult w = encodeTabSeparated({{"a", "b"}, bad}, &none);
            QVERIFY2(!w.ok && w.reason.startsWith("pair 2 (") && none.isEmpty(), qPrintable(bad.known + w.reason));
        }
        // A .dic through a .tsv file keeps every word; a failed write leaves the file.
        const QString dic = tmp_->filePath("a.dic"), tsv = tmp_->filePath("a.tsv");
        writeBytes(dic, "x}ray\r\nr\xF6ntgen\r\ngo, went\r\n\"big\" cat\r\n  lead\r\ntrail  \r\n");
        const ReadResult first = readDictionaryFile(dic);
        QCOMPARE(shown(first.pairs), QString("x-ray/röntgen; go, went/\"big\" cat;   lead/trail  "));
        QVERIFY(writeTabSeparatedFile(tsv, first.pairs).ok);
        QCOMPARE(summary(previewImport(readBytes(tsv), tsv)), shown(first.pairs) + " [tsv]");
        const QByteArray before = readBytes(tsv);
        QVERIFY(!writeTabSeparatedFile(tsv, {{"a", ""}}).ok);
        QCOMPARE(readBytes(tsv), before);
        // Open names what keeps a list of any name from opening by the
        // .dic reader's numbers.
        QCOMPARE(readDictionaryFile(tmp_->filePath("missing.csv")).error, int(FileNotFound));
        QCOMPARE(readDictionaryFile(tmp_->path()).error, int(PathFileAccessError));
        QCOMPARE(dictionaryNameFor("/x.d/words"), QString("/x.d/words.dic"));
        const QByteArray lossy = kvtml2(entry(0, "a", "b") + entry(1, "c", "") + entry(2, {}, "d") + entry(3, "e", {})
                                        + entry(4, "two\nlines", "f"));
        QCOMPARE(importMessages("/x/l.kvtml", previewImport(lossy, "l.kvtml")),
                 QStringList{"1 word pair was read from l.kvtml; 4 entries were skipped: 3 without both words (a "
                             "picture or a sound alone is no word), 1 with a line break in a word."});
    }

private:
    std::unique_ptr<QTemporaryDir> tmp_;
};

QTEST_GUILESS_MAIN(DictionaryTest)
#include "test_dictionary.moc"
