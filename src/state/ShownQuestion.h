#pragma once

#include "state/Moodul1.h"
#include "state/TestOptions.h"

#include <QString>

#include <array>
#include <functional>

namespace vorbix {

enum class AnswerMode { Normal, Choices };

// A question as it was put on screen. Everything the answer is judged by is
// taken here, once: options, sorts and opened files that change afterwards
// only touch the next question.
struct ShownQuestion {
    int pair = -1; // its index in the list when it was shown
    bool askUnknownWords = true; // which side is the answer
    AnswerMode mode = AnswerMode::Normal;
    QString question; // the words on screen
    QString expected; // the other side, as stored
    std::array<QString, 5> choices{}; // Choices mode: the five texts offered

    bool isShown() const { return pair >= 0; }
};

// The side shown as the question, and the side that answers it.
QString questionSide(const MOODUL1& s, int pair, bool askUnknownWords);
QString answerSide(const MOODUL1& s, int pair, bool askUnknownWords);

// Pair `pair` as it would be put on screen under these options.
ShownQuestion takeQuestion(const MOODUL1& s, int pair, const TestOptions& options);

// Choices mode: the answer at a place drawn from uniform numbers in [0, 1),
// the four other places filled from pairs drawn alike. Repeats, the pair
// itself and empty words stay as drawn.
void fillChoices(const MOODUL1& s, ShownQuestion& q, const std::function<double()>& rnd);

// Blanks at either end never count, on the stored word or on the answer;
// otherwise the texts must be equal, case and accents included.
bool answerIsRight(const QString& given, const QString& expected);

// Counts one checked answer; false when a counter is full and was left as is.
bool countAnswer(MOODUL1& s, bool right);
int rightAnswers(const MOODUL1& s);
// Answered and wrong back to zero: a test starts counting afresh.
void resetCounts(MOODUL1& s);
// Every question of the list has been answered.
bool testIsOver(const MOODUL1& s);

// A new round, or a new list: no pair counts as asked.
void startNewRound(MOODUL1& s);

} // namespace vorbix
