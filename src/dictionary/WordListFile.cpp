#include "dictionary/WordListFile.h"

#include "dictionary/DelimitedText.h"
#include "dictionary/Import.h"
#include "dictionary/ListEncoding.h"
#include "dictionary/TextEncoding.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

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

// --- tab-separated export ---------------------------------------------------

namespace {

QString tsvField(const QString& word, bool first)
{
    // A line starting with "#" is a header, one starting with "<" (after
    // blanks) could make the file pass for XML, a leading byte-order mark
    // would be taken for the file's own, and a first pair such as
    // Word/Translation for column titles, unless quoted.
    const QString lead = word.trimmed();
    const bool quote = word.contains(u'\t') || word.contains(u'"') || word.startsWith(QChar(0xFEFF))
        || (first && (word.startsWith(u'#') || lead.isEmpty() || lead.startsWith(u'<') || isColumnTitle(word)));
    if (!quote)
        return word;
    QString quoted = word;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

WriteResult encodeTabSeparated(const WordPairs& pairs, QByteArray* bytes)
{
    WriteResult result;
    QString text;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const WordPair& p = pairs[i];
        const char* problem = nullptr;
        if (holdsLineBreak(p.known) || holdsLineBreak(p.unknown))
            problem = "holds a line break";
        else if (firstForbiddenUnit(p.known) >= 0 || firstForbiddenUnit(p.unknown) >= 0)
            problem = "holds a NUL character or half of a character";
        else if (p.known.isEmpty() || p.unknown.isEmpty())
            problem = "lacks a word";
        if (problem) {
            result.reason = QStringLiteral("pair %1 (\"%2\", \"%3\") %4, which a tab-separated "
                                           "list cannot give back")
                                .arg(i + 1)
                                .arg(p.known.simplified(), p.unknown.simplified(), QLatin1String(problem));
            return result;
        }
        text += tsvField(p.known, true);
        text += u'\t';
        text += tsvField(p.unknown, false);
        text += QLatin1String("\r\n");
    }
    *bytes = text.toUtf8();
    result.ok = true;
    return result;
}

WriteResult writeTabSeparatedFile(const QString& path, const WordPairs& pairs)
{
    QByteArray bytes;
    WriteResult result = encodeTabSeparated(pairs, &bytes);
    if (result.ok)
        result.ok = writeFileAtomically(path, bytes, &result.reason);
    return result;
}

bool savesAsTabSeparated(const QString& path, bool tabFilterChosen)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("tsv"), Qt::CaseInsensitive) == 0)
        return true;
    return tabFilterChosen && suffix.compare(QLatin1String("dic"), Qt::CaseInsensitive) != 0;
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
