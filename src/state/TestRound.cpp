#include "state/TestRound.h"

#include "state/Draw.h"
#include "state/NumberForm.h"
#include "state/ShownQuestion.h"

#include <algorithm>

namespace vorbix {

bool somethingToAsk(const MOODUL1& s)
{
    const int last = lastListIndex(s);
    for (int i = 0; i <= last; ++i)
        if (!s.KnownWords[i].isEmpty())
            return true;
    return false;
}

NextQuestion drawNextQuestion(MOODUL1& s, const std::function<double()>& rnd)
{
    // Without a known word anywhere, clearing the marks would never help.
    if (!somethingToAsk(s))
        return NextQuestion::NothingToAsk;
    const int last = lastListIndex(s);
    const auto marks = s.AskedFlags.begin();
    for (;;) {
        const int i = drawIndex(rnd(), last);
        s.CurrentQuestion = static_cast<std::int16_t>(i);
        if (s.AskedFlags[i] == 0) {
            if (!s.KnownWords[i].isEmpty())
                return NextQuestion::Chosen;
            s.AskedFlags[i] = 1;
            continue;
        }
        // A fresh draw while anything is left, not the first open index.
        if (std::find(marks, marks + last + 1, 0) != marks + last + 1)
            continue;
        startNewRound(s);
        if (resultsDue(s))
            return NextQuestion::ResultsDue;
    }
}

bool resultsDue(const MOODUL1& s) { return s.AnsweredCount != 0 && s.WrongAnswerAcknowledged; }

// A list that shrank under the test still has the question on screen left.
int questionsLeft(const MOODUL1& s) { return std::max(s.LastWordIndex + 1 - s.AnsweredCount, 1); }

QString rightShare(const MOODUL1& s, const QString& noAnswers)
{
    if (s.AnsweredCount == 0)
        return noAnswers;
    return signedNumber(percentRight(rightAnswers(s), s.AnsweredCount)) + QLatin1Char('%');
}

std::uint32_t newPairId(MOODUL1& s) { return ++s.LastPairId; }

std::vector<std::uint32_t> askedPairs(const MOODUL1& s)
{
    std::vector<std::uint32_t> asked = s.AskedAway;
    const int last = lastListIndex(s);
    for (int i = 0; i <= last; ++i)
        if (s.AskedFlags[i] != 0)
            asked.push_back(s.PairIds[i]);
    return asked;
}

void markAskedPairs(MOODUL1& s, const std::vector<std::uint32_t>& asked)
{
    std::vector<std::uint32_t> away = asked;
    std::sort(away.begin(), away.end());
    const int last = lastListIndex(s);
    s.AskedFlags.fill(0);
    for (int i = 0; i <= last; ++i) {
        const auto at = std::lower_bound(away.begin(), away.end(), s.PairIds[i]);
        if (at == away.end() || *at != s.PairIds[i])
            continue;
        s.AskedFlags[i] = 1;
        away.erase(at);
    }
    away.erase(std::remove(away.begin(), away.end(), 0u), away.end());
    s.AskedAway = std::move(away);
}

QString trimBlanks(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    qsizetype begin = 0;
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    return text.mid(begin, end - begin);
}

const std::array<int, 4>& choiceFillOrder(int p)
{
    static constexpr std::array<std::array<int, 4>, 5> order{{
        {1, 2, 3, 4},
        {0, 2, 3, 4},
        {0, 1, 3, 4},
        {0, 2, 1, 4},
        {0, 2, 3, 1},
    }};
    return order[static_cast<size_t>(std::clamp(p, 0, 4))];
}

} // namespace vorbix
