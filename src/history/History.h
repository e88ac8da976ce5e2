#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vorbix::history {

// The learning record: every judged answer, kept in an SQLite database in the
// user's data folder. A pair is known by its two words, so sorting, renaming
// or exporting the list keeps its history. Nothing here ever stops a test: a
// database that cannot be used makes every call a no-op and says why once.

enum class Outcome { Right, Wrong, TimedOut }; // TimedOut: judged wrong by the clock
enum class AskedSide { UnknownWord, KnownWord }; // which word the user had to give
enum class Mode { Normal, Choices };

struct Answer {
    QDateTime when;
    QString listPath;
    QString known;
    QString unknown;
    AskedSide side = AskedSide::UnknownWord;
    Mode mode = Mode::Normal;
    QString given; // what was judged: typed, chosen, or what the box held when the clock ran out
    Outcome outcome = Outcome::Right;
    double seconds = 0;
    qint64 testId = 0; // one test: from the test window's load to its end

    bool operator==(const Answer&) const = default;
};

// A pair as the list holds it: its known word, then its unknown word.
using PairWords = std::pair<QString, QString>;

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
    // ReadOnly never creates or changes the file (for --history).
    enum class Access { ReadWrite, ReadOnly };

    // Where the record lives: AppDataLocation (XDG_DATA_HOME moves it).
    static QString defaultPath();
    // The version of the schema this program writes (PRAGMA user_version).
    static constexpr int SchemaVersion = 2;

    // Opens or creates the database. A damaged file is set aside under
    // another name and a new one started.
    explicit Store(const QString& path, Access access = Access::ReadWrite);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // The record can be read. It may still refuse answers (read-only, locked,
    // full): record() then returns false and problem() says why.
    bool usable() const;
    // Why the record is not kept, for one message; empty while all is well.
    QString problem() const;
    // Where a damaged file was put aside when this store opened; else empty.
    QString setAside() const;
    QString path() const;

    qint64 beginTest(const QString& listPath);
    // Committed before it returns. A test id that is unknown (cleared
    // meanwhile) is taken up again.
    bool record(const Answer& answer);

    // The pairs answered in this list, in the order first answered.
    std::vector<PairRecord> pairs(const QString& listPath) const;
    // These pairs, in this order, each with its answers in any list (none
    // when the record cannot be read).
    std::vector<PairRecord> pairs(const std::vector<PairWords>& list) const;
    std::vector<TestPoint> tests(const QString& listPath) const;
    // The pairs answered wrong (or too late) in the list's last test, each
    // once, in the order first missed, with the last wrong answer.
    std::vector<Answer> mistakesOfLastTest(const QString& listPath) const;

    // Deleted content is overwritten, not only unlinked.
    bool clearAll();
    bool clearList(const QString& listPath);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vorbix::history
