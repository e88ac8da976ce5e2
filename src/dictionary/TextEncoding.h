#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace vorbix::dictionary {

// Lists are stored in the Baltic code page of the systems they come from; a
// list it cannot hold goes to UTF-8 instead of losing characters.
enum class TextEncoding { Windows1257, Utf8 };

struct EncodedText {
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Windows1257;
};

// Windows-1257 when every character survives it and the bytes cannot be
// mistaken for UTF-8 on reading; otherwise UTF-8.
EncodedText encodeText(const QString& text);

// The encoding a reader takes for these lines: UTF-8 when they start with a
// byte-order mark, or are valid UTF-8 holding a multi-byte sequence.
TextEncoding detectEncoding(const QList<QByteArray>& lines);

// Decodes every line in the given encoding; bytes that are not valid text
// become replacement characters, never an error. A leading byte-order mark
// on the first line is dropped.
QStringList decodeLines(const QList<QByteArray>& lines, TextEncoding encoding);

bool isValidUtf8(const QByteArray& bytes);
bool hasUtf8Bom(const QByteArray& bytes);

} // namespace vorbix::dictionary
