#pragma once

#include "state/Moodul1.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace vorbix {

// Whether 0..LastWordIndex holds a pair with a known word to ask.
bool somethingToAsk(const MOODUL1& s);

enum class NextQuestion {
    Chosen, // CurrentQuestion holds a pair not yet asked in this round
    ResultsDue, // the round ended with answers counted and the last wrong one acknowledged
    NothingToAsk // no pair could ever be chosen; nothing was drawn
};

// Draws the next pair of the round from uniform numbers in [0, 1). Pairs
// without a known word are marked as skipped. When every pair is marked the
// marks are cleared and, unless the results are due, drawing goes on in the
// new round, so a question is always found when there is one to find.
// The chosen pair is not marked yet: that happens once it is on screen.
NextQuestion drawNextQuestion(MOODUL1& s, const std::function<double()>& rnd);

// The results are due at the end of a round: answers were counted and the
// last wrong one was seen.
bool resultsDue(const MOODUL1& s);

// Questions this test still asks, the one about to be shown included.
int questionsLeft(const MOODUL1& s);

// The share of right answers as the labels write it (" 75%"), or
// `noAnswers` before the first answer.
QString rightShare(const MOODUL1& s, const QString& noAnswers);

// A fresh identity for a pair new to the list.
std::uint32_t newPairId(MOODUL1& s);

// The pairs asked in this round, by identity: those in the list and those
// taken out of it meanwhile.
std::vector<std::uint32_t> askedPairs(const MOODUL1& s);

// Marks the pairs of the list that are among `asked`; the others of `asked`
// are kept aside, for an undo that brings them back.
void markAskedPairs(MOODUL1& s, const std::vector<std::uint32_t>& asked);

// Removes blanks (only the blank character) from both ends.
QString trimBlanks(const QString& text);

// The order in which the four wrong places are filled, by the place p (0..4)
// of the right answer; places are 0-based.
const std::array<int, 4>& choiceFillOrder(int p);

} // namespace vorbix
