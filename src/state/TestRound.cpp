#include "state/TestRound.h"

#include "state/Draw.h"

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
    auto marks = s.AskedFlags.begin();
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
        std::fill(marks, marks + last + 1, 0);
        if (s.AnsweredCount != 0 && s.WrongAnswerAcknowledged)
            return NextQuestion::ResultsDue;
    }
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
