// libFuzzer target over dictionary files, by bytes. No input may crash the
// reader. A file it opens is saved as Save does (hyphen rule, the file's own
// format), reopened and saved again: the reopened words must be the saved
// ones and the two saves the same bytes. Read in small pieces from a stream
// the file must give the same result as from memory. And the input taken as
// UTF-16 words is either refused by the writer for a reason or read back as
// written.
#include "dictionary/DictionaryFile.h"
#include "state/Moodul1.h"
#include "support/Trickle.h"

#include <QByteArray>
#include <QIODevice>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace vorbix;
using namespace vorbix::dictionary;
using vorbix::testing::Trickle;

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_reader: %s\n", what);
        std::abort();
    }
}

void openSaveReopenSave(const QByteArray& bytes)
{
    const ReadResult first = readDictionary(bytes);
    {
        // Pieces of a few bytes; of 1/256 of a big file, which is enough to
        // cut its lines and units anywhere.
        const qint64 piece = 1 + (bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes.back()) % 7);
        Trickle stream(bytes, std::max<qint64>(piece, bytes.size() / 256));
        const ReadResult streamed = readDictionary(stream);
        check(streamed.error == first.error && streamed.pairs == first.pairs
                  && streamed.truncated == first.truncated && (!first.ok() || streamed.format == first.format),
              "a stream read differs from a memory read");
    }
    if (!first.ok()) {
        check(first.pairs.empty(), "a refused read gave pairs");
        return;
    }
    check(first.pairs.size() <= size_t(MaxPairs), "more than 1000 pairs");
    check(!first.truncated || first.pairs.size() == size_t(MaxPairs), "cut short before 1000 pairs");

    // Made afresh, so that no string outlives the run (libFuzzer would look
    // for a leak after every run).
    const auto state = std::make_unique<MOODUL1>();
    MOODUL1& s = *state;
    storePairs(s, first.pairs);
    s.CurrentFileFormat = first.format;
    const WordPairs kept = savedPairs(s);
    const WordPairs stored = withStoredHyphens(kept);
    QByteArray saved;
    const WriteResult w = encodeDictionary(stored, &saved, s.CurrentFileFormat);
    check(w.ok, "Save refused an opened list");
    if (kept.size() == first.pairs.size())
        check(w.format == first.format, "Save changed the encoding of an unchanged list");

    const WordPairs inMemory = withHyphens(stored); // the list after the save
    const ReadResult again = readDictionary(saved);
    check(again.ok() && !again.truncated, "the saved file does not open");
    check(again.pairs == inMemory, "the saved file opens as other words");

    QByteArray second;
    check(encodeDictionary(withStoredHyphens(again.pairs), &second, again.format).ok && second == saved,
          "the reopened file saves as other bytes");
    // Save twice without reopening: the format is the one the first save
    // set (Windows-1257 for an ASCII list that was Windows-1257, say).
    if (!(w.format == again.format))
        check(encodeDictionary(withStoredHyphens(inMemory), &second, w.format).ok && second == saved,
              "saving the list twice gives other bytes");
}

bool fitsAFile(const QString& w)
{
    // Qt's own check for unpaired surrogates: whether UTF-8 and back keeps it
    // (behind a letter, or Qt would take a leading U+FEFF for a mark).
    const QString word = u'a' + w;
    return w.size() <= MaxWordLength && !w.contains(u'\r') && !w.contains(u'\n') && !w.contains(QChar(0))
        && QString::fromUtf8(word.toUtf8()) == word;
}

// The input as UTF-16 words, "|" between them.
void writeAnyWords(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return;
    const std::optional<FileFormat> formats[] = {std::nullopt,
                                                 FileFormat{TextEncoding::Windows1257, false},
                                                 FileFormat{TextEncoding::Utf8, false},
                                                 FileFormat{TextEncoding::Utf8, true},
                                                 FileFormat{TextEncoding::Utf16LE, true},
                                                 FileFormat{TextEncoding::Utf16BE, true}};
    const std::optional<FileFormat> format = formats[data[0] % std::size(formats)];
    // Host order: it only needs to be some order.
    QString text(qsizetype((size - 1) / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data + 1, size_t(text.size()) * 2);
    const QStringList words = text.split(u'|');
    WordPairs pairs;
    bool fits = true;
    for (qsizetype i = 0; i + 1 < words.size(); i += 2) {
        pairs.push_back({words[i], words[i + 1]});
        fits = fits && fitsAFile(words[i]) && fitsAFile(words[i + 1]);
    }
    QByteArray bytes;
    const WriteResult w = encodeDictionary(pairs, &bytes, format);
    check(w.ok == fits, fits ? "the writer refused words a file can hold" : "the writer took words no file can hold");
    if (w.ok) {
        const ReadResult back = readDictionary(bytes);
        check(back.ok() && !back.truncated && back.pairs == withHyphens(pairs), "written words read back otherwise");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    openSaveReopenSave(bytes);
    writeAnyWords(data, size);
    return 0;
}
