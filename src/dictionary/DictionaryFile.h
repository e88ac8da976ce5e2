#pragma once

#include "dictionary/FileFormat.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QIODevice;

namespace vorbix {
struct MOODUL1;
}

namespace vorbix::dictionary {

// A .dic file is lines, two per pair (known word, then unknown word), each
// ending in CR LF. Every line is one word exactly as written; a hyphen may be
// stored as "}" (see PairRule.h).

struct WordPair {
    QString known;
    QString unknown;
    bool operator==(const WordPair&) const = default;
};
using WordPairs = std::vector<WordPair>;

inline constexpr int MaxPairs = 1000;
// The longest word, in UTF-16 code units, that Open reads, the editor takes
// and Save writes; one limit, so that no list can be saved that will not open.
inline constexpr int MaxWordLength = 32767;

// The numbers the user sees, as BASIC numbers its run-time errors.
enum ErrorCode : int {
    NoError = 0,
    FileNotFound = 53,
    NotText = 54, // "bad file mode": bytes that are no text Vorbix reads
    DeviceIoError = 57,
    LineTooLong = 59, // "bad record length": a line is a record
    InputPastEndOfFile = 62, // an odd number of lines
    CarriageReturnInLine = 63, // a CR not followed by LF
    DriveUnavailable = 68,
    PermissionDenied = 70,
    PathFileAccessError = 75, // e.g. a folder picked as a file
    PathNotFound = 76,
};

struct ReadResult {
    int error = NoError;
    WordPairs pairs; // hyphens restored
    bool truncated = false; // more than MaxPairs pairs: the rest was not read
    FileFormat format;
    bool ok() const { return error == NoError; }
};

// A read that failed: nothing but the error.
ReadResult readFailure(int error);

// A file is UTF-16 when it starts with a UTF-16 byte-order mark, else UTF-8
// when it is valid UTF-8 (with or without a mark), else Windows-1257. Bytes
// that are none of these, NULs, a lone CR or a word over MaxWordLength fail
// the whole read. At most MaxPairs pairs are read; nothing is returned but
// the error unless all of that was read cleanly.
ReadResult readDictionary(QIODevice& device);
ReadResult readDictionary(const QByteArray& bytes);
ReadResult readDictionaryFile(const QString& path);

struct WriteResult {
    bool ok = false;
    QString reason; // why it failed, fit for the user
    FileFormat format; // what was written
};

// The bytes of a file holding these pairs as they are (no hyphen rule), in
// `format` when the words fit it and read back unchanged from it, else in
// UTF-8; without a format, Windows-1257 when that works. Refuses, naming the
// pair, a list that no file could give back: a line break, a NUL, half a
// surrogate pair, a word over MaxWordLength, more than MaxPairs pairs.
WriteResult encodeDictionary(const WordPairs& pairs, QByteArray* bytes,
                             std::optional<FileFormat> format = std::nullopt);
// Writes atomically: an existing file stays whole until the new one is
// complete, and stays as it was when writing fails.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* reason);
WriteResult writeDictionaryFile(const QString& path, const WordPairs& pairs,
                                std::optional<FileFormat> format = std::nullopt);

// The pairs the list saves: from index 0 up to the first empty known word,
// at most MaxPairs.
WordPairs savedPairs(const MOODUL1& state);
// Makes these pairs the whole list (as many as the arrays hold): the other
// slots emptied, LastWordIndex = count - 1. Returns whether the list differs
// from what it was.
// Every pair is new to the list.
bool storePairs(MOODUL1& state, const WordPairs& pairs);
// The editor's write-back: ids[i] names pair i (0 for a new one), so that
// each pair keeps its asked mark; a pair left out leaves the round.
bool storeListedPairs(MOODUL1& state, const WordPairs& pairs, const std::vector<std::uint32_t>& ids);
// The pair rule over a list: hyphens to the file's "}", and back.
WordPairs withStoredHyphens(WordPairs pairs);
WordPairs withHyphens(WordPairs pairs);

// Save and Save As: hyphens go to the file as "}" by the pair rule. Only
// after a successful write do the words in memory take the form they read
// back in (a "}" typed in a word is then a hyphen). Both writers use the
// state's CurrentFileFormat and set it to what they wrote. A failure changes
// nothing.
WriteResult saveWithHyphenRule(MOODUL1& state, const QString& path);
// The save prompt's writer: words as they are.
WriteResult savePlain(MOODUL1& state, const QString& path);

// Texts for the user.
QString openFailureText(int error, const QString& path);
QString truncatedText(const QString& path);
QString saveFailureText(const QString& path, const QString& reason);

} // namespace vorbix::dictionary
