#include "ImportT5.h"

#include "DefineStar.h"

#include <algorithm>

bool T5Records(std::string_view text, TSectorFormat format, std::vector<TSystemRecord>& records,
               std::vector<std::pair<std::size_t, std::string>>& messages, std::string& refused) {
    TT5Rows rows = ReadT5Rows(text, format);
    if (!rows.Refused.empty()) {
        refused = std::move(rows.Refused);
        return false;
    }
    messages = std::move(rows.Errors);
    records.reserve(rows.Rows.size());
    for (TT5Row& row : rows.Rows) {
        const std::string& uwp = row[tfUWP];
        if (uwp.size() != 9) {
            messages.emplace_back(row.Line, "Error at Line " + std::to_string(row.Line) + " Bad UWP");
            continue;
        }
        TSystemRecord& r = records.emplace_back();
        r.Line = row.Line;
        r.Name = std::move(row[tfName]);
        r.Hex = std::move(row[tfHex]);
        r.Starport = uwp.substr(0, 1);
        r.UPC = uwp.substr(1, 6);
        r.TechLevel = uwp.substr(8, 1);
        r.Bases = T5BasesFlags(row[tfBases]);
        r.Zone = row[tfZone].size() == 1 ? row[tfZone][0] : ' ';
        r.PBG = std::move(row[tfPBG]);
        r.AllegianceCode = std::move(row[tfAllegiance]);
        r.Capital = T5RemarksNameCapital(row[tfRemarks]);
        r.Stellar = std::move(row[tfStars]);
        for (TT5Field f : kT5SysDataFields)
            if (!row[f].empty()) r.Kept.emplace_back(T5FieldName(f), std::move(row[f]));
        for (auto& extra : row.Extra) r.Kept.push_back(std::move(extra));
    }
    return true;
}

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
