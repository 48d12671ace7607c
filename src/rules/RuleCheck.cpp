#include "RuleCheck.h"

#include "DefineUniverse.h"

#include <algorithm>

namespace hexlane::rules {

namespace {

struct TRange {
    int Low, High;
};

// The values of "2D - 7 + base" (2D-7 runs -5..+5), below 0 read as 0.
TRange Around(int base, int dm = 0) { return {std::max(0, base - 5 + dm), std::max(0, base + 5 + dm)}; }

std::string Hex(int v) { return std::string(1, ExtendedHexDigit(v)); }

std::string RangeText(int low, int high) { return low == high ? Hex(low) : Hex(low) + "-" + Hex(high); }

// The starports that 2D + DM can give.
std::string ReachableStarports(const TRuleTable& table, int dm) {
    std::string ports;
    for (int roll = 2; roll <= 12; ++roll) {
        const char port = StarportFor(table, roll + dm);
        if (ports.find(port) == std::string::npos) ports += port;
    }
    std::sort(ports.begin(), ports.end(), [](char a, char b) { return StarportIndex(a) < StarportIndex(b); });
    return ports;
}

class TChecker {
public:
    TChecker(const TStar& star, TRuleSet rules, std::vector<TRuleFinding>& out)
        : star_(star), table_(Rules(rules)), out_(out) {}

    void Run() {
        int v[6];
        for (std::size_t i = 0; i < 6; ++i)
            v[i] = Code(static_cast<TItem>(i), i < star_.UPC.size() ? star_.UPC[i] : 0);
        const int size = v[0], atm = v[1], hydro = v[2], pop = v[3], gov = v[4], law = v[5];

        Range(TItem::Size, size, {0, 10});
        if (size >= 0 && atm >= 0) Range(TItem::Atmosphere, atm, size == 0 ? TRange{0, 0} : Around(size), TItem::Size, size);
        if (size >= 0 && atm >= 0 && hydro >= 0) {
            TRange r{0, 0};
            if (size > 1) {
                r = Around(atm, table_.HydroDM4[static_cast<std::size_t>(std::min(atm, 15))] ? -4 : 0);
                r.High = std::min(r.High, kMaxHydrographics);
                r.Low = std::min(r.Low, kMaxHydrographics);
            }
            Range(TItem::Hydrographics, hydro, r, size > 1 ? TItem::Atmosphere : TItem::Size, size > 1 ? atm : size);
        }
        Range(TItem::Population, pop, {0, 10});
        if (pop >= 0 && gov >= 0) Range(TItem::Government, gov, pop == 0 ? TRange{0, 0} : Around(pop), TItem::Population, pop);
        if (pop >= 0 && gov >= 0 && law >= 0) {
            if (pop == 0) Range(TItem::Law, law, {0, 0}, TItem::Population, pop);
            else Range(TItem::Law, law, Around(gov), TItem::Government, gov);
        }

        const char port = star_.Starport.size() > 0 ? star_.Starport[0] : 0;
        const bool portKnown = StarportIndex(port) >= 0;
        if (!portKnown) Add({.Fault = TFault::BadCode, .Item = TItem::Starport, .Code = port});
        if (portKnown && pop >= 0 && pop <= 10) {
            const int dm = table_.StarportPopulationDM[static_cast<std::size_t>(pop)];
            if (ReachableStarports(table_, dm).find(port) == std::string::npos)
                Add({.Fault = TFault::Starport, .Item = TItem::Starport, .Code = port, .Value = pop});
        }

        const CompactString& tlCode = star_.StoredTechLevel();
        const int tl = Code(TItem::TechLevel, tlCode.size() > 0 ? tlCode[0] : 0);
        const bool upcKnown = size >= 0 && size <= 10 && atm >= 0 && atm <= 15 && hydro >= 0 && hydro <= 10 &&
                              pop >= 0 && pop <= 10 && gov >= 0 && gov <= 15;
        if (tl >= 0 && portKnown && upcKnown) {
            const int dm = TechLevelDM(port, size, atm, hydro, pop, gov);
            const int low = std::max(0, 1 + dm), high = std::max(0, 6 + dm);
            if (tl < low || tl > high)
                Add({.Fault = TFault::TechLevel, .Item = TItem::TechLevel, .Value = tl, .Low = low, .High = high});
        }

        const std::int32_t content = star_.SystemContent;
        if ((content & scNavalBase) && portKnown && port != 'A' && port != 'B')
            Add({.Fault = TFault::NavalBase, .Item = TItem::Starport, .Code = port});
        if ((content & scScoutBase) && portKnown && table_.ScoutBase[static_cast<std::size_t>(StarportIndex(port))].Target == 0)
            Add({.Fault = TFault::ScoutBase, .Item = TItem::Starport, .Code = port});

        if (pop >= 0 && atm >= 0 && gov >= 0 && law >= 0) {
            const TTravelZoneCode expected = ZoneFor(pop, atm, gov, law);
            if (star_.TravelZoneCode != expected)
                Add({.Fault = TFault::Zone, .Value = star_.TravelZoneCode, .Low = expected});
        }
    }

private:
    // The value of a code character, or -1 (with a finding) when it is none.
    int Code(TItem item, char c) {
        const int v = ExtendedHexValue(c);
        if (v < 0) Add({.Fault = TFault::BadCode, .Item = item, .Code = c});
        return v;
    }

    void Range(TItem item, int value, TRange r, TItem basis, int basisValue) {
        if (value >= 0 && (value < r.Low || value > r.High))
            Add({.Fault = TFault::OutOfRange, .Item = item, .Basis = basis, .Value = value, .Low = r.Low,
                 .High = r.High, .BasisValue = basisValue});
    }
    void Range(TItem item, int value, TRange r) { Range(item, value, r, item, 0); }

    void Add(TRuleFinding f) {
        f.Star = &star_;
        out_.push_back(f);
    }

    const TStar& star_;
    const TRuleTable& table_;
    std::vector<TRuleFinding>& out_;
};

}  // namespace

const char* ItemName(TItem item) {
    static const char* const names[] = {"size",       "atmosphere", "hydrographics", "population",
                                        "government", "law level",  "starport",      "tech level"};
    return names[static_cast<int>(item)];
}

std::string TRuleFinding::Reason() const {
    const std::string what = ItemName(Item);
    switch (Fault) {
        case TFault::BadCode:
            if (Code == 0) return what + " code missing";
            return what + " code '" + std::string(1, Code) + "' is not one these rules give";
        case TFault::OutOfRange:
            if (Basis == Item) return what + " " + Hex(Value) + " out of range (" + RangeText(Low, High) + ")";
            return what + " " + Hex(Value) + " cannot come from " + ItemName(Basis) + " " + Hex(BasisValue) + " (" +
                   RangeText(Low, High) + ")";
        case TFault::Starport:
            return "starport " + std::string(1, Code) + " cannot come from population " + Hex(Value);
        case TFault::TechLevel:
            return "tech level " + Hex(Value) + " outside its die and modifiers (" + RangeText(Low, High) + ")";
        case TFault::NavalBase:
            return "naval base at starport " + std::string(1, Code) + " (only at A or B)";
        case TFault::ScoutBase:
            return "scout base at starport " + std::string(1, Code) + " (only at A-D)";
        case TFault::Zone:
            return std::string("travel zone ") + TravelZoneText(static_cast<TTravelZoneCode>(Value)) +
                   " where the rules give " + TravelZoneText(static_cast<TTravelZoneCode>(Low));
    }
    return what;
}

std::string TRuleFinding::Line() const {
    auto two = [](int v) {
        std::string s = std::to_string(v);
        return s.size() < 2 ? "0" + s : s;
    };
    return Star->Name1 + " (" + Star->SectorName() + " " + two(Star->SectorHexColumn()) + two(Star->SectorHexRow()) +
           "): " + Reason();
}

void CheckStar(const TStar& star, TRuleSet rules, std::vector<TRuleFinding>& findings) {
    TChecker(star, rules, findings).Run();
}

std::vector<TRuleFinding> CheckAgainstRules(const TUniverse& universe, TRuleSet rules, const TSector* only) {
    std::vector<TRuleFinding> findings;
    universe.ForEachStar([&](const TStar& star) {
        if (!only || star.Owner() == only) CheckStar(star, rules, findings);
    });
    return findings;
}

}  // namespace hexlane::rules
