#include "ui/progress/Record.h"

#include "ui/toolkit/Program.h"

namespace vorbix {

namespace {
// INTERIM until the record lands on main: no record to read.
history::Store* store(Program&) { return nullptr; }
} // namespace

std::vector<std::pair<QString, QString>> listWords(Program& program)
{
    const MOODUL1& s = program.state();
    std::vector<std::pair<QString, QString>> words;
    const int last = lastListIndex(s);
    for (int i = 0; i <= last; ++i)
        if (!s.KnownWords[i].isEmpty())
            words.emplace_back(s.KnownWords[i], s.UnknownWords[i]);
    return words;
}

std::vector<history::PairRecord> recordedPairs(Program& program)
{
    if (!store(program))
        return {};
    return {};
}

std::vector<history::TestPoint> recordedTests(Program& program)
{
    if (!store(program))
        return {};
    return {};
}

bool keepingRecord(Program& program) { return store(program) != nullptr; }

std::vector<Mistake> lastTestMistakes(Program& program)
{
    const MOODUL1& s = program.state();
    if (s.LastTestMistakes.listPath == s.CurrentFile)
        return s.LastTestMistakes.missed;
    return {};
}

QString clearRecord(Program& program, bool wholeRecord)
{
    TestMistakes& kept = program.state().LastTestMistakes;
    if (wholeRecord || kept.listPath == program.state().CurrentFile)
        kept.missed.clear();
    return {};
}

} // namespace vorbix
