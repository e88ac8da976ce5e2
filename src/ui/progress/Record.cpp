#include "ui/progress/Record.h"

#include "history/Recorder.h"
#include "ui/toolkit/Program.h"

namespace vorbix {

namespace {

history::Store* store(Program& program) { return program.history().store(); }

QString listPath(Program& program) { return program.state().CurrentFile; }

} // namespace

std::vector<history::PairWords> listWords(Program& program)
{
    const MOODUL1& s = program.state();
    std::vector<history::PairWords> words;
    const int last = lastListIndex(s);
    for (int i = 0; i <= last; ++i)
        if (!s.KnownWords[i].isEmpty())
            words.emplace_back(s.KnownWords[i], s.UnknownWords[i]);
    return words;
}

std::vector<history::PairRecord> recordedPairs(Program& program)
{
    history::Store* record = store(program);
    return record ? record->pairs(listWords(program)) : std::vector<history::PairRecord>{};
}

std::vector<history::TestPoint> recordedTests(Program& program)
{
    history::Store* record = store(program);
    return record ? record->tests(listPath(program)) : std::vector<history::TestPoint>{};
}

bool keepingRecord(Program& program) { return program.history().keeping(); }

std::vector<Mistake> lastTestMistakes(Program& program)
{
    const MOODUL1& s = program.state();
    if (s.LastTestMistakes.listPath == s.CurrentFile)
        return s.LastTestMistakes.missed;
    std::vector<Mistake> out;
    if (history::Store* record = store(program))
        for (const history::Answer& a : record->mistakesOfLastTest(listPath(program)))
            out.push_back(
                {{a.known, a.unknown}, a.given, a.side == history::AskedSide::UnknownWord ? a.unknown : a.known});
    return out;
}

QString clearRecord(Program& program, bool wholeRecord)
{
    TestMistakes& kept = program.state().LastTestMistakes;
    if (wholeRecord || kept.listPath == program.state().CurrentFile)
        kept.missed.clear();
    history::Recorder& recorder = program.history();
    if (wholeRecord ? recorder.clearAll() : recorder.clearList(listPath(program)))
        return {};
    return recorder.store() ? recorder.store()->problem() : QString();
}

} // namespace vorbix
