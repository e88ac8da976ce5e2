#include "dictionary/DictionaryFile.h"
#include "state/Moodul1.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vorbix;
using namespace vorbix::dictionary;

namespace {

// A full list of 1000 pairs; `wide` puts Cyrillic in, which sends the file
// to UTF-8.
void fullList(MOODUL1& s, bool wide)
{
    for (int i = 0; i < MaxPairs; ++i) {
        s.KnownWords[i] = QStringLiteral("sõna-%1 šokolaad, \"x\"").arg(i);
        s.UnknownWords[i] = wide ? QStringLiteral("слово-%1").arg(i) : QStringLiteral("word-%1").arg(i);
    }
    s.LastWordIndex = MaxPairs - 1;
}

void saveFullList(benchmark::State& st)
{
    QTemporaryDir dir;
    auto s = std::make_unique<MOODUL1>();
    fullList(*s, st.range(0) != 0);
    const QString path = dir.filePath("bench.dic");
    for (auto _ : st) {
        if (!saveWithHyphenRule(*s, path).ok)
            st.SkipWithError("save failed");
    }
}

void openFullList(benchmark::State& st)
{
    QTemporaryDir dir;
    auto s = std::make_unique<MOODUL1>();
    fullList(*s, st.range(0) != 0);
    const QString path = dir.filePath("bench.dic");
    if (!saveWithHyphenRule(*s, path).ok) {
        st.SkipWithError("save failed");
        return;
    }
    for (auto _ : st) {
        const ReadResult r = readDictionaryFile(path);
        if (!r.ok() || r.pairs.size() != size_t(MaxPairs))
            st.SkipWithError("open failed");
        storePairs(*s, r.pairs);
        benchmark::DoNotOptimize(s->KnownWords[999]);
    }
}

// From memory: the reader alone, no disk. Argument 2: UTF-16.
void readFullList(benchmark::State& st)
{
    auto s = std::make_unique<MOODUL1>();
    fullList(*s, st.range(0) == 1);
    if (st.range(0) == 2)
        s->CurrentFileFormat = FileFormat{TextEncoding::Utf16LE, true};
    QByteArray bytes;
    if (!encodeDictionary(withStoredHyphens(savedPairs(*s)), &bytes, s->CurrentFileFormat).ok) {
        st.SkipWithError("encode failed");
        return;
    }
    for (auto _ : st) {
        const ReadResult r = readDictionary(bytes);
        if (!r.ok() || r.pairs.size() != size_t(MaxPairs))
            st.SkipWithError("read failed");
        benchmark::DoNotOptimize(r.pairs.data());
    }
    st.SetBytesProcessed(st.iterations() * bytes.size());
}

void encodeFullList(benchmark::State& st)
{
    auto s = std::make_unique<MOODUL1>();
    fullList(*s, st.range(0) != 0);
    const WordPairs pairs = savedPairs(*s);
    for (auto _ : st) {
        QByteArray bytes;
        encodeDictionary(pairs, &bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}

} // namespace

// Argument 0: Baltic code page; 1: UTF-8 (2: UTF-16 where given).
BENCHMARK(saveFullList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(openFullList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(readFullList)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(encodeFullList)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
