// The learning record: what one judged answer costs to record (committed,
// in a record that already holds a long history), and reading a whole
// list's per-pair record as the progress window does.
#include "history/Recorder.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

using namespace vorbix::history;

namespace {

constexpr int ListPairs = 1000;

std::vector<PairWords> listWords()
{
    std::vector<PairWords> words;
    for (int i = 0; i < ListPairs; ++i)
        words.emplace_back(QString("known word %1").arg(i), QString("unknown word %1").arg(i));
    return words;
}

// A record holding `answers` answers over the list's pairs, in tests of 50.
void fill(const QString& path, int answers)
{
    {
        Store made(path);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fill");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec("BEGIN");
        q.exec("INSERT INTO lists (id, path) VALUES (1, '/home/mari/words.dic')");
        const auto words = listWords();
        for (int i = 0; i < ListPairs; ++i) {
            q.prepare("INSERT INTO pairs (id, known, unknown) VALUES (?, ?, ?)");
            q.addBindValue(i + 1), q.addBindValue(words[i].first), q.addBindValue(words[i].second);
            q.exec();
        }
        for (int t = 0; t < answers / 50; ++t)
            q.exec(QString("INSERT INTO tests (id, list, started) VALUES (%1, 1, %2)").arg(t + 1).arg(t * 60000LL));
        q.prepare("INSERT INTO answers (test, list, pair, at, side, mode, given, outcome, seconds) "
                  "VALUES (?, 1, ?, ?, 0, 0, 'given', ?, 2.5)");
        for (int i = 0; i < answers; ++i) {
            q.addBindValue(i / 50 + 1), q.addBindValue(i * 7919 % ListPairs + 1), q.addBindValue(i * 1000LL);
            q.addBindValue(i % 4 == 0 ? 1 : 0);
            q.exec();
        }
        q.exec("COMMIT");
    }
    QSqlDatabase::removeDatabase("fill");
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Each iteration is one answer handed to the program's recorder, timed on
// its own, so that the percentiles are those of single answers.
void RecordOneAnswer(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    fill(path, int(st.range(0)));
    Recorder recorder;
    recorder.setPath(path);
    recorder.open();
    const auto words = listWords();
    std::vector<double> ms;
    int n = 0;
    for (auto _ : st) {
        Answer a;
        a.when = QDateTime::currentDateTime();
        a.listPath = "/home/mari/words.dic";
        a.known = words[size_t(n % ListPairs)].first;
        a.unknown = words[size_t(n % ListPairs)].second;
        a.given = a.unknown;
        a.seconds = 3;
        const auto start = std::chrono::steady_clock::now();
        recorder.record(a, n++ % 50 == 0);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    if (!recorder.keeping())
        st.SkipWithError("the record refused an answer");
    st.counters["p50_ms"] = percentile(ms, 0.50);
    st.counters["p95_ms"] = percentile(ms, 0.95);
    st.counters["max_ms"] = percentile(ms, 1.0);
}
BENCHMARK(RecordOneAnswer)->Arg(0)->Arg(100000)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// Every pair of a 1000-pair list with its counts and last answer.
void ReadListRecord(benchmark::State& st)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    fill(path, int(st.range(0)));
    Store store(path);
    const auto words = listWords();
    for (auto _ : st)
        benchmark::DoNotOptimize(store.pairs(words));
}
BENCHMARK(ReadListRecord)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
