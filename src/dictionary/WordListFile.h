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

// Two columns of tab-separated UTF-8, CR LF line ends, words as they are.
// Words holding a tab or a quote, and a known word starting with "#", are
// quoted as in RFC 4180. Refused, naming the pair: a word with a line break
// or an empty unknown word, which would not read back.
WriteResult encodeTabSeparated(const WordPairs& pairs, QByteArray* bytes);
// Atomic, as the .dic writer: a failure leaves the file as it was.
WriteResult writeTabSeparatedFile(const QString& path, const WordPairs& pairs);

// Whether Save As writes tab-separated text: a name ending in .tsv, or the
// tab-separated filter chosen for a name that does not end in .dic.
bool savesAsTabSeparated(const QString& path, bool tabFilterChosen);
// The name Save As offers for a list that must not be written over: the
// same name with .dic.
QString dictionaryNameFor(const QString& path);

// After an open that left entries out: how many pairs were read, how many
// entries were skipped and why.
QString skippedText(const QString& path, const ListReadResult& read);

} // namespace vorbix::dictionary
