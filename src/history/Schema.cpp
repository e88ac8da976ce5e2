// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/Schema.h"

namespace vorbix::history {

namespace {

// Version 2: words and paths once each, answers pointing at them, so that a
// pair's history is one index range whatever list it was asked from.
const QStringList Version2{
    QStringLiteral("CREATE TABLE lists (id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE)"),
    QStringLiteral("CREATE TABLE pairs (id INTEGER PRIMARY KEY, known TEXT NOT NULL, unknown TEXT NOT NULL, "
                   "UNIQUE (known, unknown))"),
    QStringLiteral("CREATE TABLE tests (id INTEGER PRIMARY KEY, list INTEGER NOT NULL, started INTEGER NOT NULL)"),
    // at: milliseconds since 1970 (UTC); side, mode and outcome as the enums
    // of History.h number them.
    QStringLiteral("CREATE TABLE answers (id INTEGER PRIMARY KEY, test INTEGER NOT NULL, list INTEGER NOT NULL, "
                   "pair INTEGER NOT NULL, at INTEGER NOT NULL, side INTEGER NOT NULL, mode INTEGER NOT NULL, "
                   "given TEXT NOT NULL, outcome INTEGER NOT NULL, seconds REAL NOT NULL)"),
    // A pair's counts read from the index alone.
    QStringLiteral("CREATE INDEX answers_by_pair ON answers (pair, outcome)"),
    QStringLiteral("CREATE INDEX answers_by_list ON answers (list, test)"),
};

// Version 1 kept every answer whole, with its list's path and both words in
// each row: tests(id, list, started), answers(id, test, list, known, unknown,
// at, side, mode, given, outcome, seconds). Ids are kept, so tests stay tests.
const QStringList From1To2 =
    QStringList{
        QStringLiteral("ALTER TABLE answers RENAME TO answers_v1"),
        QStringLiteral("ALTER TABLE tests RENAME TO tests_v1"),
    }
    + Version2
    + QStringList{
        QStringLiteral(
            "INSERT OR IGNORE INTO lists (path) SELECT list FROM tests_v1 UNION SELECT list FROM answers_v1"),
        QStringLiteral(
            "INSERT OR IGNORE INTO pairs (known, unknown) SELECT known, unknown FROM answers_v1 ORDER BY id"),
        QStringLiteral("INSERT INTO tests (id, list, started) SELECT t.id, l.id, t.started FROM tests_v1 t "
                       "JOIN lists l ON l.path = t.list"),
        QStringLiteral("INSERT INTO answers (id, test, list, pair, at, side, mode, given, outcome, seconds) "
                       "SELECT a.id, a.test, l.id, p.id, a.at, a.side, a.mode, a.given, a.outcome, a.seconds "
                       "FROM answers_v1 a JOIN lists l ON l.path = a.list "
                       "JOIN pairs p ON p.known = a.known AND p.unknown = a.unknown"),
        QStringLiteral("DROP TABLE answers_v1"),
        QStringLiteral("DROP TABLE tests_v1"),
    };

} // namespace

QStringList upgradeSteps(int version)
{
    switch (version) {
    case 0:
        return Version2;
    case 1:
        return From1To2;
    default:
        return {};
    }
}

} // namespace vorbix::history
