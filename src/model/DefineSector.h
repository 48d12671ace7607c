#pragma once
// TSectors holds the sectors; a TSector is one 32 x 40 block of hexes, 4 x 4
// subsectors of 8 x 10, and owns the stars lying in it.

#include "Manager.h"
#include "SectorHex.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class TStar;

class TSectors final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();
};

class TSector final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();

    bool ExcludeFromDisplay() const { return excludeFromDisplay_; }
    // Stores the flag, sets every star's Visible to its opposite and, when
    // excluding, resets the stars' picture positions to (0, 0).
    void SetExcludeFromDisplay(bool value);

    std::int32_t SectorCoordsX = 0;  // sector column, 1 for the first
    std::int32_t SectorCoordsY = 0;  // sector row, 1 for the first

    // Subsector names in stored order SS0101, SS0102, SS0103, SS0104, SS0201 ...
    // SS0404: index (x - 1) * 4 + (y - 1) for subsector column x and row y.
    std::array<std::string, 16> SSName;
    static constexpr int SubsectorIndex(int x, int y) { return (x - 1) * 4 + (y - 1); }
    std::string& SubsectorName(int x, int y) { return SSName[static_cast<std::size_t>(SubsectorIndex(x, y))]; }

    // Position (1-based index into SSName) of the first subsector with this
    // exact name, or 0.
    int FindSubsector(std::string_view name) const;

    bool HasStars() const;
    std::vector<TStar*> Stars() const;

private:
    bool excludeFromDisplay_ = false;
};
