#pragma once

#include "dictionary/DictionaryFile.h"
#include "dictionary/FileFormat.h"
#include "dictionary/FileKind.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <map>
#include <optional>
#include <vector>

namespace vorbix::dictionary {

// A list from another program is read only after the user has seen what will
// be read: the import window shows an ImportPreview, lets each choice change
// (the preview follows) and takes its pairs on OK. A .dic never comes here.

// DicLines: a list in the .dic form (a line per word) under another name,
// as Save As writes it under any name with the .dic filter.
enum class ImportFormat { Kvtml1, Kvtml2, Delimited, AnkiExport, DicLines };
// A choice of KVTML takes either version: the file tells which.
bool isKvtmlFormat(ImportFormat format);

// Open reads a list whole before it shows anything; a larger one is refused
// (TooLarge) unread.
inline constexpr qint64 MaxListFileBytes = 64 * 1024 * 1024;

// Why a whole file is refused. Each has a text in words (importErrorText).
enum class ImportError {
    None,
    NotText, // no encoding turns these bytes into text
    BrokenXml, // KVTML that is not well-formed (or holds a DTD)
    TooDeep, // elements nested deeper than any KVTML writes
    OneLanguage, // a KVTML file with fewer than two languages
    NoUsablePair, // no entry or line holds both words
    UnclosedQuote, // the file ends inside a quoted field
    NulCharacter, // U+0000 in the text
    BrokenText, // half a surrogate pair
    TooLarge, // over MaxListFileBytes
    UnknownEncoding, // an encoding chosen or declared that Vorbix cannot convert
    OddLineCount, // .dic lines ending after a known word
    LoneCarriageReturn, // .dic lines: a CR that ends no line
    NotKvtml, // KVTML chosen for a file that is not
    KvtmlAsText, // a text format chosen for a KVTML file
    Cancelled, // the user stopped the read
};

// Why one entry or line is left out; counted per cause.
enum class SkipReason {
    MissingWord, // one of the two words is empty (a picture or sound alone counts as empty)
    LineBreak, // a word would hold a line break
    WordTooLong, // a word over MaxWordLength
    OtherLesson, // in a lesson not chosen
    Comment, // a line starting with "#" after the first entry
};

struct ImportChoices {
    // None: told by the content. Delimited for an Anki export reads its
    // header lines as comments; AnkiExport for a file without them reads it
    // as Anki's export with the headers left out.
    std::optional<ImportFormat> format;
    std::optional<QString> encoding; // an ICU converter name; none: detected
    std::optional<QChar> separator; // delimited text; none: detected
    std::optional<bool> headerRow; // delimited text; none: guessed
    int knownColumn = -1; // column, or KVTML language, counted from 0; -1: the guess
    int unknownColumn = -1;
    std::optional<std::vector<int>> lessons; // KVTML lesson indices; none: all
    int firstEntry = 0; // entries passed over before the MaxPairs taken (for long lists)
    bool operator==(const ImportChoices&) const = default;
};

struct ImportPreview {
    ImportError error = ImportError::None;
    QString errorText; // what is wrong and where (line or entry), in words
    bool ok() const { return error == ImportError::None; }

    ImportFormat format = ImportFormat::Delimited;
    QString formatReason;
    QString encoding; // the ICU name used
    QString encodingReason; // one line: why this guess
    QChar separator; // delimited text
    QString separatorReason;
    bool headerRow = false;
    QString headerReason;
    QStringList columns; // column titles, or KVTML languages by their names
    std::vector<int> reservedColumns; // Anki's deck, note type, tags and id columns: never words
    int knownColumn = 0;
    int unknownColumn = 1;
    QStringList lessons; // KVTML lessons in file order; empty when none
    std::vector<int> chosenLessons;

    int entries = 0; // usable entries in the file (before the MaxPairs cap)
    int firstEntry = 0;
    WordPairs pairs; // what OK takes: at most MaxPairs, none when refused
    std::map<SkipReason, int> skipped;
    int skippedTotal() const;

    // How Save treats the list afterwards, and how the file was encoded.
    FileKind kind = FileKind::Imported;
    FileFormat fileFormat;
};

// Shared with a read running on another thread: how far it has come, and
// whether the user has stopped waiting for it. Readers look at it once per
// line or element, so a cancelled read ends within a line's work.
struct ReadProgress {
    std::atomic<int> permille{0};
    std::atomic<bool> cancelled{false};
};

// Every reader's choices applied to the bytes. Bounded: time and memory grow
// with the file, never with what its content asks for (nesting, entities).
ImportPreview previewImport(const QByteArray& bytes, const QString& fileName, const ImportChoices& choices = {},
                            ReadProgress* progress = nullptr);

QString importErrorText(ImportError error);
QString skipReasonText(SkipReason reason);
QString importFormatName(ImportFormat format);
// The encodings offered for a choice, by their ICU names; the detected one
// may be another.
QStringList importEncodings();

} // namespace vorbix::dictionary
