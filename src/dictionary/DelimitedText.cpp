#include "dictionary/DelimitedText.h"

#include "dictionary/ImportSink.h"

#include <QLocale>
#include <QSet>

#include <array>
#include <map>

namespace vorbix::dictionary {

namespace {

// Columns beyond these are passed over: a line of a million separators
// costs no more than a line of 64 columns.
constexpr int MaxColumns = 64;
// Separator detection and the header guess look at this much of the text.
constexpr int SampleRecords = 2000;

bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

struct Field {
    QString text;
    bool quoted = false;
};

struct Record {
    std::vector<Field> fields;
    int count = 0;
    int line = 0; // where it starts, from 1
    bool comment = false; // a line starting with "#"
    bool unclosed = false; // a quote runs to the end of the file
    bool stray = false; // a quote out of place: text after a closing one, or one inside a field

    Field& add()
    {
        if (count == int(fields.size()))
            fields.emplace_back();
        Field& f = fields[size_t(count++)];
        f.text.clear();
        f.quoted = false;
        return f;
    }
    bool blank() const { return count == 1 && !fields[0].quoted && fields[0].text.trimmed().isEmpty(); }
    const Field* at(int column) const { return column < count ? &fields[size_t(column)] : nullptr; }
};

// One record at a time, so that memory does not grow with the lines.
class RecordReader {
public:
    RecordReader(QStringView text, QChar separator, qsizetype start, int line)
        : t_(text), sep_(separator), i_(start), line_(line)
    {}

    qsizetype position() const { return i_; }

    bool next(Record& r)
    {
        const qsizetype n = t_.size();
        // Blank lines are no records: passed over here, a run of millions
        // of them costs a scan.
        while (i_ < n && isLineEnd(t_[i_])) {
            line_ += t_[i_] == u'\n' || i_ + 1 >= n || t_[i_ + 1] != u'\n' ? 1 : 0;
            ++i_;
        }
        if (i_ >= n)
            return false;
        r.count = 0;
        r.comment = false;
        r.unclosed = false;
        r.stray = false;
        r.line = line_;
        if (t_[i_] == u'#') {
            r.comment = true;
            const qsizetype start = i_;
            while (i_ < n && !isLineEnd(t_[i_]))
                ++i_;
            appendCapped(r.add().text, t_.mid(start, i_ - start));
            pastLineEnd();
            return true;
        }
        Field spare;
        // Blanks around a quoted field are padding, whatever the separator:
        // people write `hello; "two words"`, and Anki reads it so, where
        // RFC 4180 alone would make the quotes letters of the word.
        const auto isBlank = [this](QChar c) { return c == u' ' || (c == u'\t' && sep_ != u'\t'); };
        for (;;) {
            Field& f = r.count < MaxColumns ? r.add() : spare;
            spare.text.clear();
            qsizetype lead = i_;
            while (lead < n && isBlank(t_[lead]))
                ++lead;
            if (lead < n && t_[lead] == u'"') {
                f.quoted = true;
                i_ = lead + 1;
                if (!readQuoted(f.text)) {
                    r.unclosed = true;
                    return true;
                }
            }
            const qsizetype start = i_;
            while (i_ < n && t_[i_] != sep_ && !isLineEnd(t_[i_]))
                ++i_;
            const QStringView rest = t_.mid(start, i_ - start);
            const bool padding = rest.trimmed().isEmpty();
            r.stray = r.stray || (f.quoted ? !rest.isEmpty() && !padding : rest.contains(u'"'));
            if (!(f.quoted && padding))
                appendCapped(f.text, rest);
            if (i_ < n && t_[i_] == sep_) {
                ++i_;
                continue;
            }
            break;
        }
        pastLineEnd();
        return true;
    }

private:
    // After the opening quote: up to the closing one, "" being one quote.
    bool readQuoted(QString& text)
    {
        const qsizetype n = t_.size();
        for (;;) {
            const qsizetype quote = t_.indexOf(u'"', i_);
            const qsizetype end = quote < 0 ? n : quote;
            const QStringView run = t_.mid(i_, end - i_);
            countLines(run);
            appendCapped(text, run);
            if (quote < 0) {
                i_ = n;
                return false;
            }
            if (quote + 1 < n && t_[quote + 1] == u'"') {
                appendCapped(text, u"\"");
                i_ = quote + 2;
                continue;
            }
            i_ = quote + 1;
            return true;
        }
    }
    void countLines(QStringView run)
    {
        for (qsizetype k = 0; k < run.size(); ++k)
            if (run[k] == u'\n' || (run[k] == u'\r' && (k + 1 >= run.size() || run[k + 1] != u'\n')))
                ++line_;
    }
    void pastLineEnd()
    {
        const qsizetype n = t_.size();
        const bool end = i_ < n && isLineEnd(t_[i_]);
        if (i_ < n && t_[i_] == u'\r')
            ++i_;
        if (i_ < n && t_[i_] == u'\n')
            ++i_;
        line_ += end ? 1 : 0;
    }

    QStringView t_;
    QChar sep_;
    qsizetype i_ = 0;
    int line_ = 1;
};

// --- Anki's header lines ----------------------------------------------------

struct Headers {
    bool anki = false;
    QChar separator;
    std::optional<bool> html;
    QString columns; // the #columns value, split once the separator is known
    std::map<int, QString> reserved; // column (from 0) -> what it holds
    qsizetype dataStart = 0;
    int dataLine = 1;
};

QChar ankiSeparator(QStringView value)
{
    static const std::pair<const char*, char16_t> names[] = {{"tab", u'\t'},  {"comma", u','}, {"semicolon", u';'},
                                                             {"space", u' '}, {"pipe", u'|'},  {"colon", u':'}};
    for (const auto& [name, c] : names)
        if (value.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QChar(c);
    // A quote, a line end or "#" would make no sense of the lines.
    if (value.size() == 1 && value[0] != u'"' && value[0] != u'#' && !isLineEnd(value[0]))
        return value[0];
    return {};
}

Headers readHeaders(QStringView text)
{
    Headers h;
    qsizetype i = 0;
    int line = 1;
    while (i < text.size() && text[i] == u'#') {
        qsizetype end = i;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        const QStringView body = text.mid(i + 1, end - i - 1);
        const qsizetype colon = body.indexOf(u':');
        const QString key = colon > 0 ? body.left(colon).trimmed().toString().toLower() : QString();
        const QStringView value = colon > 0 ? body.mid(colon + 1) : QStringView();
        static const QStringList plain = {"separator", "html", "columns", "notetype",
                                          "deck",      "tags", "guid",    "if matches"};
        static const std::pair<const char*, const char*> columnKeys[] = {{"notetype column", "Note type"},
                                                                         {"deck column", "Deck"},
                                                                         {"tags column", "Tags"},
                                                                         {"guid column", "GUID"}};
        if (plain.contains(key))
            h.anki = true;
        if (key == u"separator")
            h.separator = ankiSeparator(value);
        else if (key == u"html")
            h.html = value.trimmed().compare(u"true", Qt::CaseInsensitive) == 0;
        else if (key == u"columns")
            h.columns = value.toString();
        for (const auto& [name, title] : columnKeys) {
            bool number = false;
            const int column = value.trimmed().toInt(&number);
            if (key == QLatin1String(name) && number && column >= 1 && column <= MaxColumns) {
                h.anki = true;
                h.reserved[column - 1] = QLatin1String(title);
            }
        }
        i = end;
        if (i < text.size() && text[i] == u'\r')
            ++i;
        if (i < text.size() && text[i] == u'\n')
            ++i;
        ++line;
    }
    h.dataStart = i;
    h.dataLine = line;
    return h;
}

// --- the separator ----------------------------------------------------------

struct SeparatorGuess {
    QChar separator;
    int lines = 0; // data lines in the sample
    int split = 0; // of them, split into two columns or more
    int clean = 0; // of those, with every quote in its place
    int alike = 0; // split into the most common number of columns
    int columns = 0; // that number
};

SeparatorGuess tryOne(QStringView text, const Headers& h, QChar sep)
{
    RecordReader reader(text, sep, h.dataStart, h.dataLine);
    Record r;
    std::map<int, int> byCount;
    SeparatorGuess g{sep};
    for (int k = 0; k < SampleRecords && reader.next(r); ++k) {
        if (r.comment || r.blank())
            continue;
        ++g.lines;
        if (r.count >= 2) {
            ++g.split;
            g.clean += r.stray ? 0 : 1;
            ++byCount[r.count];
        }
    }
    for (const auto& [count, lines] : byCount)
        if (lines > g.alike) {
            g.alike = lines;
            g.columns = count;
        }
    return g;
}

// The separator that splits most lines, more than half of them; of those
// that split as many, the one whose quotes stand where that separator puts
// them, then the one that splits most alike, and at a tie the one
// the file's name suggests (a .csv's comma or semicolon), else tab first.
// So a file written as .csv or .tsv reads back as written, whatever
// separators its words hold.
SeparatorGuess detectSeparator(QStringView text, const Headers& h, const QString& fileName = {})
{
    const bool csv = fileName.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const std::array<QChar, 5> order =
        csv ? std::array<QChar, 5>{u',', u';', u'\t', u'|', u':'} : std::array<QChar, 5>{u'\t', u'|', u';', u',', u':'};
    SeparatorGuess best;
    for (const QChar sep : order) {
        const SeparatorGuess g = tryOne(text, h, sep);
        if (2 * g.split > g.lines
            && std::tuple(g.split, g.clean, g.alike) > std::tuple(best.split, best.clean, best.alike))
            best = g;
    }
    return best;
}

QString separatorName(QChar sep)
{
    switch (sep.unicode()) {
    case u'\t':
        return QStringLiteral("Tab");
    case u',':
        return QStringLiteral("Comma");
    case u';':
        return QStringLiteral("Semicolon");
    case u'|':
        return QStringLiteral("Pipe");
    case u':':
        return QStringLiteral("Colon");
    case u' ':
        return QStringLiteral("Space");
    default:
        return QStringLiteral("\"%1\"").arg(sep);
    }
}

// --- HTML -------------------------------------------------------------------

const char* const Latin1Entities[96] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

} // namespace

char32_t htmlEntity(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const uint value = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok)
            return char32_t(-1);
        // As browsers do: nothing that is not a character.
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return 0xFFFD;
        return value;
    }
    static const QHash<QString, char32_t> named = [] {
        QHash<QString, char32_t> m{
            {"amp", '&'},       {"lt", '<'},        {"gt", '>'},       {"quot", '"'},      {"apos", '\''},
            {"OElig", 0x152},   {"oelig", 0x153},   {"Scaron", 0x160}, {"scaron", 0x161},  {"Yuml", 0x178},
            {"circ", 0x2C6},    {"tilde", 0x2DC},   {"ensp", 0x2002},  {"emsp", 0x2003},   {"thinsp", 0x2009},
            {"zwnj", 0x200C},   {"zwj", 0x200D},    {"ndash", 0x2013}, {"mdash", 0x2014},  {"lsquo", 0x2018},
            {"rsquo", 0x2019},  {"sbquo", 0x201A},  {"ldquo", 0x201C}, {"rdquo", 0x201D},  {"bdquo", 0x201E},
            {"dagger", 0x2020}, {"Dagger", 0x2021}, {"bull", 0x2022},  {"hellip", 0x2026}, {"permil", 0x2030},
            {"lsaquo", 0x2039}, {"rsaquo", 0x203A}, {"euro", 0x20AC},  {"trade", 0x2122}};
        for (int k = 0; k < 96; ++k)
            m.insert(QString::fromLatin1(Latin1Entities[k]), char32_t(0xA0 + k));
        return m;
    }();
    const auto it = named.constFind(name.toString());
    return it == named.constEnd() ? char32_t(-1) : *it;
}

namespace {

bool isHtmlSpace(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == 0xA0 || c == 0x2002 || c == 0x2003
        || c == 0x2009;
}

// Anki's sound tags, which hold no word; the blanks they leave go too.
QString withoutSounds(QString word)
{
    bool removed = false;
    for (qsizetype at = word.indexOf(QLatin1String("[sound:")); at >= 0; at = word.indexOf(QLatin1String("[sound:"))) {
        const qsizetype end = word.indexOf(u']', at);
        if (end < 0)
            break;
        word.remove(at, end - at + 1);
        removed = true;
    }
    return removed ? word.trimmed() : word;
}

// --- the header row ---------------------------------------------------------

} // namespace

bool isColumnTitle(const QString& field)
{
    static const QSet<QString> titles = [] {
        QSet<QString> s;
        for (const char* t : {"word",
                              "words",
                              "term",
                              "terms",
                              "translation",
                              "translations",
                              "meaning",
                              "meanings",
                              "definition",
                              "definitions",
                              "front",
                              "back",
                              "question",
                              "questions",
                              "answer",
                              "answers",
                              "known",
                              "unknown",
                              "known word",
                              "unknown word",
                              "known words",
                              "unknown words",
                              "known words (questions)",
                              "unknown words (answers)",
                              "source",
                              "target",
                              "original",
                              "foreign",
                              "native",
                              "expression",
                              "phrase",
                              "vocabulary",
                              "lemma",
                              "reading",
                              "english word",
                              "foreign word",
                              "native word"})
            s.insert(QString::fromLatin1(t));
        for (int l = QLocale::Abkhazian; l <= QLocale::LastLanguage; ++l)
            s.insert(QLocale::languageToString(QLocale::Language(l)).toLower());
        return s;
    }();
    return titles.contains(field.trimmed().toLower());
}

namespace {} // namespace

QString htmlToText(QStringView html)
{
    QString out;
    out.reserve(html.size());
    bool space = false, lineBreak = false;
    const auto put = [&](char32_t c) {
        if (isHtmlSpace(c)) {
            space = true;
            return;
        }
        if (!out.isEmpty())
            out += lineBreak ? QStringLiteral("\n") : space ? QStringLiteral(" ") : QString();
        space = lineBreak = false;
        out += QChar::fromUcs4(c); // not QString::fromUcs4, which takes U+FEFF for a mark
    };
    const qsizetype n = html.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = html[i];
        if (c == u'<') {
            if (html.mid(i).startsWith(u"<!--")) {
                const qsizetype end = html.indexOf(u"-->", i + 4);
                i = end < 0 ? n : end + 3;
                continue;
            }
            const qsizetype end = html.indexOf(u'>', i);
            qsizetype k = i + 1 + (i + 1 < n && html[i + 1] == u'/' ? 1 : 0);
            const qsizetype nameStart = k;
            while (k < n && html[k].isLetterOrNumber())
                ++k;
            if (end < 0 || k == nameStart) { // no tag: the "<" is text
                put(u'<');
                ++i;
                continue;
            }
            static const QSet<QString> breaks = {"br", "div", "p", "li", "tr", "h1", "h2", "h3", "h4", "h5", "h6"};
            if (breaks.contains(html.mid(nameStart, k - nameStart).toString().toLower()))
                lineBreak = true;
            i = end + 1;
            continue;
        }
        if (c == u'&') {
            const qsizetype semi = html.indexOf(u';', i);
            if (semi > i + 1 && semi - i <= 12) {
                const char32_t value = htmlEntity(html.mid(i + 1, semi - i - 1));
                if (value != char32_t(-1)) {
                    put(value);
                    i = semi + 1;
                    continue;
                }
            }
        }
        if (c.isHighSurrogate() && i + 1 < n && html[i + 1].isLowSurrogate()) {
            put(QChar::surrogateToUcs4(c, html[i + 1]));
            i += 2;
            continue;
        }
        put(c.unicode());
        ++i;
    }
    return out;
}

bool looksDelimited(const QString& text)
{
    const Headers h = readHeaders(text);
    return !h.separator.isNull() || !detectSeparator(text, h).separator.isNull();
}

void readDelimitedList(const QString& text, const QString& fileName, const ImportChoices& choices, ImportPreview* p,
                       ReadProgress* progress)
{
    const Headers found = readHeaders(text);
    // Chosen as plain text, Anki's header lines are "#" lines above the first
    // entry like any other: comments. Chosen as Anki's export, a file without
    // them is one whose headers were left out: its fields are Anki's all the
    // same.
    const bool plain = choices.format == ImportFormat::Delimited;
    Headers h = plain ? Headers{} : found;
    h.anki = choices.format == ImportFormat::AnkiExport || h.anki;
    p->format = h.anki ? ImportFormat::AnkiExport : ImportFormat::Delimited;
    if (h.anki && found.anki)
        p->formatReason = QStringLiteral("Lines starting with \"#\" at the top are Anki's export headers.");
    else if (h.anki)
        p->formatReason = QStringLiteral("Chosen: [sound:...] tags are dropped.");
    else if (found.anki)
        p->formatReason = QStringLiteral("Chosen: Anki's header lines are comments.");
    else
        p->formatReason =
            choices.format ? QStringLiteral("Chosen.") : QStringLiteral("A separator splits the lines into columns.");
    SeparatorGuess guess;
    if (choices.separator) {
        guess = tryOne(text, h, *choices.separator);
        p->separatorReason = QStringLiteral("Chosen.");
    } else if (!h.separator.isNull()) {
        guess = tryOne(text, h, h.separator);
        p->separatorReason = QStringLiteral("Anki's #separator header names it.");
    } else {
        guess = detectSeparator(text, h, fileName);
        p->separatorReason = QStringLiteral("%1 splits %2 of the first %3 lines, %4 of them into %5 columns.")
                                 .arg(separatorName(guess.separator))
                                 .arg(guess.split)
                                 .arg(guess.lines)
                                 .arg(guess.alike)
                                 .arg(guess.columns);
    }
    const QChar sep = guess.separator.isNull() ? QChar(u'\t') : guess.separator;
    p->separator = sep;
    const bool html = h.html.value_or(false);
    const auto word = [&](const Record& r, int column) {
        const Field* f = r.at(column);
        if (!f)
            return QString();
        QString w = h.anki ? withoutSounds(f->text) : f->text;
        if (html)
            w = htmlToText(w);
        if (sep == u'|' && !f->quoted)
            w = w.trimmed();
        return w;
    };

    // Columns: at least two, as many as the sample's lines hold.
    int columnCount = std::max(2, guess.columns);
    Record first;
    bool haveFirst = false;
    std::array<bool, MaxColumns> holdsText{};
    {
        RecordReader reader(text, sep, h.dataStart, h.dataLine);
        Record r;
        for (int k = 0; k < SampleRecords && reader.next(r); ++k) {
            if (r.comment || r.blank())
                continue;
            columnCount = std::max(columnCount, std::min(r.count, MaxColumns));
            for (int c = 0; c < std::min(r.count, MaxColumns); ++c)
                holdsText[size_t(c)] =
                    holdsText[size_t(c)] || !QStringView(r.fields[size_t(c)].text).trimmed().isEmpty();
            if (!haveFirst) {
                first = r;
                haveFirst = true;
            }
        }
    }
    for (const auto& [column, what] : h.reserved) {
        p->reservedColumns.push_back(column);
        columnCount = std::max(columnCount, column + 1);
    }
    const auto reserved = [&](int c) { return h.reserved.count(c) > 0; };
    // The first two columns that hold words: a column empty on every line,
    // as between the colons of Ding's "Wort :: word", is none.
    std::vector<int> free;
    for (const bool text : {true, false})
        for (int c = 0; c < columnCount; ++c)
            if (!reserved(c) && (c < MaxColumns && holdsText[size_t(c)]) == text)
                free.push_back(c);
    while (free.size() < 2)
        free.push_back(columnCount++);
    const auto pick = [&](int chosen, int fallback) {
        return chosen >= 0 && chosen < columnCount && !reserved(chosen) ? chosen : fallback;
    };
    p->knownColumn = pick(choices.knownColumn, free[0]);
    p->unknownColumn = pick(choices.unknownColumn, p->knownColumn == free[0] ? free[1] : free[0]);

    // Column titles: Anki's #columns, the header row, or numbers.
    QStringList ankiTitles;
    if (!h.columns.isEmpty()) {
        Record r;
        RecordReader(h.columns, sep, 0, 1).next(r);
        for (int c = 0; c < r.count; ++c)
            ankiTitles << r.fields[size_t(c)].text.trimmed();
    }
    const QString known = haveFirst ? word(first, p->knownColumn) : QString();
    const QString unknown = haveFirst ? word(first, p->unknownColumn) : QString();
    if (choices.headerRow) {
        p->headerRow = *choices.headerRow;
        p->headerReason = QStringLiteral("Chosen.");
    } else if (!ankiTitles.isEmpty()) {
        p->headerRow = false;
        p->headerReason = QStringLiteral("Anki's #columns header names the columns.");
    } else {
        // Quoted, the first row is words: a writer quotes a first pair that
        // looks like titles.
        const auto plain = [&](int c) { return first.at(c) && !first.at(c)->quoted; };
        p->headerRow = haveFirst && plain(p->knownColumn) && plain(p->unknownColumn) && isColumnTitle(known)
            && isColumnTitle(unknown);
        p->headerReason = p->headerRow
            ? QStringLiteral("The first row holds column titles (\"%1\", \"%2\").").arg(known, unknown)
            : QStringLiteral("The first row holds words.");
    }
    for (int c = 0; c < columnCount; ++c) {
        QString title = c < ankiTitles.size() ? ankiTitles[c] : QString();
        if (title.isEmpty() && p->headerRow && haveFirst)
            title = word(first, c).simplified();
        if (reserved(c))
            title = h.reserved.at(c) + (title.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(title));
        p->columns << (title.isEmpty() ? QStringLiteral("Column %1").arg(c + 1) : title);
    }

    EntrySink sink(*p, p->firstEntry);
    ProgressSpan span(progress, 200, 1000, text.size());
    RecordReader reader(text, sep, h.dataStart, h.dataLine);
    Record r;
    bool beforeData = true;
    bool comments = false;
    int widest = 0;
    while (reader.next(r)) {
        if (!span.at(reader.position())) {
            span.cancel(*p);
            return;
        }
        if (r.unclosed) {
            p->error = ImportError::UnclosedQuote;
            p->errorText = QStringLiteral("A quote opened on line %1 is never closed.").arg(r.line);
            return;
        }
        if (r.comment) {
            if (!beforeData) {
                sink.skipEntry(SkipReason::Comment);
                comments = true;
            }
            continue;
        }
        if (r.blank())
            continue;
        widest = std::max(widest, r.count);
        if (beforeData) {
            beforeData = false;
            if (p->headerRow)
                continue;
        }
        sink.offer(word(r, p->knownColumn), word(r, p->unknownColumn));
        if (sink.forbiddenEntry()) {
            p->error = ImportError::NulCharacter;
            p->errorText = QStringLiteral("Line %1 holds a character that no word can hold.").arg(r.line);
            return;
        }
    }
    // Only a list Vorbix itself writes in this form is written back to it:
    // never with Anki's header lines.
    const bool own = p->format == ImportFormat::Delimited && !found.anki && sep == u'\t' && !p->headerRow && widest <= 2
        && !comments && p->skippedTotal() == 0 && p->entries <= MaxPairs && p->knownColumn == 0 && p->unknownColumn == 1
        && p->encoding == QLatin1String("UTF-8") && !p->fileFormat.byteOrderMark;
    p->kind = own ? FileKind::TabSeparated : FileKind::Imported;
}

} // namespace vorbix::dictionary
