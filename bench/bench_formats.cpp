#include "dictionary/DictionaryFile.h"
#include "dictionary/Import.h"
#include "dictionary/WordListFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vorbix::dictionary;

namespace {

// The same 1000 pairs as a .dic, a KVTML 2 file and a CSV; every open reads
// the file from disk and decodes all of it, a list from another program with
// the import window's first guesses.
WordPairs pairs()
{
    WordPairs p;
    for (int i = 0; i < MaxPairs; ++i)
        p.push_back({QStringLiteral("sõna-%1 šokolaad, \"x\"").arg(i), QStringLiteral("word-%1").arg(i)});
    return p;
}

QByteArray kvtml(const WordPairs& list)
{
    QByteArray b = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" "
                   "\"http://edu.kde.org/kvtml/kvtml2.dtd\">\n<kvtml version=\"2.0\">\n<identifiers>"
                   "<identifier id=\"0\"><name>Eesti</name></identifier><identifier id=\"1\"><name>English</name>"
                   "</identifier></identifiers>\n<entries>\n";
    for (size_t i = 0; i < list.size(); ++i)
        b += "<entry id=\"" + QByteArray::number(qulonglong(i)) + "\">\n<translation id=\"0\">\n<text>"
            + list[i].known.toHtmlEscaped().toUtf8() + "</text>\n</translation>\n<translation id=\"1\">\n<text>"
            + list[i].unknown.toHtmlEscaped().toUtf8()
            + "</text>\n<grade currentgrade=\"1\"/>\n</translation>\n</entry>\n";
    return b + "</entries>\n</kvtml>\n";
}

QByteArray csv(const WordPairs& list)
{
    QByteArray b;
    for (const WordPair& p : list)
        b += "\"" + QString(p.known).replace("\"", "\"\"").toUtf8() + "\"," + p.unknown.toUtf8() + "\r\n";
    return b;
}

void openList(benchmark::State& st, const char* name)
{
    QTemporaryDir dir;
    const WordPairs list = pairs();
    const QString path = dir.filePath(QString::fromLatin1(name));
    QByteArray bytes;
    if (path.endsWith(".dic"))
        encodeDictionary(list, &bytes);
    else
        bytes = path.endsWith(".kvtml") ? kvtml(list) : csv(list);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        st.SkipWithError("cannot write the file");
        return;
    }
    f.close();
    const bool dic = path.endsWith(".dic");
    for (auto _ : st) {
        WordPairs read;
        if (dic) {
            read = readDictionaryFile(path).pairs;
        } else {
            QFile in(path);
            if (in.open(QIODevice::ReadOnly))
                read = previewImport(in.readAll(), path).pairs;
        }
        if (read != list)
            st.SkipWithError("open failed");
        benchmark::DoNotOptimize(read.data());
    }
    st.counters["bytes"] = double(bytes.size());
}

void openDic(benchmark::State& st) { openList(st, "list.dic"); }
void openKvtml(benchmark::State& st) { openList(st, "list.kvtml"); }
void openCsv(benchmark::State& st) { openList(st, "list.csv"); }

void exportTsv(benchmark::State& st)
{
    const WordPairs list = pairs();
    for (auto _ : st) {
        QByteArray bytes;
        encodeTabSeparated(list, &bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
}

} // namespace

BENCHMARK(openDic)->Unit(benchmark::kMicrosecond);
BENCHMARK(openKvtml)->Unit(benchmark::kMicrosecond);
BENCHMARK(openCsv)->Unit(benchmark::kMicrosecond);
BENCHMARK(exportTsv)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
