#pragma once
// TStar: one star system (one occupied hex), owned by its TSector. Holds the
// survey data as code characters and decodes them on every read.

#include "Manager.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TSector;
class TUniverse;

enum TTravelZoneCode : std::uint8_t { tzcUnknown = 0, tzcGreen = 1, tzcAmber = 2, tzcRed = 3 };

// "Unknown", "Green", "Amber", "Red".
const char* TravelZoneText(TTravelZoneCode zone);

// System-content bits of TStar::SystemContent (bit 0 unused).
enum SystemContentFlag : std::int32_t {
    scNavalBase = 0x2,
    scNavalDepot = 0x4,
    scScoutBase = 0x8,
    scScoutWayStation = 0x10,
    scResearchStation = 0x20,
    scPrison = 0x40,
    scGasGiant = 0x80,
    scPlanetoids = 0x100,
    scInterface = 0x200,
    scCorsairBase = 0x400,
    scMilitaryBase = 0x800,
    scPlanetaryNavalBase = 0x1000,
    scDroyneNavalBase = 0x2000,
    scClanNavalBase = 0x4000,
    scTlaukhuNavalBase = 0x8000,
    scZhodaniNavalBase = 0x10000,
    scVargrNavalBase = 0x20000,
    scAncientSite = 0x40000,
};

// Index-to-code functions used by editors and import.
std::string HexCodeText(int index);        // 0-16 -> "0"-"9","A"-"G"; else "G"
std::string StarportCodeText(int index);   // 0-5 -> "A".."E","X"; else "X"
std::string SpaceportCodeText(int index);  // 0-2 -> "F","G","H"; 3 and else "Y"
std::string SizeCodeText(int index);       // 0 "0", 1 "R", 2 "S", 3-11 "1"-"9", 12 "A"; else "A"

class TStar final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();

    // Fields that every layout pass reads or writes come first, together, so a
    // pass over tens of thousands of stars touches as little memory as it can.

    // ---- unpublished working fields ----
    int PictureX = 0, PictureY = 0;  // centre in the last map picture
    int HexX = 0, HexY = 0;          // map-wide hex coordinates (ComputeExtent)
    int DistX = 0, DistZ = 0;        // distance coordinates (ComputeExtent)
    bool Visible = false;            // shown on the map (published, not stored)

    // ---- stored ----
    std::int32_t StarCoordsX = 0;  // column within the subsector, 1-8
    std::int32_t StarCoordsY = 0;  // row within the subsector, 1-10
    // Texts are compact strings: a large map holds a dozen per star.
    CompactString SubSectorName;
    CompactString Allegiance;
    CompactString UPC;             // size, atmosphere, hydrographics, population, government, law
    CompactString Starport;
    CompactString Spaceport;
    std::string TechLevel() const;  // the stored code, or the alternate code while UseAltTL is on
    void SetTechLevel(std::string_view code) { techLevel_ = code; }
    const CompactString& StoredTechLevel() const { return techLevel_; }
    std::int32_t SystemContent = 0;
    TTravelZoneCode TravelZoneCode = tzcUnknown;
    bool SubsectorCapital = false;
    CompactString Notes;
    CompactString SysData;
    bool Visited = false;
    std::int32_t MapIndex = 0;
    std::int32_t Skewing = 0;
    bool UserSurveyed = false;
    bool PsiInstitute = false;
    std::int32_t UAP = 0;
    CompactString ComPsiRating, EduPsiRating, GovPsiRating, SecPsiRating;
    std::int32_t Orbit = 0;

    // ---- published, not stored ----
    // The star's own sector-name slot if set, else the owning sector's Name1.
    std::string SectorName() const;
    void SetSectorName(std::string_view name) {
        if (!name.empty() || rare_) Rare().SectorName = name;
    }
    int SubSectorCoordsX() const;  // 1-4, or 0 when the subsector name is unknown
    int SubSectorCoordsY() const;
    int SectorCoordsX() const;     // of the owning sector (0 without one)
    int SectorCoordsY() const;
    bool ExcludeFromDisplay = false;
    // Six trade values, BuyValue1 to BuyValue6 for I = 0-5; 0 until set.
    template <int I>
    double BuyValue() const {
        return rare_ ? rare_->BuyValues[I] : 0.0;
    }
    template <int I>
    void SetBuyValue(double value) {
        if (value != 0.0 || rare_) Rare().BuyValues[I] = value;
    }
    bool Marked = false;
    std::int32_t Color = 0;
    std::int32_t TradeCodes = 0;
    std::string TradeCodesStr() const;
    int PSIndex() const;
    int AtIndex() const;
    int HydroIndex() const;
    int PopIndex() const;
    int GovIndex() const;
    int LLIndex() const;
    int SPIndex() const;
    int SpPIndex() const;
    int TLIndex() const;
    char PSUPCCode() const { return UPCChar(0); }
    char AtUPCCode() const { return UPCChar(1); }
    char HUPCCode() const { return UPCChar(2); }
    char PopUPCCode() const { return UPCChar(3); }
    char GovUPCCode() const { return UPCChar(4); }
    char LLUPCCode() const { return UPCChar(5); }

    // The owning sector, or null when the star is owned by something else.
    TSector* Sector() const;
    // The universe at the root of the tree, or null.
    TUniverse* Universe() const;

    // Column 1-32 and row 1-40 of the hex within its sector.
    int SectorHexColumn() const;
    int SectorHexRow() const;

private:
    char UPCChar(std::size_t i) const { return i < UPC.size() ? UPC[i] : '\0'; }
    CompactString techLevel_;
    // Values hardly any star has (the sector-name slot is set only by maps of
    // the oldest layout), kept apart and made only when one is set.
    struct RareValues {
        CompactString SectorName;
        double BuyValues[6] = {};
    };
    RareValues& Rare() {
        if (!rare_) rare_ = std::make_unique<RareValues>();
        return *rare_;
    }
    std::unique_ptr<RareValues> rare_;
};
