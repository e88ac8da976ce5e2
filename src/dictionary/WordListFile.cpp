#include "dictionary/WordListFile.h"

#include "dictionary/TextEncoding.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace vorbix::dictionary {

namespace {

ListReadResult fromDictionary(ReadResult read)
{
    ListReadResult r;
    static_cast<ReadResult&>(r) = std::move(read);
    return r;
}

ListReadResult failure(int error) { return fromDictionary(readFailure(error)); }

bool holdsLineBreak(const QString& word)
{
    return word.contains(QLatin1Char('\n')) || word.contains(QLatin1Char('\r'));
}

bool namedDic(const QString& name) { return name.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive); }

// Collects pairs up to MaxPairs; after that only notes that there was more.
struct PairCollector {
    ListReadResult& r;
    void offer(const QString& known, const QString& unknown)
    {
        if (r.truncated)
            return;
        if (known.isEmpty() || unknown.isEmpty())
            ++r.skippedNoWord;
        else if (holdsLineBreak(known) || holdsLineBreak(unknown))
            ++r.skippedLineBreak;
        else if (r.pairs.size() == size_t(MaxPairs))
            r.truncated = true;
        else
            r.pairs.push_back({known, unknown});
    }
};

// --- delimited text -------------------------------------------------------

struct Record {
    QStringList fields;
    bool header = false;
    bool blank() const { return !header && fields.size() == 1 && fields[0].isEmpty(); }
};

struct Parsed {
    std::vector<Record> records;
    int error = NoError;
};

qsizetype pastLineEnd(QStringView text, qsizetype i)
{
    if (i < text.size() && text[i] == u'\r')
        ++i;
    if (i < text.size() && text[i] == u'\n')
        ++i;
    return i;
}

bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

// RFC 4180 with any line end: a field that starts with a quote runs to the
// closing quote, "" inside it is one quote. Lenient where the RFC is strict
// (text after a closing quote is kept), strict where a word would change:
// a line break inside quotes, or a quote never closed, is an error. Parsing
// goes on after an error, so that the detection can still count columns.
Parsed parseDelimited(QStringView text, QChar sep)
{
    Parsed p;
    auto fail = [&p](int error) {
        if (p.error == NoError)
            p.error = error;
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        Record r;
        if (text[i] == u'#') {
            const qsizetype start = i;
            while (i < n && !isLineEnd(text[i]))
                ++i;
            r.header = true;
            r.fields << text.mid(start, i - start).toString();
            p.records.push_back(std::move(r));
            i = pastLineEnd(text, i);
            continue;
        }
        for (;;) {
            QString field;
            if (i < n && text[i] == u'"') {
                ++i;
                for (;;) {
                    if (i >= n) {
                        fail(UnclosedQuote);
                        break;
                    }
                    const QChar c = text[i];
                    if (c == u'"') {
                        if (i + 1 < n && text[i + 1] == u'"') {
                            field += c;
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (isLineEnd(c))
                        fail(LineBreakInWord);
                    field += c;
                    ++i;
                }
            }
            const qsizetype start = i;
            while (i < n && text[i] != sep && !isLineEnd(text[i]))
                ++i;
            field += text.mid(start, i - start);
            r.fields << field;
            if (i < n && text[i] == sep) {
                ++i;
                continue;
            }
            break;
        }
        p.records.push_back(std::move(r));
        i = pastLineEnd(text, i);
    }
    return p;
}

// Anki's names for its separators, or the character itself.
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

QChar headerSeparator(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u'#') {
        qsizetype end = i;
        while (end < text.size() && !isLineEnd(text[end]))
            ++end;
        const QStringView line = text.mid(i + 1, end - i - 1);
        const qsizetype colon = line.indexOf(u':');
        if (colon > 0 && line.left(colon).trimmed().compare(u"separator", Qt::CaseInsensitive) == 0)
            return ankiSeparator(line.mid(colon + 1));
        i = pastLineEnd(text, end);
    }
    return {};
}

} // namespace

bool decodeListText(const QByteArray& bytes, QString* text, FileFormat* format)
{
    // The encodings a .dic file may be in, just as strict: a byte that is
    // no character refuses the file rather than becoming a wrong one.
    FileFormat f;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    const bool le = bytes.startsWith("\xFF\xFE"), be = bytes.startsWith("\xFE\xFF");
    if (le || be) {
        f = {be ? TextEncoding::Utf16BE : TextEncoding::Utf16LE, true};
        if (!decodeUtf16(data + 2, size - 2, be, text))
            return false;
    } else if (bytes.contains('\0')) {
        return false;
    } else if (isValidUtf8(data, size)) {
        const bool mark = bytes.startsWith("\xEF\xBB\xBF");
        f = {TextEncoding::Utf8, mark};
        *text = mark ? decodeValidUtf8(data + 3, size - 3) : decodeValidUtf8(data, size);
    } else if (!decodeBaltic(data, size, text)) {
        return false;
    }
    if (format)
        *format = f;
    return true;
}

QChar detectSeparator(const QString& text)
{
    if (const QChar named = headerSeparator(text); !named.isNull())
        return named;
    for (const QChar sep : {u'\t', u';', u','}) {
        const Parsed p = parseDelimited(text, sep);
        qsizetype data = 0, split = 0;
        for (const Record& r : p.records) {
            if (r.header || r.blank())
                continue;
            ++data;
            split += r.fields.size() >= 2 ? 1 : 0;
        }
        if (data > 0 && 2 * split > data)
            return sep;
    }
    return {};
}

ListReadResult readDelimited(const QString& text, QChar separator)
{
    if (separator.isNull())
        separator = detectSeparator(text);
    if (separator.isNull())
        return failure(NoUsablePair);
    const Parsed parsed = parseDelimited(text, separator);
    if (parsed.error != NoError)
        return failure(parsed.error);

    ListReadResult r;
    r.source = ListFormat::Delimited;
    r.separator = separator;
    bool headers = false, moreColumns = false;
    PairCollector collect{r};
    for (const Record& rec : parsed.records) {
        if (rec.header) {
            headers = true;
            continue;
        }
        if (rec.blank())
            continue;
        moreColumns = moreColumns || rec.fields.size() > 2;
        collect.offer(rec.fields[0], rec.fields.size() >= 2 ? rec.fields[1] : QString());
    }
    if (r.pairs.empty())
        return failure(NoUsablePair);
    // Only what Vorbix writes itself may be written over.
    const bool ownForm = separator == u'\t' && !headers && !moreColumns && r.skipped() == 0 && !r.truncated;
    r.kind = ownForm ? FileKind::TabSeparated : FileKind::Imported;
    return r;
}

// --- KVTML ------------------------------------------------------------------

bool isKvtml(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name() == u"kvtml";
    }
    return false;
}

namespace {

// The text of <text> straight inside the current <translation>.
QString translationText(QXmlStreamReader& xml, bool* found)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"text" && !*found) {
            text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            *found = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    return text;
}

// KVTML 2: <entry><translation id="0"><text>..</text></translation>...
void readEntry2(QXmlStreamReader& xml, PairCollector& collect)
{
    QString words[2];
    bool found[2] = {false, false};
    while (xml.readNextStartElement()) {
        if (xml.name() != u"translation") {
            xml.skipCurrentElement();
            continue;
        }
        const QStringView id = xml.attributes().value(QLatin1String("id"));
        const int slot = id == u"0" ? 0 : id == u"1" ? 1 : -1;
        if (slot < 0 || found[slot]) {
            xml.skipCurrentElement();
            continue;
        }
        words[slot] = translationText(xml, &found[slot]);
    }
    collect.offer(words[0], words[1]);
}

// KVTML 1: <e><o>original</o><t>translation</t>...</e>
void readEntry1(QXmlStreamReader& xml, PairCollector& collect)
{
    QString original, translation;
    bool haveOriginal = false, haveTranslation = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"o" && !haveOriginal) {
            original = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            haveOriginal = true;
        } else if (xml.name() == u"t" && !haveTranslation) {
            translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            haveTranslation = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    collect.offer(original, translation);
}

} // namespace

ListReadResult readKvtml(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() || xml.name() != u"kvtml")
        return failure(BrokenXml);
    ListReadResult r;
    r.source = ListFormat::Kvtml;
    r.kind = FileKind::Imported;
    PairCollector collect{r};
    while (xml.readNextStartElement()) {
        if (xml.name() == u"entries") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"entry")
                    readEntry2(xml, collect);
                else
                    xml.skipCurrentElement();
            }
        } else if (xml.name() == u"e") {
            readEntry1(xml, collect);
        } else {
            xml.skipCurrentElement();
        }
    }
    // All of it must be well-formed, the part after the last pair too.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return failure(BrokenXml);
    if (r.pairs.empty())
        return failure(NoUsablePair);
    return r;
}

// --- choosing the reader ------------------------------------------------------

ListReadResult readWordList(const QByteArray& bytes, const QString& fileName)
{
    if (namedDic(fileName))
        return fromDictionary(readDictionary(bytes));
    if (isKvtml(bytes))
        return readKvtml(bytes);
    QString text;
    FileFormat format;
    if (decodeListText(bytes, &text, &format)) {
        const QChar separator = detectSeparator(text);
        if (!separator.isNull()) {
            ListReadResult r = readDelimited(text, separator);
            r.format = format;
            // Save writes tab-separated text in UTF-8 without a mark only:
            // anything else would change behind the user's back.
            if (r.kind == FileKind::TabSeparated && !(format == FileFormat{TextEncoding::Utf8, false}))
                r.kind = FileKind::Imported;
            return r;
        }
    }
    return fromDictionary(readDictionary(bytes));
}

ListReadResult readWordListFile(const QString& path)
{
    if (namedDic(path))
        return fromDictionary(readDictionaryFile(path));
    // Whatever keeps the file from opening, the .dic reader names it.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > MaxListFileBytes)
        return fromDictionary(readDictionaryFile(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(DeviceIoError);
    return readWordList(bytes, path);
}

// --- writing lists for other programs -----------------------------------------

namespace {

// Why a pair cannot be written as text another reader gives back word for
// word, or an empty text.
QString unwritablePair(const WordPairs& pairs, const char* form)
{
    if (pairs.size() > size_t(MaxPairs))
        return QStringLiteral("the list has %1 pairs; a file holds at most %2").arg(pairs.size()).arg(MaxPairs);
    for (size_t i = 0; i < pairs.size(); ++i) {
        const WordPair& p = pairs[i];
        const char* problem = nullptr;
        for (const QString* w : {&p.known, &p.unknown}) {
            if (holdsLineBreak(*w))
                problem = "holds a line break";
            else if (w->isEmpty())
                problem = "lacks a word";
            else if (w->contains(QChar(0)))
                problem = "holds a NUL character";
            else if (hasUnpairedSurrogate(*w))
                problem = "holds half of a character (a lone surrogate)";
            else if (w->size() > MaxWordLength)
                problem = "has a word over the limit of 32767 characters";
            if (problem)
                break;
        }
        if (problem)
            return QStringLiteral("pair %1 (\"%2\", \"%3\") %4, which %5 cannot give back")
                .arg(i + 1)
                .arg(p.known.left(40).simplified(), p.unknown.left(40).simplified(), QLatin1String(problem),
                     QLatin1String(form));
    }
    return {};
}

// Quotes a word as RFC 4180 does when a reader could take it for something
// else: a separator of any kind the readers guess, a quote, blanks at its
// ends, a header ("#") or XML ("<") at the start of a line, or a leading
// byte-order mark that would pass for the file's own.
QString delimitedField(const QString& word, bool first, QStringView separators)
{
    const QString lead = word.trimmed();
    bool quote = word.contains(u'"') || word.startsWith(QChar(0xFEFF)) || lead.size() != word.size()
        || (first && (word.startsWith(u'#') || lead.startsWith(u'<')));
    for (const QChar c : separators)
        quote = quote || word.contains(c);
    if (!quote)
        return word;
    QString quoted = word;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

WriteResult encodeDelimited(const WordPairs& pairs, QChar separator, QStringView quoted, const char* form,
                            QByteArray* bytes)
{
    WriteResult result;
    result.reason = unwritablePair(pairs, form);
    if (!result.reason.isEmpty())
        return result;
    QString text;
    for (const WordPair& p : pairs) {
        text += delimitedField(p.known, true, quoted);
        text += separator;
        text += delimitedField(p.unknown, false, quoted);
        text += QLatin1String("\r\n");
    }
    *bytes = text.toUtf8();
    result.ok = true;
    return result;
}

} // namespace

WriteResult encodeTabSeparated(const WordPairs& pairs, QByteArray* bytes)
{
    QByteArray out;
    WriteResult r = encodeDelimited(pairs, u'\t', u"\t", "a tab-separated list", &out);
    if (r.ok)
        *bytes = out;
    r.format = {TextEncoding::Utf8, false};
    return r;
}

WriteResult encodeCommaSeparated(const WordPairs& pairs, QByteArray* bytes)
{
    // Every separator a reader might guess is quoted, so that the comma is
    // the only one left to find; the mark tells spreadsheets it is UTF-8.
    QByteArray out;
    WriteResult r = encodeDelimited(pairs, u',', u",;\t|:", "a comma-separated list", &out);
    if (r.ok)
        *bytes = "\xEF\xBB\xBF" + out;
    r.format = {TextEncoding::Utf8, true};
    return r;
}

WriteResult encodeKvtml(const WordPairs& pairs, QByteArray* bytes)
{
    WriteResult result;
    // KVTML readers take a file without entries for a broken one.
    result.reason = pairs.empty() ? QStringLiteral("the list is empty; a KVTML file needs at least one pair")
                                  : unwritablePair(pairs, "a KVTML file");
    if (!result.reason.isEmpty())
        return result;
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("kvtml"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("information"));
    xml.writeTextElement(QStringLiteral("generator"), QStringLiteral("Vorbix"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("identifiers"));
    const QString names[] = {QStringLiteral("Known words"), QStringLiteral("Unknown words")};
    for (int id = 0; id < 2; ++id) {
        xml.writeStartElement(QStringLiteral("identifier"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(id));
        xml.writeTextElement(QStringLiteral("name"), names[id]);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("entries"));
    for (size_t i = 0; i < pairs.size(); ++i) {
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("id"), QString::number(i));
        const QString* words[] = {&pairs[i].known, &pairs[i].unknown};
        for (int id = 0; id < 2; ++id) {
            xml.writeStartElement(QStringLiteral("translation"));
            xml.writeAttribute(QStringLiteral("id"), QString::number(id));
            xml.writeTextElement(QStringLiteral("text"), *words[id]);
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    *bytes = out;
    result.ok = true;
    result.format = {TextEncoding::Utf8, false};
    return result;
}

WriteResult encodeList(const WordPairs& pairs, FileKind kind, QByteArray* bytes)
{
    switch (kind) {
    case FileKind::CommaSeparated:
        return encodeCommaSeparated(pairs, bytes);
    case FileKind::Kvtml:
        return encodeKvtml(pairs, bytes);
    default:
        return encodeTabSeparated(pairs, bytes);
    }
}

WriteResult writeListFile(const QString& path, const WordPairs& pairs, FileKind kind)
{
    QByteArray bytes;
    WriteResult result = encodeList(pairs, kind, &bytes);
    if (result.ok)
        result.ok = writeFileAtomically(path, bytes, &result.reason);
    return result;
}

WriteResult writeTabSeparatedFile(const QString& path, const WordPairs& pairs)
{
    return writeListFile(path, pairs, FileKind::TabSeparated);
}

FileKind savedKindFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("dic"))
        return FileKind::Dictionary;
    if (suffix == QLatin1String("csv"))
        return FileKind::CommaSeparated;
    if (suffix == QLatin1String("kvtml"))
        return FileKind::Kvtml;
    // .tsv, .txt and any other name: a .dic under such a name would open
    // through the import window as one column of text.
    return FileKind::TabSeparated;
}

QString dictionaryNameFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return path + QLatin1String(".dic");
    return path.left(path.size() - suffix.size()) + QLatin1String("dic");
}

QString skippedText(const QString& path, const ListReadResult& read)
{
    auto count = [](qsizetype n, const char* one, const char* many) {
        return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
    };
    QStringList why;
    if (read.skippedNoWord > 0)
        why << QString::number(read.skippedNoWord) + QLatin1String(" without both words");
    if (read.skippedLineBreak > 0)
        why << QString::number(read.skippedLineBreak) + QLatin1String(" with a line break in a word");
    return QStringLiteral("%1 read from %2; %3 skipped: %4.")
        .arg(count(qsizetype(read.pairs.size()), "word pair was", "word pairs were"), QFileInfo(path).fileName(),
             count(read.skipped(), "entry was", "entries were"), why.join(QLatin1String(", ")));
}

} // namespace vorbix::dictionary
