#pragma once

#include "dictionary/Import.h"

#include <QByteArray>

namespace vorbix::dictionary {

// KVTML, the lists of KWordQuiz and Parley: version 2 (<entries>, languages
// as <identifiers>, lessons as <container>s) and version 1 (<e> entries of an
// <o> and <t>s, the word being the text after any inline forms, lessons by
// number). Read as a stream, twice (the lessons of version 2 follow the
// entries), never holding more than the pairs it returns; nesting is capped
// and a document that declares its own entities is refused unread.

// Whether the first element of the bytes is <kvtml>, whatever the rest.
bool looksLikeKvtml(const QByteArray& bytes);

void readKvtmlList(const QByteArray& bytes, const ImportChoices& choices, ImportPreview* preview,
                   ReadProgress* progress = nullptr);

// Elements nested deeper than this refuse the file; KVTML needs about ten.
inline constexpr int MaxXmlDepth = 256;

} // namespace vorbix::dictionary
