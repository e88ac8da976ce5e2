// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary/Import.h"
#include "history/History.h"
#include "history/Recorder.h"
#include "state/CommandLine.h"
#include "state/Version.h"
#include "ui/main/Startup.h"
#include "ui/toolkit/Program.h"
#include "ui/toolkit/QtPlatform.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

QStringList argumentList(int argc, char* argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

// Help, version and mistakes end the program here. Needs an application
// object (the help names the program by it), but no display.
int answer(const vorbix::CommandLine& commandLine, bool parsed)
{
    if (!parsed) {
        std::fprintf(stderr, "vorbix: %s\nTry 'vorbix --help' for more information.\n",
                     qPrintable(commandLine.errorText()));
        return 1;
    }
    const QString text =
        commandLine.wantsHelp() ? commandLine.helpText() : vorbix::CommandLine::versionLine() + QLatin1Char('\n');
    std::fputs(qPrintable(text), stdout);
    return 0;
}

// A field of tab-separated text, quoted as RFC 4180 has it when it must be.
QString field(const QString& text)
{
    if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The pairs Open would take with the import window's first guesses; a
// refusal in the words Open would show it in.
vorbix::dictionary::WordPairs readListAsOpenDoes(const QString& file, QString* refusal)
{
    using namespace vorbix::dictionary;
    if (file.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive)) {
        ReadResult read = readDictionaryFile(file);
        if (!read.ok())
            *refusal = openFailureText(read.error, file);
        return read.pairs;
    }
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly)) {
        *refusal = openFailureText(readDictionaryFile(file).error, file);
        return {};
    }
    if (f.size() > MaxListFileBytes) {
        *refusal = importErrorText(ImportError::TooLarge);
        return {};
    }
    const ImportPreview preview = previewImport(f.readAll(), file);
    if (!preview.ok())
        *refusal = preview.errorText.isEmpty() ? importErrorText(preview.error) : preview.errorText;
    return preview.pairs;
}

// --history FILE: every pair of the list as its file holds it, with the
// answers recorded for its two words in any list. Reads the record, never
// makes or changes it.
int printHistory(const QString& file)
{
    using namespace vorbix;
    QString refusal;
    const dictionary::WordPairs pairs = readListAsOpenDoes(file, &refusal);
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "vorbix: %s cannot be read as a word list: %s\n", qPrintable(file), qPrintable(refusal));
        return 3;
    }
    const QString recordPath = history::Store::defaultPath();
    const history::Store store(recordPath, history::Store::Access::ReadOnly);
    if (!store.usable() && QFileInfo::exists(recordPath)) {
        std::fprintf(stderr, "vorbix: %s\n", qPrintable(store.problem()));
        return 4;
    }
    std::vector<history::PairWords> words;
    for (const dictionary::WordPair& p : pairs)
        words.emplace_back(p.known, p.unknown);
    QString out = QStringLiteral("known\tunknown\tasked\tright\tlast_asked\tlast_answer\tlast_outcome\n");
    for (const history::PairRecord& r : store.pairs(words)) {
        QStringList row{field(r.known), field(r.unknown), QString::number(r.asked), QString::number(r.right)};
        if (r.lastAnswer) {
            static const char* const outcomes[] = {"right", "wrong", "timed-out"};
            row << r.lastAsked.toUTC().toString(Qt::ISODate) << field(r.lastAnswer->given)
                << QString::fromLatin1(outcomes[int(r.lastAnswer->outcome)]);
        } else {
            row << QString() << QString() << QString();
        }
        out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    std::fputs(out.toUtf8().constData(), stdout);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt's own options (-platform, -style ...) are unknown here; they are
    // taken off by the application object, and the rest is read again then.
    vorbix::CommandLine commandLine;
    const bool parsed = commandLine.parse(argumentList(argc, argv));
    if (parsed ? (commandLine.wantsHelp() || commandLine.wantsVersion()) : !displayAvailable()) {
        QCoreApplication core(argc, argv);
        return answer(commandLine, parsed);
    }
    if (const QString list = commandLine.historyFile(QDir::currentPath()); parsed && !list.isEmpty()) {
        QCoreApplication core(argc, argv);
        return printHistory(list);
    }

    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "vorbix: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start it from a desktop session, or on a virtual display:\n"
                     "    xvfb-run -a ./build/vorbix\n");
        return 2;
    }
    QApplication app(argc, argv);
    if (!parsed) {
        const bool understood = commandLine.parse(QCoreApplication::arguments());
        if (!understood || commandLine.wantsHelp() || commandLine.wantsVersion())
            return answer(commandLine, understood);
    }
    vorbix::QtPlatform platform;
    vorbix::Program program(platform);
    vorbix::startProgram(program, commandLine);
    return QApplication::exec();
}
