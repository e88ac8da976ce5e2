// The import readers on the files a hostile or just a big list makes: time
// and peak memory of an open (the file read from disk, then previewed), each
// run in a child process of its own so that its peak resident set is its
// own (the counter "peak_MB").
#include "dictionary/Import.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorbix::dictionary;

namespace {

QByteArray blankLines() { return "koer\tdog\n" + QByteArray(60 * 1000 * 1000, '\n'); }

QByteArray deepKvtml()
{
    return "<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\"><entries><entry id=\"0\"><translation id=\"0\"><text>"
        + QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000)
        + "</text></translation></entry></entries></kvtml>\n";
}

QByteArray entityKvtml()
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE kvtml [<!ENTITY e \"" + QByteArray(4000, 'x') + "\">]>\n<kvtml><e><o>"
        + QByteArray("&e;").repeated(400000) + "</o><t>x</t></e></kvtml>\n";
}

QByteArray millionLines()
{
    QByteArray b;
    b.reserve(30 * 1000 * 1000);
    for (int i = 0; i < 1000000; ++i)
        b += "word" + QByteArray::number(i) + ",translation " + QByteArray::number(i) + "\n";
    return b;
}

QByteArray bigKvtml()
{
    QByteArray b = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kvtml version=\"2.0\">\n<identifiers><identifier "
                   "id=\"0\"><name>A</name></identifier><identifier id=\"1\"><name>B</name></identifier>"
                   "</identifiers>\n<entries>\n";
    for (int i = 0; b.size() < 50 * 1000 * 1000; ++i)
        b += "<entry id=\"" + QByteArray::number(i) + "\">\n <translation id=\"0\">\n  <text>s\xC3\xB5na "
            + QByteArray::number(i) + "</text>\n </translation>\n <translation id=\"1\">\n  <text>word "
            + QByteArray::number(i) + "</text>\n  <grade currentgrade=\"1\"/>\n </translation>\n</entry>\n";
    return b + "</entries>\n</kvtml>\n";
}

// Opens the file in a child: the seconds it took, its peak resident set
// in MB and the number of pairs (or -1 for a refusal).
struct Run {
    double seconds = 0;
    double cpuSeconds = 0;
    double peakMb = 0;
    double pairs = 0;
};

Run openInChild(const QString& path)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const auto start = std::chrono::steady_clock::now();
        QFile f(path);
        double out[2] = {0, -1};
        if (f.open(QIODevice::ReadOnly)) {
            const ImportPreview p = previewImport(f.readAll(), path);
            out[1] = p.ok() ? double(p.pairs.size()) : -1;
        }
        out[0] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool written = write(fds[1], out, sizeof out) == ssize_t(sizeof out);
        _exit(written ? 0 : 1);
    }
    close(fds[1]);
    double in[2] = {0, 0};
    const bool read = ::read(fds[0], in, sizeof in) == ssize_t(sizeof in);
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!read)
        return {};
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {in[0], cpu, double(usage.ru_maxrss) / 1024.0, in[1]};
}

void openFile(benchmark::State& st, QByteArray (*make)(), const char* name)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    {
        const QByteArray bytes = make();
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            st.SkipWithError("cannot write the file");
            return;
        }
        st.counters["file_MB"] = double(bytes.size()) / (1024 * 1024);
    }
    double peak = 0, pairs = 0, cpu = 0;
    for (auto _ : st) {
        const Run r = openInChild(path);
        st.SetIterationTime(r.seconds);
        peak = std::max(peak, r.peakMb);
        pairs = r.pairs;
        cpu = r.cpuSeconds;
    }
    // CPU time of the child: the wall time is the machine's load as well.
    st.counters["cpu_s"] = cpu;
    st.counters["peak_MB"] = peak;
    st.counters["pairs"] = pairs;
}

} // namespace

BENCHMARK_CAPTURE(openFile, blank_lines_60MB, blankLines, "blank.txt")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openFile, kvtml_100000_deep, deepKvtml, "deep.kvtml")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openFile, kvtml_entities_1_2MB, entityKvtml, "entities.kvtml")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openFile, csv_1000000_lines, millionLines, "lines.csv")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openFile, kvtml_50MB, bigKvtml, "big.kvtml")->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
