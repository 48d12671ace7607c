#include "RuleTables.h"

#include <algorithm>

namespace hexlane::rules {

namespace {

// Hydrographics DM -4 at atmospheres 0, 1 and A+ (classic) or 0, 1, A, B, C (modern).
constexpr std::array<bool, 16> kClassicHydroDM4 = {true,  true,  false, false, false, false, false, false,
                                                   false, false, true,  true,  true,  true,  true,  true};
constexpr std::array<bool, 16> kModernHydroDM4 = {true,  true,  false, false, false, false, false, false,
                                                  false, false, true,  true,  true,  false, false, false};

const TRuleTable kClassic = {
    TRuleSet::Classic,
    kClassicHydroDM4,
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    // 2D: 2-4 A, 5-6 B, 7-8 C, 9 D, 10-11 E, 12 X.
    {{{2, 4, 'A'}, {5, 6, 'B'}, {7, 8, 'C'}, {9, 9, 'D'}, {10, 11, 'E'}, {12, 12, 'X'}}},
    // Starports A-D, 2D + DM (A -3, B -2, C -1) >= 7.
    {{{-3, 7}, {-2, 7}, {-1, 7}, {0, 7}, {0, 0}, {0, 0}}},
};

const TRuleTable kModern = {
    TRuleSet::Modern,
    kModernHydroDM4,
    // Population 0-2 -2, 3-4 -1, 8-9 +1, A+ +2.
    {-2, -2, -2, -1, -1, 0, 0, 0, 1, 1, 2},
    // 2D + DM: 2- X, 3-4 E, 5-6 D, 7-8 C, 9-10 B, 11+ A.
    {{{INT_MIN, 2, 'X'}, {3, 4, 'E'}, {5, 6, 'D'}, {7, 8, 'C'}, {9, 10, 'B'}, {11, INT_MAX, 'A'}}},
    // Starport A 10+, B 8+, C 8+, D 7+ on 2D.
    {{{0, 10}, {0, 8}, {0, 8}, {0, 7}, {0, 0}, {0, 0}}},
};

constexpr std::array<int, 4> kDensityDM = {-2, -1, 0, 1};  // rift, sparse, standard, dense

template <std::size_t N>
int At(const std::array<int, N>& table, int index) {
    return index >= 0 && index < static_cast<int>(N) ? table[static_cast<std::size_t>(index)] : 0;
}

int AtLeastZero(int v) { return v < 0 ? 0 : v; }

}  // namespace

const TTechLevelDMs kTechLevelDMs = {
    // Starport A +6, B +4, C +2, X -4.
    {6, 4, 2, 0, 0, -4},
    // Size 0-1 +2, 2-4 +1.
    {2, 2, 1, 1, 1, 0, 0, 0, 0, 0, 0},
    // Atmosphere 0-3 +1, A-E +1.
    {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0},
    // Hydrographics 9 +1, A +2.
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2},
    // Population 1-5 +1, 9 +2, A +4.
    {0, 1, 1, 1, 1, 1, 0, 0, 0, 2, 4},
    // Government 0 +1, 5 +1, D -2.
    {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, -2, 0, 0},
};

const char* RuleSetName(TRuleSet rules) { return rules == TRuleSet::Classic ? "classic" : "modern"; }

const char* DensityName(TDensity density) {
    static const char* const names[] = {"rift", "sparse", "standard", "dense"};
    return names[static_cast<int>(density)];
}

bool ParseRuleSet(std::string_view text, TRuleSet& rules) {
    for (TRuleSet r : {TRuleSet::Classic, TRuleSet::Modern})
        if (text == RuleSetName(r)) {
            rules = r;
            return true;
        }
    return false;
}

bool ParseDensity(std::string_view text, TDensity& density) {
    for (TDensity d : {TDensity::Rift, TDensity::Sparse, TDensity::Standard, TDensity::Dense})
        if (text == DensityName(d)) {
            density = d;
            return true;
        }
    return false;
}

int StarportIndex(char code) {
    for (int i = 0; i < 6; ++i)
        if (kStarports[i] == code) return i;
    return -1;
}

const TRuleTable& Rules(TRuleSet rules) { return rules == TRuleSet::Classic ? kClassic : kModern; }

int DensityDM(TDensity density) { return kDensityDM[static_cast<std::size_t>(density)]; }

int TechLevelDM(char starport, int size, int atmosphere, int hydrographics, int population, int government) {
    const TTechLevelDMs& t = kTechLevelDMs;
    return At(t.Starport, StarportIndex(starport)) + At(t.Size, size) + At(t.Atmosphere, atmosphere) +
           At(t.Hydrographics, hydrographics) + At(t.Population, population) + At(t.Government, government);
}

TTravelZoneCode ZoneFor(int population, int atmosphere, int government, int law) {
    const bool amber = population > 0 && (atmosphere >= 10 || government == 0 || government == 7 ||
                                          government == 10 || law == 0 || law >= 9);
    return amber ? tzcAmber : tzcGreen;
}

bool RollWorldPresent(TDensity density, TDie& die) { return die.Roll() + DensityDM(density) >= kWorldTarget; }

char StarportFor(const TRuleTable& table, int result) {
    for (const TStarportBand& band : table.Starport)
        if (result >= band.Lowest && result <= band.Highest) return band.Starport;
    return 'X';
}

TWorld RollWorld(TRuleSet rules, TDie& die) {
    const TRuleTable& table = Rules(rules);
    TWorld w;
    // Every roll is made, used or not, so a world always takes the same dice.
    const int size = die.Roll2D(), atmosphere = die.Roll2D(), hydro = die.Roll2D(), population = die.Roll2D(),
              government = die.Roll2D(), law = die.Roll2D(), starport = die.Roll2D(), tech = die.Roll(),
              naval = die.Roll2D(), scout = die.Roll2D(), gasGiant = die.Roll2D();

    w.Size = AtLeastZero(size - 2);
    w.Atmosphere = w.Size == 0 ? 0 : AtLeastZero(atmosphere - 7 + w.Size);
    const int hydroDM = table.HydroDM4[static_cast<std::size_t>(std::min(w.Atmosphere, 15))] ? -4 : 0;
    w.Hydrographics = w.Size <= 1 ? 0 : std::min(kMaxHydrographics, AtLeastZero(hydro - 7 + w.Atmosphere + hydroDM));
    w.Population = AtLeastZero(population - 2);
    w.Government = w.Population == 0 ? 0 : AtLeastZero(government - 7 + w.Population);
    w.Law = w.Population == 0 ? 0 : AtLeastZero(law - 7 + w.Government);
    w.Starport = StarportFor(table, starport + At(table.StarportPopulationDM, w.Population));
    w.TechLevel =
        AtLeastZero(tech + TechLevelDM(w.Starport, w.Size, w.Atmosphere, w.Hydrographics, w.Population, w.Government));
    w.NavalBase = (w.Starport == 'A' || w.Starport == 'B') && naval >= kNavalBaseTarget;
    const TScoutRoll scoutRoll = table.ScoutBase[static_cast<std::size_t>(StarportIndex(w.Starport))];
    w.ScoutBase = scoutRoll.Target > 0 && scout + scoutRoll.DM >= scoutRoll.Target;
    w.GasGiant = gasGiant <= kGasGiantMax;
    w.Zone = ZoneFor(w.Population, w.Atmosphere, w.Government, w.Law);
    return w;
}

int ExtendedHexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'H') return c - 'A' + 10;
    if (c >= 'J' && c <= 'N') return c - 'J' + 18;
    if (c >= 'P' && c <= 'Z') return c - 'P' + 23;
    return -1;
}

char ExtendedHexDigit(int v) {
    static constexpr char digits[] = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
    return v >= 0 && v < 34 ? digits[v] : '?';
}

std::string UpcCode(const TWorld& w) {
    return {ExtendedHexDigit(w.Size),       ExtendedHexDigit(w.Atmosphere), ExtendedHexDigit(w.Hydrographics),
            ExtendedHexDigit(w.Population), ExtendedHexDigit(w.Government), ExtendedHexDigit(w.Law)};
}

}  // namespace hexlane::rules
