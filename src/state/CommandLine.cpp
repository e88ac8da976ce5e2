#include "state/CommandLine.h"

#include "state/Version.h"

#include <QDir>

namespace vorbix {

CommandLine::CommandLine()
    : help_({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")),
      version_({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version and exit.")),
      noHistory_(QStringLiteral("no-history"), QStringLiteral("Record no answers in the learning record.")),
      history_(QStringLiteral("history"),
               QStringLiteral("Print the learning record of the list in FILE, one pair a line, as tab-separated "
                              "text, and exit."),
               QStringLiteral("FILE"))
{
    parser_.setApplicationDescription(
        QStringLiteral("Drill the spelling of foreign-language words.\n\n"
                       "Word lists are .dic files; KVTML (KWordQuiz, Parley), CSV, tab-separated text and\n"
                       "Anki's plain-text export open too, after a window shows what will be read."));
    parser_.addOption(help_);
    parser_.addOption(version_);
    parser_.addOption(noHistory_);
    parser_.addOption(history_);
    parser_.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("Word list to open at start: .dic, .kvtml, .csv, .tsv or .txt (Anki export)."),
        QStringLiteral("[FILE]"));
}

bool CommandLine::parse(const QStringList& arguments)
{
    error_.clear();
    if (!parser_.parse(arguments)) {
        error_ = parser_.errorText();
        return false;
    }
    if (parser_.positionalArguments().size() > 1) {
        error_ = QStringLiteral("Only one file can be opened at start.");
        return false;
    }
    return true;
}

bool CommandLine::wantsHelp() const { return parser_.isSet(help_); }
bool CommandLine::wantsVersion() const { return parser_.isSet(version_); }
bool CommandLine::wantsNoHistory() const { return parser_.isSet(noHistory_); }

namespace {
QString absolute(const QString& path, const QString& workingDirectory)
{
    return path.isEmpty() ? QString() : QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(path));
}
} // namespace

QString CommandLine::historyFile(const QString& workingDirectory) const
{
    return parser_.isSet(history_) ? absolute(parser_.value(history_), workingDirectory) : QString();
}

QString CommandLine::file(const QString& workingDirectory) const
{
    const QStringList files = parser_.positionalArguments();
    return files.isEmpty() ? QString() : absolute(files.first(), workingDirectory);
}

QString CommandLine::helpText() const { return parser_.helpText(); }

QString CommandLine::versionLine() { return applicationTitle() + QLatin1Char(' ') + versionText(); }

} // namespace vorbix
