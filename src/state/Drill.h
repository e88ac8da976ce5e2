#pragma once

#include <QHashFunctions>
#include <QString>

#include <functional>
#include <vector>

namespace vorbix {

struct MOODUL1;
enum class NextQuestion;

// A pair as the learning record knows it: by its two words, wherever sorts
// and edits put it in the list.
struct PairKey {
    QString known;
    QString unknown;
    bool operator==(const PairKey&) const = default;
};
inline size_t qHash(const PairKey& key, size_t seed = 0) { return qHashMulti(seed, key.known, key.unknown); }

// A pair answered wrong, with the last wrong answer given for it.
struct Mistake {
    PairKey pair;
    QString given;
    QString expected; // the side that was asked for
};

// The wrong answers of the test under way or of the last one, kept whether
// or not answers are recorded.
struct TestMistakes {
    QString listPath;
    std::vector<Mistake> missed; // each pair once, in the order first missed
};

// A test begins with its first answer counted from zero, or with an answer
// to another list, as the learning record has it.
void noteAnswer(TestMistakes& mistakes, const QString& listPath, const Mistake& answer, bool right, bool firstOfTest);

// How a pair has done over all its recorded answers.
struct PairScore {
    PairKey pair;
    int asked = 0;
    int right = 0;
};

// Up to `count` pairs that have been answered wrong, the lowest share of
// right answers first; of two alike, the one missed more often.
std::vector<PairKey> weakestPairs(std::vector<PairScore> scores, int count);

// Those of `pairs` the list holds, each once, in the order given.
std::vector<PairKey> pairsInList(const MOODUL1& s, const std::vector<PairKey>& pairs);

// A drill asks only some pairs of the list, each once a round. What was
// asked is kept by words, so that sorts, undo and edits of other pairs
// neither repeat nor skip one; a pair that is in the list twice is asked once.
struct Drill {
    std::vector<PairKey> pairs; // empty: no drill, the whole list is asked
    std::vector<bool> asked; // in this round, by place in `pairs`
};

// Starts a drill in the designed test window: counters back to zero, none
// of the pairs asked yet.
void startDrill(MOODUL1& s, const std::vector<PairKey>& pairs);
void endDrill(MOODUL1& s);
bool drilling(const MOODUL1& s);

// Draws among the drilled pairs the list holds that were not asked in this
// round; a new round begins when all were.
NextQuestion drawDrillQuestion(MOODUL1& s, const std::function<double()>& rnd);
// The pair at this place of the list is on screen.
void markAsked(MOODUL1& s, int pair);

// The words still to ask in this test, as "Vastata" shows them.
int wordsLeft(const MOODUL1& s);

} // namespace vorbix
