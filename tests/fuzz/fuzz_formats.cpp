// libFuzzer target over the readers of other programs' lists, with the
// import window's first guesses: no input may crash them, a refusal returns
// nothing, and whatever they accept must come back the same through
// Vorbix's tab-separated export.
#include "dictionary/Import.h"
#include "dictionary/WordListFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace vorbix::dictionary;

// The line of the broken invariant, since the optimizer folds the aborts.
static int check(bool ok, unsigned line = __builtin_LINE())
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_formats.cpp:%u: invariant broken\n", line);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ImportPreview read = previewImport(bytes, "list.txt"); // not .dic: the content decides
    if (!read.ok())
        return check(read.pairs.empty() && !read.errorText.isEmpty());
    const bool cut = read.entries > read.firstEntry + int(read.pairs.size());
    check(read.pairs.size() <= size_t(MaxPairs) && (!cut || read.pairs.size() == size_t(MaxPairs)));
    const bool exportable = std::all_of(read.pairs.begin(), read.pairs.end(), [](const WordPair& p) {
        const QString both = p.known + '|' + p.unknown;
        return !p.known.isEmpty() && !p.unknown.isEmpty() && !both.contains('\r') && !both.contains('\n');
    });
    // An import keeps only whole pairs; what Vorbix cannot write back is
    // never its own form.
    if (read.format != ImportFormat::DicLines)
        check(!read.pairs.empty() && exportable && read.kind != FileKind::Dictionary
              && (read.kind == FileKind::Imported || (read.skippedTotal() == 0 && !cut)));
    QByteArray tsv;
    const bool written = encodeTabSeparated(read.pairs, &tsv).ok;
    check(written == exportable);
    if (!written)
        return 0;
    const ImportPreview again = previewImport(tsv, "list.tsv");
    // An empty export is an empty file, which is an empty list in the .dic form.
    check(again.ok() && again.pairs == read.pairs
          && again.kind == (read.pairs.empty() ? FileKind::Dictionary : FileKind::TabSeparated));
    return 0;
}
