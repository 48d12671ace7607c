#include "StarQuery.h"

#include "DefineSector.h"
#include "DefineStar.h"
#include "DefineUniverse.h"
#include "FCInternal.h"

#include <algorithm>
#include <cmath>
#include <memory>

const char* const QueryVariables[kQueryVariableCount] = {
    "LEVEL_STARPORT", "LEVEL_TECHLEVEL", "LEVEL_PLANETSIZE", "LEVEL_ATMOSPHERE",
    "LEVEL_HYDROGRAPHICS", "LEVEL_POPULATION", "LEVEL_GOVERNMENT", "LEVEL_LAW_LEVEL",
    "LEVEL_SPACEPORT", "IS_AG", "IS_NAG", "IS_IND", "IS_NIND", "IS_RICH", "IS_POOR",
    "IS_WATER_WORLD", "IS_DESERT_WORLD", "IS_VACUUM_WORLD", "IS_ASTEROID_BELT_WORLD",
    "IS_ICE_CAPPED_WORLD", "IS_SUBSECTOR_CAPITAL", "HAS_RESEARCH_STATION", "HAS_PRISON",
    "HAS_GAS_GIANT", "HAS_ASTEROID_BELT", "HAS_NOTES", "HAS_SYSTEM_DATA", "HAS_PSI_INSTITUTE",
    "HAS_INTERFACE", "HAS_IMPERIAL_NAVAL_BASE", "HAS_IMPERIAL_NAVAL_DEPOT",
    "HAS_IMPERIAL_SCOUT_BASE", "HAS_IMPERIAL_SCOUT_WAY_STATION", "HAS_VARGR_CORSAIR_BASE",
    "HAS_INDEPENDENT_MILITARY_BASE", "HAS_INDEPENDENT_NAVAL_BASE", "HAS_DROYNE_NAVAL_BASE",
    "HAS_ASLAN_CLAN_NAVAL_BASE", "HAS_ASLAN_TLAUKHU_NAVAL_BASE", "HAS_ZHODANI_NAVAL_BASE",
    "HAS_VARGR_NAVAL_BASE", "BEEN_VISITED", "BEEN_USER_SURVEYED", "HAS_ANCIENT_SITE",
};

const char* const QueryChooserOrder[kQueryVariableCount] = {
    "LEVEL_STARPORT", "LEVEL_TECHLEVEL", "LEVEL_PLANETSIZE", "LEVEL_ATMOSPHERE",
    "LEVEL_HYDROGRAPHICS", "LEVEL_POPULATION", "LEVEL_GOVERNMENT", "LEVEL_LAW_LEVEL",
    "LEVEL_SPACEPORT", "IS_AG", "IS_NAG", "IS_IND", "IS_NIND", "IS_RICH", "IS_POOR",
    "IS_WATER_WORLD", "IS_DESERT_WORLD", "IS_VACUUM_WORLD", "IS_ASTEROID_BELT_WORLD",
    "IS_ICE_CAPPED_WORLD", "IS_SUBSECTOR_CAPITAL", "HAS_RESEARCH_STATION", "HAS_PRISON",
    "HAS_GAS_GIANT", "HAS_ASTEROID_BELT", "HAS_NOTES", "HAS_SYSTEM_DATA", "HAS_PSI_INSTITUTE",
    "HAS_INTERFACE", "HAS_ANCIENT_SITE", "HAS_ASLAN_CLAN_NAVAL_BASE",
    "HAS_ASLAN_TLAUKHU_NAVAL_BASE", "HAS_DROYNE_NAVAL_BASE", "HAS_IMPERIAL_NAVAL_BASE",
    "HAS_IMPERIAL_NAVAL_DEPOT", "HAS_IMPERIAL_SCOUT_BASE", "HAS_IMPERIAL_SCOUT_WAY_STATION",
    "HAS_INDEPENDENT_MILITARY_BASE", "HAS_INDEPENDENT_NAVAL_BASE", "HAS_VARGR_CORSAIR_BASE",
    "HAS_VARGR_NAVAL_BASE", "HAS_ZHODANI_NAVAL_BASE", "BEEN_VISITED", "BEEN_USER_SURVEYED",
};

const char* QueryHelpText(int chooserIndex) {
    switch (chooserIndex) {
    case 0: return "A=0 B=1 C=2 D=3 E=4 X=5";
    case 1: return "0-16";
    case 2: return "0=0 R=1 S=2 1=3 2=4 3=5 ... A=12";
    case 3: return "0-15";
    case 4:
    case 5:
    case 7: return "0-10";
    case 6: return "0-13";
    case 8: return "F=0 G=1 H=2 Y=3";
    default: return "False = 0, True = 1";
    }
}

namespace {

// Trade code whose presence variables 9 to 19 test.
const char* TradeCodeOf(int i) {
    static const char* const codes[] = {"Agr", "NAg", "Ind", "NI", "Rich", "Poor", "W", "D", "V", "AB", "IC"};
    return codes[i - 9];
}

// System-content bit that variables 21 to 43 test (0 for the others).
std::int32_t ContentBitOf(int i) {
    switch (i) {
    case 21: return scResearchStation;
    case 22: return scPrison;
    case 23: return scGasGiant;
    case 24: return scPlanetoids;
    case 28: return scInterface;
    case 29: return scNavalBase;
    case 30: return scNavalDepot;
    case 31: return scScoutBase;
    case 32: return scScoutWayStation;
    case 33: return scCorsairBase;
    case 34: return scMilitaryBase;
    case 35: return scPlanetaryNavalBase;
    case 36: return scDroyneNavalBase;
    case 37: return scClanNavalBase;
    case 38: return scTlaukhuNavalBase;
    case 39: return scZhodaniNavalBase;
    case 40: return scVargrNavalBase;
    case 43: return scAncientSite;
    default: return 0;
    }
}

int Flag(bool b) { return b ? 1 : 0; }

// TLIndex depends only on the first character of a star's stored tech level
// and on the universe's alternate tech levels, which a query does not change.
// Finding the universe from a star walks up the tree, which costs more than
// all the other values of the star together, so a query asks each star's
// TLIndex only once per distinct first character.
class TechLevelCache {
public:
    int Get(const TStar& star) {
        const std::string& code = star.StoredTechLevel();
        const auto c = static_cast<unsigned char>(code.empty() ? 0 : code[0]);
        if (!known_[c]) {
            index_[c] = star.TLIndex();
            known_[c] = true;
        }
        return index_[c];
    }

private:
    bool known_[256] = {};
    int index_[256] = {};
};

// Variable values of one star; the trade codes are built once per star.
class StarValues {
public:
    // techLevels, when given, caches TLIndex by the first character of the
    // stored code (see TechLevelCache).
    explicit StarValues(const TStar& star, TechLevelCache* techLevels = nullptr)
        : star_(star), techLevels_(techLevels) {}

    // Every value is a small whole number.
    int Get(int i);

private:
    const TStar& star_;
    TechLevelCache* techLevels_;
    std::string tradeCodes_;
    bool haveTradeCodes_ = false;
};

int StarValues::Get(int i) {
    const TStar& s = star_;
    switch (i) {
    case 0: return s.SPIndex();
    case 1: return techLevels_ ? techLevels_->Get(s) : s.TLIndex();
    case 2: return s.PSIndex();
    case 3: return s.AtIndex();
    case 4: return s.HydroIndex();
    case 5: return s.PopIndex();
    case 6: return s.GovIndex();
    case 7: return s.LLIndex();
    case 8: return s.SpPIndex();
    case 20: return Flag(s.SubsectorCapital);
    case 25: return Flag(!s.Notes.empty());
    case 26: return Flag(!s.SysData.empty());
    case 27: return Flag(s.PsiInstitute);
    case 41: return Flag(s.Visited);
    case 42: return Flag(s.UserSurveyed);
    default: break;
    }
    if (i >= 9 && i <= 19) {
        if (!haveTradeCodes_) {
            tradeCodes_ = s.TradeCodesStr();
            haveTradeCodes_ = true;
        }
        return Flag(tradeCodes_.find(TradeCodeOf(i)) != std::string::npos);
    }
    return Flag((s.SystemContent & ContentBitOf(i)) != 0);
}

// Asks the processor to start loading the memory at p; nothing else happens.
inline void Prefetch(const void* p) {
#if defined(__GNUC__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// The query works through the stars in batches. The stars of a map lie all
// over memory, and read one after the other each waits for its own fetch; so
// the batch first asks for the memory of all its stars at once, then reads
// their values into a small table, then runs the formula over the table. The
// formula and the flags are still worked in star order, so an evaluation
// error leaves the stars before it updated and the rest as they were.
class QueryBatch {
public:
    QueryBatch(const std::vector<int>& used, const TFormulaCompilerE& formula)
        : used_(used), formula_(formula) {}

    bool Full() const { return count_ == kSize; }

    void Add(TStar& star, bool inScope) {
        Entry& e = entries_[count_++];
        e.star = &star;
        e.inScope = inScope;
        // Starts loading the parts of the star that the values are read from.
        // Short codes live inside the string objects themselves.
        Prefetch(&star.UPC);
        Prefetch(&star.SystemContent);
        Prefetch(&star.StoredTechLevel());
        Prefetch(&star.Visited);
    }

    // Reads the values of the stars, evaluates the formula for each and sets
    // its Visible flag; `changed` tells whether any flag was set.
    void Evaluate(TechLevelCache& techLevels, bool& changed) {
        for (int k = 0; k < count_; ++k) {
            Entry& e = entries_[k];
            StarValues values(*e.star, &techLevels);
            for (std::size_t j = 0; j < used_.size(); ++j) e.values[j] = values.Get(used_[j]);
        }
        long double X[kMaxQueryVariables] = {};
        for (int k = 0; k < count_; ++k) {
            const Entry& e = entries_[k];
            for (std::size_t j = 0; j < used_.size(); ++j) X[j] = e.values[j];
            const long double r = formula_.Evaluate(std::span<const long double>(X, kMaxQueryVariables));
            e.star->Visible = e.inScope && std::rint(r) > 0;  // nearest integer, halves to even
            changed = true;
        }
        count_ = 0;
    }

private:
    static constexpr int kSize = 256;
    struct Entry {
        TStar* star;
        bool inScope;
        int values[kMaxQueryVariables];
    };
    const std::vector<int>& used_;
    const TFormulaCompilerE& formula_;
    Entry entries_[kSize];
    int count_ = 0;
};

bool ContainsNoCase(const std::vector<std::string>& list, const std::string& name) {
    return std::any_of(list.begin(), list.end(), [&](const std::string& e) { return fc::SameTextNoCase(e, name); });
}

bool ContainsExact(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

long double QueryVariableValue(const TStar& star, int i) {
    if (i < 0 || i >= kQueryVariableCount) return 0;
    return StarValues(star).Get(i);
}

TStarQuery::TStarQuery() {
    Formula.SetLib(&Lib);
}

std::vector<int> TStarQuery::UsedVariables(const std::string& text) {
    std::vector<int> used;
    for (int i = 0; i < kQueryVariableCount; ++i)
        if (text.find(QueryVariables[i]) != std::string::npos) used.push_back(i);
    return used;
}

TStarQueryResult TStarQuery::Run(TUniverse& universe, const std::string& text, const TStarQueryScope& scope) {
    using TStatus = TStarQueryResult::TStatus;
    const std::vector<int> used = UsedVariables(text);
    if (used.size() > static_cast<std::size_t>(kMaxQueryVariables))
        return {TStatus::TooManyVariables, "Can only perform queries of 10 or less parameters"};

    // The variables' aliases live only for this query, whatever happens.
    struct AliasScope {
        TFormulaLib& lib;
        ~AliasScope() { lib.Aliases.Clear(); }
    } aliasScope{Lib};
    for (std::size_t j = 0; j < used.size(); ++j)
        Lib.Aliases.AddEntry(QueryVariables[used[j]], "%" + std::to_string(j));

    try {
        Formula.SetSource(text);
    } catch (const EFCError& e) {
        return {TStatus::CompileError, e.what()};
    }

    TStarQueryResult result;
    const bool oneSector = scope.SectorsToQuery.size() == 1;
    bool changed = false;
    try {
        if (TSectors* sectors = universe.Sectors()) {
            TechLevelCache techLevels;
            auto batch = std::make_unique<QueryBatch>(used, Formula);
            for (const auto& child : sectors->Children()) {
                const auto* sector = As<TSector>(child.get());
                if (!sector) continue;
                const bool sectorQueried = ContainsNoCase(scope.SectorsToQuery, sector->Name1);
                for (const auto& c : sector->Children()) {
                    auto* star = As<TStar>(c.get());
                    if (!star) continue;
                    if (scope.VisibleSystemsOnly && !star->Visible) continue;
                    const bool inScope =
                        sectorQueried && (!oneSector || ContainsExact(scope.SubsectorsToQuery, star->SubSectorName));
                    batch->Add(*star, inScope);
                    if (batch->Full()) batch->Evaluate(techLevels, changed);
                }
            }
            batch->Evaluate(techLevels, changed);
        }
    } catch (const std::exception& e) {
        // Stars examined before the error keep their new flag.
        result = {TStatus::EvaluationError, e.what()};
    }
    if (result.Ok() || changed) {
        universe.MapDirty = true;
        universe.ComputeExtent();
    }
    return result;
}
