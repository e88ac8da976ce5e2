#pragma once

#include "dictionary/DictionaryFile.h"
#include "dictionary/FileFormat.h"
#include "dictionary/FileKind.h"

#include <QByteArray>
#include <QString>

namespace vorbix::dictionary {

// Word lists from other programs as Open read them before the import window:
// previewImport (Import.h) with its guesses taken as they are.

// Numbers for the ways only these files fail, next to the .dic ones.
inline constexpr int UnclosedQuote = 62; // the file ends inside a quoted word
inline constexpr int LineBreakInWord = 63; // a quoted word runs over a line end
inline constexpr int NoUsablePair = 64; // nothing in the file is a pair
inline constexpr int BrokenXml = 65; // a KVTML file that is not well-formed

enum class ListFormat { Dictionary, Kvtml, Delimited };

struct ListReadResult : ReadResult {
    ListFormat source = ListFormat::Dictionary;
    FileKind kind = FileKind::Dictionary;
    QChar separator; // of delimited text
    int skippedNoWord = 0; // entries or lines without both words
    int skippedLineBreak = 0; // KVTML entries with a line break in a word
    int skipped() const { return skippedNoWord + skippedLineBreak; }
};

// Files larger than this that are not named .dic are left to the .dic
// reader, which reads only the lines it needs.
inline constexpr qint64 MaxListFileBytes = 64 * 1024 * 1024;

// A file named .dic is read by the .dic reader, exactly as always. Any other
// file goes through previewImport (Import.h) with the choices it guesses.
// All or nothing: on failure only the error is returned. At most MaxPairs
// pairs, with `truncated` set when a further pair was left out.
ListReadResult readWordList(const QByteArray& bytes, const QString& fileName);
ListReadResult readWordListFile(const QString& path);

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

// After an open that left entries out: how many pairs were read, how many
// entries were skipped and why.
QString skippedText(const QString& path, const ListReadResult& read);

} // namespace vorbix::dictionary
