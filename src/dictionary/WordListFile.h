#pragma once

#include "dictionary/DictionaryFile.h"
#include "dictionary/FileFormat.h"
#include "dictionary/FileKind.h"

#include <QByteArray>
#include <QString>

namespace vorbix::dictionary {

// Lists for other programs, as Save As writes them; Open reads them back
// through previewImport (Import.h).

// What Save As writes for a name, so that Open reads the same pairs back:
// .dic a dictionary file, .csv comma-separated text, .kvtml KVTML 2, any
// other name tab-separated text.
FileKind savedKindFor(const QString& path);

// Two columns of UTF-8 text with CR LF line ends, words as they are; a word
// a reader could take for something else (holding a separator or a quote,
// with blanks at its ends, a known word starting with "#" or "<") is quoted
// as in RFC 4180. Refused, naming the pair: what would not read back (a line
// break, an empty word, a NUL, half a character, a word over MaxWordLength).
WriteResult encodeTabSeparated(const WordPairs& pairs, QByteArray* bytes);
// With a byte-order mark, for spreadsheets; every other separator a reader
// might guess is quoted too.
WriteResult encodeCommaSeparated(const WordPairs& pairs, QByteArray* bytes);
// KVTML 2 in UTF-8: two languages, "Known words" and "Unknown words".
WriteResult encodeKvtml(const WordPairs& pairs, QByteArray* bytes);
// One of the three above by kind (TabSeparated, CommaSeparated or Kvtml).
WriteResult encodeList(const WordPairs& pairs, FileKind kind, QByteArray* bytes);
// Atomic, as the .dic writer: a failure leaves the file as it was.
WriteResult writeListFile(const QString& path, const WordPairs& pairs, FileKind kind);
WriteResult writeTabSeparatedFile(const QString& path, const WordPairs& pairs);

// The name Save As offers for a list that must not be written over: the
// same name with .dic.
QString dictionaryNameFor(const QString& path);

} // namespace vorbix::dictionary
