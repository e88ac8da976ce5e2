// libFuzzer target over the dictionary reader: no input may crash it, and
// whatever it accepts must survive being written and read again.
#include "dictionary/DictionaryFile.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

using namespace vorbix::dictionary;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool hasLineBreak(const WordPairs& pairs)
{
    for (const auto& p : pairs)
        for (const QString* w : {&p.known, &p.unknown})
            if (w->contains(QLatin1Char('\r')) || w->contains(QLatin1Char('\n')))
                return true;
    return false;
}

bool hasBrace(const WordPairs& pairs)
{
    for (const auto& p : pairs)
        if (p.known.contains(QLatin1Char('}')) || p.unknown.contains(QLatin1Char('}')))
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReadResult read = readDictionary(bytes);
    if (!read.ok()) {
        check(read.pairs.empty());
        return 0;
    }
    check(read.pairs.size() <= static_cast<size_t>(MaxPairs));
    check(!read.truncated || read.pairs.size() == static_cast<size_t>(MaxPairs));

    QByteArray again;
    const WriteResult written = encodeDictionary(read.pairs, &again);
    if (hasLineBreak(read.pairs)) {
        check(!written.ok);
        return 0;
    }
    check(written.ok);
    const ReadResult reread = readDictionary(again);
    check(reread.ok());
    check(reread.pairs.size() == read.pairs.size());
    // Without a "}" left over the pass rule has nothing to change, so the
    // round trip must be exact.
    if (!hasBrace(read.pairs))
        check(reread.pairs == read.pairs);
    return 0;
}
