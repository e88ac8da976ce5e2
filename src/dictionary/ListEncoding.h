#pragma once

#include "dictionary/FileFormat.h"
#include "dictionary/Import.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vorbix::dictionary {

// The one decision how the bytes of another program's list become text.
// A byte-order mark or valid UTF-8 decides at once; anything else is a guess
// (ICU's charset detection) that the import window shows with its reason and
// lets the user change. Every conversion is strict: a byte the encoding does
// not define refuses the file instead of becoming another character.

struct DecodedList {
    ImportError error = ImportError::None;
    QString errorText;
    QString text;
    QString encoding; // ICU name
    QString reason;
    FileFormat format; // how a .dic save of the same encoding would write it
    bool ok() const { return error == ImportError::None; }
};

// `encoding` chosen by the user, or none for the detection.
DecodedList decodeList(const QByteArray& bytes, const std::optional<QString>& encoding);

// Strictly in the named encoding (a leading mark of that encoding dropped).
// False for an unknown name or an undefined byte; *badByte then tells where
// (-1 for an unknown name).
bool decodeNamed(const QByteArray& bytes, const QString& encoding, QString* text, qsizetype* badByte);

// How a .dic save in this encoding would write it (UTF-8 for the rest).
FileFormat listFileFormat(const QString& encoding, bool byteOrderMark);

// Line (from 1) of the unit at `index` of the text.
int lineAt(QStringView text, qsizetype index);

// U+0000 or half a surrogate pair: the index of the first, or -1.
qsizetype firstForbiddenUnit(QStringView text);

} // namespace vorbix::dictionary
