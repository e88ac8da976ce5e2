#include "dictionary/WordListFile.h"

#include "dictionary/DelimitedText.h"
#include "dictionary/Import.h"
#include "dictionary/ListEncoding.h"
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

int errorNumber(ImportError error)
{
    switch (error) {
    case ImportError::None:
        return NoError;
    case ImportError::UnclosedQuote:
        return UnclosedQuote;
    case ImportError::NoUsablePair:
    case ImportError::OneLanguage:
        return NoUsablePair;
    case ImportError::BrokenXml:
    case ImportError::TooDeep:
        return BrokenXml;
    case ImportError::OddLineCount:
        return InputPastEndOfFile;
    case ImportError::LoneCarriageReturn:
        return CarriageReturnInLine;
    case ImportError::TooLarge:
        return DeviceIoError;
    case ImportError::NotText:
    case ImportError::NulCharacter:
    case ImportError::BrokenText:
    case ImportError::UnknownEncoding:
    case ImportError::Cancelled:
        break;
    }
    return NotText;
}

} // namespace

ListReadResult readWordList(const QByteArray& bytes, const QString& fileName)
{
    if (namedDic(fileName))
        return fromDictionary(readDictionary(bytes));
    const ImportPreview p = previewImport(bytes, fileName);
    if (!p.ok())
        return failure(errorNumber(p.error));
    ListReadResult r;
    r.pairs = p.pairs;
    r.truncated = p.entries > p.firstEntry + int(p.pairs.size());
    r.format = p.fileFormat;
    r.kind = p.kind;
    r.separator = p.separator;
    r.source = p.format == ImportFormat::DicLines                              ? ListFormat::Dictionary
        : p.format == ImportFormat::Kvtml1 || p.format == ImportFormat::Kvtml2 ? ListFormat::Kvtml
                                                                               : ListFormat::Delimited;
    for (const auto& [reason, count] : p.skipped)
        (reason == SkipReason::LineBreak ? r.skippedLineBreak : r.skippedNoWord) += count;
    return r;
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

QString quotedField(QString word)
{
    word.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + word + QLatin1Char('"');
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
    return quote ? quotedField(word) : word;
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
        // A first pair of words that pass for column titles is quoted, or
        // it would read back as the header row.
        const bool titles = text.isEmpty() && isColumnTitle(p.known) && isColumnTitle(p.unknown);
        text += titles ? quotedField(p.known) : delimitedField(p.known, true, quoted);
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
