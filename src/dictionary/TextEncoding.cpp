#include "dictionary/TextEncoding.h"

#include <unicode/ucnv.h>

#include <array>
#include <cstring>
#include <unordered_map>

namespace vorbix::dictionary {

namespace {

constexpr char16_t Undefined = 0xFFFF; // not a character of the code page

struct BalticTables {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, char> fromUnicode;

    // Taken from ICU once, byte by byte, with its fallbacks off: only what
    // maps both ways is in the tables.
    BalticTables()
    {
        toUnicode.fill(Undefined);
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open("windows-1257", &status);
        if (U_FAILURE(status) || !c)
            return;
        ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFallback(c, false);
        for (int b = 0; b < 256; ++b) {
            const char in = static_cast<char>(b);
            UChar out[4];
            status = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(c, out, 4, &in, 1, &status);
            if (U_SUCCESS(status) && n == 1 && out[0] != Undefined
                && fromUnicode.emplace(out[0], in).second)
                toUnicode[b] = out[0];
        }
        ucnv_close(c);
    }
};

const BalticTables& baltic()
{
    static const BalticTables tables;
    return tables;
}

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

} // namespace

bool decodeBaltic(const char* data, qsizetype size, QString* out)
{
    const auto& table = baltic().toUnicode;
    out->resize(size);
    char16_t* dst = reinterpret_cast<char16_t*>(out->data());
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = table[static_cast<unsigned char>(data[i])];
        if (u == Undefined)
            return false;
        dst[i] = u;
    }
    return true;
}

bool encodeBaltic(QStringView text, QByteArray* out)
{
    const auto& map = baltic().fromUnicode;
    for (const QChar c : text) {
        const auto it = map.find(c.unicode());
        if (it == map.end())
            return false;
        out->append(it->second);
    }
    return true;
}

bool isValidUtf8(const char* data, qsizetype size)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < size) {
        // Plain ASCII eight bytes at a time.
        if (i + 8 <= size) {
            std::uint64_t chunk;
            std::memcpy(&chunk, s + i, 8);
            if ((chunk & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char b = s[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int more;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            if (b == 0xE0)
                low = 0xA0; // overlong
            else if (b == 0xED)
                high = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            if (b == 0xF0)
                low = 0x90; // overlong
            else if (b == 0xF4)
                high = 0x8F; // past U+10FFFF
        } else {
            return false;
        }
        if (size - i <= more)
            return false;
        if (s[i + 1] < low || s[i + 1] > high)
            return false;
        for (int k = 2; k <= more; ++k)
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        i += more + 1;
    }
    return true;
}

QString decodeValidUtf8(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized); // never more units than bytes
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    qsizetype n = 0;
    for (qsizetype i = 0; i < size;) {
        const unsigned char b = s[i];
        char32_t c;
        if (b < 0x80) {
            c = b;
            i += 1;
        } else if (b < 0xE0) {
            c = char32_t(b & 0x1F) << 6 | (s[i + 1] & 0x3F);
            i += 2;
        } else if (b < 0xF0) {
            c = char32_t(b & 0x0F) << 12 | char32_t(s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F);
            i += 3;
        } else {
            c = char32_t(b & 0x07) << 18 | char32_t(s[i + 1] & 0x3F) << 12
                | char32_t(s[i + 2] & 0x3F) << 6 | (s[i + 3] & 0x3F);
            i += 4;
        }
        if (c >= 0x10000) {
            dst[n++] = char16_t(0xD800 + ((c - 0x10000) >> 10));
            dst[n++] = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            dst[n++] = char16_t(c);
        }
    }
    out.truncate(n);
    return out;
}

bool decodeUtf16(const char* data, qsizetype size, bool bigEndian, QString* out)
{
    if (size % 2 != 0)
        return false;
    const qsizetype n = size / 2;
    out->resize(n);
    char16_t* dst = reinterpret_cast<char16_t*>(out->data());
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = bigEndian ? char16_t(s[2 * i] << 8 | s[2 * i + 1])
                           : char16_t(s[2 * i + 1] << 8 | s[2 * i]);
    return !hasUnpairedSurrogate(*out);
}

void appendUtf16(QStringView text, bool bigEndian, QByteArray* out)
{
    const qsizetype start = out->size();
    out->resize(start + 2 * text.size());
    char* dst = out->data() + start;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        dst[2 * i + (bigEndian ? 0 : 1)] = static_cast<char>(u >> 8);
        dst[2 * i + (bigEndian ? 1 : 0)] = static_cast<char>(u & 0xFF);
    }
}

bool hasUnpairedSurrogate(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (isHighSurrogate(u) && i + 1 < text.size() && isLowSurrogate(text[i + 1].unicode()))
            ++i;
        else if (isHighSurrogate(u) || isLowSurrogate(u))
            return true;
    }
    return false;
}

bool appendEncoded(QStringView text, TextEncoding encoding, QByteArray* out)
{
    switch (encoding) {
    case TextEncoding::Windows1257:
        return encodeBaltic(text, out);
    case TextEncoding::Utf8:
        if (hasUnpairedSurrogate(text))
            return false;
        out->append(text.toUtf8());
        return true;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        if (hasUnpairedSurrogate(text))
            return false;
        appendUtf16(text, encoding == TextEncoding::Utf16BE, out);
        return true;
    }
    return false;
}

QByteArray byteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QByteArrayLiteral("\xEF\xBB\xBF");
    case TextEncoding::Utf16LE:
        return QByteArrayLiteral("\xFF\xFE");
    case TextEncoding::Utf16BE:
        return QByteArrayLiteral("\xFE\xFF");
    case TextEncoding::Windows1257:
        break;
    }
    return {};
}

} // namespace vorbix::dictionary
