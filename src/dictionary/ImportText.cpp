#include "dictionary/ImportText.h"

#include <QDir>
#include <QFileInfo>

namespace vorbix::dictionary {

namespace {

QString counted(int n, const char* one, const char* many)
{
    return n == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(n);
}

// "3 without both words, 1 with a line break in a word", and their sum.
QString skipReasons(const ImportPreview& preview, bool lessons, int* total)
{
    QStringList why;
    *total = 0;
    for (const auto& [reason, count] : preview.skipped) {
        if (count <= 0 || (!lessons && reason == SkipReason::OtherLesson))
            continue;
        *total += count;
        why << QString::number(count) + QLatin1Char(' ') + skipReasonText(reason);
    }
    return why.join(QLatin1String(", "));
}

} // namespace

QStringList importMessages(const QString& path, const ImportPreview& preview)
{
    QStringList messages;
    const int n = int(preview.pairs.size());
    int skipped = 0;
    const QString why = skipReasons(preview, false, &skipped);
    if (skipped > 0)
        messages << QStringLiteral("%1 read from %2; %3 skipped: %4.")
                        .arg(counted(n, "1 word pair was", "%1 word pairs were"), QFileInfo(path).fileName(),
                             counted(skipped, "1 entry was", "%1 entries were"), why);
    if (preview.entries > preview.firstEntry + n)
        messages << QStringLiteral("Entries %1 to %2 of the %3 in %4 were read; the rest of the file was not "
                                   "read. Saving this list will leave the rest out.")
                        .arg(preview.firstEntry + 1)
                        .arg(preview.firstEntry + n)
                        .arg(preview.entries)
                        .arg(QDir::toNativeSeparators(path));
    return messages;
}

QString importSummary(const ImportPreview& preview)
{
    if (!preview.ok())
        return QStringLiteral("Nothing can be read with these choices: %1")
            .arg(preview.errorText.isEmpty() ? importErrorText(preview.error) : preview.errorText);
    const int n = int(preview.pairs.size());
    QString text = counted(n, "1 word pair will be read", "%1 word pairs will be read");
    if (preview.entries > n)
        text += QStringLiteral(" (entries %1 to %2 of %3)")
                    .arg(preview.firstEntry + 1)
                    .arg(preview.firstEntry + n)
                    .arg(preview.entries);
    int skipped = 0;
    const QString why = skipReasons(preview, true, &skipped);
    if (skipped > 0)
        text += QStringLiteral("; %1 skipped: %2").arg(counted(skipped, "1 entry will be", "%1 entries will be"), why);
    return text + QLatin1Char('.');
}

} // namespace vorbix::dictionary
