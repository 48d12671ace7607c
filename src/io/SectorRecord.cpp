#include "SectorRecord.h"

#include "DefineUniverse.h"
#include "StarNames.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_set>

namespace {

using TMessages = std::vector<std::pair<std::size_t, std::string>>;

std::string LineText(std::size_t line) {
    return "Line " + std::to_string(line);
}

// The colours an import gives the allegiances it adds, as map colour values
// (0x00BBGGRR): a qualitative set that reads on white, apart from each other
// and from the amber and red zones and the routes' blue.
constexpr std::int32_t Rgb(std::uint32_t rrggbb) {
    return static_cast<std::int32_t>(((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF));
}
constexpr std::int32_t kImportColours[] = {
    Rgb(0x1B9E77), Rgb(0xD95F02), Rgb(0x7570B3), Rgb(0xE7298A), Rgb(0x66A61E), Rgb(0xA6761D),
    Rgb(0x1F78B4), Rgb(0x6A3D9A), Rgb(0xB15928), Rgb(0x17BECF), Rgb(0xBC80BD), Rgb(0x999933),
};

// The colour of the next added allegiance: the first of the set no
// allegiance has yet; once all are taken, the set again in turn.
std::int32_t NextImportColour(const TAllegiances& list) {
    const auto existing = list.ChildrenOf<TAllegiance>();
    for (const std::int32_t colour : kImportColours)
        if (std::none_of(existing.begin(), existing.end(), [colour](const TAllegiance* a) { return a->Color == colour; }))
            return colour;
    return kImportColours[existing.size() % std::size(kImportColours)];
}

// Finds (or, by the rules, adds) the allegiance of an import code; remembers
// its answers, so a code is looked up once per import.
class TAllegianceCodes {
public:
    TAllegianceCodes(TUniverse& universe, bool add, TMessages& messages)
        : universe_(universe), add_(add), messages_(messages) {}

    const std::string& NameOf(const std::string& code, std::size_t line) {
        auto it = names_.find(code);
        if (it != names_.end()) return it->second;
        return names_[code] = Look(code, line);
    }

private:
    std::string Look(const std::string& code, std::size_t line) {
        if (add_ && code.empty()) return "Unknown";
        if (const TAllegiance* a = universe_.FindAllegianceByImportCode(code)) return a->Name1;
        if (!add_) return "Unknown";
        // An old map's two-letter code catches the four-letter codes that begin with it.
        if (code.size() == 4)
            if (const TAllegiance* a = universe_.FindAllegianceByImportCode(code.substr(0, 2))) return a->Name1;
        TAllegiances* list = universe_.Allegiances();
        if (!list) return "Unknown";
        // An allegiance already named so is the one meant; two of one name
        // could not be told apart.
        if (universe_.FindAllegiance(code)) return code;
        // Its own colour and no fill, so the allegiance layer never hides the map.
        const std::int32_t colour = NextImportColour(*list);
        TAllegiance* added = list->Create<TAllegiance>();
        added->Name1 = code;
        added->ImportCode = code;
        added->Color = colour;
        added->Style = bsClear;
        messages_.emplace_back(line, "Allegiance " + code + " added");
        return code;
    }

    TUniverse& universe_;
    bool add_;
    TMessages& messages_;
    std::map<std::string, std::string> names_;
};

std::string BaseName(const TSystemRecord& r) {
    return r.Name.empty() ? "Star" + r.UPC : r.Name;
}

std::unique_ptr<TStar> StarOfRecord(const TSystemRecord& r, const TSector& sector, TStarNames& names,
                                    TAllegianceCodes& allegiances, TMessages& messages) {
    const std::optional<TSectorHex> hex = TSectorHex::Parse(r.Hex);
    if (!hex || !hex->InSector()) return nullptr;

    auto star = std::make_unique<TStar>();
    star->Visible = true;
    star->Spaceport = "Y";
    star->StarCoordsX = hex->X();
    star->StarCoordsY = hex->Y();
    star->SubSectorName = sector.SSName[static_cast<std::size_t>(hex->SubsectorIndex())];

    star->Starport = r.Starport;
    star->UPC = r.UPC;
    star->SetTechLevel(r.TechLevel);
    const std::string base = BaseName(r);
    star->Name1 = names.Take(base);
    if (star->Name1 != base)
        messages.emplace_back(r.Line, base + " at " + LineText(r.Line) + " renamed " + star->Name1);

    star->SystemContent = r.Bases;
    if (r.PBG.size() > 1 && r.PBG[1] != '0') star->SystemContent |= scPlanetoids;
    if (r.PBG.size() > 2 && r.PBG[2] != '0') star->SystemContent |= scGasGiant;
    star->TravelZoneCode = r.Zone == 'A' ? tzcAmber : r.Zone == 'R' ? tzcRed : tzcGreen;
    star->Allegiance = allegiances.NameOf(r.AllegianceCode, r.Line);
    star->SubsectorCapital = r.Capital;

    std::string sysData = r.Stellar + "\r\nPBG : " + r.PBG;
    for (const auto& [name, value] : r.Kept) sysData += "\r\n" + name + " : " + value;
    star->SysData = std::move(sysData);
    return star;
}

}  // namespace

TSectorImportResult BuildStars(TUniverse& universe, TSector& sector, const std::vector<TSystemRecord>& records,
                               TMessages messages, const TRecordRules& rules) {
    TSectorImportResult result;
    result.RowsRefused = static_cast<int>(messages.size());
    // Only the universe's names that the records can clash with need to be known.
    std::unordered_set<std::string> bases;
    for (const TSystemRecord& r : records) bases.insert(BaseName(r));
    TStarNames names(universe, bases);
    TAllegianceCodes allegiances(universe, rules.AddAllegiances, messages);
    for (const TSystemRecord& r : records) {
        std::unique_ptr<TStar> star = StarOfRecord(r, sector, names, allegiances, messages);
        if (!star) {
            messages.emplace_back(r.Line, "Error at " + LineText(r.Line) + (rules.HexReason ? " Bad Hex" : ""));
            ++result.RowsRefused;
            continue;
        }
        sector.Adopt(std::move(star));
        ++result.StarsImported;
    }
    // The readers' and the builder's messages, in the order of the lines.
    std::stable_sort(messages.begin(), messages.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& m : messages) result.Lines.push_back(std::move(m.second));

    universe.ComputeExtent();
    MarkChanged(universe);
    universe.MapDirty = true;
    return result;
}
