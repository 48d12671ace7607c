#pragma once
// The names of every star of a universe, and the unique-name rule over them
// that the sector imports apply: the name itself when free, else the name
// with " (2)", " (3)" ... A name taken once stays taken during an import
// (stars are only added), so the search for a base name can go on from the
// last suffix it gave.

#include "DefineUniverse.h"

#include <string>
#include <unordered_map>
#include <unordered_set>

class TStarNames {
public:
    // For an import that will only ever take these base names: of the
    // universe's names it keeps those the rule can meet, a base name itself
    // or one with a " (n)" suffix.
    TStarNames(const TUniverse& universe, const std::unordered_set<std::string>& bases) {
        universe.ForEachStar([&](const TStar& star) {
            const std::string& name = star.Name1;
            bool met = bases.count(name) != 0;
            if (!met && !name.empty() && name.back() == ')') {
                const std::size_t open = name.rfind(" (");
                met = open != std::string::npos && bases.count(name.substr(0, open)) != 0;
            }
            if (met) taken_.insert(name);
        });
    }

    std::string Take(const std::string& name) {
        if (taken_.insert(name).second) return name;
        int& n = lastSuffix_[name];
        if (n < 2) n = 1;
        for (;;) {
            ++n;
            std::string candidate = name + " (" + std::to_string(n) + ")";
            if (taken_.insert(candidate).second) return candidate;
        }
    }

private:
    std::unordered_set<std::string> taken_;
    std::unordered_map<std::string, int> lastSuffix_;
};
