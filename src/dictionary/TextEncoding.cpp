#include "dictionary/TextEncoding.h"

#include <unicode/ucnv.h>

#include <array>
#include <cstdint>
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
            if (U_SUCCESS(status) && n == 1 && out[0] != Undefined && fromUnicode.emplace(out[0], in).second)
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

namespace {

// UTF-8 as a state machine: a class for every byte, a table of steps. States:
// 0 between characters, 1-3 that many continuation bytes to come, 4 after
// E0 (no overlong), 5 after ED (no surrogate), 6 after F0 (no overlong),
// 7 after F4 (nothing past U+10FFFF), 8 refused for good.
constexpr std::uint8_t Refused = 8;

constexpr std::array<std::uint8_t, 256> utf8Classes()
{
    std::array<std::uint8_t, 256> c{};
    for (int b = 0; b < 256; ++b)
        c[b] = b < 0x80 ? 0
            : b < 0x90  ? 1
            : b < 0xA0  ? 2
            : b < 0xC0  ? 3
            : b < 0xC2  ? 4
            : b < 0xE0  ? 5
            : b == 0xE0 ? 6
            : b == 0xED ? 8
            : b < 0xF0  ? 7
            : b == 0xF0 ? 9
            : b < 0xF4  ? 10
            : b == 0xF4 ? 11
                        : 4;
    return c;
}
constexpr std::array<std::uint8_t, 256> Utf8Class = utf8Classes();

// [state][class]; classes: ASCII, 80-8F, 90-9F, A0-BF, never a lead, C2-DF,
// E0, E1-EC and EE-EF, ED, F0, F1-F3, F4.
constexpr std::uint8_t Utf8Step[9][12] = {
    {0, 8, 8, 8, 8, 1, 4, 2, 5, 6, 3, 7}, {8, 0, 0, 0, 8, 8, 8, 8, 8, 8, 8, 8}, {8, 1, 1, 1, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 2, 2, 2, 8, 8, 8, 8, 8, 8, 8, 8}, {8, 8, 8, 1, 8, 8, 8, 8, 8, 8, 8, 8}, {8, 1, 1, 8, 8, 8, 8, 8, 8, 8, 8, 8},
    {8, 8, 2, 2, 8, 8, 8, 8, 8, 8, 8, 8}, {8, 2, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8}, {8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8},
};

} // namespace

bool isValidUtf8(const char* data, qsizetype size)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    std::uint8_t state = 0;
    qsizetype i = 0;
    while (i < size) {
        // Plain ASCII eight bytes at a time.
        if (state == 0 && i + 8 <= size) {
            std::uint64_t chunk;
            std::memcpy(&chunk, s + i, 8);
            if ((chunk & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        state = Utf8Step[state][Utf8Class[s[i++]]];
    }
    return state == 0;
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
            c = char32_t(b & 0x07) << 18 | char32_t(s[i + 1] & 0x3F) << 12 | char32_t(s[i + 2] & 0x3F) << 6
                | (s[i + 3] & 0x3F);
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
        dst[i] = bigEndian ? char16_t(s[2 * i] << 8 | s[2 * i + 1]) : char16_t(s[2 * i + 1] << 8 | s[2 * i]);
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
    const char16_t* u = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if ((u[i] & 0xF800) != 0xD800)
            continue;
        if (isHighSurrogate(u[i]) && i + 1 < n && isLowSurrogate(u[i + 1]))
            ++i;
        else
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
