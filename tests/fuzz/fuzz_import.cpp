// Differential libFuzzer target over the import readers: the input becomes
// word pairs, written here, independently of the readers, as the other
// programs write them (CSV, tab-separated, a pipe table, an Anki export with
// and without HTML, KVTML 1 and 2); each file must read back, with the
// guesses the import window starts from, as exactly those pairs.
#include "dictionary/DelimitedText.h"
#include "dictionary/Import.h"

#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace vorbix::dictionary;

namespace {

// Words every one of these formats can carry: no line break, no NUL or
// other control but tab (XML has none), something besides blanks.
QString carriable(QString w)
{
    for (QChar& c : w)
        if ((c.unicode() < 0x20 && c != u'\t') || c == QChar(0x2028) || c == QChar(0x2029) || c.unicode() >= 0xFFFE)
            c = u' ';
    w.replace(QLatin1String("[sound:"), QLatin1String("(sound:"));
    w.truncate(200);
    // Not half a character: no writer can write one.
    if (!w.isEmpty() && w.back().isHighSurrogate())
        w.chop(1);
    return w;
}

bool needsQuotes(const QString& w, QChar sep, bool first)
{
    return w.contains(sep) || w.contains(u'"') || w.contains(u'\t') || isColumnTitle(w)
        || (first && (w.startsWith(u'#') || w.startsWith(QChar(0xFEFF)))) || (sep == u'|' && w != w.trimmed());
}

QString quoted(const QString& w, QChar sep, bool first)
{
    if (!needsQuotes(w, sep, first))
        return w;
    return u'"' + QString(w).replace(QLatin1String("\""), QLatin1String("\"\"")) + u'"';
}

QByteArray delimited(const WordPairs& pairs, QChar sep, const QString& pad, const QString& head = {})
{
    QString s = head;
    for (const WordPair& p : pairs)
        s += quoted(p.known, sep, true) + pad + sep + pad + quoted(p.unknown, sep, false) + QLatin1String("\r\n");
    s.chop(pairs.size() % 2 ? 2 : 0); // half of the files end without a line end
    return s.toUtf8();
}

QString escaped(const QString& w)
{
    return QString(w)
        .replace(u'&', QLatin1String("&amp;"))
        .replace(u'<', QLatin1String("&lt;"))
        .replace(u'>', QLatin1String("&gt;"));
}

// As the import shows HTML: a run of blanks (no-break spaces too, which a
// typed answer cannot hold) is one space, none at the ends.
QString htmlStable(const QString& w)
{
    QString s;
    for (const QChar c : w) {
        const bool blank = c == u' ' || c == u'\t' || c == QChar(0xA0) || c == QChar(0x2002) || c == QChar(0x2003)
            || c == QChar(0x2009);
        if (!blank)
            s += c;
        else if (!s.isEmpty() && !s.endsWith(u' '))
            s += u' ';
    }
    return s.endsWith(u' ') ? s.chopped(1) : s;
}

QByteArray ankiHtml(const WordPairs& pairs)
{
    QString s = QStringLiteral("#separator:tab\n#html:true\n#guid column:1\n#tags column:4\n");
    int n = 0;
    for (const WordPair& p : pairs)
        s +=
            QStringLiteral("g%1\t%2\t%3\ttag\n")
                .arg(n++)
                .arg(quoted("<b>" + escaped(p.known) + "</b>", u'\t', false), quoted(escaped(p.unknown), u'\t', false));
    return s.toUtf8();
}

QByteArray kvtml2(const WordPairs& pairs)
{
    QString s = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" "
                               "\"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml version=\"2.0\">\n<identifiers>"
                               "<identifier id=\"0\"><name>A</name></identifier><identifier id=\"1\"><name>B</name>"
                               "</identifier></identifiers>\n<entries>\n");
    int n = 0;
    for (const WordPair& p : pairs)
        s += QStringLiteral("<entry id=\"%1\"><translation id=\"0\"><text>%2</text></translation>"
                            "<translation id=\"1\"><text>%3</text><grade currentgrade=\"1\"/></translation></entry>\n")
                 .arg(n++)
                 .arg(escaped(p.known), escaped(p.unknown));
    return (s + QStringLiteral("</entries>\n</kvtml>\n")).toUtf8();
}

QByteArray kvtml1(const WordPairs& pairs)
{
    QString s = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml SYSTEM \"kvoctrain.dtd\">\n"
                               "<kvtml encoding=\"UTF-8\" generator=\"kvoctrain\" cols=\"2\">\n");
    for (const WordPair& p : pairs) {
        // Inline forms before the word, as KVocTrain writes them, where the
        // word has no blanks at its ends to lose.
        const QString forms =
            p.known == p.known.trimmed() ? QStringLiteral("<comparison><l1>x</l1></comparison>") : QString();
        s += QStringLiteral(" <e><o l=\"en\">%1%2</o><t l=\"de\">%3</t></e>\n")
                 .arg(forms, escaped(p.known), escaped(p.unknown));
    }
    return (s + QStringLiteral("</kvtml>\n")).toUtf8();
}

void check(bool ok, const char* format, const QByteArray& file)
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz_import: %s read back other pairs:\n%s\n", format, file.left(2000).constData());
    std::abort();
}

// The pairs read with the window's first guesses, nothing skipped.
bool readsBack(const QByteArray& file, const char* name, const WordPairs& pairs)
{
    const ImportPreview p = previewImport(file, QString::fromLatin1(name));
    return p.ok() && p.entries == int(pairs.size()) && p.skippedTotal() == 0 && p.pairs == pairs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Words separated by byte 1, paired in order.
    const QStringList words = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QChar(1));
    WordPairs pairs;
    for (qsizetype i = 0; i + 1 < words.size() && pairs.size() < size_t(MaxPairs); i += 2) {
        const QString k = carriable(words[i]), u = carriable(words[i + 1]);
        if (!k.trimmed().isEmpty() && !u.trimmed().isEmpty())
            pairs.push_back({k, u});
    }
    if (pairs.empty())
        return 0;
    QByteArray file;
    check(readsBack(file = delimited(pairs, u',', {}), "list.csv", pairs), "CSV", file);
    check(readsBack(file = delimited(pairs, u'\t', {}), "list.tsv", pairs), "TSV", file);
    check(readsBack(file = delimited(pairs, u'|', QStringLiteral(" ")), "list.txt", pairs), "pipe", file);
    check(readsBack(file = delimited(pairs, u'\t', {}, QStringLiteral("#separator:tab\n#html:false\n")), "list.txt",
                    pairs),
          "Anki export", file);
    check(readsBack(file = kvtml2(pairs), "list.kvtml", pairs), "KVTML 2", file);
    check(readsBack(file = kvtml1(pairs), "list.kvtml", pairs), "KVTML 1", file);
    WordPairs stable;
    for (const WordPair& p : pairs)
        if (!htmlStable(p.known).isEmpty() && !htmlStable(p.unknown).isEmpty())
            stable.push_back({htmlStable(p.known), htmlStable(p.unknown)});
    if (!stable.empty())
        check(readsBack(file = ankiHtml(stable), "list.txt", stable), "Anki export with HTML", file);
    return 0;
}
