// The exchange sort on a full list: the routine as it ships, the same
// routine collating the strings at every comparison, and the whole click.
#include "state/Sorting.h"
#include "ui/editor/Editor.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include "ui_Editor.h"

#include <QApplication>
#include <QCollator>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

using namespace vorbix;

namespace {

constexpr int Pairs = MOODUL1::FileCapacity;

// Word-like strings: Estonian-looking known words, English-looking unknown
// words, some capitalised, some repeated.
QString makeWord(std::mt19937& random, const QStringList& syllables)
{
    QString word;
    const int parts = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < parts; ++i)
        word += syllables[random() % syllables.size()];
    if (random() % 8 == 0)
        word[0] = word[0].toUpper();
    return word;
}

std::unique_ptr<MOODUL1> shuffledList(unsigned seed, int count = Pairs)
{
    static const QStringList known{"ka", "ma", "tu", "le", "sõ", "pä", "rii", "küü", "ja", "to", "ne", "mi", "sa",
                                   "öö", "ha", "ve", "li", "ku", "ra", "pe",  "šo",  "žü", "aa", "kõ", "ts"};
    static const QStringList unknown{"an", "ber", "cor", "dy",  "el", "fin", "gra", "ho", "ing",
                                     "jo", "ket", "lo",  "man", "ny", "or",  "pre", "qu", "ro",
                                     "st", "ter", "un",  "ver", "wa", "x",   "ly"};
    std::mt19937 random(seed);
    auto m = std::make_unique<MOODUL1>();
    for (int i = 0; i < count; ++i) {
        m->KnownWords[i] = makeWord(random, known);
        m->UnknownWords[i] = makeWord(random, unknown);
    }
    m->LastWordIndex = static_cast<std::int16_t>(count - 1);
    return m;
}

// The same exchange sort collating the strings at every comparison.
void sortKnownAZByStrings(MOODUL1& m)
{
    const QCollator collator = wordCollator();
    for (int i = 0; i <= m.LastWordIndex; ++i)
        for (int j = i + 1; j <= m.LastWordIndex; ++j)
            if (!m.KnownWords[j].isEmpty() && collator.compare(m.KnownWords[i], m.KnownWords[j]) > 0) {
                m.KnownWords[i].swap(m.KnownWords[j]);
                m.UnknownWords[i].swap(m.UnknownWords[j]);
            }
}

template <void (*Sort)(MOODUL1&)> void sortRoutine(benchmark::State& state)
{
    const auto original = shuffledList(1);
    auto m = std::make_unique<MOODUL1>();
    for (auto _ : state) {
        state.PauseTiming();
        *m = *original;
        state.ResumeTiming();
        Sort(*m);
        benchmark::DoNotOptimize(m->KnownWords[0]);
    }
}

void BM_SortKnownAZ_Ranks(benchmark::State& state) { sortRoutine<SortKnownAZ>(state); }
void BM_SortKnownAZ_StringCompare(benchmark::State& state) { sortRoutine<sortKnownAZByStrings>(state); }

// A click of "A-Z" over the known words: write-back, sort, refill of both lists.
void BM_SortClick(benchmark::State& state)
{
    QtPlatform platform;
    Program program(platform);
    const auto original = shuffledList(2);
    Editor& editor = program.form<Editor>();
    for (auto _ : state) {
        state.PauseTiming();
        program.state() = *original;
        editor.Form_Load();
        state.ResumeTiming();
        editor.Command7_Click();
    }
    benchmark::DoNotOptimize(editor.ui->List1->count());
}

// Adding the 1000th pair while "A-Z" is active: the add, then the sort click.
void BM_AddWithActiveSort(benchmark::State& state)
{
    QtPlatform platform;
    Program program(platform);
    const auto original = shuffledList(3, Pairs - 1);
    Editor& editor = program.form<Editor>();
    program.state() = *original;
    editor.Form_Load();
    editor.Command7_Click();
    const MOODUL1 sorted = program.state();
    std::mt19937 random(4);
    for (auto _ : state) {
        state.PauseTiming();
        program.state() = sorted;
        editor.Form_Load();
        editor.ui->Text1->setText(QStringLiteral("sõna%1").arg(random() % 1000));
        editor.ui->Text2->setText(QStringLiteral("word"));
        state.ResumeTiming();
        editor.Command1_Click();
    }
    if (editor.ui->List1->count() != Pairs)
        state.SkipWithError("the pair was not added");
}

} // namespace

BENCHMARK(BM_SortKnownAZ_Ranks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortKnownAZ_StringCompare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortClick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddWithActiveSort)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
