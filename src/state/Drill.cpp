#include "state/Drill.h"

#include "state/Draw.h"
#include "state/Moodul1.h"
#include "state/TestRound.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace vorbix {

namespace {

// For each drilled pair the list holds: its place in the drill and the
// first place in the list that holds it.
struct Held {
    size_t drillPlace;
    int listPlace;
};

std::vector<Held> held(const MOODUL1& s)
{
    const std::vector<PairKey>& pairs = s.MistakesDrill.pairs;
    QHash<PairKey, size_t> place;
    for (size_t k = 0; k < pairs.size(); ++k)
        place.insert(pairs[k], k);
    std::vector<int> first(pairs.size(), -1);
    const int last = lastListIndex(s);
    for (int i = 0; i <= last; ++i) {
        if (s.KnownWords[i].isEmpty())
            continue;
        const auto it = place.constFind(PairKey{s.KnownWords[i], s.UnknownWords[i]});
        if (it != place.cend() && first[*it] < 0)
            first[*it] = i;
    }
    std::vector<Held> out;
    for (size_t k = 0; k < pairs.size(); ++k)
        if (first[k] >= 0)
            out.push_back({k, first[k]});
    return out;
}

} // namespace

void noteAnswer(TestMistakes& mistakes, const QString& listPath, const Mistake& answer, bool right, bool firstOfTest)
{
    if (firstOfTest || mistakes.listPath != listPath) {
        mistakes.missed.clear();
        mistakes.listPath = listPath;
    }
    if (right)
        return;
    const auto same = std::find_if(mistakes.missed.begin(), mistakes.missed.end(),
                                   [&](const Mistake& m) { return m.pair == answer.pair; });
    if (same == mistakes.missed.end())
        mistakes.missed.push_back(answer);
    else
        *same = answer;
}

std::vector<PairKey> weakestPairs(std::vector<PairScore> scores, int count)
{
    std::erase_if(scores, [](const PairScore& p) { return p.right >= p.asked; });
    // Shares compared as cross products: no rounding between 1/3 and 2/6.
    std::stable_sort(scores.begin(), scores.end(), [](const PairScore& a, const PairScore& b) {
        const qint64 lhs = qint64(a.right) * b.asked, rhs = qint64(b.right) * a.asked;
        return lhs != rhs ? lhs < rhs : a.asked - a.right > b.asked - b.right;
    });
    std::vector<PairKey> out;
    for (size_t i = 0; i < scores.size() && int(i) < count; ++i)
        out.push_back(scores[i].pair);
    return out;
}

std::vector<PairKey> pairsInList(const MOODUL1& s, const std::vector<PairKey>& pairs)
{
    QSet<PairKey> held;
    const int last = lastListIndex(s);
    for (int i = 0; i <= last; ++i)
        if (!s.KnownWords[i].isEmpty())
            held.insert(PairKey{s.KnownWords[i], s.UnknownWords[i]});
    std::vector<PairKey> out;
    QSet<PairKey> taken;
    for (const PairKey& key : pairs)
        if (held.contains(key) && !taken.contains(key)) {
            taken.insert(key);
            out.push_back(key);
        }
    return out;
}

void startDrill(MOODUL1& s, const std::vector<PairKey>& pairs)
{
    s.MistakesDrill.pairs = pairs;
    s.MistakesDrill.asked.assign(pairs.size(), false);
    s.AnsweredCount = 0;
    s.WrongCount = 0;
}

void endDrill(MOODUL1& s) { s.MistakesDrill = {}; }

bool drilling(const MOODUL1& s) { return !s.MistakesDrill.pairs.empty(); }

NextQuestion drawDrillQuestion(MOODUL1& s, const std::function<double()>& rnd)
{
    const auto pairs = held(s);
    if (pairs.empty())
        return NextQuestion::NothingToAsk;
    std::vector<Held> open;
    std::copy_if(pairs.begin(), pairs.end(), std::back_inserter(open),
                 [&s](const Held& h) { return !s.MistakesDrill.asked[h.drillPlace]; });
    if (open.empty()) {
        s.MistakesDrill.asked.assign(s.MistakesDrill.pairs.size(), false);
        if (s.AnsweredCount != 0 && s.WrongAnswerAcknowledged)
            return NextQuestion::ResultsDue;
        open = pairs;
    }
    const int pick = drawIndex(rnd(), static_cast<int>(open.size()) - 1);
    s.CurrentQuestion = static_cast<std::int16_t>(open[static_cast<size_t>(pick)].listPlace);
    return NextQuestion::Chosen;
}

void markAsked(MOODUL1& s, int pair)
{
    Drill& d = s.MistakesDrill;
    const auto it = std::find(d.pairs.begin(), d.pairs.end(), PairKey{s.KnownWords[pair], s.UnknownWords[pair]});
    if (it != d.pairs.end())
        d.asked[static_cast<size_t>(it - d.pairs.begin())] = true;
}

int wordsLeft(const MOODUL1& s)
{
    if (!drilling(s))
        return questionsLeft(s);
    const auto pairs = held(s);
    const auto open =
        std::count_if(pairs.begin(), pairs.end(), [&s](const Held& h) { return !s.MistakesDrill.asked[h.drillPlace]; });
    // With every pair asked and nothing answered yet, a new round begins.
    if (open == 0 && s.AnsweredCount == 0)
        return static_cast<int>(pairs.size());
    return static_cast<int>(open);
}

} // namespace vorbix
