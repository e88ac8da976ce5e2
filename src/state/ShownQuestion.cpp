#include "state/ShownQuestion.h"

#include "state/Draw.h"
#include "state/Drill.h"
#include "state/TestRound.h"

namespace vorbix {

QString questionSide(const MOODUL1& s, int pair, bool askUnknownWords)
{
    return askUnknownWords ? s.KnownWords[pair] : s.UnknownWords[pair];
}

QString answerSide(const MOODUL1& s, int pair, bool askUnknownWords)
{
    return askUnknownWords ? s.UnknownWords[pair] : s.KnownWords[pair];
}

ShownQuestion takeQuestion(const MOODUL1& s, int pair, const TestOptions& options)
{
    ShownQuestion q;
    q.pair = pair;
    q.askUnknownWords = options.askUnknownWords;
    q.mode = options.normalMode ? AnswerMode::Normal : AnswerMode::Choices;
    q.question = questionSide(s, pair, q.askUnknownWords);
    q.expected = answerSide(s, pair, q.askUnknownWords);
    return q;
}

void fillChoices(const MOODUL1& s, ShownQuestion& q, const std::function<double()>& rnd)
{
    const int p = drawIndex(rnd(), 4);
    q.choices[static_cast<size_t>(p)] = q.expected;
    const int last = lastListIndex(s);
    for (int place : choiceFillOrder(p))
        q.choices[static_cast<size_t>(place)] = answerSide(s, drawIndex(rnd(), last), q.askUnknownWords);
}

bool answerIsRight(const QString& given, const QString& expected) { return trimBlanks(given) == trimBlanks(expected); }

bool countAnswer(MOODUL1& s, bool right)
{
    if (s.AnsweredCount == INT16_MAX)
        return false;
    if (!right && !checkedIncrement(s.WrongCount))
        return false;
    return checkedIncrement(s.AnsweredCount);
}

int rightAnswers(const MOODUL1& s) { return s.AnsweredCount - s.WrongCount; }

void resetCounts(MOODUL1& s)
{
    s.AnsweredCount = 0;
    s.WrongCount = 0;
}

bool testIsOver(const MOODUL1& s) { return drilling(s) ? wordsLeft(s) <= 0 : s.AnsweredCount > s.LastWordIndex; }

void startNewRound(MOODUL1& s)
{
    s.AskedFlags.fill(0);
    s.AskedAway.clear();
}

} // namespace vorbix
