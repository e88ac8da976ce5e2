#include "dictionary/DictionaryFile.h"

#include "dictionary/PairRule.h"
#include "state/Moodul1.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vorbix::dictionary {

namespace {

ReadResult failure(int error, QString detail)
{
    ReadResult r;
    r.error = error;
    r.detail = std::move(detail);
    return r;
}

bool holdsLineBreak(const QString& word)
{
    return word.contains(QLatin1Char('\n')) || word.contains(QLatin1Char('\r'));
}

// "X:" followed by a separator, or nothing.
bool hasDriveLetter(const QString& path)
{
    return path.size() >= 2 && path[0].isLetter() && path[0].unicode() < 128 && path[1] == u':'
        && (path.size() == 2 || path[2] == u'\\' || path[2] == u'/');
}

} // namespace

ReadResult readDictionary(QIODevice& device)
{
    QList<QByteArray> lines;
    const qsizetype wanted = 2 * qsizetype(MaxPairs);
    while (lines.size() < wanted && !device.atEnd()) {
        // Room for the longest allowed line, its CR LF and a byte to tell
        // that it went on.
        QByteArray line = device.readLine(MaxLineBytes + 4);
        const bool ended = line.endsWith('\n');
        if (ended)
            line.chop(1);
        if (!ended && !device.atEnd()) {
            if (line.size() > MaxLineBytes)
                return failure(LineTooLong, QStringLiteral("line %1 is longer than %2 bytes")
                                                .arg(lines.size() + 1)
                                                .arg(MaxLineBytes));
            return failure(DeviceIoError, device.errorString());
        }
        // A CR LF cut short at the very end counts as a line end too.
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > MaxLineBytes)
            return failure(LineTooLong, QStringLiteral("line %1 is longer than %2 bytes")
                                            .arg(lines.size() + 1)
                                            .arg(MaxLineBytes));
        lines << line;
    }
    if (lines.size() % 2 != 0)
        return failure(InputPastEndOfFile,
                       QStringLiteral("the file ends after the known word of pair %1")
                           .arg(lines.size() / 2 + 1));

    ReadResult result;
    result.truncated = lines.size() == wanted && !device.atEnd();
    result.encoding = detectEncoding(lines);
    const QStringList words = decodeLines(lines, result.encoding);
    result.pairs.reserve(words.size() / 2);
    for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
        WordPair pair{words[i], words[i + 1]};
        applyPairRule(pair.known, pair.unknown, StoredHyphen, Hyphen);
        result.pairs.push_back(std::move(pair));
    }
    return result;
}

ReadResult readDictionary(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return readDictionary(buffer);
}

ReadResult readDictionaryFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        if (hasDriveLetter(path) && !QFileInfo(path.left(2) + QLatin1Char('/')).exists())
            return failure(DriveUnavailable, QStringLiteral("no drive %1").arg(path.left(2)));
        if (!QFileInfo(info.absolutePath()).isDir())
            return failure(PathNotFound, QStringLiteral("no folder %1").arg(info.absolutePath()));
        return failure(FileNotFound, QStringLiteral("no file %1").arg(path));
    }
    // A folder, a device or a pipe is no word list (and a pipe might never
    // end or even open).
    if (!info.isFile())
        return failure(PathFileAccessError, QStringLiteral("%1 is not a plain file").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(info.isReadable() ? PathFileAccessError : PermissionDenied, file.errorString());
    return readDictionary(file);
}

WriteResult encodeDictionary(const WordPairs& pairs, QByteArray* bytes)
{
    WriteResult result;
    QString text;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const WordPair& p = pairs[i];
        if (holdsLineBreak(p.known) || holdsLineBreak(p.unknown)) {
            result.reason = QStringLiteral("pair %1 (\"%2\", \"%3\") holds a line break, which would "
                                           "break the pairs of the file apart")
                                .arg(i + 1)
                                .arg(p.known.simplified(), p.unknown.simplified());
            return result;
        }
        text += p.known;
        text += QLatin1String("\r\n");
        text += p.unknown;
        text += QLatin1String("\r\n");
    }
    EncodedText encoded = encodeText(text);
    *bytes = std::move(encoded.bytes);
    result.encoding = encoded.encoding;
    result.ok = true;
    return result;
}

WriteResult writeDictionaryFile(const QString& path, const WordPairs& pairs)
{
    QByteArray bytes;
    WriteResult result = encodeDictionary(pairs, &bytes);
    if (!result.ok)
        return result;
    result.ok = false;
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile loses the rest of a short write (disk
    // full) and still commits the cut file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.reason = file.errorString();
        return result;
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            result.reason = file.errorString();
            file.cancelWriting();
            return result;
        }
        done += n;
    }
    if (!file.commit()) {
        result.reason = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

WordPairs savedPairs(const MOODUL1& state)
{
    WordPairs pairs;
    for (int i = 0; i < MaxPairs && !state.KnownWords[i].isEmpty(); ++i)
        pairs.push_back({state.KnownWords[i], state.UnknownWords[i]});
    return pairs;
}

void storePairs(MOODUL1& state, const WordPairs& pairs)
{
    for (int i = 0; i < MaxPairs; ++i) {
        state.KnownWords[i].clear();
        state.UnknownWords[i].clear();
    }
    const int n = static_cast<int>(std::min<size_t>(pairs.size(), MaxPairs));
    for (int i = 0; i < n; ++i) {
        state.KnownWords[i] = pairs[i].known;
        state.UnknownWords[i] = pairs[i].unknown;
    }
    state.LastWordIndex = static_cast<std::int16_t>(n - 1);
}

WriteResult saveWithHyphenRule(MOODUL1& state, const QString& path)
{
    WordPairs stored = savedPairs(state);
    for (WordPair& p : stored)
        applyPairRule(p.known, p.unknown, Hyphen, StoredHyphen);
    const WriteResult result = writeDictionaryFile(path, stored);
    if (!result.ok)
        return result;
    for (size_t i = 0; i < stored.size(); ++i) {
        applyPairRule(stored[i].known, stored[i].unknown, StoredHyphen, Hyphen);
        state.KnownWords[i] = stored[i].known;
        state.UnknownWords[i] = stored[i].unknown;
    }
    return result;
}

WriteResult savePlain(const MOODUL1& state, const QString& path)
{
    return writeDictionaryFile(path, savedPairs(state));
}

QString openFailureText(int error, const QString& path)
{
    switch (error) {
    case FileNotFound:
        return QStringLiteral("ERROR 53: There is no such a file!") + path;
    case PathNotFound:
        return QStringLiteral("ERROR 76: That path doesn't exist.") + path;
    case DriveUnavailable:
        return QStringLiteral("ERROR 68: Drive ") + path.left(1) + QStringLiteral(": no available.");
    default:
        return QStringLiteral("ERROR ") + QString::number(error) + QStringLiteral(" occurred.");
    }
}

QString truncatedText(const QString& path)
{
    return QStringLiteral("Only the first %1 word pairs of %2 were read; the rest of the file was "
                          "not read. Saving this list will leave the rest out.")
        .arg(MaxPairs)
        .arg(QDir::toNativeSeparators(path));
}

QString saveFailureText(const QString& path, const QString& reason)
{
    return QStringLiteral("The list could not be saved to %1:\n%2\nThe file on disk has not been "
                          "changed.")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace vorbix::dictionary
