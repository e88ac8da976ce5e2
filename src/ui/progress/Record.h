#pragma once

#include "history/History.h"
#include "state/Drill.h"

#include <vector>

namespace vorbix {

class Program;

// What the windows read of the learning record, through one door. Without
// a record to read, each gives nothing.

// The current list's pairs (known word not empty), in list order.
std::vector<history::PairWords> listWords(Program& program);
// Those pairs, in that order, with their recorded answers.
std::vector<history::PairRecord> recordedPairs(Program& program);
// The current list's tests, oldest first.
std::vector<history::TestPoint> recordedTests(Program& program);
// Whether answers are kept at all right now.
bool keepingRecord(Program& program);

// The mistakes of the current list's last test: those kept in this run when
// its last test was here, else those recorded.
std::vector<Mistake> lastTestMistakes(Program& program);

// Clears the record of the current list, or all of it; empty when done,
// else why not.
QString clearRecord(Program& program, bool wholeRecord);

} // namespace vorbix
