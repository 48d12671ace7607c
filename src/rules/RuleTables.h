#pragma once
// The two rule sets for star systems, as tables: "classic" (the original
// rules of the late 1970s) and "modern" (the second edition of the current
// rules, simplified). The generator rolls through these tables and the
// checker derives from them which codes a rule set can give.
//
// A world is rolled with dice in this fixed order, every roll made whether
// or not its result is used, so one world always takes 21 dice after the 1D
// that decides whether the hex holds one: size 2D, atmosphere 2D,
// hydrographics 2D, population 2D, government 2D, law level 2D, starport 2D,
// tech level 1D, naval base 2D, scout base 2D, gas giant 2D.

#include "Dice.h"

#include "DefineStar.h"

#include <array>
#include <climits>
#include <string>
#include <string_view>

namespace hexlane::rules {

enum class TRuleSet { Classic, Modern };
enum class TDensity { Rift, Sparse, Standard, Dense };

// "classic", "modern"; "rift", "sparse", "standard", "dense".
const char* RuleSetName(TRuleSet rules);
const char* DensityName(TDensity density);
bool ParseRuleSet(std::string_view text, TRuleSet& rules);
bool ParseDensity(std::string_view text, TDensity& density);

// Starport classes in index order (the map's starport index 0-5).
inline constexpr char kStarports[6] = {'A', 'B', 'C', 'D', 'E', 'X'};
int StarportIndex(char code);  // 0-5, or -1 for any other character

// One band of a 2D (plus modifier) result and the starport it gives.
struct TStarportBand {
    int Lowest, Highest;
    char Starport;
};

// The scout base roll at one starport: 2D + DM must reach Target; a Target
// of 0 means never.
struct TScoutRoll {
    int DM, Target;
};

// What differs between the two rule sets.
struct TRuleTable {
    TRuleSet Rules;
    // Atmospheres 0-F that take DM -4 on the hydrographics roll.
    std::array<bool, 16> HydroDM4;
    // DM on the starport roll by population 0-A.
    std::array<int, 11> StarportPopulationDM;
    std::array<TStarportBand, 6> Starport;
    // By starport A, B, C, D, E, X.
    std::array<TScoutRoll, 6> ScoutBase;
};

const TRuleTable& Rules(TRuleSet rules);

// ---- what both rule sets share ----
// DM on the 1D for a world in the hex (4 or more: a world).
int DensityDM(TDensity density);
inline constexpr int kWorldTarget = 4;
inline constexpr int kMaxHydrographics = 10;
inline constexpr int kNavalBaseTarget = 8;  // 2D at starport A or B
inline constexpr int kGasGiantMax = 9;      // 2D at most

// Tech level DMs, each by the code's value.
struct TTechLevelDMs {
    std::array<int, 6> Starport;  // A B C D E X
    std::array<int, 11> Size;
    std::array<int, 16> Atmosphere;
    std::array<int, 11> Hydrographics;
    std::array<int, 11> Population;
    std::array<int, 16> Government;
};
extern const TTechLevelDMs kTechLevelDMs;

// A world's codes as numbers (starport as its class letter).
struct TWorld {
    int Size = 0, Atmosphere = 0, Hydrographics = 0, Population = 0, Government = 0, Law = 0;
    char Starport = 'X';
    int TechLevel = 0;
    bool NavalBase = false, ScoutBase = false, GasGiant = false;
    TTravelZoneCode Zone = tzcGreen;
};

// The sum of the tech level DMs; values outside the tables add nothing.
int TechLevelDM(char starport, int size, int atmosphere, int hydrographics, int population, int government);
// Amber when populated and the atmosphere is A+, the government 0, 7 or A,
// or the law level 0 or 9+; otherwise green.
TTravelZoneCode ZoneFor(int population, int atmosphere, int government, int law);

// 1D + density DM >= 4.
bool RollWorldPresent(TDensity density, TDie& die);
// Rolls one world by the rule set (21 dice, order above).
TWorld RollWorld(TRuleSet rules, TDie& die);
// The starport for a 2D (+ DM) result.
char StarportFor(const TRuleTable& table, int result);

// Extended hex: 0-9, A-H (10-17), J-N (18-22), P-Z (23-33); I and O are
// never used. -1 for any other character.
int ExtendedHexValue(char code);
char ExtendedHexDigit(int value);  // '?' outside 0-33

// "SAHPGL" in extended hex.
std::string UpcCode(const TWorld& world);

}  // namespace hexlane::rules
