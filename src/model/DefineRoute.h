#pragma once
// Routes (named sets of legs between star systems) and allegiances (political
// bodies that stars name in their Allegiance).

#include "Manager.h"

#include <cstdint>
#include <string>
#include <vector>

class TUniverse;
class TRouteLeg;

// Brush styles of an allegiance's area.
enum TBrushStyle : std::uint8_t {
    bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};

class TRoutes final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();
};

class TRoute final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();

    bool ShowRoute = false;
    std::int32_t Color = 0;
    bool User = false;
    std::uint8_t LineType = 0;       // 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
    std::uint8_t LineThickness = 0;  // 0 draws like 1

    // Length in parsecs: the sum of the legs' star distances; a leg whose start
    // or end star does not exist adds 0. Also left in DistanceSlot.
    int Distance() const;
    mutable int DistanceSlot = 0;

    std::vector<TRouteLeg*> Legs() const;
    TUniverse* Universe() const;
};

class TRouteLeg final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();

    std::string GroupName;  // working group name (not stored)
    std::string SStarName;
    std::string EStarName;
    bool OverrideProperties = false;
    std::int32_t Color = 0;
    std::uint8_t LineType = 0;
    std::uint8_t LineThickness = 0;

    // Map-wide hex coordinates of the end stars as of the last ComputeExtent,
    // -1 when no star has the name.
    int SCoordsX() const;
    int SCoordsY() const;
    int ECoordsX() const;
    int ECoordsY() const;

    // Drawing attributes: the leg's own when OverrideProperties, else its route's.
    std::int32_t DrawColor() const;
    std::uint8_t DrawLineType() const;
    std::uint8_t DrawLineThickness() const;

    TRoute* Route() const;
    TUniverse* Universe() const;
};

class TAllegiances final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();
};

class TAllegiance final : public TManager {
public:
    const ClassInfo& Class() const override;
    static const ClassInfo& StaticClass();

    std::int32_t Color = 0;
    std::string ImportCode;
    std::string Notes;
    TBrushStyle Style = bsSolid;
};
