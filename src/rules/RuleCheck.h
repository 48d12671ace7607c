#pragma once
// The checker: which systems of a map have codes that the chosen rule set
// cannot give. A finding holds its numbers and writes its reason only when
// asked, so a check of a large map stays quick.

#include "RuleTables.h"

#include <string>
#include <vector>

class TSector;
class TStar;
class TUniverse;

namespace hexlane::rules {

enum class TFault {
    BadCode,       // a code character these rules never give (Code, Item)
    OutOfRange,    // Item's value Value outside Low-High, which follows from Basis = BasisValue
    Starport,      // starport Code cannot come from population Value
    TechLevel,     // tech level Value outside 1D + DMs: Low-High
    NavalBase,     // a naval base at starport Code
    ScoutBase,     // a scout base at starport Code
    Zone,          // travel zone Value (TTravelZoneCode); the rule gives Low
};

// The code items of a system, in the order the checks take them.
enum class TItem { Size, Atmosphere, Hydrographics, Population, Government, Law, Starport, TechLevel };
const char* ItemName(TItem item);

struct TRuleFinding {
    const TStar* Star = nullptr;
    TFault Fault = TFault::BadCode;
    TItem Item = TItem::Size;
    TItem Basis = TItem::Size;  // for OutOfRange: what the range follows from (Item itself: none)
    char Code = 0;
    int Value = 0, Low = 0, High = 0, BasisValue = 0;

    // "atmosphere 9 cannot come from size 2 (0-7)" ...
    std::string Reason() const;
    // "Name (Sector 0101): reason" in the map's text.
    std::string Line() const;
};

// Appends the findings for one system, one per broken rule.
void CheckStar(const TStar& star, TRuleSet rules, std::vector<TRuleFinding>& findings);
// Every system of the universe (or of one sector when `only` is given), in map order.
std::vector<TRuleFinding> CheckAgainstRules(const TUniverse& universe, TRuleSet rules, const TSector* only = nullptr);

}  // namespace hexlane::rules
