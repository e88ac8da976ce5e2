#include "dictionary/DelimitedText.h"
#include "dictionary/Import.h"

#include <QStringEncoder>
#include <QtTest>

using namespace vorbix::dictionary;

Q_DECLARE_METATYPE(ImportChoices)

namespace {

QByteArray utf16(const QString& text, bool bigEndian = false)
{
    QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

// " -1 missing -2 comment": entries skipped, per reason.
QString skippedText(const ImportPreview& p)
{
    static const std::map<SkipReason, const char*> names{{SkipReason::MissingWord, "missing"},
                                                         {SkipReason::LineBreak, "break"},
                                                         {SkipReason::WordTooLong, "long"},
                                                         {SkipReason::OtherLesson, "lesson"},
                                                         {SkipReason::Comment, "comment"}};
    QString s;
    for (const auto& [reason, count] : p.skipped)
        s += QString(" -%1 %2").arg(count).arg(names.at(reason));
    return s;
}

// "known/unknown; known/unknown -1 missing", or "refused: <text>".
QString described(const ImportPreview& p)
{
    if (!p.ok())
        return "refused: " + p.errorText;
    QStringList rows;
    for (const WordPair& w : p.pairs)
        rows << w.known + "/" + w.unknown;
    return rows.join("; ") + skippedText(p);
}

// The guesses: format, separator, header row, encoding, the two columns.
QString facts(const ImportPreview& p)
{
    static const std::map<ImportFormat, const char*> formats{{ImportFormat::Kvtml1, "kvtml1"},
                                                             {ImportFormat::Kvtml2, "kvtml2"},
                                                             {ImportFormat::Delimited, "text"},
                                                             {ImportFormat::AnkiExport, "anki"},
                                                             {ImportFormat::DicLines, "lines"}};
    QString s = formats.at(p.format);
    if (p.format == ImportFormat::Delimited || p.format == ImportFormat::AnkiExport)
        s += QString(" '%1'%2").arg(p.separator == u'\t' ? QString("tab") : QString(p.separator),
                                    p.headerRow ? " header" : "");
    return s + " " + p.encoding + " " + p.columns.value(p.knownColumn) + "/" + p.columns.value(p.unknownColumn);
}

ImportChoices encodingChoice(const char* name)
{
    ImportChoices c;
    c.encoding = QString(name);
    return c;
}

ImportChoices formatChoice(ImportFormat format)
{
    ImportChoices c;
    c.format = format;
    return c;
}

QByteArray kvtml2(const QByteArray& identifiers, const QByteArray& entries, const QByteArray& lessons = {})
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"kvtml2.dtd\">\n"
           "<kvtml version=\"2.0\">\n<information><generator>Parley</generator></information>\n<identifiers>"
        + identifiers + "</identifiers>\n<entries>\n" + entries + "</entries>\n<lessons>" + lessons
        + "</lessons>\n</kvtml>\n";
}

QByteArray identifier(int id, const char* name)
{
    return "<identifier id=\"" + QByteArray::number(id) + "\"><name>" + name
        + "</name><locale>xx</locale></identifier>";
}

QByteArray entry(int id, std::initializer_list<const char*> words)
{
    QByteArray e = "<entry id=\"" + QByteArray::number(id) + "\">";
    int t = 0;
    for (const char* w : words) {
        if (w)
            e += "<translation id=\"" + QByteArray::number(t) + "\"><text>" + w + "</text></translation>";
        ++t;
    }
    return e + "</entry>\n";
}

const QByteArray KdeKvtml1 =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"kvoctrain.dtd\">\n"
    "<kvtml encoding=\"UTF-8\" generator=\"kvoctrain v0.8.2\" cols=\"2\" lines=\"3\">\n"
    " <lesson width=\"1\">\n  <desc no=\"1\" query=\"1\">Verbs</desc>\n  <desc no=\"2\">Adjectives</desc>\n </lesson>\n"
    " <e m=\"1\" t=\"v\">\n  <o l=\"en\"><conjugation><t n=\"sipa\"><s1>go</s1><s3f>goes</s3f></t></conjugation>to "
    "go</o>\n"
    "  <t l=\"de\"><conjugation><t n=\"sipa\"><s1>gehe</s1></t></conjugation>gehen</t>\n </e>\n"
    " <e m=\"2\" t=\"aj\">\n  <o>\n   <comparison><l1>good</l1><l2>better</l2><l3>best</l3></comparison>good\n  </o>\n"
    "  <t><comparison><l1>gut</l1><l2>besser</l2></comparison>gut</t>\n </e>\n"
    " <e m=\"2\"><o>big</o><t>gro&#223;</t></e>\n</kvtml>\n";

} // namespace

class ImportTest : public QObject {
    Q_OBJECT
private slots:
    // Lists as their programs write them, with the guesses the window shows
    // and the choices it offers.
    void reads_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ImportChoices>("choices");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("guessed"); // empty: not checked
        const auto row = [](const char* name, const QByteArray& bytes, const QString& expected,
                            const QString& guessed = {}, const ImportChoices& choices = {}) {
            QTest::newRow(name) << bytes << choices << expected << guessed;
        };
        // Separators.
        row("pipe with padding", QString("Moskau | Москва\nBerlin|Берлин\n").toUtf8(), "Moskau/Москва; Berlin/Берлин",
            "text '|' UTF-8 Column 1/Column 2");
        row("three-column pipe deck with commas in words",
            "Hund, der | dog | noun\nKatze, die | cat | noun\nMaus | m\n", "Hund, der/dog; Katze, die/cat; Maus/m",
            "text '|' UTF-8 Column 1/Column 2");
        row("pipe with a tab and quotes in words", "go, went | \"l\xC3\xA4ks\tx\"\n\"a \"\"b\"\" \" | c\td\n",
            "go, went/läks\tx; a \"b\" /c\td", "text '|' UTF-8 Column 1/Column 2");
        row("csv keeps blanks", "koer , dog\n\"go, went\",\" l\xC3\xA4ks\"\n", "koer / dog; go, went/ läks",
            "text ',' UTF-8 Column 1/Column 2");
        row("semicolons with commas inside", "a, b;c\nd;e, f\n", "a, b/c; d/e, f", "text ';' UTF-8 Column 1/Column 2");
        row("colon", "koer:dog\nkass:cat\n", "koer/dog; kass/cat", "text ':' UTF-8 Column 1/Column 2");
        row("tab beats commas", "go, went\tl\xC3\xA4ks, l\xC3\xA4ksin\nsay\t\"\"\"hi\"\"\"\n",
            "go, went/läks, läksin; say/\"hi\"", "text 'tab' UTF-8 Column 1/Column 2");
        row("last line without a line end", "koer\tdog\r\nkass\tcat", "koer/dog; kass/cat");
        // Anki's headers.
        row("anki: every column header, html",
            "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n#tags column:6\n"
            "Xy1\tBasic\tDeutsch\t<b>Hund</b>\tdog&nbsp;\tanimals\n"
            "Xy2\tBasic\tDeutsch\tdie Katze\t<img src=\"cat.jpg\">\tanimals\n"
            "Xy3\tBasic\tDeutsch\t[sound:maus.mp3]Maus\t<div>mouse</div>\t\n"
            "Xy4\tBasic\tDeutsch\tS&amp;P&#39;s  &lt;x&gt;\t&eacute;t&#xE9;\t\n",
            "Hund/dog; Maus/mouse; S&P's <x>/été -1 missing", "anki 'tab' UTF-8 Column 4/Column 5");
        row("anki: html keeps a word's U+FEFF", "#separator:tab\n#html:true\n<b>\xEF\xBB\xBFx</b>\t&#xFEFF;y\n",
            QChar(0xFEFF) + QString("x/") + QChar(0xFEFF) + "y");
        row("anki: named separator and #columns", "#separator:Semicolon\n#columns:Front;Back;Tags\nkoer;dog;x\n",
            "koer/dog", "anki ';' UTF-8 Front/Back");
        row("anki: deck and notetype without columns", "#separator:comma\n#deck:Default\n#notetype:Basic\nkoer,dog\n",
            "koer/dog", "anki ',' UTF-8 Column 1/Column 2");
        row("anki: space and literal separators", "#separator:space\nkoer dog\n\"suur koer\" \"big dog\"\n",
            "koer/dog; suur koer/big dog");
        row("anki: html line breaks skip the note, raw line ends are spaces",
            "#separator:tab\n#html:true\nkoer\tdog\nHund<br>Katze\tx\n\"suur\nkoer\"\tbig dog\n",
            "koer/dog; suur koer/big dog -1 break");
        row("anki: a multi-line note is skipped, not the file",
            "#separator:tab\n#html:false\nkoer\tdog\n\"two\nlines\"\tx\nkass\tcat\n", "koer/dog; kass/cat -1 break");
        row("comment lines after the first entry are counted", "koer,dog\n#note\nkass,cat\n",
            "koer/dog; kass/cat -1 comment");
        // Header rows.
        row("header row word,translation,...", "word,translation,notes\nkoer,dog,x\n", "koer/dog",
            "text ',' header UTF-8 word/translation");
        row("header row of language names", "Estonian;English\nkoer;dog\n", "koer/dog",
            "text ';' header UTF-8 Estonian/English");
        row("a first pair is no header", "word,sõna\nkoer,dog\n", "word/sõna; koer/dog",
            "text ',' UTF-8 Column 1/Column 2");
        row("a quoted first pair is no header", "\"Word\"\tTranslation\nkoer\tdog\n", "Word/Translation; koer/dog",
            "text 'tab' UTF-8 Column 1/Column 2");
        ImportChoices noHeader;
        noHeader.headerRow = false;
        row("header row turned off", "word,translation\nkoer,dog\n", "word/translation; koer/dog", {}, noHeader);
        // Columns and languages chosen.
        ImportChoices swapped;
        swapped.knownColumn = 2;
        swapped.unknownColumn = 0;
        row("columns chosen", "a,b,c\nd,e,f\n", "c/a; f/d", "text ',' UTF-8 Column 3/Column 1", swapped);
        ImportChoices semicolon;
        semicolon.separator = u';';
        row("separator chosen", "a;b,c\nd;e,f\n", "a/b,c; d/e,f", {}, semicolon);
        // Encodings.
        const QByteArray french = "derri\xE8re,behind\nm\xEAme,same\nfr\xE8re,brother\n\xE9t\xE9,summer\n"
                                  "ch\xE2teau,castle\nc\x9Cur,heart\n";
        row("windows-1252 French, detected", french,
            "derrière/behind; même/same; frère/brother; été/summer; château/castle; cœur/heart",
            "text ',' windows-1252 Column 1/Column 2");
        row("windows-1252 French read as chosen windows-1257", french,
            "derričre/behind; mźme/same; frčre/brother; été/summer; chāteau/castle; c\u009Cur/heart", {},
            encodingChoice("windows-1257"));
        row("windows-1257 Estonian with š and ž", "\xF0okolaad,chocolate\n\xFEurnaal,magazine\nk\xF5rv,ear\n",
            "šokolaad/chocolate; žurnaal/magazine; kõrv/ear", "text ',' windows-1257 Column 1/Column 2");
        row("UTF-16 with its mark", utf16("koer\tсобака\nx\t😀\n", true), "koer/собака; x/😀",
            "text 'tab' UTF-16BE Column 1/Column 2");
        row("UTF-8 chosen for bytes that are not", french,
            "refused: The bytes are not UTF-8 text: byte 6 (0xe8) on "
            "line 1 is none of its characters.",
            {}, encodingChoice("UTF-8"));
        row("an encoding Vorbix does not know", "a,b\n",
            "refused: Vorbix cannot convert text from the encoding x-nope.", {}, encodingChoice("x-nope"));
        // What no word may hold, and refusals in words.
        row("NUL from UTF-16", utf16(QString("a\tb\nc") + QChar(0) + "\td\n"),
            "refused: Line 2 holds a NUL character, which no word can hold.");
        row("lone surrogate from UTF-16", utf16(QString("a\tb\nc\td\ne") + QChar(0xDC00) + "\tf\n"),
            "refused: Line 3 holds half of a character (a lone surrogate).");
        row("word over the limit skipped",
            "koer,dog\n" + QByteArray(MaxWordLength + 1, 'x') + ",long\n" + QByteArray(MaxWordLength, 'y') + ",ok\n",
            "koer/dog; " + QString(MaxWordLength, 'y') + "/ok -1 long");
        row("quote never closed", "koer,dog\nkass,\"cat\nhiir,mouse\n",
            "refused: A quote opened on line 2 is never closed.");
        row("no line holds both words", "a,\n,b\nc,\n", "refused: No line holds both words.");
        // The .dic form under another name, as Save As writes it.
        row(".dic lines", "x}ray\r\nr\xC3\xB6ntgen\r\ngo, went\r\nl\xC3\xA4ks\r\n", "x-ray/röntgen; go, went/läks",
            "lines UTF-8 First line of a pair/Second line of a pair");
        row(".dic lines, odd", "a\r\nb\r\nc\r\n",
            "refused: The file ends after a known word on line 3: an odd number "
            "of lines.");
        // A format chosen against the guess.
        row("anki export read as plain text: headers are comments, fields as they stand",
            "#separator:tab\n#html:true\n#guid column:1\nXy1\t<b>Hund</b>\tdog\nXy2\t[sound:k.mp3]Katze\tcat\n",
            "Xy1/<b>Hund</b>; Xy2/[sound:k.mp3]Katze", "text 'tab' UTF-8 Column 1/Column 2",
            formatChoice(ImportFormat::Delimited));
        row("plain text read as an anki export without headers", "koer [sound:koer.mp3]\tdog\n[sound:k.mp3]kass\tcat\n",
            "koer/dog; kass/cat", "anki 'tab' UTF-8 Column 1/Column 2", formatChoice(ImportFormat::AnkiExport));
        row("two columns read as a word per line", "koer;dog\r\nkass;cat\r\n", "koer;dog/kass;cat",
            "lines UTF-8 First line of a pair/Second line of a pair", formatChoice(ImportFormat::DicLines));
        row("text read as KVTML", "koer;dog\nkass;cat\n",
            "refused: The file is not KVTML: its first element is not <kvtml>.", {},
            formatChoice(ImportFormat::Kvtml1));
        // KVTML.
        const QByteArray three = identifier(0, "Eesti") + identifier(1, "English") + identifier(2, "Deutsch");
        const QByteArray threeEntries = entry(0, {"koer", "dog", "Hund"}) + entry(1, {"kass", "cat", "Katze"})
            + "<entry id=\"2\"><translation id=\"2\"><text>Maus</text></translation><translation id=\"0\">"
              "<comparison><comparative><text>x</text></comparative></comparison><text>hiir</text>"
              "</translation></entry>\n";
        row("kvtml2, first two languages", kvtml2(three, threeEntries), "koer/dog; kass/cat -1 missing",
            "kvtml2 UTF-8 Eesti/English");
        ImportChoices germanEstonian;
        germanEstonian.knownColumn = 2;
        germanEstonian.unknownColumn = 0;
        row("kvtml2, third and first language", kvtml2(three, threeEntries), "Hund/koer; Katze/kass; Maus/hiir",
            "kvtml2 UTF-8 Deutsch/Eesti", germanEstonian);
        row("kvtml read as text", kvtml2(three, threeEntries),
            "refused: The file is KVTML (its first element is <kvtml>), not text.", {},
            formatChoice(ImportFormat::DicLines));
        const QByteArray lessons = "<container><name>Pets</name><entry id=\"0\"/><entry id=\"1\"/>"
                                   "<container><name>Small</name><entry id=\"2\"/></container></container>";
        ImportChoices small;
        small.lessons = std::vector<int>{1};
        small.knownColumn = 0;
        small.unknownColumn = 2;
        row("kvtml2, a nested lesson chosen", kvtml2(three, threeEntries, lessons), "hiir/Maus -2 lesson", {}, small);
        row("kvtml2, one language", kvtml2(identifier(0, "Eesti"), entry(0, {"koer"}) + entry(1, {"kass"})),
            "refused: The file holds words in one language only (Eesti); a pair needs two.");
        row("kvtml1 inline forms give the word itself", KdeKvtml1, "to go/gehen; good/gut; big/groß",
            "kvtml1 UTF-8 English/German");
        ImportChoices verbs;
        verbs.lessons = std::vector<int>{0};
        row("kvtml1, a lesson chosen", KdeKvtml1, "to go/gehen -2 lesson", {}, verbs);
        row("kvtml1, the second column empty (one language)",
            "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"kvoctrain.dtd\">\n<kvtml encoding=\"UTF-8\">\n"
            "<e>\n\t<o>kattunge</o>\n\t<t></t>\n</e>\n<e><o>bj\xC3\xB8rn</o><t></t></e></kvtml>\n",
            "refused: The file holds words in one language only (Original); a pair needs two.");
        row("kvtml declared Latin-1",
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kvtml><e><o>\xE9t\xE9</o><t>summer</t></e></kvtml>",
            "été/summer", "kvtml1 ISO-8859-1 Original/Translation 1");
        row("kvtml with a broken encoding declaration",
            "<?xml version=\"1.0\" encoding=\"UTF-8><kvtml><e><o>a</o>"
            "<t>b</t></e></kvtml>",
            "refused: The KVTML file is not well-formed XML on line 1: Unexpected '<'.");
        // Hostile files.
        row("deep nesting",
            kvtml2(identifier(0, "a") + identifier(1, "b"),
                   "<entry id=\"0\"><translation id=\"0\"><text>" + QByteArray("<b>").repeated(100000)),
            "refused: Elements are nested more than 256 deep on line 7; no KVTML file nests so deep.");
        row("entity declarations",
            "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]>\n<kvtml><e><o>"
                + QByteArray("&e;").repeated(1000) + "</o><t>x</t></e></kvtml>",
            "refused: The KVTML file declares entities of its own (line 2), which Vorbix does not expand.");
    }
    void reads()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ImportChoices, choices);
        QFETCH(QString, expected);
        QFETCH(QString, guessed);
        const ImportPreview p = previewImport(bytes, "list.txt", choices);
        QCOMPARE(described(p), expected);
        QVERIFY(p.ok() || p.pairs.empty());
        if (!guessed.isEmpty())
            QCOMPARE(facts(p), guessed);
    }

    // Lists that KDE's programs ship (tests/data/README.md): how many pairs,
    // the first and the last, the languages, what was skipped or refused.
    void readsListsOtherProgramsWrote_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("expected");
        QTest::newRow("KWordQuiz French verbs, empty rows between tenses")
            << "kwordquiz-french_verbs.kvtml"
            << "kvtml2 UTF-8 French/English | 32: je suis/I am .. elles seraient/they would be (f) -3 missing";
        QTest::newRow("KWordQuiz states and capitals")
            << "kwordquiz-us_states_and_capitals.kvtml"
            << "kvtml2 UTF-8 State/Capital | 50: Alabama/Montgomery .. Wyoming/Cheyenne";
        QTest::newRow("KHangMan words with hints as a second language")
            << "kdeedu-et-animals.kvtml"
            << "kvtml2 UTF-8 Estonian/Language 2 | 44: varss/hobuse laps .. millimallikas/vees elav tarretise "
               "moodi elukas";
        QTest::newRow("KVTML 1 with an empty second column")
            << "kdeedu-nb-animals.kvtml"
            << "refused: The file holds words in one language only (Original); a pair needs two.";
        QTest::newRow("tzdata's country codes, tab-separated under comment lines")
            << "tzdata-iso3166.tab"
            << "text 'tab' UTF-8 Column 1/Column 2 | 249: AD/Andorra .. ZW/Zimbabwe";
        QTest::newRow("Anki manual's semicolons, a quoted answer over two lines")
            << "ankidroid-anki-manual-multi-line.txt"
            << "text ';' UTF-8 Column 1/Column 2 | 1: two/ this is a one line one .. two/ this is a one line one "
               "-1 break";
        QTest::newRow("Anki manual's semicolons, three fields")
            << "ankidroid-anki-manual-single-line.txt"
            << "text ';' UTF-8 Column 1/Column 2 | 2: foo bar/ bar baz .. apple/ banana";
        QTest::newRow("Anki import list: tabs under .csv, quoted HTML, sounds")
            << "mercari-engineer-vocabulary-list1.csv"
            << "text 'tab' UTF-8 Column 1/Column 2 | 5: I can't t{{c1::ake}} a t{{c1::icket}} this week because I "
               "have already taken 3./すでに3つ<font color=\"#0000ff\">"
               "チケットを取っ</font>ているので、今週は取れません。 .. "
               "I think I'll r{{c1::evise}} it by the end of today./<font color=\"#0000ff\">"
               "修正</font>は今日中に終わると思います。";
        QTest::newRow("spreadsheet CSV, thirteen columns, titles not known as such")
            << "ultimate-geography-capital.csv"
            << "text ',' UTF-8 Column 1/Column 2 | 23: country/capital .. Denmark/Copenhagen";
        QTest::newRow("Ding dictionary: German :: English")
            << "trans-de-en-first-lines.txt"
            << "text ':' UTF-8 Column 1/Column 3 | 15: A {n}; Ais {n}; As {n}; Aisis {n}; Ases {n} [mus.] | A-Dur "
               "{n} / A; A sharp; A flat; A double sharp; A double flat | A major .. Aalleiter {f}; Aaltreppe {f}; "
               "Aalpass {m} (Wasserbau) | Aalleitern {pl}; Aaltreppen {pl}; Aalpässe {pl} / eel ladder (water "
               "engineering) | eel ladders";
    }
    void readsListsOtherProgramsWrote()
    {
        QFETCH(QString, file);
        QFETCH(QString, expected);
        QFile f(QFINDTESTDATA("data/" + file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const ImportPreview p = previewImport(f.readAll(), file);
        QString got = "refused: " + p.errorText;
        if (p.ok())
            got = facts(p)
                + QString(" | %1: %2/%3 .. %4/%5")
                      .arg(p.entries)
                      .arg(p.pairs.front().known, p.pairs.front().unknown, p.pairs.back().known, p.pairs.back().unknown)
                + skippedText(p);
        QCOMPARE(got, expected);
    }

    // More than 1000 entries: the first entry chooses which 1000; past the
    // end, the last of them. Lessons are listed in file order, nested ones
    // under their parent's name.
    void choosesWhatToTake()
    {
        QByteArray csv;
        for (int i = 0; i < 2500; ++i)
            csv += "k" + QByteArray::number(i) + ",u" + QByteArray::number(i) + "\n";
        for (const auto& [first, from, to] :
             {std::tuple{0, 0, 999}, {1000, 1000, 1999}, {1700, 1700, 2499}, {2500, 2000, 2499}, {99999, 2000, 2499}}) {
            ImportChoices c;
            c.firstEntry = first;
            const ImportPreview p = previewImport(csv, "big.csv", c);
            QCOMPARE(p.entries, 2500);
            QCOMPARE(p.firstEntry, from);
            QCOMPARE(int(p.pairs.size()), to - from + 1);
            QCOMPARE(p.pairs.front().known, "k" + QString::number(from));
            QCOMPARE(p.pairs.back().unknown, "u" + QString::number(to));
        }
        const QByteArray lessons = "<container><name>Pets</name><entry id=\"0\"/><container><name>Small</name>"
                                   "<entry id=\"1\"/></container></container><container><name>Farm</name>"
                                   "<entry id=\"2\"/></container>";
        const QByteArray file = kvtml2(identifier(0, "A") + identifier(1, "B"),
                                       entry(0, {"a", "b"}) + entry(1, {"c", "d"}) + entry(2, {"e", "f"}), lessons);
        const ImportPreview p = previewImport(file, "l.kvtml");
        QCOMPARE(p.lessons, (QStringList{"Pets", "Pets / Small", "Farm"}));
        QCOMPARE(p.chosenLessons, (std::vector<int>{0, 1, 2}));
        QCOMPARE(p.columns, (QStringList{"A", "B"}));
        ImportChoices farm;
        farm.lessons = std::vector<int>{2, 0};
        QCOMPARE(described(previewImport(file, "l.kvtml", farm)), QString("a/b; e/f -1 lesson"));
    }

    // A read run behind a progress window: every reader reports how far it
    // has come, and stops with nothing kept once the
    // user has cancelled.
    void followsAndStopsEveryRead()
    {
        QByteArray v1 = KdeKvtml1, tsv, dicLines;
        for (int i = 0; i < 50; ++i) {
            tsv += "k" + QByteArray::number(i) + "\tu" + QByteArray::number(i) + "\n";
            dicLines += "k" + QByteArray::number(i) + "\nu" + QByteArray::number(i) + "\n";
        }
        const std::pair<const char*, QByteArray> files[] = {
            {"l.kvtml", kvtml2(identifier(0, "A") + identifier(1, "B"), entry(0, {"a", "b"}) + entry(1, {"c", "d"}))},
            {"old.kvtml", v1},
            {"l.tsv", tsv},
            {"anki.txt", "#separator:tab\n#html:true\n" + tsv},
            {"l.txt", dicLines},
        };
        for (const auto& [name, bytes] : files) {
            ReadProgress whole;
            const ImportPreview read = previewImport(bytes, name, {}, &whole);
            QVERIFY2(read.ok(), name);
            QVERIFY2(whole.permille > 0 && whole.permille <= 1000, name);
            ReadProgress stopped;
            stopped.cancelled = true;
            const ImportPreview none = previewImport(bytes, name, {}, &stopped);
            QVERIFY2(none.error == ImportError::Cancelled, name);
            QVERIFY(none.pairs.empty());
        }
    }
};

QTEST_GUILESS_MAIN(ImportTest)
#include "test_import.moc"
