#include "GenerateSystems.h"

#include "DefineUniverse.h"

#include <array>
#include <cctype>

namespace hexlane::rules {

namespace {

constexpr int kColumns = 32, kRows = 40;

// Which hexes of the sector may receive a system: free, and in a subsector
// that the options choose and whose name leads back to it (a subsector whose
// name an earlier one repeats could not hold its systems).
struct THexMask {
    std::array<bool, kColumns * kRows> Open{};
    bool At(int column, int row) const { return Open[static_cast<std::size_t>((column - 1) * kRows + row - 1)]; }
};

THexMask OpenHexes(const TSector& sector, const TGenerateOptions& options) {
    THexMask mask;
    for (int x = 1; x <= 4; ++x)
        for (int y = 1; y <= 4; ++y) {
            if (options.SubsectorX != 0 && (x != options.SubsectorX || y != options.SubsectorY)) continue;
            const int index = TSector::SubsectorIndex(x, y);
            if (sector.FindSubsector(sector.SSName[static_cast<std::size_t>(index)]) != index + 1) continue;
            for (int c = 1; c <= 8; ++c)
                for (int r = 1; r <= 10; ++r)
                    mask.Open[static_cast<std::size_t>(((x - 1) * 8 + c - 1) * kRows + (y - 1) * 10 + r - 1)] = true;
        }
    for (const auto& child : sector.Children()) {
        const auto* star = As<TStar>(child.get());
        if (!star || star->SubSectorCoordsX() == 0) continue;
        const int column = star->SectorHexColumn(), row = star->SectorHexRow();
        if (column >= 1 && column <= kColumns && row >= 1 && row <= kRows)
            mask.Open[static_cast<std::size_t>((column - 1) * kRows + row - 1)] = false;
    }
    return mask;
}

// Calls fn(column, row, die) for every open hex that rolls a world.
template <class F>
void ForEachWorldHex(const TSector& sector, const TGenerateOptions& options, F&& fn) {
    const THexMask mask = OpenHexes(sector, options);
    for (int column = 1; column <= kColumns; ++column)
        for (int row = 1; row <= kRows; ++row) {
            if (!mask.At(column, row)) continue;
            const std::uint64_t seed = HexSeed(options.Seed, sector.SectorCoordsX, sector.SectorCoordsY, column, row);
            TSeededDie die(seed);
            if (RollWorldPresent(options.Density, die)) fn(column, row, die, seed);
        }
}

}  // namespace

std::uint64_t HexSeed(std::uint64_t seed, int sectorX, int sectorY, int column, int row) {
    const std::uint64_t hex = (static_cast<std::uint64_t>(static_cast<std::uint16_t>(sectorX)) << 48) |
                              (static_cast<std::uint64_t>(static_cast<std::uint16_t>(sectorY)) << 32) |
                              (static_cast<std::uint64_t>(static_cast<std::uint16_t>(column)) << 16) |
                              static_cast<std::uint16_t>(row);
    return Mix64(Mix64(seed) ^ Mix64(hex + 0x9E3779B97F4A7C15ull));
}

std::uint64_t NameSeed(std::uint64_t hexSeed) { return Mix64(hexSeed ^ 0x6E616D6573ull); }

bool FindSubsectorByText(const TSector& sector, const std::string& text, int& x, int& y) {
    if (const int position = sector.FindSubsector(text); position != 0) {
        x = (position - 1) / 4 + 1;
        y = (position - 1) % 4 + 1;
        return true;
    }
    if (text.size() == 1) {
        const int letter = std::tolower(static_cast<unsigned char>(text[0])) - 'a';
        if (letter >= 0 && letter < 16) {
            x = letter % 4 + 1;
            y = letter / 4 + 1;
            return true;
        }
    }
    return false;
}

std::vector<TPlannedSystem> TSystemGenerator::Plan(const TSector& sector, const TGenerateOptions& options) {
    std::vector<TPlannedSystem> systems;
    ForEachWorldHex(sector, options, [&](int column, int row, TDie& die, std::uint64_t seed) {
        TPlannedSystem system;
        system.Column = column;
        system.Row = row;
        system.World = RollWorld(options.Rules, die);
        TSeededDie nameDie(NameSeed(seed));
        system.Name = names_.Make(nameDie);
        systems.push_back(std::move(system));
    });
    return systems;
}

int TSystemGenerator::Count(const TSector& sector, const TGenerateOptions& options) {
    int count = 0;
    ForEachWorldHex(sector, options, [&](int, int, TDie&, std::uint64_t) { ++count; });
    return count;
}

int TSystemGenerator::Apply(TSector& sector, const std::vector<TPlannedSystem>& systems,
                            const std::string& allegiance) {
    const bool visible = !sector.ExcludeFromDisplay();
    for (const TPlannedSystem& s : systems) {
        const TWorld& w = s.World;
        TStar* star = sector.Create<TStar>();
        star->Name1 = s.Name;
        star->Allegiance = allegiance;
        const int x = (s.Column - 1) / 8 + 1, y = (s.Row - 1) / 10 + 1;
        star->SubSectorName = sector.SSName[static_cast<std::size_t>(TSector::SubsectorIndex(x, y))];
        star->StarCoordsX = (s.Column - 1) % 8 + 1;
        star->StarCoordsY = (s.Row - 1) % 10 + 1;
        star->UPC = UpcCode(w);
        star->Starport = std::string(1, w.Starport);
        star->Spaceport = "Y";
        star->SetTechLevel(std::string(1, ExtendedHexDigit(w.TechLevel)));
        star->SystemContent = (w.NavalBase ? scNavalBase : 0) | (w.ScoutBase ? scScoutBase : 0) |
                              (w.GasGiant ? scGasGiant : 0);
        star->TravelZoneCode = w.Zone;
        star->Visible = visible;
    }
    return static_cast<int>(systems.size());
}

int GenerateSystems(TUniverse& universe, TSector& sector, const TGenerateOptions& options) {
    TSystemGenerator generator(universe);
    const int made = generator.Generate(sector, options);
    if (made > 0) {
        universe.ComputeExtent();
        universe.MapDirty = true;
        MarkChanged(universe);
    }
    return made;
}

}  // namespace hexlane::rules
