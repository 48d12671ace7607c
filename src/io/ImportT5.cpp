#include "ImportT5.h"

#include "DefineUniverse.h"
#include "StarNames.h"

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_set>

namespace {

int Digits(std::string_view s) {
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return s.empty() ? -1 : value;
}

// Finds or adds the allegiance of an import code; remembers its answers, so
// a code is looked up (or added) once per import.
class TAllegianceCodes {
public:
    TAllegianceCodes(TUniverse& universe, std::vector<std::pair<std::size_t, std::string>>& messages)
        : universe_(universe), messages_(messages) {}

    std::string NameOf(const std::string& code, std::size_t line) {
        if (code.empty()) return "Unknown";
        auto it = names_.find(code);
        if (it != names_.end()) return it->second;
        return names_[code] = Look(code, line);
    }

private:
    std::string Look(const std::string& code, std::size_t line) {
        if (const TAllegiance* a = universe_.FindAllegianceByImportCode(code)) return a->Name1;
        // An old map's two-letter code catches the four-letter codes that begin with it.
        if (code.size() == 4)
            if (const TAllegiance* a = universe_.FindAllegianceByImportCode(code.substr(0, 2))) return a->Name1;
        TAllegiances* list = universe_.Allegiances();
        if (!list) return "Unknown";
        // An allegiance already named so is the one meant; two of one name
        // could not be told apart.
        if (universe_.FindAllegiance(code)) return code;
        TAllegiance* added = list->Create<TAllegiance>();
        added->Name1 = code;
        added->ImportCode = code;
        messages_.emplace_back(line, "Allegiance " + code + " added");
        return code;
    }

    TUniverse& universe_;
    std::vector<std::pair<std::size_t, std::string>>& messages_;
    std::map<std::string, std::string> names_;
};

// Builds the star of one row; null with the reason when the row is refused.
std::unique_ptr<TStar> StarOfRow(const TT5Row& row, const TSector& sector, TStarNames& names,
                                 TAllegianceCodes& allegiances, const char*& reason) {
    const std::string& hex = row[tfHex];
    const int column = hex.size() == 4 ? Digits(std::string_view(hex).substr(0, 2)) : -1;
    const int hexRow = hex.size() == 4 ? Digits(std::string_view(hex).substr(2, 2)) : -1;
    if (column < 1 || column > 32 || hexRow < 1 || hexRow > 40) {
        reason = "Bad Hex";
        return nullptr;
    }
    const std::string& uwp = row[tfUWP];
    if (uwp.size() != 9) {
        reason = "Bad UWP";
        return nullptr;
    }

    auto star = std::make_unique<TStar>();
    star->Visible = true;
    star->Spaceport = "Y";
    const int c = (column - 1) / 8 + 1;
    const int r = (hexRow - 1) / 10 + 1;
    star->StarCoordsX = column - 8 * (c - 1);
    star->StarCoordsY = hexRow - 10 * (r - 1);
    star->SubSectorName = sector.SSName[static_cast<std::size_t>(TSector::SubsectorIndex(c, r))];

    star->Starport = uwp.substr(0, 1);
    star->UPC = uwp.substr(1, 6);
    star->SetTechLevel(uwp.substr(8, 1));
    star->Name1 = names.Take(row[tfName].empty() ? "Star" + star->UPC : row[tfName]);

    const std::string& pbg = row[tfPBG];
    star->SystemContent = T5BasesFlags(row[tfBases]);
    if (pbg.size() > 1 && pbg[1] != '0') star->SystemContent |= scPlanetoids;
    if (pbg.size() > 2 && pbg[2] != '0') star->SystemContent |= scGasGiant;

    const std::string& zone = row[tfZone];
    star->TravelZoneCode = zone == "A" ? tzcAmber : zone == "R" ? tzcRed : tzcGreen;
    star->Allegiance = allegiances.NameOf(row[tfAllegiance], row.Line);
    star->SubsectorCapital = T5RemarksNameCapital(row[tfRemarks]);

    std::string sysData = row[tfStars] + "\r\nPBG : " + pbg;
    for (TT5Field f : kT5SysDataFields)
        if (!row[f].empty()) sysData += "\r\n" + std::string(T5FieldName(f)) + " : " + row[f];
    for (const auto& [heading, value] : row.Extra) sysData += "\r\n" + heading + " : " + value;
    star->SysData = std::move(sysData);
    return star;
}

}  // namespace

std::int32_t T5BasesFlags(std::string_view bases) {
    std::int32_t flags = 0;
    for (char letter : bases) flags |= letter == 'K' ? scPlanetaryNavalBase : BaseCodeFlags(letter);
    return flags;
}

bool T5RemarksNameCapital(std::string_view remarks) {
    for (std::size_t at = 0; at < remarks.size();) {
        const std::size_t start = remarks.find_first_not_of(' ', at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(remarks.find(' ', start), remarks.size());
        const std::string_view word = remarks.substr(start, end - start);
        if (word == "Cp" || word == "Cs" || word == "Cx") return true;
        at = end;
    }
    return false;
}

TSectorImportResult ImportT5Text(TUniverse& universe, TSector& sector, std::string_view text, TSectorFormat format) {
    TT5Rows rows = ReadT5Rows(text, format);
    if (rows.Rows.empty() && rows.Errors.empty()) {
        TSectorImportResult result;
        result.Status = TSectorImportResult::TStatus::NothingToDo;
        result.Message = "Nothing to do.";
        return result;
    }
    return ImportT5Rows(universe, sector, std::move(rows));
}

TSectorImportResult ImportT5Rows(TUniverse& universe, TSector& sector, TT5Rows rows) {
    TSectorImportResult result;
    std::vector<std::pair<std::size_t, std::string>> messages = std::move(rows.Errors);
    // The names the rows can ask for: only the universe's names that clash
    // with them need to be known.
    std::unordered_set<std::string> bases;
    for (const TT5Row& row : rows.Rows)
        bases.insert(!row[tfName].empty() ? row[tfName]
                     : row[tfUWP].size() == 9 ? "Star" + row[tfUWP].substr(1, 6) : std::string());
    TStarNames names(universe, bases);
    TAllegianceCodes allegiances(universe, messages);
    for (const TT5Row& row : rows.Rows) {
        const char* reason = "";
        std::unique_ptr<TStar> star = StarOfRow(row, sector, names, allegiances, reason);
        if (!star) {
            messages.emplace_back(row.Line, "Error at Line " + std::to_string(row.Line) + " " + reason);
            continue;
        }
        sector.Adopt(std::move(star));
        ++result.StarsImported;
    }
    // The reader's and the builder's messages, in the order of the lines.
    std::stable_sort(messages.begin(), messages.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& m : messages) result.Lines.push_back(std::move(m.second));

    universe.ComputeExtent();
    MarkChanged(universe);
    universe.MapDirty = true;
    return result;
}
