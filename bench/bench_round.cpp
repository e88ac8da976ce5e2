// A whole round of questions drawn by rejection: the last pairs of a full
// list take many draws, each with a scan of the marks.
#include "state/TestRound.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace vorbix;

static void WholeRound(benchmark::State& st)
{
    const int pairs = static_cast<int>(st.range(0));
    MOODUL1 s;
    for (int i = 0; i < pairs; ++i)
        s.KnownWords[i] = QString::number(i);
    s.LastWordIndex = static_cast<std::int16_t>(pairs - 1);
    std::mt19937 engine(42);
    std::uniform_real_distribution<float> dist(0.0f, 1.0f);
    const std::function<double()> rnd = [&] { return dist(engine); };
    std::int64_t draws = 0;
    const std::function<double()> counted = [&] {
        ++draws;
        return rnd();
    };
    for (auto _ : st) {
        for (int q = 0; q < pairs; ++q) {
            drawNextQuestion(s, counted);
            s.AskedFlags[s.CurrentQuestion] = 1;
        }
    }
    st.counters["draws/round"] = benchmark::Counter(static_cast<double>(draws) / st.iterations());
}
BENCHMARK(WholeRound)->Arg(10)->Arg(100)->Arg(1001)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
