#include "dictionary/DictionaryFile.h"

#include "dictionary/PairRule.h"
#include "dictionary/TextEncoding.h"
#include "state/Moodul1.h"
#include "state/TestRound.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vorbix::dictionary {

namespace {

constexpr int MaxLines = 2 * MaxPairs;

// "X:" followed by a separator, or nothing.
bool hasDriveLetter(const QString& path)
{
    return path.size() >= 2 && path[0].isLetter() && path[0].unicode() < 128 && path[1] == u':'
        && (path.size() == 2 || path[2] == u'\\' || path[2] == u'/');
}

// The bytes of a file as far as the reader asks for them: a list of 1000
// short pairs costs its own size, whatever the line limit.
class Input {
public:
    explicit Input(const QByteArray& bytes) : data_(bytes) {}
    explicit Input(QIODevice& device) : device_(&device) {}

    const QByteArray& data() const { return data_; }
    qsizetype size() const { return data_.size(); }
    bool failed() const { return failed_; }
    const QString& error() const { return error_; }

    // Appends the next piece of the device; false at its end or on an error.
    bool more()
    {
        if (!device_ || failed())
            return false;
        qint64 want = 16 * 1024;
        // A file of known size is read in one piece up to 4 MiB, and no
        // further than its end.
        if (!device_->isSequential() && device_->size() > 0) {
            const qint64 left = device_->size() - device_->pos();
            if (left <= 0)
                return false;
            want = std::min<qint64>(left, 4 * 1024 * 1024);
        }
        const qsizetype old = data_.size();
        if (data_.capacity() < old + want) // short reads must not copy it all each time
            data_.reserve(std::max<qsizetype>(old + want, 2 * data_.capacity()));
        data_.resize(old + want);
        const qint64 got = device_->read(data_.data() + old, want);
        data_.resize(old + std::max<qint64>(got, 0));
        if (got < 0) {
            failed_ = true;
            error_ = device_->errorString();
        }
        return got > 0;
    }

private:
    QIODevice* device_ = nullptr;
    QByteArray data_;
    QString error_;
    bool failed_ = false;
};

struct Line {
    qsizetype begin = 0;
    qsizetype end = 0; // the line end not included
};

// Where the unit LF is at or after `from` (a unit boundary), or -1.
qsizetype findLineFeed(const QByteArray& data, qsizetype from, int unit, bool bigEndian)
{
    const char* d = data.constData();
    if (unit == 1) {
        const void* hit = std::memchr(d + from, '\n', size_t(data.size() - from));
        return hit ? static_cast<const char*>(hit) - d : -1;
    }
    // Each 0x0A byte, until one is the low byte of a unit whose high byte is 0.
    const qsizetype low = bigEndian ? 1 : 0;
    for (qsizetype at = from + low; at < data.size();) {
        const void* hit = std::memchr(d + at, '\n', size_t(data.size() - at));
        if (!hit)
            return -1;
        const qsizetype i = static_cast<const char*>(hit) - d - low;
        if ((i - from) % 2 == 0) {
            if (i + 1 >= data.size())
                return -1;
            if (d[i + 1 - low] == 0)
                return i;
        }
        at = i + low + 1;
    }
    return -1;
}

bool isUnit(const QByteArray& data, qsizetype at, int unit, bool bigEndian, char ascii)
{
    if (unit == 1)
        return data[at] == ascii;
    return data[at + (bigEndian ? 1 : 0)] == ascii && data[at + (bigEndian ? 0 : 1)] == 0;
}

// Reads the words of a file as they stand: no pair rule.
ReadResult readWords(Input& in)
{
    while (in.size() < 3 && in.more()) {
    }
    if (in.failed())
        return readFailure(DeviceIoError);
    const QByteArray& d = in.data();
    FileFormat format;
    int unit = 1;
    qsizetype start = 0;
    if (d.startsWith("\xFF\xFE") || d.startsWith("\xFE\xFF")) {
        format = {d.startsWith("\xFF") ? TextEncoding::Utf16LE : TextEncoding::Utf16BE, true};
        unit = 2;
        start = 2;
    } else if (d.startsWith("\xEF\xBB\xBF")) {
        format = {TextEncoding::Utf8, true}; // if the rest is UTF-8
        start = 3;
    }
    const bool bigEndian = format.encoding == TextEncoding::Utf16BE;
    // A line longer than this cannot hold a word of MaxWordLength in any
    // encoding (3 bytes a unit in UTF-8 at most); it is refused before its
    // bytes are even looked at.
    const qsizetype longest = unit == 2 ? 2 * (qsizetype(MaxWordLength) + 1) : 3 * qsizetype(MaxWordLength) + 1;

    std::vector<Line> lines;
    lines.reserve(size_t(std::min<qsizetype>(MaxLines, in.size() / unit + 1)));
    qsizetype lineStart = start, scan = start;
    while (lines.size() < size_t(MaxLines)) {
        const qsizetype lf = findLineFeed(in.data(), scan, unit, bigEndian);
        if (lf < 0) {
            // Half a UTF-16 line end may be in; the next piece has the rest.
            scan = lineStart + (in.size() - lineStart) / unit * unit;
            if (scan - lineStart > longest)
                return readFailure(LineTooLong);
            if (in.more())
                continue;
            if (in.failed())
                return readFailure(DeviceIoError);
            if (lineStart < in.size()) // the last line has no line end
                lines.push_back({lineStart, in.size()});
            lineStart = in.size();
            break;
        }
        if (lf - lineStart > longest)
            return readFailure(LineTooLong);
        lines.push_back({lineStart, lf});
        lineStart = scan = lf + unit;
    }
    ReadResult result;
    // Past 2000 lines, anything but line ends is pairs that were left out.
    if (lines.size() == size_t(MaxLines)) {
        qsizetype at = lineStart;
        for (;;) {
            if (at + unit > in.size()) {
                if (in.more())
                    continue;
                if (in.failed())
                    return readFailure(DeviceIoError);
                result.truncated = at < in.size(); // half a UTF-16 unit
                break;
            }
            if (!isUnit(in.data(), at, unit, bigEndian, '\n') && !isUnit(in.data(), at, unit, bigEndian, '\r')) {
                result.truncated = true;
                break;
            }
            at += unit;
        }
    }
    // A CR before a line end belongs to it, also at the very end of the file.
    for (Line& line : lines)
        if (line.end - line.begin >= unit && isUnit(in.data(), line.end - unit, unit, bigEndian, '\r'))
            line.end -= unit;

    const char* data = in.data().constData();
    if (unit == 1) {
        // The encoding is decided by what is read, mark and line ends included.
        const qsizetype readEnd = lineStart;
        if (std::memchr(data, 0, size_t(readEnd)))
            return readFailure(NotText);
        if (!isValidUtf8(data, readEnd)) {
            format = {TextEncoding::Windows1257, false};
            if (!lines.empty())
                lines.front().begin = 0; // "ļ»æ", not a mark
        } else if (!format.byteOrderMark) {
            format = {TextEncoding::Utf8, false};
        }
    }
    result.format = format;

    std::vector<QString> words;
    words.reserve(lines.size());
    bool carriageReturn = false, tooLong = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const char* bytes = data + lines[i].begin;
        const qsizetype size = lines[i].end - lines[i].begin;
        QString word;
        bool decoded = true;
        switch (format.encoding) {
        case TextEncoding::Windows1257:
            decoded = decodeBaltic(bytes, size, &word);
            break;
        case TextEncoding::Utf8:
            word = decodeValidUtf8(bytes, size);
            break;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            decoded = decodeUtf16(bytes, size, bigEndian, &word) && !word.contains(QChar(0));
            break;
        }
        if (!decoded)
            return readFailure(NotText);
        carriageReturn = carriageReturn || word.contains(u'\r');
        tooLong = tooLong || word.size() > MaxWordLength;
        words.push_back(std::move(word));
    }
    if (carriageReturn)
        return readFailure(CarriageReturnInLine);
    if (tooLong)
        return readFailure(LineTooLong);
    if (words.size() % 2 != 0)
        return readFailure(InputPastEndOfFile);
    result.pairs.reserve(words.size() / 2);
    for (size_t i = 0; i + 1 < words.size(); i += 2)
        result.pairs.push_back({std::move(words[i]), std::move(words[i + 1])});
    return result;
}

ReadResult withPairRule(ReadResult read)
{
    read.pairs = withHyphens(std::move(read.pairs));
    return read;
}

// A word as a message can show it.
QString shown(const QString& word)
{
    const qsizetype most = 40;
    QString s = word.left(most);
    for (QChar& c : s)
        if (!c.isPrint())
            c = QChar::ReplacementCharacter; // a NUL or half a character
    return word.size() > most ? s + QStringLiteral("...") : s;
}

// Why this list can be in no file, or an empty text.
QString unwritable(const WordPairs& pairs)
{
    if (pairs.size() > size_t(MaxPairs))
        return QStringLiteral("the list has %1 pairs; a file holds at most %2").arg(pairs.size()).arg(MaxPairs);
    for (size_t i = 0; i < pairs.size(); ++i) {
        const WordPair& p = pairs[i];
        QString why;
        for (const QString* w : {&p.known, &p.unknown}) {
            if (w->contains(u'\n') || w->contains(u'\r'))
                why = QStringLiteral("holds a line break, which would break the pairs of the file apart");
            else if (w->contains(QChar(0)))
                why = QStringLiteral("holds a NUL character, which no text file can hold");
            else if (hasUnpairedSurrogate(*w))
                why = QStringLiteral("holds half of a character (a lone surrogate)");
            else if (w->size() > MaxWordLength)
                why = QStringLiteral("has a word of %1 characters; a word can have at most %2")
                          .arg(w->size())
                          .arg(MaxWordLength);
            if (!why.isEmpty())
                return QStringLiteral("pair %1 (\"%2\", \"%3\") %4")
                    .arg(i + 1)
                    .arg(shown(p.known), shown(p.unknown), why);
        }
    }
    return {};
}

bool encodeAs(const WordPairs& pairs, FileFormat format, QByteArray* bytes)
{
    bytes->clear();
    if (format.byteOrderMark)
        bytes->append(byteOrderMark(format.encoding));
    QByteArray lineEnd;
    appendEncoded(u"\r\n", format.encoding, &lineEnd);
    for (const WordPair& p : pairs) {
        if (!appendEncoded(p.known, format.encoding, bytes))
            return false;
        bytes->append(lineEnd);
        if (!appendEncoded(p.unknown, format.encoding, bytes))
            return false;
        bytes->append(lineEnd);
    }
    return true;
}

} // namespace

ReadResult readFailure(int error)
{
    ReadResult r;
    r.error = error;
    return r;
}

ReadResult readDictionary(QIODevice& device)
{
    Input in(device);
    return withPairRule(readWords(in));
}

ReadResult readDictionary(const QByteArray& bytes)
{
    Input in(bytes);
    return withPairRule(readWords(in));
}

ReadResult readDictionaryFile(const QString& path)
{
#ifdef Q_OS_UNIX
    // A folder on the path that may not be searched hides whether the file
    // is there at all: that is a permission failure, not a missing file.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 && errno == EACCES)
        return readFailure(PermissionDenied);
#endif
    const QFileInfo info(path);
    if (!info.exists()) {
        if (hasDriveLetter(path) && !QFileInfo(path.left(2) + QLatin1Char('/')).exists())
            return readFailure(DriveUnavailable);
        if (!QFileInfo(info.absolutePath()).isDir())
            return readFailure(PathNotFound);
        return readFailure(FileNotFound);
    }
    // A folder, a device or a pipe is no word list (and a pipe might never
    // end or even open).
    if (!info.isFile())
        return readFailure(PathFileAccessError);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return readFailure(info.isReadable() ? PathFileAccessError : PermissionDenied);
    return readDictionary(file);
}

WriteResult encodeDictionary(const WordPairs& pairs, QByteArray* bytes, std::optional<FileFormat> format)
{
    WriteResult result;
    result.reason = unwritable(pairs);
    if (!result.reason.isEmpty())
        return result;
    // The file's own format first. A word it cannot hold, or bytes that
    // would read back as something else (Baltic bytes that are also UTF-8,
    // or start like a UTF-16 mark; a word that starts with U+FEFF), send the
    // list to UTF-8.
    FileFormat wanted = format.value_or(FileFormat{TextEncoding::Windows1257, false});
    if (wanted.encoding == TextEncoding::Utf16LE || wanted.encoding == TextEncoding::Utf16BE)
        wanted.byteOrderMark = true;
    else if (wanted.encoding == TextEncoding::Windows1257)
        wanted.byteOrderMark = false;
    const FileFormat candidates[] = {wanted, {TextEncoding::Utf8, false}, {TextEncoding::Utf8, true}};
    QByteArray encoded;
    for (const FileFormat& candidate : candidates) {
        if (&candidate != candidates && candidate == wanted)
            continue;
        if (!encodeAs(pairs, candidate, &encoded))
            continue;
        Input in(encoded);
        const ReadResult back = readWords(in);
        if (back.ok() && !back.truncated && back.pairs == pairs) {
            *bytes = std::move(encoded);
            result.format = candidate;
            result.ok = true;
            return result;
        }
    }
    result.reason = QStringLiteral("the list would not read back as it is");
    return result;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile loses the rest of a short write (disk
    // full) and still commits the cut file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            *reason = file.errorString();
            file.cancelWriting();
            return false;
        }
        done += n;
    }
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

WriteResult writeDictionaryFile(const QString& path, const WordPairs& pairs, std::optional<FileFormat> format)
{
    QByteArray bytes;
    WriteResult result = encodeDictionary(pairs, &bytes, format);
    if (result.ok)
        result.ok = writeFileAtomically(path, bytes, &result.reason);
    return result;
}

WordPairs savedPairs(const MOODUL1& state)
{
    WordPairs pairs;
    const int n = pairCount(state, MaxPairs);
    for (int i = 0; i < n; ++i)
        pairs.push_back({state.KnownWords[i], state.UnknownWords[i]});
    return pairs;
}

bool storePairs(MOODUL1& state, const WordPairs& pairs)
{
    const int n = static_cast<int>(std::min<size_t>(pairs.size(), MOODUL1::WordSlots));
    bool changed = state.LastWordIndex != n - 1;
    for (int i = 0; i < n; ++i) {
        changed = changed || state.KnownWords[i] != pairs[i].known || state.UnknownWords[i] != pairs[i].unknown;
        state.KnownWords[i] = pairs[i].known;
        state.UnknownWords[i] = pairs[i].unknown;
        state.PairIds[i] = newPairId(state);
    }
    for (int i = n; i < MOODUL1::WordSlots; ++i) {
        state.KnownWords[i].clear();
        state.UnknownWords[i].clear();
        state.PairIds[i] = 0;
    }
    state.LastWordIndex = static_cast<std::int16_t>(n - 1);
    return changed;
}

bool storeListedPairs(MOODUL1& state, const WordPairs& pairs, const std::vector<std::uint32_t>& ids)
{
    const std::vector<std::uint32_t> asked = askedPairs(state);
    const bool changed = storePairs(state, pairs);
    for (size_t i = 0; i < pairs.size() && i < ids.size() && i < MOODUL1::WordSlots; ++i)
        if (ids[i] != 0)
            state.PairIds[i] = ids[i];
    markAskedPairs(state, asked);
    return changed;
}

WordPairs withStoredHyphens(WordPairs pairs)
{
    for (WordPair& p : pairs)
        applyPairRule(p.known, p.unknown, Hyphen, StoredHyphen);
    return pairs;
}

WordPairs withHyphens(WordPairs pairs)
{
    for (WordPair& p : pairs)
        applyPairRule(p.known, p.unknown, StoredHyphen, Hyphen);
    return pairs;
}

WriteResult saveWithHyphenRule(MOODUL1& state, const QString& path)
{
    const WordPairs stored = withStoredHyphens(savedPairs(state));
    const WriteResult result = writeDictionaryFile(path, stored, state.CurrentFileFormat);
    if (!result.ok)
        return result;
    state.CurrentFileFormat = result.format;
    const WordPairs read = withHyphens(stored);
    for (size_t i = 0; i < read.size(); ++i) {
        state.KnownWords[i] = read[i].known;
        state.UnknownWords[i] = read[i].unknown;
    }
    return result;
}

WriteResult savePlain(MOODUL1& state, const QString& path)
{
    const WriteResult result = writeDictionaryFile(path, savedPairs(state), state.CurrentFileFormat);
    if (result.ok)
        state.CurrentFileFormat = result.format;
    return result;
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
