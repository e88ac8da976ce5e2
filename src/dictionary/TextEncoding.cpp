#include "dictionary/TextEncoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <memory>

namespace vorbix::dictionary {

namespace {

const char* const BalticName = "windows-1257";
const char* const Utf8Name = "UTF-8";

struct CloseConverter {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

// strict: unmappable or malformed input is an error instead of a
// substitution.
Converter openConverter(const char* name, bool strict)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter c(ucnv_open(name, &status));
    if (U_FAILURE(status) || !c)
        return nullptr;
    if (strict) {
        ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    } else {
        ucnv_setToUCallBack(c.get(), UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                            &status);
        ucnv_setFromUCallBack(c.get(), UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                              &status);
    }
    ucnv_setFallback(c.get(), false);
    return U_FAILURE(status) ? nullptr : std::move(c);
}

bool toUnicode(UConverter* c, const QByteArray& bytes, QString* out)
{
    out->clear();
    if (bytes.isEmpty())
        return true;
    // Neither converter makes more than one UTF-16 unit per byte, but leave
    // room for a surrogate pair of a substitution.
    QString buffer(bytes.size() + 2, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(c, reinterpret_cast<UChar*>(buffer.data()),
                                    static_cast<int32_t>(buffer.size()), bytes.constData(),
                                    static_cast<int32_t>(bytes.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        buffer.resize(n);
        status = U_ZERO_ERROR;
        ucnv_toUChars(c, reinterpret_cast<UChar*>(buffer.data()), n, bytes.constData(),
                      static_cast<int32_t>(bytes.size()), &status);
    }
    if (U_FAILURE(status))
        return false;
    buffer.truncate(std::min<qsizetype>(n, buffer.size()));
    *out = buffer;
    return true;
}

bool fromUnicode(UConverter* c, const QString& text, QByteArray* out)
{
    out->clear();
    if (text.isEmpty())
        return true;
    const auto* src = reinterpret_cast<const UChar*>(text.utf16());
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    QByteArray buffer(static_cast<qsizetype>(UCNV_GET_MAX_BYTES_FOR_STRING(length, ucnv_getMaxCharSize(c))),
                      Qt::Uninitialized);
    const int32_t n = ucnv_fromUChars(c, buffer.data(), static_cast<int32_t>(buffer.size()), src,
                                      length, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING)
        return false;
    buffer.truncate(n);
    *out = buffer;
    return true;
}

bool hasNonAscii(const QByteArray& bytes)
{
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

} // namespace

bool hasUtf8Bom(const QByteArray& bytes) { return bytes.startsWith("\xEF\xBB\xBF"); }

bool isValidUtf8(const QByteArray& bytes)
{
    if (!hasNonAscii(bytes))
        return true;
    const Converter c = openConverter(Utf8Name, true);
    QString ignored;
    return c && toUnicode(c.get(), bytes, &ignored);
}

EncodedText encodeText(const QString& text)
{
    if (const Converter baltic = openConverter(BalticName, true)) {
        QByteArray bytes;
        QString back;
        // Only a mapping that reads back as it was written is good enough.
        if (fromUnicode(baltic.get(), text, &bytes) && toUnicode(baltic.get(), bytes, &back)
            && back == text) {
            const bool readAsUtf8 = hasUtf8Bom(bytes) || (hasNonAscii(bytes) && isValidUtf8(bytes));
            if (!readAsUtf8)
                return {bytes, TextEncoding::Windows1257};
        }
    }
    EncodedText result{{}, TextEncoding::Utf8};
    const Converter utf8 = openConverter(Utf8Name, false);
    if (utf8)
        fromUnicode(utf8.get(), text, &result.bytes);
    // A text that itself begins with U+FEFF keeps it behind a mark of our own,
    // since the reader drops one.
    if (text.startsWith(QChar(0xFEFF)))
        result.bytes.prepend("\xEF\xBB\xBF");
    return result;
}

TextEncoding detectEncoding(const QList<QByteArray>& lines)
{
    if (!lines.isEmpty() && hasUtf8Bom(lines.front()))
        return TextEncoding::Utf8;
    const Converter strict = openConverter(Utf8Name, true);
    if (!strict)
        return TextEncoding::Windows1257;
    bool multiByte = false;
    QString ignored;
    for (const QByteArray& line : lines) {
        if (!hasNonAscii(line))
            continue;
        if (!toUnicode(strict.get(), line, &ignored))
            return TextEncoding::Windows1257;
        multiByte = true;
    }
    return multiByte ? TextEncoding::Utf8 : TextEncoding::Windows1257;
}

QStringList decodeLines(const QList<QByteArray>& lines, TextEncoding encoding)
{
    QStringList result;
    result.reserve(lines.size());
    const Converter c = openConverter(encoding == TextEncoding::Utf8 ? Utf8Name : BalticName, false);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (i == 0 && encoding == TextEncoding::Utf8 && hasUtf8Bom(line))
            line.remove(0, 3);
        QString text;
        if (!c || !toUnicode(c.get(), line, &text))
            text = QString::fromLatin1(line); // never reached with a working ICU
        result << text;
    }
    return result;
}

} // namespace vorbix::dictionary
