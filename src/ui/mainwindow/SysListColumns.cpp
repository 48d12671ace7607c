#include "SysListColumns.h"

#include "DefineSector.h"
#include "DefineStar.h"
#include "Manager.h"
#include "MapText.h"

#include <cstdint>

namespace hexlane::ui {

namespace {

struct ColumnInfo {
    const char* Caption;
    bool Visible;
    int Width;
    std::int32_t ContentBit;  // the SystemContent bit shown as Yes/No, or 0
};

const ColumnInfo kColumns[kSysListColumnCount] = {
    {"System Name", true, 150, 0},
    {"Visited", false, 50, 0},
    {"SP", true, 50, 0},
    {"UPC", true, 75, 0},
    {"TL", true, 50, 0},
    {"SpP", false, 50, 0},
    {"Trade Class", false, 75, 0},
    {"Travel Code", false, 75, 0},
    {"Coords", false, 50, 0},
    {"Capital", false, 50, 0},
    {"Naval Base", false, 50, scNavalBase},
    {"Naval Depot", false, 50, scNavalDepot},
    {"Scout Base", false, 50, scScoutBase},
    {"Scout Way Station", false, 50, scScoutWayStation},
    {"Interface", false, 50, scInterface},
    {"Corsair Base", false, 50, scCorsairBase},
    {"Vargr Naval Base", false, 50, scVargrNavalBase},
    {"Military Base", false, 50, scMilitaryBase},
    {"Planetary Naval Base", false, 50, scPlanetaryNavalBase},
    {"Droyne Naval Base", false, 50, scDroyneNavalBase},
    {"Clan Naval Base", false, 50, scClanNavalBase},
    {"Tlaukhu Naval Base", false, 50, scTlaukhuNavalBase},
    {"Zhodani Naval Base", false, 50, scZhodaniNavalBase},
    {"Research Station", false, 50, scResearchStation},
    {"Prison", false, 50, scPrison},
    {"Gas Giant", false, 50, scGasGiant},
    {"Planetoids", false, 50, scPlanetoids},
    {"Allegiance", true, 100, 0},
    {"Sector", false, 100, 0},
    {"Subsector", false, 100, 0},
};

// Yes/No and the travel zones are static texts: a list of tens of thousands of
// rows shares them instead of allocating one string per cell.
QString YesNo(bool value) {
    static const QString yes = QString::fromStdString(YesNoText(true));
    static const QString no = QString::fromStdString(YesNoText(false));
    return value ? yes : no;
}

QString TravelZone(TTravelZoneCode zone) {
    static const QString texts[4] = {
        QString::fromLatin1(TravelZoneText(tzcUnknown)), QString::fromLatin1(TravelZoneText(tzcGreen)),
        QString::fromLatin1(TravelZoneText(tzcAmber)), QString::fromLatin1(TravelZoneText(tzcRed))};
    return zone <= tzcRed ? texts[zone] : QString::fromLatin1(TravelZoneText(zone));
}

}  // namespace

std::vector<TSysListCol> DefaultSysListColumns() {
    std::vector<TSysListCol> table;
    table.reserve(kSysListColumnCount);
    for (int i = 0; i < kSysListColumnCount; ++i)
        table.push_back({QString::fromLatin1(kColumns[i].Caption), kColumns[i].Visible, kColumns[i].Width, i});
    return table;
}

QString StarCellText(const TStar& star, int number) {
    using render::MapText;
    switch (number) {
        case 0: return MapText(star.Name1);
        case 1: return YesNo(star.Visited);
        case 2: return MapText(star.Starport);
        case 3: return MapText(star.UPC);
        case 4: return MapText(star.TechLevel());
        case 5: return MapText(star.Spaceport);
        case 6: return MapText(star.TradeCodesStr());
        case 7: return TravelZone(star.TravelZoneCode);
        case 8: return QString::number(star.StarCoordsX) + u',' + QString::number(star.StarCoordsY);
        case 9: return YesNo(star.SubsectorCapital);
        case 27: return MapText(star.Allegiance);
        case 28: {
            const TSector* sector = star.Sector();
            return sector ? MapText(sector->Name1) : QString();
        }
        case 29: return MapText(star.SubSectorName);
        default:
            if (number >= 10 && number <= 26) return YesNo((star.SystemContent & kColumns[number].ContentBit) != 0);
            return QString();
    }
}

}  // namespace hexlane::ui
