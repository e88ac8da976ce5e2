#include "dictionary/ListEncoding.h"

#include "dictionary/TextEncoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <cstring>
#include <memory>

namespace vorbix::dictionary {

namespace {

bool isUtf16Name(const QString& name, bool* bigEndian)
{
    *bigEndian = name.compare(QLatin1String("UTF-16BE"), Qt::CaseInsensitive) == 0;
    return *bigEndian || name.compare(QLatin1String("UTF-16LE"), Qt::CaseInsensitive) == 0;
}

bool isUtf8Name(const QString& name)
{
    return name.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0;
}

bool isBalticName(const QString& name)
{
    return name.compare(QLatin1String("windows-1257"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String("cp1257"), Qt::CaseInsensitive) == 0;
}

struct ConverterClose {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

bool decodeWithIcu(const char* data, qsizetype size, const QString& name, QString* out, qsizetype* badByte)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterClose> c(ucnv_open(name.toLatin1().constData(), &status));
    if (U_FAILURE(status) || !c) {
        *badByte = -1;
        return false;
    }
    ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFallback(c.get(), false);
    // One unit per byte is enough for every charset ICU names here; the
    // loop grows the text for any that needs more.
    out->resize(size + 16);
    const char* source = data;
    const char* const sourceEnd = data + size;
    qsizetype written = 0;
    for (;;) {
        UChar* target = reinterpret_cast<UChar*>(out->data()) + written;
        UChar* const targetEnd = reinterpret_cast<UChar*>(out->data()) + out->size();
        status = U_ZERO_ERROR;
        ucnv_toUnicode(c.get(), &target, targetEnd, &source, sourceEnd, nullptr, true, &status);
        written = target - reinterpret_cast<UChar*>(out->data());
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out->resize(out->size() * 2);
            continue;
        }
        if (U_FAILURE(status)) {
            char bad[8];
            int8_t badLength = sizeof bad;
            UErrorCode ignored = U_ZERO_ERROR;
            ucnv_getInvalidChars(c.get(), bad, &badLength, &ignored);
            *badByte = (source - data) - (U_SUCCESS(ignored) ? badLength : 0);
            out->clear();
            return false;
        }
        break;
    }
    out->truncate(written);
    return true;
}

// The bytes that say most about the encoding: lines holding a byte past
// ASCII, a bounded sample of them. Plain ASCII lines look alike in every
// encoding, and a big file must not cost the detector its full size.
QByteArray detectionSample(const QByteArray& bytes)
{
    constexpr qsizetype Most = 64 * 1024;
    if (bytes.contains('\0')) // UTF-16 or UTF-32 without a mark: the zeros tell
        return bytes.left(Most);
    QByteArray sample;
    const char* d = bytes.constData();
    for (qsizetype start = 0; start < bytes.size() && sample.size() < Most;) {
        const char* nl = static_cast<const char*>(std::memchr(d + start, '\n', size_t(bytes.size() - start)));
        const qsizetype end = nl ? nl - d + 1 : bytes.size();
        for (qsizetype i = start; i < end; ++i)
            if (static_cast<unsigned char>(d[i]) >= 0x80) {
                sample.append(d + start, std::min(end - start, Most - sample.size()));
                break;
            }
        start = end;
    }
    return sample;
}

struct Guess {
    QString name;
    int confidence = 0;
    QString language;
};

std::vector<Guess> icuGuesses(const QByteArray& sample)
{
    std::vector<Guess> guesses;
    UErrorCode status = U_ZERO_ERROR;
    UCharsetDetector* detector = ucsdet_open(&status);
    if (U_FAILURE(status))
        return guesses;
    ucsdet_setText(detector, sample.constData(), int32_t(sample.size()), &status);
    int32_t count = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector, &count, &status);
    for (int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
        UErrorCode s = U_ZERO_ERROR;
        Guess g{QString::fromLatin1(ucsdet_getName(matches[i], &s)), ucsdet_getConfidence(matches[i], &s),
                QString::fromLatin1(ucsdet_getLanguage(matches[i], &s))};
        if (U_SUCCESS(s))
            guesses.push_back(g);
    }
    ucsdet_close(detector);
    return guesses;
}

// Bytes that are š, Š, ž, Ž in Windows-1257 and the Icelandic ð, Ð, þ, Þ in
// Windows-1252: a Baltic list far more likely than an Icelandic one here.
bool holdsBalticLetters(const QByteArray& bytes)
{
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0xD0 || b == 0xDE || b == 0xF0 || b == 0xFE)
            return true;
    }
    return false;
}

} // namespace

FileFormat listFileFormat(const QString& encoding, bool mark)
{
    bool bigEndian = false;
    if (isUtf16Name(encoding, &bigEndian))
        return {bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE, true};
    // A .dic keeps the Baltic code page for any 8-bit text it can hold
    // (a save falls back to UTF-8 for what it cannot).
    const bool eightBit = encoding.startsWith(QLatin1String("windows-125"), Qt::CaseInsensitive)
        || encoding.startsWith(QLatin1String("ISO-8859-"), Qt::CaseInsensitive);
    if (eightBit)
        return {TextEncoding::Windows1257, false};
    return {TextEncoding::Utf8, mark && isUtf8Name(encoding)};
}

namespace {

DecodedList refusal(ImportError error, const QString& text)
{
    DecodedList d;
    d.error = error;
    d.errorText = text;
    return d;
}

// The whole text, checked for what no word may hold.
DecodedList finished(DecodedList d)
{
    const qsizetype bad = firstForbiddenUnit(d.text);
    if (bad < 0)
        return d;
    const bool nul = d.text[bad] == QChar(0);
    const int line = lineAt(d.text, bad);
    d.text.clear();
    d.error = nul ? ImportError::NulCharacter : ImportError::BrokenText;
    d.errorText = nul ? QStringLiteral("Line %1 holds a NUL character, which no word can hold.").arg(line)
                      : QStringLiteral("Line %1 holds half of a character (a lone surrogate).").arg(line);
    return d;
}

} // namespace

int lineAt(QStringView text, qsizetype index)
{
    int line = 1;
    for (qsizetype i = 0; i < index && i < text.size(); ++i)
        if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 >= text.size() || text[i + 1] != u'\n')))
            ++line;
    return line;
}

qsizetype firstForbiddenUnit(QStringView text)
{
    const char16_t* u = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = u[i];
        if (c == 0)
            return i;
        if ((c & 0xF800) != 0xD800)
            continue;
        if (c <= 0xDBFF && i + 1 < n && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF)
            ++i;
        else
            return i;
    }
    return -1;
}

bool decodeNamed(const QByteArray& bytes, const QString& encoding, QString* text, qsizetype* badByte)
{
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    bool bigEndian = false;
    if (isUtf8Name(encoding)) {
        const qsizetype skip = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        if (!isValidUtf8(data + skip, size - skip)) {
            // Where it breaks: the longest valid start.
            qsizetype lo = skip, hi = size;
            while (hi - lo > 1) {
                const qsizetype mid = lo + (hi - lo) / 2;
                (isValidUtf8(data + skip, mid - skip) ? lo : hi) = mid;
            }
            *badByte = lo;
            return false;
        }
        *text = decodeValidUtf8(data + skip, size - skip);
        return true;
    }
    if (isUtf16Name(encoding, &bigEndian)) {
        const qsizetype skip = bytes.startsWith(bigEndian ? "\xFE\xFF" : "\xFF\xFE") ? 2 : 0;
        // An odd byte or a lone surrogate is caught by the caller's check.
        if ((size - skip) % 2 != 0) {
            *badByte = size - 1;
            return false;
        }
        text->resize((size - skip) / 2);
        char16_t* dst = reinterpret_cast<char16_t*>(text->data());
        const auto* s = reinterpret_cast<const unsigned char*>(data + skip);
        for (qsizetype i = 0; i < text->size(); ++i)
            dst[i] = bigEndian ? char16_t(s[2 * i] << 8 | s[2 * i + 1]) : char16_t(s[2 * i + 1] << 8 | s[2 * i]);
        return true;
    }
    if (isBalticName(encoding)) {
        if (decodeBaltic(data, size, text))
            return true;
        *badByte = 0;
        for (qsizetype i = 0; i < size; ++i) {
            QString one;
            if (!decodeBaltic(data + i, 1, &one)) {
                *badByte = i;
                break;
            }
        }
        return false;
    }
    return decodeWithIcu(data, size, encoding, text, badByte);
}

DecodedList decodeList(const QByteArray& bytes, const std::optional<QString>& encoding)
{
    DecodedList d;
    const auto decodeAs = [&](const QString& name, const QString& reason) {
        qsizetype bad = -1;
        d.encoding = name;
        d.reason = reason;
        d.format = listFileFormat(name, bytes.startsWith("\xEF\xBB\xBF"));
        if (decodeNamed(bytes, name, &d.text, &bad))
            return true;
        d.error = bad < 0 ? ImportError::UnknownEncoding : ImportError::NotText;
        d.errorText = bad < 0
            ? QStringLiteral("Vorbix cannot convert text from the encoding %1.").arg(name)
            : QStringLiteral("The bytes are not %1 text: byte %2 (0x%3) on line %4 is none of "
                             "its characters.")
                  .arg(name)
                  .arg(bad + 1)
                  .arg(static_cast<unsigned char>(bytes[std::min(bad, bytes.size() - 1)]), 2, 16, QLatin1Char('0'))
                  .arg(bytes.left(bad).count('\n') + 1);
        return false;
    };
    if (encoding) {
        decodeAs(*encoding, QStringLiteral("Chosen."));
        return d.ok() ? finished(std::move(d)) : d;
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool be = bytes.startsWith("\xFE\xFF");
        decodeAs(be ? QStringLiteral("UTF-16BE") : QStringLiteral("UTF-16LE"),
                 QStringLiteral("The file starts with a UTF-16 byte-order mark."));
        return d.ok() ? finished(std::move(d)) : d;
    }
    if (!bytes.contains('\0') && isValidUtf8(bytes)) {
        const bool mark = bytes.startsWith("\xEF\xBB\xBF");
        bool ascii = true;
        for (const char c : bytes)
            ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        decodeAs(QStringLiteral("UTF-8"),
                 mark        ? QStringLiteral("The file starts with a UTF-8 byte-order mark.")
                     : ascii ? QStringLiteral("Plain ASCII, the same in every encoding offered.")
                             : QStringLiteral("All of the text is valid UTF-8."));
        return finished(std::move(d));
    }
    // A guess: ICU's candidates, best first, the first that converts every
    // byte. Latin-1 is read as its superset Windows-1252, as browsers do.
    const bool zeros = bytes.contains('\0');
    for (const Guess& g : icuGuesses(detectionSample(bytes))) {
        QString name = g.name;
        if (name.startsWith(QLatin1String("UTF-8")) || (name.startsWith(QLatin1String("UTF-")) != zeros))
            continue;
        if (name == QLatin1String("ISO-8859-1"))
            name = QStringLiteral("windows-1252");
        QString reason =
            QStringLiteral("Not UTF-8; ICU's detector takes it for %1%2 (%3% sure).")
                .arg(name, g.language.isEmpty() ? QString() : QStringLiteral(", language \"%1\"").arg(g.language))
                .arg(g.confidence);
        if (name == QLatin1String("windows-1252") && holdsBalticLetters(bytes)) {
            name = QStringLiteral("windows-1257");
            reason = QStringLiteral("Not UTF-8; bytes that are š and ž in the Baltic windows-1257 would be the "
                                    "Icelandic ð and þ in windows-1252.");
        }
        if (decodeAs(name, reason))
            return finished(std::move(d));
    }
    if (!zeros
        && decodeAs(QStringLiteral("windows-1257"),
                    QStringLiteral("Not UTF-8; read as the Baltic "
                                   "windows-1257, as a .dic is.")))
        return finished(std::move(d));
    return refusal(ImportError::NotText,
                   zeros ? QStringLiteral("The file holds NUL bytes and is not UTF-16 text.")
                         : QStringLiteral("The bytes are not text in any encoding Vorbix "
                                          "knows."));
}

} // namespace vorbix::dictionary
