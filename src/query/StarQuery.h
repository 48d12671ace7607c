#pragma once
// The star query: a formula over 44 named properties of a star system decides
// which systems of the map stay visible. The query dialog feeds it the text,
// the sectors and subsectors to query and the "Visble Systems Only" choice,
// and shows the message it returns.

#include "FC.h"
#include "FCLib.h"

#include <string>
#include <vector>

class TStar;
class TUniverse;

inline constexpr int kQueryVariableCount = 44;
// A query may use at most this many different variables.
inline constexpr int kMaxQueryVariables = 10;

// The variable names, in table order.
extern const char* const QueryVariables[kQueryVariableCount];
// The value of variable i (table order) for a star.
long double QueryVariableValue(const TStar& star, int i);

// The dialog's variable chooser: the names in its order, and the help line
// shown for the entry at a chooser position.
extern const char* const QueryChooserOrder[kQueryVariableCount];
const char* QueryHelpText(int chooserIndex);

// What a query looks at: the sectors (compared without case) and, when exactly
// one sector is queried, the subsectors (compared exactly).
struct TStarQueryScope {
    std::vector<std::string> SectorsToQuery;
    std::vector<std::string> SubsectorsToQuery;
    bool VisibleSystemsOnly = false;  // "Visble Systems Only": hidden systems stay hidden
};

// Outcome of a query: Done, or the message the caller shows.
struct TStarQueryResult {
    enum class TStatus { Done, TooManyVariables, CompileError, EvaluationError };
    TStatus Status = TStatus::Done;
    std::string Message;
    bool Ok() const { return Status == TStatus::Done; }
};

// The query engine of the dialog: its own compiler (unknown names refused) and
// library, which holds the variables' aliases only while a query runs.
class TStarQuery {
public:
    TStarQuery();

    TFormulaLib Lib;
    TFormulaCompilerE Formula;

    // Runs the query over the universe and sets every examined star's Visible
    // flag; afterwards the map is marked dirty and its extent recomputed.
    TStarQueryResult Run(TUniverse& universe, const std::string& text, const TStarQueryScope& scope);

    // Table positions of the variables whose names occur in the text
    // (case-sensitive substrings), in table order.
    static std::vector<int> UsedVariables(const std::string& text);
};
