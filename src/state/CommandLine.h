#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace vorbix {

// vorbix [FILE], --help, --version, --no-history, --history FILE. Needs no
// application object, so that help, version and the record are answered
// before anything asks for a display.
class CommandLine {
public:
    CommandLine();

    // False for an option it does not know or more than one FILE.
    bool parse(const QStringList& arguments);
    QString errorText() const { return error_; }

    bool wantsHelp() const;
    bool wantsVersion() const;
    // Record no answers in this run.
    bool wantsNoHistory() const;
    // The list whose record is to be printed, absolute; empty when not asked.
    QString historyFile(const QString& workingDirectory) const;
    // The FILE as an absolute path, a relative one taken from the working
    // directory; empty when none was given.
    QString file(const QString& workingDirectory) const;

    // Names the program as the application object was started; without one,
    // as "<executable_name>".
    QString helpText() const;
    static QString versionLine(); // "Vorbix 1.4.0"

private:
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QCommandLineOption noHistory_;
    QCommandLineOption history_;
    QString error_;
};

} // namespace vorbix
