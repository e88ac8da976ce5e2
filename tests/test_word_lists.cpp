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

QByteArray kvtml2(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
           "<kvtml version=\"2.0\">\n <information><generator>test</generator><title>t</title></information>\n"
           " <identifiers><identifier id=\"0\"><name>Eesti</name><locale>et</locale></identifier>\n"
           "  <identifier id=\"1\"><name>English</name><locale>en</locale></identifier></identifiers>\n"
           " <entries>\n"
        + entries + " </entries>\n <lessons><container><name>L</name><entry id=\"0\"/></container></lessons>\n</kvtml>\n";
}

QByteArray entry(int id, const QByteArray& t0, const QByteArray& t1)
{
    QByteArray e = "  <entry id=\"" + QByteArray::number(id) + "\">";
    if (!t0.isNull())
        e += "<translation id=\"0\"><text>" + t0 + "</text></translation>";
    if (!t1.isNull())
        e += "<translation id=\"1\"><text>" + t1 + "</text></translation>";
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
        const auto I = FileKind::Imported, T = FileKind::TabSeparated, D = FileKind::Dictionary;

        QTest::newRow("kvtml2") << kvtml2(entry(0, "koer", "dog") + entry(1, "kass", "cat")) << "l.kvtml" << 0
                                << "koer/dog; kass/cat" << 0 << I;
        QTest::newRow("kvtml2 three languages, ids out of order")
            << kvtml2("<entry id=\"0\"><translation id=\"2\"><text>Hund</text></translation>"
                      "<translation id=\"1\"><text>dog</text></translation>"
                      "<translation id=\"0\"><text>koer</text></translation></entry>\n")
            << "l.kvtml" << 0 << "koer/dog" << 0 << I;
        QTest::newRow("kvtml2 one language only")
            << kvtml2(entry(0, "koer", QByteArray()) + entry(1, "kass", QByteArray())) << "l.kvtml" << NoUsablePair
            << "" << 0 << I;
        QTest::newRow("kvtml2 entries lacking a word are skipped")
            << kvtml2(entry(0, "koer", "dog") + entry(1, QByteArray(), "cat") + entry(2, "hiir", "")
                      + entry(3, "lehm", QByteArray()))
            << "l.kvtml" << 0 << "koer/dog" << 3 << I;
        QTest::newRow("kvtml2 entities and CDATA")
            << kvtml2(entry(0, "S&amp;P &lt;b&gt; &quot;q&quot; &apos;a&apos;", "&#228;&#x00F5;")
                      + entry(1, "<![CDATA[<i>&amp;</i>]]>", "x"))
            << "l.kvtml" << 0 << "S&P <b> \"q\" 'a'/äõ; <i>&amp;</i>/x" << 0 << I;
        QTest::newRow("kvtml2 only the translation's own text")
            << kvtml2("<entry id=\"0\"><translation id=\"0\"><comparison><comparative><text>suurem</text>"
                      "</comparative></comparison><text>suur</text><comment>c</comment></translation>"
                      "<translation id=\"1\"><text>big</text><text>large</text></translation></entry>\n")
            << "l.kvtml" << 0 << "suur/big" << 0 << I;
        QTest::newRow("kvtml2 line break in a word is skipped")
            << kvtml2(entry(0, "two\nlines", "x") + entry(1, "a", "b")) << "l.kvtml" << 0 << "a/b" << 1 << I;
        QTest::newRow("kvtml1, recognised whatever the name")
            << QByteArray("<?xml version=\"1.0\"?>\n<kvtml encoding=\"UTF-8\" generator=\"kvoctrain\" cols=\"3\">\n"
                          " <lesson width=\"1\"><desc no=\"1\">L</desc></lesson>\n"
                          " <e m=\"1\"><o l=\"et\">koer</o><t l=\"en\">dog</t><t l=\"de\">Hund</t></e>\n"
                          " <e><o>kass</o></e>\n <e><o>&#245;un</o><t>apple &amp; pear</t></e>\n</kvtml>\n")
            << "list.txt" << 0 << "koer/dog; õun/apple & pear" << 1 << I;
        QTest::newRow("kvtml not well-formed")
            << kvtml2(entry(0, "koer", "dog") + "<entry><translation id=\"0\"><text>x</entry>") << "l.kvtml"
            << BrokenXml << "" << 0 << I;
        QTest::newRow("kvtml broken after its pairs") << kvtml2(entry(0, "koer", "dog")) + "<trailing" << "l.kvtml"
                                                    << BrokenXml << "" << 0 << I;

        QTest::newRow("csv quotes, separators and quotes inside fields")
            << QByteArray("\"go, went\",l\xC3\xA4ks\r\n\"say \"\"hi\"\"\",\"\xC3\xBCtle\"\r\nplain,\"a;b\ttab\"\r\n")
            << "l.csv" << 0 << "go, went/läks; say \"hi\"/ütle; plain/a;b\ttab" << 0 << I;
        QTest::newRow("semicolons, commas inside words") << QByteArray("a, b;c\nd;e, f\n") << "l.csv" << 0
                                                        << "a, b/c; d/e, f" << 0 << I;
        QTest::newRow("two-column tsv is Vorbix's own")
            << QByteArray("koer\tdog\nkass\tcat") << "l.txt" << 0 << "koer/dog; kass/cat" << 0 << T;
        // Save would drop the mark: not a form Vorbix writes back.
        QTest::newRow("two-column tsv with BOM is imported")
            << QByteArray("\xEF\xBB\xBFkoer\tdog\nkass\tcat") << "l.txt" << 0 << "koer/dog; kass/cat" << 0 << I;
        QTest::newRow("more columns: the first two") << QByteArray("koer\tdog\tHund\nkass\tcat\n") << "l.tsv" << 0
                                                   << "koer/dog; kass/cat" << 0 << I;
        QTest::newRow("a line with one column is skipped") << QByteArray("koer,dog\nlonely\nkass,cat\n,x\n")
                                                         << "l.csv" << 0 << "koer/dog; kass/cat" << 2 << I;
        QTest::newRow("blank lines are no entries") << QByteArray("koer\tdog\r\n\r\n\r\nkass\tcat\r\n\r\n")
                                                  << "l.tsv" << 0 << "koer/dog; kass/cat" << 0 << T;
        QTest::newRow("anki headers") << QByteArray("#separator:tab\n#html:false\n#tags column:3\nkoer\tdog\ttag\n")
                                      << "anki.txt" << 0 << "koer/dog" << 0 << I;
        QTest::newRow("anki header names the separator")
            << QByteArray("#separator:Pipe\n#html:true\nkoer|dog, hound\nkass|cat\n") << "anki.txt" << 0
            << "koer/dog, hound; kass/cat" << 0 << I;
        QTest::newRow("anki space separator") << QByteArray("#separator:space\nkoer dog\n\"suur koer\" \"big dog\"\n")
                                              << "anki.txt" << 0 << "koer/dog; suur koer/big dog" << 0 << I;
        QTest::newRow("anki literal separator") << QByteArray("#separator:=\nkoer=dog\n") << "anki.txt" << 0
                                                << "koer/dog" << 0 << I;
        QTest::newRow("line break inside quotes refuses the file")
            << QByteArray("koer,dog\n\"two\nlines\",x\n") << "l.csv" << LineBreakInWord << "" << 0 << I;
        QTest::newRow("quote never closed") << QByteArray("koer,dog\nkass,\"cat") << "l.csv" << UnclosedQuote
                                            << "" << 0 << I;
        QTest::newRow("no line holds both words") << QByteArray("a,\n,b\nc,\n") << "l.csv" << NoUsablePair << ""
                                                  << 0 << I;
        QTest::newRow(".dic is read as .dic, commas and all")
            << QByteArray("go, went\r\nl\xE4ks\r\na;b\r\nc;d\r\n") << "WORDS.DIC" << 0 << "go, went/läks; a;b/c;d"
            << 0 << D;
        QTest::newRow("no separator in most lines: .dic") << QByteArray("go, went\r\nl\xC3\xA4ks\r\n") << "l.txt"
                                                          << 0 << "go, went/läks" << 0 << D;
        QTest::newRow("no structure: .dic rules") << QByteArray("a\r\nb\r\nc\r\n") << "l.csv" << int(InputPastEndOfFile)
                                                  << "" << 0 << D;
        QTest::newRow("xml that is not kvtml") << QByteArray("<b>koer</b>\r\n<i>dog</i>\r\n") << "l.xml" << 0
                                               << "<b>koer</b>/<i>dog</i>" << 0 << D;
    }
    void readsEachFormat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(int, error);
        QFETCH(QString, pairs);
        QFETCH(int, skipped);
        QFETCH(FileKind, kind);
        const ListReadResult r = readWordList(bytes, name);
        QCOMPARE(r.error, error);
        QCOMPARE(shown(r.pairs), pairs);
        if (error != 0)
            return;
        QCOMPARE(r.skipped(), skipped);
        QCOMPARE(r.kind, kind);
        QVERIFY(!r.truncated);
    }

    // 1000 pairs at most, as a .dic; a further pair sets truncated, and an
    // unusable entry after the 1000th is no further pair.
    void capacity_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<FileKind>("kind");
        QByteArray csv, entries;
        for (int i = 0; i < MaxPairs; ++i) {
            csv += "k" + QByteArray::number(i) + ";u" + QByteArray::number(i) + "\n";
            entries += entry(i, "k" + QByteArray::number(i), "u" + QByteArray::number(i));
        }
        QTest::newRow("csv 1000") << csv << false << FileKind::Imported;
        QTest::newRow("csv 1001") << csv + "k1000;u1000\n" << true << FileKind::Imported;
        QTest::newRow("tsv 1001 is not written over") << QByteArray(csv).replace(';', '\t') + "k1000\tu1000\n"
                                                      << true << FileKind::Imported;
        QTest::newRow("kvtml 1000") << kvtml2(entries) << false << FileKind::Imported;
        QTest::newRow("kvtml 1000 and an empty one") << kvtml2(entries + entry(1000, "x", "")) << false
                                                     << FileKind::Imported;
        QTest::newRow("kvtml 1001") << kvtml2(entries + entry(1000, "k1000", "u1000")) << true << FileKind::Imported;
    }
    void capacity()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, truncated);
        QFETCH(FileKind, kind);
        const ListReadResult r = readWordList(bytes, "big.list");
        QCOMPARE(r.error, 0);
        QCOMPARE(r.pairs.size(), size_t(MaxPairs));
        QCOMPARE(r.pairs.back(), (WordPair{"k999", "u999"}));
        QCOMPARE(r.truncated, truncated);
        QCOMPARE(r.kind, kind);
    }

    // What Vorbix writes reads back the same, and is Vorbix's own form.
    void tabSeparatedRoundTrip()
    {
        const WordPairs pairs{{"koer", "dog"},
                              {"go, went; gone", "läks"},
                              {"tab\there", "\"quoted\""},
                              {"#not a header", "#fine"},
                              {"  spaced ", " x "},
                              {QString(QChar(0xFEFF)) + "bom", "a\"b"},
                              {"x-ray}", "—"}};
        QByteArray bytes;
        QVERIFY(encodeTabSeparated(pairs, &bytes).ok);
        QVERIFY(bytes.startsWith("koer\tdog\r\ngo, went; gone\tl\xC3\xA4ks\r\n\"tab\there\"\t\"\"\"quoted\"\"\"\r\n"));
        QVERIFY(bytes.contains("\r\n\"#not a header\"\t#fine\r\n"));
        for (const QString name : {"out.tsv", "out.txt", "out"}) {
            const ListReadResult back = readWordList(bytes, name);
            QCOMPARE(back.error, 0);
            QCOMPARE(back.pairs, pairs);
            QCOMPARE(back.kind, FileKind::TabSeparated);
        }
        // Refused, naming the pair: what would not come back.
        for (const WordPair& bad : {WordPair{"two\nlines", "x"}, WordPair{"cr\r", "x"}, WordPair{"koer", ""}}) {
            QByteArray none;
            const WriteResult w = encodeTabSeparated({{"a", "b"}, bad}, &none);
            QVERIFY(!w.ok);
            QVERIFY2(w.reason.startsWith("pair 2 ("), qPrintable(w.reason));
            QVERIFY(none.isEmpty());
        }
    }

    // .dic -> .tsv -> .dic keeps every word; a failed write leaves the file.
    void dictionaryThroughTabSeparatedFiles()
    {
        QTemporaryDir dir;
        const QString dic = dir.filePath("a.dic"), tsv = dir.filePath("a.tsv"), again = dir.filePath("b.dic");
        writeBytes(dic, "x}ray\r\nr\xF6ntgen\r\ngo, went\r\n\"big\" cat\r\n  lead\r\ntrail  \r\n");
        const ListReadResult first = readWordListFile(dic);
        QCOMPARE(first.error, 0);
        QVERIFY(writeTabSeparatedFile(tsv, first.pairs).ok);
        const ListReadResult middle = readWordListFile(tsv);
        QCOMPARE(middle.error, 0);
        QCOMPARE(middle.pairs, first.pairs);
        QVERIFY(writeDictionaryFile(again, middle.pairs).ok);
        QCOMPARE(readWordListFile(again).pairs, first.pairs);
        QCOMPARE(shown(first.pairs), QString("x-ray/röntgen; go, went/\"big\" cat;   lead/trail  "));

        const QByteArray before = readBytes(tsv);
        QVERIFY(!writeTabSeparatedFile(tsv, {{"a", ""}}).ok);
        QCOMPARE(readBytes(tsv), before);
        QCOMPARE(readWordListFile(dir.filePath("missing.csv")).error, int(FileNotFound));
        QCOMPARE(readWordListFile(dir.path()).error, int(PathFileAccessError));
    }

    void namesAndMessages()
    {
        QVERIFY(savesAsTabSeparated("/x/a.TSV", false));
        QVERIFY(savesAsTabSeparated("/x/a", true));
        QVERIFY(savesAsTabSeparated("/x/a.txt", true));
        QVERIFY(!savesAsTabSeparated("/x/a.dic", true));
        QVERIFY(!savesAsTabSeparated("/x/a.txt", false));
        QCOMPARE(dictionaryNameFor("/x/words.kvtml"), QString("/x/words.dic"));
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
