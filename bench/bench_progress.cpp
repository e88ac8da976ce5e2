// Opening the progress window on a full list whose record holds 100 000
// answers in 2000 tests: from the menu command to the window painted on
// screen, and the reading of the record alone.
#include "startup/FirstPaint.h"

#include "dictionary/DictionaryFile.h"
#include "history/History.h"
#include "history/Recorder.h"
#include "ui/main/Main.h"
#include "ui/progress/Progress.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

using namespace vorbix;

namespace {

constexpr int Pairs = MOODUL1::FileCapacity;
constexpr int Tests = 2000;
constexpr int AnswersPerTest = 50;

const QString ListPath = QStringLiteral("/home/user/words.dic");

dictionary::WordPairs listPairs()
{
    dictionary::WordPairs pairs;
    for (int i = 0; i < Pairs; ++i)
        pairs.push_back({QStringLiteral("sõna%1").arg(i), QStringLiteral("word%1").arg(i)});
    return pairs;
}

// The record, written once per run: about seven answers in ten right, the
// wrong ones with a letter changed.
const QString& recordFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("history.sqlite"));
        QElapsedTimer clock;
        clock.start();
        history::Store store(file);
        const auto pairs = listPairs();
        std::mt19937 random(7);
        QDateTime when = QDateTime::currentDateTime().addDays(-Tests);
        for (int t = 0; t < Tests; ++t, when = when.addSecs(3600 * 12)) {
            const qint64 test = store.beginTest(ListPath);
            for (int a = 0; a < AnswersPerTest; ++a) {
                const auto& pair = pairs[random() % pairs.size()];
                history::Answer answer;
                answer.when = when.addSecs(a * 5);
                answer.listPath = ListPath;
                answer.known = pair.known;
                answer.unknown = pair.unknown;
                answer.testId = test;
                const bool right = random() % 10 < 7;
                answer.outcome = right ? history::Outcome::Right : history::Outcome::Wrong;
                answer.given = right ? pair.unknown : QString(pair.unknown).replace(1, 1, QLatin1Char('x'));
                answer.seconds = 2.5;
                store.record(answer);
            }
        }
        std::fprintf(stderr, "record of %d answers written in %.1f s\n", Tests * AnswersPerTest,
                     double(clock.elapsed()) / 1000.0);
        return file;
    }();
    return path;
}

struct Run {
    QtPlatform platform;
    Program program{platform};

    Run()
    {
        dictionary::storePairs(program.state(), listPairs());
        program.state().CurrentFile = ListPath;
        program.history().setPath(recordFile());
        program.history().open();
        program.form<Main>(); // loaded, so that closing the progress window never ends the run
    }
};

// Show progress...: the record read, the table, plot and mistakes filled,
// the window painted. The record is open already, as it is once the main
// window is up.
void BM_OpenProgressWindow(benchmark::State& state)
{
    Run run;
    bench::FirstPaint watch;
    for (auto _ : state) {
        Progress& window = run.program.show<Progress>();
        if (!watch.waitFor(window))
            state.SkipWithError("the window never painted");
        state.PauseTiming();
        run.program.unload<Progress>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        watch.reset();
        state.ResumeTiming();
    }
}

// The reading and filling alone, on the open window.
void BM_RefreshProgress(benchmark::State& state)
{
    Run run;
    Progress& window = run.program.form<Progress>();
    for (auto _ : state)
        window.refresh();
}

} // namespace

BENCHMARK(BM_OpenProgressWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshProgress)->Unit(benchmark::kMillisecond);

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
