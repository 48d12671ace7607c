#pragma once
// Invented system names: pronounceable words built from syllables of our own
// tables, unique among every name the map holds and every name given so far.

#include "Dice.h"

#include <string>
#include <unordered_set>

class TUniverse;

namespace hexlane::rules {

// One candidate name (one to four syllables, capitalised), from the die's rolls.
std::string SyllableName(TSeededDie& die, int extraSyllables = 0);

class TNameMaker {
public:
    // Notes every system name of the universe as taken.
    explicit TNameMaker(const TUniverse& universe);
    TNameMaker() = default;

    // A new name from this stream of rolls, never taken before and never one
    // that begins with "Star"; it is taken from now on.
    std::string Make(TSeededDie& die);
    bool Taken(const std::string& name) const { return taken_.count(name) != 0; }

private:
    std::unordered_set<std::string> taken_;
};

}  // namespace hexlane::rules
