#include "dictionary/Import.h"

#include "dictionary/DelimitedText.h"
#include "dictionary/ImportSink.h"
#include "dictionary/Kvtml.h"
#include "dictionary/ListEncoding.h"
#include "dictionary/PairRule.h"

namespace vorbix::dictionary {

namespace {

// The .dic form under another name (Save As with the .dic filter writes it
// under any name): a line per word, two per pair, the stored "}" a hyphen.
void readDicLines(const QString& text, const ImportChoices& choices, ImportPreview* p, ReadProgress* progress)
{
    ProgressSpan span(progress, 200, 1000, text.size());
    p->format = ImportFormat::DicLines;
    p->formatReason = choices.format
        ? QStringLiteral("Chosen: a word per line, as in a .dic file.")
        : QStringLiteral("No separator splits most lines: a word per line, as in a .dic file.");
    p->columns = {QStringLiteral("First line of a pair"), QStringLiteral("Second line of a pair")};
    p->knownColumn = choices.knownColumn == 1 ? 1 : 0;
    p->unknownColumn = choices.unknownColumn == 0 || (choices.unknownColumn < 0 && p->knownColumn == 1) ? 0 : 1;
    EntrySink sink(*p, p->firstEntry);
    const QStringView t(text);
    QString first;
    bool haveFirst = false;
    int line = 1;
    for (qsizetype i = 0; i < t.size(); ++line) {
        if (!span.at(i)) {
            span.cancel(*p);
            return;
        }
        qsizetype end = i;
        while (end < t.size() && t[end] != u'\n' && t[end] != u'\r')
            ++end;
        if (end < t.size() && t[end] == u'\r' && end + 1 < t.size() && t[end + 1] != u'\n') {
            p->error = ImportError::LoneCarriageReturn;
            p->errorText = QStringLiteral("Line %1 holds a carriage return (CR) that ends no line.").arg(line);
            return;
        }
        QString word;
        appendCapped(word, t.mid(i, end - i));
        i = end + (end < t.size() && t[end] == u'\r' ? 1 : 0);
        i += i < t.size() && t[i] == u'\n' ? 1 : 0;
        if (!haveFirst) {
            first = std::move(word);
            haveFirst = true;
            continue;
        }
        haveFirst = false;
        QString second = std::move(word);
        applyPairRule(first, second, StoredHyphen, Hyphen);
        const bool swap = p->knownColumn == 1;
        sink.offer(swap ? second : first, swap ? first : second);
    }
    if (haveFirst) {
        p->error = ImportError::OddLineCount;
        p->errorText =
            QStringLiteral("The file ends after a known word on line %1: an odd number of lines.").arg(line - 1);
        return;
    }
    // Vorbix's own form in an encoding a .dic save writes back.
    const bool own = p->skippedTotal() == 0 && p->entries <= MaxPairs && p->knownColumn == 0
        && (p->encoding == QLatin1String("UTF-8") || p->encoding == QLatin1String("windows-1257")
            || p->encoding.startsWith(QLatin1String("UTF-16")));
    p->kind = own ? FileKind::Dictionary : FileKind::Imported;
}

void read(const QByteArray& bytes, const QString& fileName, const ImportChoices& choices, ImportPreview* p,
          ReadProgress* progress)
{
    const bool kvtml = looksLikeKvtml(bytes);
    // Either reader would make something of the other's files: markup for
    // words, or an XML error for a list. Neither is what the user meant.
    if (choices.format && isKvtmlFormat(*choices.format) != kvtml) {
        p->format = *choices.format;
        p->formatReason = QStringLiteral("Chosen.");
        p->error = kvtml ? ImportError::KvtmlAsText : ImportError::NotKvtml;
        p->errorText = importErrorText(p->error);
        return;
    }
    if (kvtml) {
        readKvtmlList(bytes, choices, p, progress);
        return;
    }
    DecodedList d = decodeList(bytes, choices.encoding);
    p->encoding = d.encoding;
    p->encodingReason = d.reason;
    p->fileFormat = d.format;
    if (!d.ok()) {
        p->error = d.error;
        p->errorText = d.errorText;
        return;
    }
    const bool lines =
        choices.format ? *choices.format == ImportFormat::DicLines : !choices.separator && !looksDelimited(d.text);
    if (lines)
        readDicLines(d.text, choices, p, progress);
    else
        readDelimitedList(d.text, fileName, choices, p, progress);
}

} // namespace

bool isKvtmlFormat(ImportFormat format) { return format == ImportFormat::Kvtml1 || format == ImportFormat::Kvtml2; }

int ImportPreview::skippedTotal() const
{
    int n = 0;
    for (const auto& [reason, count] : skipped)
        n += count;
    return n;
}

ImportPreview previewImport(const QByteArray& bytes, const QString& fileName, const ImportChoices& choices,
                            ReadProgress* progress)
{
    ImportPreview p;
    if (bytes.size() > MaxListFileBytes) {
        p.error = ImportError::TooLarge;
        p.errorText = QStringLiteral("The file has %1 MB; a list from another program may have at most %2 MB.")
                          .arg(bytes.size() / (1024 * 1024))
                          .arg(MaxListFileBytes / (1024 * 1024));
        return p;
    }
    p.firstEntry = std::max(0, choices.firstEntry);
    read(bytes, fileName, choices, &p, progress);
    // All or nothing: the pairs before the fault are no list either.
    if (!p.ok())
        p.pairs.clear();
    if (p.ok() && p.entries > 0 && p.firstEntry >= p.entries) {
        // Past the end: the last thousand there are.
        ImportChoices again = choices;
        again.firstEntry = (p.entries - 1) / MaxPairs * MaxPairs;
        return previewImport(bytes, fileName, again, progress);
    }
    // An empty file is an empty list, as Vorbix writes one.
    const bool empty = p.format == ImportFormat::DicLines && p.skippedTotal() == 0;
    if (p.ok() && p.entries == 0 && !empty) {
        const bool xml = isKvtmlFormat(p.format);
        p.error = ImportError::NoUsablePair;
        p.errorText = p.skipped.count(SkipReason::OtherLesson)
            ? QStringLiteral("No entry of the chosen lessons holds both words.")
            : xml ? QStringLiteral("No entry holds both words.")
                  : QStringLiteral("No line holds both words.");
    }
    return p;
}

QString importErrorText(ImportError error)
{
    switch (error) {
    case ImportError::None:
        return {};
    case ImportError::NotText:
        return QStringLiteral("The bytes are not text in the encoding chosen or detected.");
    case ImportError::BrokenXml:
        return QStringLiteral("The KVTML file is not well-formed XML, or declares entities of its own.");
    case ImportError::TooDeep:
        return QStringLiteral("Elements are nested deeper than any KVTML file nests them.");
    case ImportError::OneLanguage:
        return QStringLiteral("The file holds words in one language only.");
    case ImportError::NoUsablePair:
        return QStringLiteral("No entry or line holds both words.");
    case ImportError::UnclosedQuote:
        return QStringLiteral("A quote is never closed.");
    case ImportError::NulCharacter:
        return QStringLiteral("The text holds a NUL character, which no word can hold.");
    case ImportError::BrokenText:
        return QStringLiteral("The text holds half of a character (a lone surrogate).");
    case ImportError::TooLarge:
        return QStringLiteral("The file is larger than %1 MB.").arg(MaxListFileBytes / (1024 * 1024));
    case ImportError::UnknownEncoding:
        return QStringLiteral("Vorbix cannot convert text from this encoding.");
    case ImportError::OddLineCount:
        return QStringLiteral("The file ends after a known word: an odd number of lines.");
    case ImportError::LoneCarriageReturn:
        return QStringLiteral("A carriage return (CR) inside a line.");
    case ImportError::NotKvtml:
        return QStringLiteral("The file is not KVTML: its first element is not <kvtml>.");
    case ImportError::KvtmlAsText:
        return QStringLiteral("The file is KVTML (its first element is <kvtml>), not text.");
    case ImportError::Cancelled:
        return QStringLiteral("Reading the file was cancelled.");
    }
    return {};
}

QString skipReasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::MissingWord:
        return QStringLiteral("without both words (a picture or a sound alone is no word)");
    case SkipReason::LineBreak:
        return QStringLiteral("with a line break in a word");
    case SkipReason::WordTooLong:
        return QStringLiteral("with a word over %1 characters").arg(MaxWordLength);
    case SkipReason::OtherLesson:
        return QStringLiteral("in a lesson not chosen");
    case SkipReason::Comment:
        return QStringLiteral("comment lines starting with \"#\"");
    }
    return {};
}

QString importFormatName(ImportFormat format)
{
    switch (format) {
    case ImportFormat::Kvtml1:
        return QStringLiteral("KVTML 1 (KVocTrain, older KWordQuiz)");
    case ImportFormat::Kvtml2:
        return QStringLiteral("KVTML 2 (KWordQuiz, Parley)");
    case ImportFormat::Delimited:
        return QStringLiteral("Delimited text (CSV, tab-separated)");
    case ImportFormat::AnkiExport:
        return QStringLiteral("Anki export (Notes in Plain Text)");
    case ImportFormat::DicLines:
        return QStringLiteral("A word per line (.dic form)");
    }
    return {};
}

QStringList importEncodings()
{
    return {QStringLiteral("UTF-8"),        QStringLiteral("UTF-16LE"),     QStringLiteral("UTF-16BE"),
            QStringLiteral("windows-1252"), QStringLiteral("windows-1257"), QStringLiteral("windows-1250"),
            QStringLiteral("windows-1251"), QStringLiteral("ISO-8859-15"),  QStringLiteral("ISO-8859-2"),
            QStringLiteral("KOI8-R")};
}

} // namespace vorbix::dictionary
