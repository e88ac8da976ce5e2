#pragma once

#include "dictionary/Import.h"

#include <QString>

namespace vorbix::dictionary {

// Delimited text: CSV (RFC 4180 quotes), tab-separated, semicolon, pipe
// (blanks around a pipe are padding), colon, and Anki's "Notes in Plain
// Text" export with its "#key:value" header lines (separator, html, columns,
// notetype, deck, tags, guid and their "... column:N" forms).

// Whether a separator splits most lines of the text (or an Anki header
// names one).
bool looksDelimited(const QString& text);

// Reads the text into the preview (its encoding fields already set). The
// file's name breaks a tie between separators that split alike.
void readDelimitedList(const QString& text, const QString& fileName, const ImportChoices& choices,
                       ImportPreview* preview, ReadProgress* progress = nullptr);

// Whether a first row's field reads as a column title ("Word", "Back",
// "English"). A first row whose two words both do is taken for titles
// unless one of them is quoted: a writer quotes such a first pair.
bool isColumnTitle(const QString& field);

// Field text as a browser shows Anki's HTML: tags gone (a line break for
// <br> and block ends), entities decoded, white space collapsed.
QString htmlToText(QStringView html);
// The character of an HTML entity's name ("amp", "#233", "#xE9"); -1 for a
// name no browser knows.
char32_t htmlEntity(QStringView name);

} // namespace vorbix::dictionary
