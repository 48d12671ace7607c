#include "SectorExport.h"

#include "Codepage.h"
#include "DefineUniverse.h"
#include "FileIO.h"
#include "ImportT5.h"
#include "SectorHex.h"

#include <algorithm>
#include <bit>
#include <cstdio>

namespace {

// The base flags and the letter each is written with in a T5 file: T5's own
// letters where it has one, the base-code table's for the rest.
constexpr std::pair<std::int32_t, char> kT5BaseLetters[] = {
    {scNavalBase, 'N'},       {scScoutBase, 'S'},       {scScoutWayStation, 'W'}, {scNavalDepot, 'D'},
    {scPlanetaryNavalBase, 'K'}, {scMilitaryBase, 'M'}, {scCorsairBase, 'C'},     {scInterface, 'I'},
    {scDroyneNavalBase, 'P'}, {scClanNavalBase, 'R'},   {scTlaukhuNavalBase, 'T'}, {scZhodaniNavalBase, 'Z'},
    {scVargrNavalBase, 'G'},
};

constexpr std::int32_t BaseMask() {
    std::int32_t mask = 0;
    for (const auto& [flag, letter] : kT5BaseLetters) mask |= flag;
    return mask;
}

// The one letter of the classic table for the base flags: the letter that
// gives exactly these flags, else the one that gives most of them. `exact`
// tells which.
char ClassicBaseLetter(std::int32_t bases, bool& exact) {
    exact = true;
    if (bases == 0) return ' ';
    char best = ' ';
    int bestBits = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::int32_t flags = BaseCodeFlags(letter);
        if (flags == 0 || (flags & ~bases) != 0) continue;
        if (flags == bases) return letter;
        const int bits = std::popcount(static_cast<std::uint32_t>(flags));
        if (bits > bestBits) best = letter, bestBits = bits;
    }
    exact = false;
    return best;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = text.find_first_not_of(' ', at);
        if (start == std::string_view::npos) break;
        const std::size_t end = std::min(text.find(' ', start), text.size());
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

// The kept remarks, as they stand when their capital mark agrees with the
// star's flag; else with the mark added or taken out.
std::string Remarks(const std::string& kept, bool capital) {
    if (T5RemarksNameCapital(kept) == capital) return kept;
    if (capital) return kept.empty() ? "Cp" : kept + " Cp";
    std::string out;
    for (std::string_view w : Words(kept)) {
        if (w == "Cp" || w == "Cs" || w == "Cx") continue;
        if (!out.empty()) out += ' ';
        out += w;
    }
    return out;
}

// The PBG kept in SysData with its belt and gas giant digits following the
// star's flags ("0" for none, "1" where a flag has no digit yet).
std::string PBG(std::string kept, std::int32_t content) {
    const bool belts = (content & scPlanetoids) != 0, giants = (content & scGasGiant) != 0;
    if (kept.empty() && !belts && !giants) return kept;
    if (kept.size() < 3) kept.resize(3, '0');
    auto follow = [](char& digit, bool present) {
        if (!present) digit = '0';
        else if (digit == '0') digit = '1';
    };
    follow(kept[1], belts);
    follow(kept[2], giants);
    return kept;
}

// A code of `width` characters: cut, or filled with "?" (an unknown value).
// A blank or control character is written "?" too: a reader would take a
// blank at either end of the field for padding.
std::string Code(const std::string& code, std::size_t width) {
    std::string out = code.substr(0, width);
    out.resize(width, '?');
    for (char& c : out)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) c = '?';
    return out;
}

// Control characters (tabs and line ends among them) would break a row or
// a header; they are written as blanks (and the system is listed).
std::string OneLine(std::string value) {
    for (char& c : value)
        if (static_cast<unsigned char>(c) < ' ' || c == 0x7F) c = ' ';
    return value;
}

void AppendPadded(std::string& line, const std::string& value, std::size_t width) {
    line += value;
    if (value.size() < width) line.append(width - value.size(), ' ');
}

struct TStarRow {
    const TStar* Star;
    TT5Row Row;
};

// Appends the row of one star of `sector`, its fields on one line each.
void AddRow(const TUniverse& universe, const TSector& sector, const TStar* star, std::vector<TStarRow>& rows,
            std::vector<std::string>& lines) {
    TStarRow r{star, {}};
    if (!T5RowOfStar(universe, sector, *star, r.Row)) {
        lines.push_back(star->Name1 + " left out: its subsector is not one of the sector's");
        return;
    }
    bool changed = false;
    auto clean = [&changed](std::string& field) {
        std::string one = OneLine(field);
        changed = changed || one != field;
        field = std::move(one);
    };
    for (std::string& field : r.Row.Field) clean(field);
    for (auto& [heading, value] : r.Row.Extra) clean(value);
    if (changed) lines.push_back(OneLine(star->Name1) + " changed (control characters written as blanks)");
    rows.push_back(std::move(r));
}

std::vector<TStarRow> Rows(const TUniverse& universe, const TSector& sector, std::vector<std::string>& lines) {
    std::vector<TStarRow> rows;
    for (const TStar* star : sector.Stars()) AddRow(universe, sector, star, rows, lines);
    return rows;
}

// The headings of the columns the rows keep beyond the T5 fields, in the
// order they are first met, as many as a file may hold beside `fixed` columns.
std::vector<std::string> ExtraHeadings(const std::vector<TStarRow>& rows, std::size_t fixed,
                                       std::vector<std::string>& lines) {
    std::vector<std::string> headings;
    for (const TStarRow& r : rows)
        for (const auto& [heading, value] : r.Row.Extra)
            if (std::find(headings.begin(), headings.end(), heading) == headings.end()) {
                if (fixed + headings.size() < kMaxT5Columns) headings.push_back(heading);
                else lines.push_back(OneLine(r.Star->Name1) + ": column " + heading + " left out (too many columns)");
            }
    return headings;
}

// A row's value of an extra column; empty when it has none.
const std::string& ExtraValue(const TT5Row& row, const std::string& heading) {
    static const std::string none;
    for (const auto& [h, value] : row.Extra)
        if (h == heading) return value;
    return none;
}

std::string TabText(const std::vector<TStarRow>& rows, std::vector<std::string>& lines) {
    const std::vector<std::string> extra = ExtraHeadings(rows, tfCount, lines);
    std::string text;
    for (int f = 0; f < tfCount; ++f) text += std::string(f ? "\t" : "") + T5FieldName(static_cast<TT5Field>(f));
    for (const std::string& heading : extra) text += "\t" + heading;
    text += "\r\n";
    for (const TStarRow& r : rows) {
        for (int f = 0; f < tfCount; ++f) text += (f ? "\t" : "") + r.Row.Field[static_cast<std::size_t>(f)];
        for (const std::string& heading : extra) text += "\t" + ExtraValue(r.Row, heading);
        text += "\r\n";
    }
    return hexlane::Cp1252ToUtf8(text);
}

std::string ColumnText(const std::vector<TStarRow>& rows, std::vector<std::string>& lines) {
    struct TCol {
        TT5Field Field;  // tfCount: a column kept beyond the T5 fields
        std::string Heading;
        bool Dash;  // an empty value is written "-"
        std::size_t Width = 0;
    };
    std::vector<TCol> cols = {
        {tfHex, "Hex", false},    {tfName, "Name", false},   {tfUWP, "UWP", false},      {tfRemarks, "Remarks", false},
        {tfIx, "{Ix}", false},    {tfEx, "(Ex)", false},     {tfCx, "[Cx]", false},      {tfNobility, "N", false},
        {tfBases, "B", true},     {tfZone, "Z", true},       {tfPBG, "PBG", false},      {tfW, "W", false},
        {tfAllegiance, "A", false}, {tfRU, "RU", false},     {tfStars, "Stellar", false},
    };
    // RU is not among the usual columns of these files: written only when a system has it.
    if (std::none_of(rows.begin(), rows.end(), [](const TStarRow& r) { return !r.Row[tfRU].empty(); }))
        cols.erase(std::find_if(cols.begin(), cols.end(), [](const TCol& c) { return c.Field == tfRU; }));
    for (const std::string& heading : ExtraHeadings(rows, cols.size(), lines)) cols.push_back({tfCount, heading, false});
    auto value = [](const TCol& c, const TT5Row& row) {
        const std::string& v = c.Field == tfCount ? ExtraValue(row, c.Heading) : row[c.Field];
        return v.empty() && c.Dash ? std::string("-") : v;
    };
    for (TCol& c : cols) {
        c.Width = c.Heading.size();
        for (const TStarRow& r : rows) c.Width = std::max(c.Width, value(c, r.Row).size());
    }
    std::string text, dashes;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const bool last = i + 1 == cols.size();
        AppendPadded(text, cols[i].Heading, last ? 0 : cols[i].Width + 1);
        dashes += std::string(cols[i].Width, '-') + (last ? "" : " ");
    }
    text += "\r\n" + dashes + "\r\n";
    for (const TStarRow& r : rows) {
        std::string line;
        for (std::size_t i = 0; i < cols.size(); ++i)
            AppendPadded(line, value(cols[i], r.Row), i + 1 == cols.size() ? 0 : cols[i].Width + 1);
        text += line + "\r\n";
    }
    return hexlane::Cp1252ToUtf8(text);
}

std::string ClassicText(const TSector& sector, const std::vector<TStarRow>& rows, std::vector<std::string>& lines) {
    std::string text = OneLine(sector.Name1) + "\r\n" + std::string(kSectorFileRuler) + "\r\n";
    for (const TStarRow& r : rows) {
        const TT5Row& row = r.Row;
        std::vector<std::string> shortened;
        std::string name = row[tfName];
        if (name.size() > 14) name.resize(14), shortened.push_back("Name");
        bool exact = true;
        const char base = ClassicBaseLetter(r.Star->SystemContent & BaseMask(), exact);
        if (!exact) shortened.push_back("Bases");
        std::string pbg = row[tfPBG];
        if (pbg.size() > 3) shortened.push_back("PBG");
        pbg.resize(3, '0');
        std::string code = row[tfAllegiance];
        if (!code.empty() && code.size() != 2) shortened.push_back("Allegiance");
        std::string stars = row[tfStars];
        if (stars.size() > 16) stars.resize(16), shortened.push_back("Stars");
        const std::string& zone = row[tfZone];

        std::string line;
        AppendPadded(line, name, 14);
        line += row[tfHex] + ' ' + row[tfUWP] + "  " + base;
        AppendPadded(line, row[tfRemarks].substr(0, 16), 17);
        line += (zone.empty() ? ' ' : zone[0]);
        line += "  " + pbg + ' ';
        AppendPadded(line, code.substr(0, 2), 2);
        line += ' ' + stars;
        text += line + "\r\n";

        if (!shortened.empty()) {
            std::string message = row[tfName] + " shortened (";
            for (std::size_t i = 0; i < shortened.size(); ++i) message += (i ? ", " : "") + shortened[i];
            lines.push_back(message + ")");
        }
    }
    return text;
}

}  // namespace

TSectorFormat SectorFormatOfFileName(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return TSectorFormat::Unknown;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == "tab") return TSectorFormat::T5Tab;
    if (ext == "txt") return TSectorFormat::T5Column;
    if (ext == "sec") return TSectorFormat::Classic;
    return TSectorFormat::Unknown;
}

bool T5RowOfStar(const TUniverse& universe, const TSector& sector, const TStar& star, TT5Row& row) {
    const int position = sector.FindSubsector(star.SubSectorName);
    if (position == 0 || star.StarCoordsX < 1 || star.StarCoordsX > 8 || star.StarCoordsY < 1 ||
        star.StarCoordsY > 10)
        return false;
    const TSectorHex hex = TSectorHex::AtPosition(position, star.StarCoordsX, star.StarCoordsY);

    row = TT5Row{};
    row[tfSector] = sector.Name1;
    row[tfSS] = std::string(1, hex.SubsectorLetter());
    row[tfHex] = hex.Text();
    row[tfName] = star.Name1;
    row[tfUWP] = Code(star.Starport, 1) + Code(star.UPC, 6) + "-" + Code(star.StoredTechLevel(), 1);
    const std::int32_t bases = star.SystemContent & BaseMask();
    for (const auto& [flag, letter] : kT5BaseLetters)
        if (bases & flag) row[tfBases] += letter;
    row[tfZone] = star.TravelZoneCode == tzcAmber ? "A" : star.TravelZoneCode == tzcRed ? "R" : "";
    if (const TAllegiance* a = universe.FindAllegiance(star.Allegiance)) row[tfAllegiance] = a->ImportCode;

    // SysData: the stellar data, then "<field> : <value>" lines.
    std::string pbg;
    const std::string_view data = star.SysData;
    for (std::size_t at = 0, n = 0; at <= data.size(); ++n) {
        std::size_t end = data.find('\n', at);
        if (end == std::string_view::npos) end = data.size();
        std::string_view line = data.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        at = end + 1;
        if (n == 0) {
            row[tfStars] = std::string(line);
            continue;
        }
        const std::size_t sep = line.find(" : ");
        if (sep == std::string_view::npos) continue;
        // The name as a file's heading reads back: without blanks around it.
        std::string_view name = line.substr(0, sep);
        const std::string_view value = line.substr(sep + 3);
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
        if (name == "PBG") {
            pbg = std::string(value);
            continue;
        }
        bool known = false;
        for (TT5Field f : kT5SysDataFields)
            if (name == T5FieldName(f)) row[f] = std::string(value), known = true;
        // A column of another name, unless its heading could not stand in a
        // header or would read back as one of the T5 fields.
        if (!known && !name.empty() && T5FieldOfHeading(name) == tfCount &&
            std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; }))
            row.Extra.emplace_back(name, value);
    }
    row[tfPBG] = PBG(pbg, star.SystemContent);
    row[tfRemarks] = Remarks(row[tfRemarks], star.SubsectorCapital);
    return true;
}

std::string SectorFileText(const TUniverse& universe, const TSector& sector, TSectorFormat format,
                           std::vector<std::string>& lines) {
    const std::vector<TStarRow> rows = Rows(universe, sector, lines);
    switch (format) {
    case TSectorFormat::T5Tab: return TabText(rows, lines);
    case TSectorFormat::T5Column: return ColumnText(rows, lines);
    case TSectorFormat::Classic: return ClassicText(sector, rows, lines);
    case TSectorFormat::Unknown: break;
    }
    return {};
}

std::string T5TabTextOfStars(const TUniverse& universe, const std::vector<const TStar*>& stars,
                             std::vector<std::string>& lines) {
    std::vector<TStarRow> rows;
    for (const TStar* star : stars) {
        if (const TSector* sector = star ? star->Sector() : nullptr)
            AddRow(universe, *sector, star, rows, lines);
        else if (star)
            lines.push_back(star->Name1 + " left out: it is in no sector");
    }
    return TabText(rows, lines);
}

TSectorExportResult ExportSectorFile(const TUniverse& universe, const TSector& sector, const std::string& path) {
    TSectorExportResult result;
    const TSectorFormat format = SectorFormatOfFileName(path);
    if (format == TSectorFormat::Unknown) {
        result.Message = kSectorExtensionMessage;
        return result;
    }
    const std::string text = SectorFileText(universe, sector, format, result.Lines);
    hexlane::ReplacingOutputFile file(path);
    if (!file.Open() || std::fwrite(text.data(), 1, text.size(), file.Handle()) != text.size() || !file.Commit()) {
        result.Message = "Error Saving " + path;
        return result;
    }
    result.Ok = true;
    TT5Row row;
    for (const TStar* star : sector.Stars()) result.StarsWritten += T5RowOfStar(universe, sector, *star, row) ? 1 : 0;
    return result;
}
