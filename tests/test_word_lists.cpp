#include "dictionary/WordListFile.h"
#include "support/Files.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vorbix;
using namespace vorbix::testing;
using namespace vorbix::dictionary;

Q_DECLARE_METATYPE(vorbix::dictionary::FileKind)

namespace {

// "known/unknown; known/unknown"
QString shown(const WordPairs& pairs)
{
    QStringList rows;
    for (const WordPair& p : pairs)
        rows << p.known + "/" + p.unknown;
    return rows.join("; ");
}

// A KVTML 2 document as KWordQuiz and Parley write it, lessons pointing at entries.
QByteArray kvtml2(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"kvtml2.dtd\">\n"
           "<kvtml version=\"2.0\"><information><title>t</title></information><identifiers>"
           "<identifier id=\"0\"><name>Eesti</name></identifier><identifier id=\"1\"><name>English</name>"
           "</identifier></identifiers>\n<entries>\n" + entries
        + "</entries><lessons><container><name>L</name><entry id=\"0\"/></container></lessons></kvtml>\n";
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

class WordListsTest : public QObject {
    Q_OBJECT
private slots:
    void readsEachFormat_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<FileKind>("kind");
        QTest::addColumn<bool>("truncated");
        const auto I = FileKind::Imported, T = FileKind::TabSeparated, D = FileKind::Dictionary;
        const auto row = [](const char* what, const QByteArray& bytes, const char* name, int error, const QString& pairs,
                            int skipped = 0, FileKind kind = FileKind::Imported, bool truncated = false) {
            QTest::newRow(what) << bytes << QString(name) << error << pairs << skipped << kind << truncated;
        };
        row("kvtml2, three languages with ids out of order",
            kvtml2(entry(0, "koer", "dog") + "<entry id=\"1\"><translation id=\"2\"><text>Katze</text></translation>"
                   "<translation id=\"1\"><text>cat</text></translation><translation id=\"0\"><text>kass</text>"
                   "</translation></entry>\n"), "l.kvtml", 0, "koer/dog; kass/cat");
        row("kvtml2 one language only", kvtml2(entry(0, "koer", {}) + entry(1, "kass", {})), "l.kvtml", NoUsablePair, "");
        row("kvtml2 entries lacking a word or holding a line break are skipped",
            kvtml2(entry(0, "koer", "dog") + entry(1, {}, "cat") + entry(2, "hiir", "") + entry(3, "lehm", {})
                   + entry(4, "two\nlines", "x")), "l.kvtml", 0, "koer/dog", 4);
        row("kvtml2 entities and CDATA",
            kvtml2(entry(0, "S&amp;P &lt;b&gt; &quot;q&quot; &apos;a&apos;", "&#228;&#x00F5;")
                   + entry(1, "<![CDATA[<i>&amp;</i>]]>", "x")), "l.kvtml", 0, "S&P <b> \"q\" 'a'/äõ; <i>&amp;</i>/x");
        row("kvtml2 only the translation's own text",
            kvtml2("<entry id=\"0\"><translation id=\"0\"><comparison><comparative><text>suurem</text>"
                   "</comparative></comparison><text>suur</text><comment>c</comment></translation>"
                   "<translation id=\"1\"><text>big</text><text>large</text></translation></entry>\n"),
            "l.kvtml", 0, "suur/big");
        row("kvtml1, recognised whatever the name",
            "<?xml version=\"1.0\"?>\n<kvtml encoding=\"UTF-8\" generator=\"kvoctrain\" cols=\"3\">\n"
            " <lesson width=\"1\"><desc no=\"1\">L</desc></lesson>\n <e m=\"1\"><o l=\"et\">koer</o><t l=\"en\">dog</t><t l=\"de\">Hund</t></e>\n"
            " <e><o>kass</o></e>\n <e><o>&#245;un</o><t>apple &amp; pear</t></e>\n</kvtml>\n",
            "list.txt", 0, "koer/dog; õun/apple & pear", 1);
        row("kvtml not well-formed", kvtml2(entry(0, "k", "d") + "<entry><translation id=\"0\"><text>x</entry>"),
            "l.kvtml", BrokenXml, "");
        row("kvtml broken after its pairs", kvtml2(entry(0, "koer", "dog")) + "<trailing", "l.kvtml", BrokenXml, "");
        row("csv quotes, separators and quotes inside fields",
            "\"go, went\",l\xC3\xA4ks\r\n\"say \"\"hi\"\"\",\"\xC3\xBCtle\"\r\nplain,\"a;b\ttab\"\r\n", "l.csv", 0,
            "go, went/läks; say \"hi\"/ütle; plain/a;b\ttab");
        row("semicolons, commas inside words", "a, b;c\nd;e, f\n", "l.csv", 0, "a, b/c; d/e, f");
        row("two-column tsv is Vorbix's own", "koer\tdog\nkass\tcat", "l.txt", 0, "koer/dog; kass/cat", 0, T);
        // Save would drop the mark: not a form Vorbix writes back.
        row("two-column tsv with BOM is imported", "\xEF\xBB\xBFkoer\tdog\nkass\tcat", "l.txt", 0, "koer/dog; kass/cat");
        row("more columns: the first two", "koer\tdog\tHund\nkass\tcat\n", "l.tsv", 0, "koer/dog; kass/cat");
        row("a line with one column is skipped", "koer,dog\nlonely\nkass,cat\n,x\n", "l.csv", 0, "koer/dog; kass/cat", 2);
        row("blank lines are no entries", "koer\tdog\r\n\r\n\r\nkass\tcat\r\n\r\n", "l.tsv", 0, "koer/dog; kass/cat", 0, T);
        row("anki headers", "#separator:tab\n#html:false\n#tags column:3\nkoer\tdog\ttag\n", "a.txt", 0, "koer/dog");
        row("anki header names the separator", "#separator:Pipe\n#html:true\nkoer|dog, hound\nkass|cat\n", "a.txt", 0,
            "koer/dog, hound; kass/cat");
        row("anki space separator", "#separator:space\nkoer dog\n\"suur koer\" \"big dog\"\n", "a.txt", 0,
            "koer/dog; suur koer/big dog");
        row("anki literal separator", "#separator:=\nkoer=dog\n", "a.txt", 0, "koer/dog");
        row("line break inside quotes refuses the file", "koer,dog\n\"two\nlines\",x\n", "l.csv", LineBreakInWord, "");
        row("quote never closed", "koer,dog\nkass,\"cat", "l.csv", UnclosedQuote, "");
        row("no line holds both words", "a,\n,b\nc,\n", "l.csv", NoUsablePair, "");
        row(".dic is read as .dic, commas and all", "go, went\r\nl\xE4ks\r\na;b\r\nc;d\r\n", "WORDS.DIC", 0,
            "go, went/läks; a;b/c;d", 0, D);
        row("no separator in most lines: .dic", "go, went\r\nl\xC3\xA4ks\r\n", "l.txt", 0, "go, went/läks", 0, D);
        row("no structure: .dic rules", "a\r\nb\r\nc\r\n", "l.csv", InputPastEndOfFile, "");
        row("xml that is not kvtml", "<b>koer</b>\r\n<i>dog</i>\r\n", "l.xml", 0, "<b>koer</b>/<i>dog</i>", 0, D);
        // 1000 pairs at most; an unusable entry after the 1000th is no further pair.
        QByteArray csv, entries;
        QStringList thousand;
        for (int i = 0; i < MaxPairs; ++i) {
            const QByteArray k = "k" + QByteArray::number(i), u = "u" + QByteArray::number(i);
            csv += k + ";" + u + "\n";
            entries += entry(i, k, u);
            thousand << k + "/" + u;
        }
        const QString all = thousand.join("; ");
        row("csv 1000", csv, "big.list", 0, all);
        row("csv 1001", csv + "k1000;u1000\n", "big.list", 0, all, 0, I, true);
        row("tsv 1001 is not written over", QByteArray(csv).replace(';', '\t') + "k\tu\n", "b.tsv", 0, all, 0, I, true);
        row("kvtml 1000", kvtml2(entries), "big.list", 0, all);
        row("kvtml 1000 and an empty one", kvtml2(entries + entry(1000, "x", "")), "big.list", 0, all, 1);
        row("kvtml 1001", kvtml2(entries + entry(1000, "k", "u")), "big.list", 0, all, 0, I, true);
    }
    void readsEachFormat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, error);
        QFETCH(QString, pairs);
        QFETCH(int, skipped);
        QFETCH(FileKind, kind);
        QFETCH(bool, truncated);
        const ListReadResult r = readWordList(bytes, name);
        QCOMPARE(r.error, error);
        QCOMPARE(shown(r.pairs), pairs);
        QCOMPARE(r.truncated, truncated);
        if (error == 0) {
            QCOMPARE(r.skipped(), skipped);
            QCOMPARE(r.kind, kind);
        }
    }

    // What Vorbix writes reads back the same, and is Vorbix's own form;
    // what would not come back is refused, naming the pair.
    void tabSeparatedRoundTrip()
    {
        const WordPairs pairs{{"koer", "dog"}, {"go, went; gone", "läks"}, {"tab\there", "\"quoted\""},
                              {"#not a header", "#fine"}, {"  spaced ", " x "}, {"\uFEFFbom", "a\"b"}, {"x-ray}", "—"}};
        QByteArray bytes;
        QVERIFY(encodeTabSeparated(pairs, &bytes).ok);
        QVERIFY(bytes.startsWith("koer\tdog\r\ngo, went; gone\tl\xC3\xA4ks\r\n\"tab\there\"\t\"\"\"quoted\"\"\"\r\n"));
        QVERIFY(bytes.contains("\r\n\"#not a header\"\t#fine\r\n"));
        for (const QString name : {"out.tsv", "out.txt", "out"}) {
            const ListReadResult back = readWordList(bytes, name);
            QCOMPARE(shown(back.pairs), shown(pairs));
            QCOMPARE(back.kind, FileKind::TabSeparated);
        }
        for (const WordPair& bad : {WordPair{"two\nlines", "x"}, WordPair{"cr\r", "x"}, WordPair{"koer", ""}}) {
            QByteArray none;
            const WriteResult w = encodeTabSeparated({{"a", "b"}, bad}, &none);
            QVERIFY2(!w.ok && w.reason.startsWith("pair 2 (") && none.isEmpty(), qPrintable(bad.known + w.reason));
        }
    }

    // .dic -> .tsv -> .dic keeps every word; a failed write leaves the file.
    void dictionaryThroughTabSeparatedFiles()
    {
        QTemporaryDir dir;
        const QString dic = dir.filePath("a.dic"), tsv = dir.filePath("a.tsv"), again = dir.filePath("b.dic");
        writeBytes(dic, "x}ray\r\nr\xF6ntgen\r\ngo, went\r\n\"big\" cat\r\n  lead\r\ntrail  \r\n");
        const ListReadResult first = readWordListFile(dic);
        QCOMPARE(shown(first.pairs), QString("x-ray/röntgen; go, went/\"big\" cat;   lead/trail  "));
        QVERIFY(writeTabSeparatedFile(tsv, first.pairs).ok);
        QCOMPARE(readWordListFile(tsv).pairs, first.pairs);
        QVERIFY(writeDictionaryFile(again, first.pairs).ok);
        QCOMPARE(readWordListFile(again).pairs, first.pairs);
        const QByteArray before = readBytes(tsv);
        QVERIFY(!writeTabSeparatedFile(tsv, {{"a", ""}}).ok);
        QCOMPARE(readBytes(tsv), before);
        QCOMPARE(readWordListFile(dir.filePath("missing.csv")).error, int(FileNotFound));
        QCOMPARE(readWordListFile(dir.path()).error, int(PathFileAccessError));
        QCOMPARE(dictionaryNameFor("/x.d/words"), QString("/x.d/words.dic"));
        ListReadResult r;
        r.pairs = {{"a", "b"}};
        r.skippedNoWord = 3;
        r.skippedLineBreak = 1;
        QCOMPARE(skippedText("/x/l.kvtml", r), QString("1 word pair was read from l.kvtml; 4 entries were skipped: "
                                                       "3 without both words, 1 with a line break in a word."));
    }
};

QTEST_GUILESS_MAIN(WordListsTest)
#include "test_word_lists.moc"
