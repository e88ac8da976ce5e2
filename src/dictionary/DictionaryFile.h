#pragma once

#include "dictionary/TextEncoding.h"

#include <QString>

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
inline constexpr qsizetype MaxLineBytes = 64 * 1024;

// The numbers the user sees, as BASIC numbers its run-time errors.
enum ErrorCode : int {
    NoError = 0,
    FileNotFound = 53,
    DeviceIoError = 57,
    LineTooLong = 59, // "bad record length": a line is a record
    InputPastEndOfFile = 62, // an odd number of lines
    DriveUnavailable = 68,
    PermissionDenied = 70,
    PathFileAccessError = 75, // e.g. a folder picked as a file
    PathNotFound = 76,
};

struct ReadResult {
    int error = NoError;
    QString detail; // what went wrong, for the curious; not shown
    WordPairs pairs; // hyphens restored
    bool truncated = false; // there was more than MaxPairs pairs: the rest was not read
    TextEncoding encoding = TextEncoding::Windows1257;
    bool ok() const { return error == NoError; }
};

// Reads at most MaxPairs pairs; nothing is returned but the error unless the
// whole of that was read cleanly.
ReadResult readDictionary(QIODevice& device);
ReadResult readDictionary(const QByteArray& bytes);
ReadResult readDictionaryFile(const QString& path);

struct WriteResult {
    bool ok = false;
    QString reason; // why it failed, fit for the user
    TextEncoding encoding = TextEncoding::Windows1257;
};

// The bytes of a file holding these pairs as they are (no hyphen rule).
// Refuses a word with a line break, which would shift every later pair.
WriteResult encodeDictionary(const WordPairs& pairs, QByteArray* bytes);
// Writes atomically: an existing file stays whole until the new one is
// complete, and stays as it was when writing fails.
WriteResult writeDictionaryFile(const QString& path, const WordPairs& pairs);

// The pairs the list saves: from index 0 up to the first empty known word,
// at most MaxPairs.
WordPairs savedPairs(const MOODUL1& state);
// Puts opened pairs in place: positions 0..MaxPairs-1 emptied first,
// LastWordIndex = count - 1.
void storePairs(MOODUL1& state, const WordPairs& pairs);

// Save and Save As: hyphens go to the file as "}" by the pair rule. Only
// after a successful write do the words in memory take the form they read
// back in (a "}" typed in a word is then a hyphen). A failure changes nothing.
WriteResult saveWithHyphenRule(MOODUL1& state, const QString& path);
// The save prompt's writer: words as they are.
WriteResult savePlain(const MOODUL1& state, const QString& path);

// Texts for the user.
QString openFailureText(int error, const QString& path);
QString truncatedText(const QString& path);
QString saveFailureText(const QString& path, const QString& reason);

} // namespace vorbix::dictionary
