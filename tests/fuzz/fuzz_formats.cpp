// libFuzzer target over the readers of other programs' lists: no input may
// crash them, a refusal returns nothing, and whatever they accept must come
// back the same through Vorbix's tab-separated export.
#include "dictionary/WordListFile.h"

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

bool exportable(const WordPairs& pairs)
{
    for (const auto& p : pairs)
        for (const QString* w : {&p.known, &p.unknown})
            if (w->isEmpty() || w->contains(QLatin1Char('\r')) || w->contains(QLatin1Char('\n')))
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // Not named .dic, so that the content decides.
    const ListReadResult read = readWordList(bytes, QStringLiteral("list.txt"));
    if (!read.ok()) {
        check(read.pairs.empty() && !read.truncated);
        return 0;
    }
    check(read.pairs.size() <= static_cast<size_t>(MaxPairs));
    check(!read.truncated || read.pairs.size() == static_cast<size_t>(MaxPairs));
    if (read.source != ListFormat::Dictionary) {
        // An import keeps only whole pairs; what Vorbix cannot write back
        // is never its own form.
        check(!read.pairs.empty() && exportable(read.pairs));
        check(read.kind != FileKind::Dictionary);
        check(read.kind == FileKind::Imported || (read.skipped() == 0 && !read.truncated));
    }

    QByteArray tsv;
    const WriteResult written = encodeTabSeparated(read.pairs, &tsv);
    check(written.ok == exportable(read.pairs));
    if (!written.ok)
        return 0;
    const ListReadResult again = readWordList(tsv, QStringLiteral("list.tsv"));
    check(again.ok());
    check(again.pairs == read.pairs);
    // An empty export is an empty file, which is an empty .dic as well.
    check(again.kind == (read.pairs.empty() ? FileKind::Dictionary : FileKind::TabSeparated));
    return 0;
}
