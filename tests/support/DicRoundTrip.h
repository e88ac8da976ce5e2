#pragma once

#include "dictionary/DictionaryFile.h"
#include "state/Moodul1.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <memory>

namespace vorbix::testing {

// A pipe-like device that hands out at most `piece` bytes a read, so a
// reader meets lines and characters cut anywhere.
class Trickle : public QIODevice {
public:
    Trickle(const QByteArray& bytes, qint64 piece) : bytes_(bytes), piece_(piece) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::max<qint64>(0, std::min({maxSize, piece_, bytes_.size() - at_}));
        std::memcpy(data, bytes_.constData() + at_, size_t(n));
        at_ += n;
        return n; // 0 at the end, as a file reports it
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 piece_;
    qint64 at_ = 0;
};

// Open, Save as Save does, reopen, Save again. Empty when the bytes are
// refused with nothing, or when the reopened words are the saved ones, the
// encoding is kept and every later save gives the same bytes; else the fault.
// Read in pieces of `piece` bytes from a stream, the file must read as from
// memory.
inline QString roundTripFault(const QByteArray& bytes, qint64 piece)
{
    using namespace dictionary;
    const ReadResult first = readDictionary(bytes);
    Trickle stream(bytes, piece);
    const ReadResult streamed = readDictionary(stream);
    if (streamed.error != first.error || streamed.pairs != first.pairs || streamed.truncated != first.truncated
        || (first.ok() && !(streamed.format == first.format)))
        return "a stream read differs from a memory read";
    if (!first.ok())
        return first.pairs.empty() ? QString() : "a refused read gave pairs";
    if (first.pairs.size() > size_t(MaxPairs) || (first.truncated && first.pairs.size() < size_t(MaxPairs)))
        return "truncated elsewhere than at 1000 pairs";
    const auto state = std::make_unique<MOODUL1>(); // made afresh: libFuzzer looks for leaks after each run
    storePairs(*state, first.pairs);
    const WordPairs kept = savedPairs(*state);
    const WordPairs stored = withStoredHyphens(kept);
    QByteArray saved, again;
    const WriteResult w = encodeDictionary(stored, &saved, first.format);
    if (!w.ok)
        return "Save refused an opened list: " + w.reason;
    if (kept.size() == first.pairs.size() && !(w.format == first.format))
        return "Save changed the encoding of an unchanged list";
    const ReadResult reopened = readDictionary(saved);
    if (!reopened.ok() || reopened.truncated || reopened.pairs != withHyphens(stored))
        return "the saved file opens as other words";
    if (!encodeDictionary(withStoredHyphens(reopened.pairs), &again, reopened.format).ok || again != saved)
        return "the reopened file saves as other bytes";
    // Saved twice without reopening, in the format the first save set.
    if (!(w.format == reopened.format)
        && (!encodeDictionary(withStoredHyphens(reopened.pairs), &again, w.format).ok || again != saved))
        return "saving the list twice gives other bytes";
    return {};
}

} // namespace vorbix::testing
