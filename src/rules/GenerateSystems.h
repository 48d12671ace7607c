#pragma once
// The seeded generator: fills the empty hexes of a sector, or of one of its
// subsectors, with systems rolled by a rule set. Systems already on the map
// are never touched. Each hex rolls from its own stream, made from the seed,
// the sector's position and the hex, so the same seed and options give the
// same systems whether a whole sector or one subsector is filled, and
// whatever other hexes hold.

#include "RuleTables.h"
#include "SystemNames.h"

#include <cstdint>
#include <string>
#include <vector>

class TSector;
class TUniverse;

namespace hexlane::rules {

struct TGenerateOptions {
    TRuleSet Rules = TRuleSet::Classic;
    TDensity Density = TDensity::Standard;
    std::uint64_t Seed = 1;
    std::string Allegiance;  // the systems' allegiance name; empty: none
    // Subsector column and row 1-4; 0, 0: the whole sector.
    int SubsectorX = 0, SubsectorY = 0;
};

// One system to be made: its hex within the sector, its codes and its name.
struct TPlannedSystem {
    int Column = 0, Row = 0;  // 1-32, 1-40
    TWorld World;
    std::string Name;
};

// The roll streams of one hex: codes from the first, names from the second.
std::uint64_t HexSeed(std::uint64_t seed, int sectorX, int sectorY, int column, int row);
std::uint64_t NameSeed(std::uint64_t hexSeed);

// Subsector column and row (1-4) from a subsector name of the sector, or
// from a letter a-p / A-P counted across the rows of subsectors; false when
// neither names one.
bool FindSubsectorByText(const TSector& sector, const std::string& text, int& x, int& y);

class TSystemGenerator {
public:
    // Notes every name already on the map.
    explicit TSystemGenerator(const TUniverse& universe) : names_(universe) {}

    // The systems the options give in the sector's empty hexes, in hex order
    // (column by column); their names are taken.
    std::vector<TPlannedSystem> Plan(const TSector& sector, const TGenerateOptions& options);
    // Adds the planned systems to the sector; returns how many.
    static int Apply(TSector& sector, const std::vector<TPlannedSystem>& systems, const std::string& allegiance);
    // Plan and Apply.
    int Generate(TSector& sector, const TGenerateOptions& options) {
        return Apply(sector, Plan(sector, options), options.Allegiance);
    }

    // How many systems Generate would make (no names drawn).
    static int Count(const TSector& sector, const TGenerateOptions& options);

private:
    TNameMaker names_;
};

// Generates into one sector of the universe and, when any system was made,
// refreshes the extent and marks the map changed and to be redrawn.
int GenerateSystems(TUniverse& universe, TSector& sector, const TGenerateOptions& options);

}  // namespace hexlane::rules
