#pragma once

#include "dictionary/FileFormat.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vorbix::dictionary {

// Strict conversions for dictionary files: bytes an encoding does not define
// are an error, never a replacement character, so nothing is lost unseen.

// Windows-1257, the Baltic code page older lists are stored in. It leaves
// 0xA1 and 0xA5 undefined.
bool decodeBaltic(const char* data, qsizetype size, QString* out);
// False when a character has no byte in the code page.
bool encodeBaltic(QStringView text, QByteArray* out);

// Well-formed UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isValidUtf8(const char* data, qsizetype size);
inline bool isValidUtf8(const QByteArray& bytes) { return isValidUtf8(bytes.constData(), bytes.size()); }
// Decodes bytes that isValidUtf8 accepted. Unlike QString::fromUtf8 it keeps
// a leading U+FEFF: only the file's first bytes can be its mark.
QString decodeValidUtf8(const char* data, qsizetype size);

// False for an odd byte count or a surrogate without its partner.
bool decodeUtf16(const char* data, qsizetype size, bool bigEndian, QString* out);
void appendUtf16(QStringView text, bool bigEndian, QByteArray* out);

bool hasUnpairedSurrogate(QStringView text);

// Appends the text in the format's encoding (no byte-order mark); false when
// the encoding cannot hold a character of it.
bool appendEncoded(QStringView text, TextEncoding encoding, QByteArray* out);
QByteArray byteOrderMark(TextEncoding encoding);

} // namespace vorbix::dictionary
