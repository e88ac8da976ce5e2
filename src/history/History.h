#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace vorbix::history {

// The learning record: every judged answer, kept in an SQLite database in the
// user's data folder. A pair is known by its two words, so sorting, renaming
// or exporting the list keeps its history. Nothing here ever stops a test: a
// database that cannot be used makes every call a no-op and says why once.

enum class Outcome { Right, Wrong, TimedOut };
enum class AskedSide { UnknownWord, KnownWord }; // which word the user had to give
enum class Mode { Normal, Choices };

struct Answer {
    QDateTime when;
    QString listPath;
    QString known;
    QString unknown;
    AskedSide side = AskedSide::UnknownWord;
    Mode mode = Mode::Normal;
    QString given; // what the user typed or chose; empty for a time-out
    Outcome outcome = Outcome::Right;
    double seconds = 0;
    qint64 testId = 0; // one test: from the test window's load to its end
};

// One pair of one list, over all its answers.
struct PairRecord {
    QString known;
    QString unknown;
    int asked = 0;
    int right = 0;
    QDateTime lastAsked;
    std::optional<Answer> lastAnswer;
    double shareRight() const { return asked ? double(right) / asked : 0.0; }
};

// One test of one list: for the plot of the share of right answers over time.
struct TestPoint {
    qint64 testId = 0;
    QDateTime when;
    int answered = 0;
    int right = 0;
};

class Store {
public:
    // Where the record lives: AppDataLocation (XDG_DATA_HOME moves it).
    static QString defaultPath();

    // Opens or creates the database. A damaged file is set aside under
    // another name and a new one started.
    explicit Store(const QString& path);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    bool usable() const;
    // Why the record is not kept, for one message; empty while all is well.
    QString problem() const;

    qint64 beginTest(const QString& listPath);
    // Committed before it returns.
    bool record(const Answer& answer);

    std::vector<PairRecord> pairs(const QString& listPath) const;
    std::vector<TestPoint> tests(const QString& listPath) const;
    std::vector<Answer> mistakesOfLastTest(const QString& listPath) const;

    bool clearAll();
    bool clearList(const QString& listPath);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vorbix::history
