#include "SectorFormat.h"

#include "Codepage.h"
#include "DefineStar.h"

#include <algorithm>

namespace {

struct TBaseCode {
    const char* Description;
    std::int32_t Flags;
};

// Letters A-Z. G and H are described as "Not Defined" although the import
// gives them Vargr bases.
constexpr TBaseCode kBaseCodes[26] = {
    {"Naval Base AND Scout Base", scNavalBase | scScoutBase},                    // A
    {"Naval Base AND Scout Way Station", scNavalBase | scScoutWayStation},      // B
    {"Corsair Base", scCorsairBase},                                            // C
    {"Naval Depot", scNavalDepot},                                              // D
    {"Not Defined", 0},                                                         // E
    {"Naval Base AND Military Base", scPlanetaryNavalBase | scMilitaryBase},    // F
    {"Not Defined", scVargrNavalBase},                                          // G
    {"Not Defined", scVargrNavalBase | scCorsairBase},                          // H
    {"Interface", scInterface},                                                 // I
    {"Planetary Naval Base", scPlanetaryNavalBase},                             // J
    {"Not Defined", 0},                                                         // K
    {"Not Defined", 0},                                                         // L
    {"Military Base", scMilitaryBase},                                          // M
    {"Naval Base", scNavalBase},                                                // N
    {"Not Defined", 0},                                                         // O
    {"Droyne Naval Base", scDroyneNavalBase},                                   // P
    {"Not Defined", 0},                                                         // Q
    {"Clan Naval Base", scClanNavalBase},                                       // R
    {"Scout Base", scScoutBase},                                                // S
    {"Tlaukhu Naval Base", scTlaukhuNavalBase},                                 // T
    {"Clan Naval Base AND Tlaukhu Naval Base", scClanNavalBase | scTlaukhuNavalBase},  // U
    {"Not Defined", 0},                                                         // V
    {"Scout Way Station", scScoutWayStation},                                   // W
    {"Not Defined", 0},                                                         // X
    {"Not Defined", 0},                                                         // Y
    {"Zhodani Naval Base", scZhodaniNavalBase},                                 // Z
};

constexpr const char* kFieldNames[tfCount] = {
    "Sector", "SS", "Hex", "Name", "UWP", "Bases", "Remarks", "Zone", "PBG",
    "Allegiance", "Stars", "{Ix}", "(Ex)", "[Cx]", "Nobility", "W", "RU",
};

std::string_view Trim(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool IsBlankOrComment(std::string_view line) {
    const std::string_view t = Trim(line);
    return t.empty() || t.front() == '#';
}

// Moves to the header: the first line that is neither blank nor a comment.
bool HeaderLines(TSectorFileLines& lines, std::string_view& header) {
    while (lines.Next(header))
        if (!IsBlankOrComment(header)) return true;
    return false;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> out;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return out;
        start = tab + 1;
    }
}

// Runs of "-" separated by blanks: each run's start and width.
bool DashRuns(std::string_view line, std::vector<std::pair<std::size_t, std::size_t>>& runs) {
    runs.clear();
    line = line.substr(0, line.find_last_not_of(' ') + 1);
    if (line.empty() || line.front() != '-') return false;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            ++i;
            continue;
        }
        if (line[i] != '-') return false;
        const std::size_t start = i;
        while (i < line.size() && line[i] == '-') ++i;
        runs.emplace_back(start, i - start);
    }
    return true;
}

// A line as Windows-1252 text: unchanged when it is not valid UTF-8 or holds
// only ASCII; converted when it is UTF-8. False when it is UTF-8 with
// characters Windows-1252 cannot hold.
bool LineText(std::string_view line, std::string& out) {
    if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        out.assign(line);
        return true;
    }
    if (hexlane::Utf8ToCp1252(line, out)) return true;
    // The conversion failed: either the line is not UTF-8 at all (then it is
    // Windows-1252 as it stands) or it is UTF-8 with a character beyond it.
    for (std::size_t i = 0; i < line.size();) {
        const auto b = static_cast<unsigned char>(line[i]);
        const std::size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
        bool sequence = len != 0 && i + len <= line.size();
        for (std::size_t k = 1; sequence && k < len; ++k)
            sequence = (static_cast<unsigned char>(line[i + k]) & 0xC0) == 0x80;
        if (!sequence) {
            out.assign(line);
            return true;
        }
        i += len;
    }
    return false;
}

void SetField(TT5Row& row, TT5Field field, const std::string& heading, std::string_view value) {
    value = Trim(value);
    if (value == "-") value = {};
    if (field != tfCount)
        row[field].assign(value);
    else if (!value.empty() && !heading.empty())
        row.Extra.emplace_back(heading, std::string(value));
}

struct TColumn {
    std::size_t Start = 0, End = std::string_view::npos;  // End: the next column's start
    std::string Heading;
    TT5Field Field = tfCount;
};

// The columns of a header line: by tabs, or by the runs of the dash line.
std::vector<TColumn> TabColumns(std::string_view header) {
    std::vector<TColumn> columns;
    for (std::string_view name : SplitTabs(header)) {
        TColumn c;
        c.Heading = std::string(Trim(name));
        c.Field = T5FieldOfHeading(c.Heading);
        columns.push_back(std::move(c));
    }
    return columns;
}

std::vector<TColumn> DashColumns(std::string_view header, std::string_view dashes) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    std::vector<TColumn> columns;
    if (!DashRuns(dashes, runs)) return columns;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        TColumn c;
        c.Start = runs[i].first;
        c.End = i + 1 < runs.size() ? runs[i + 1].first : std::string_view::npos;
        if (c.Start < header.size()) c.Heading = std::string(Trim(header.substr(c.Start, c.End - c.Start)));
        c.Field = T5FieldOfHeading(c.Heading);
        columns.push_back(std::move(c));
    }
    return columns;
}

bool NamesHexAndUWP(const std::vector<TColumn>& columns) {
    bool hex = false, uwp = false;
    for (const TColumn& c : columns) {
        hex = hex || c.Field == tfHex;
        uwp = uwp || c.Field == tfUWP;
    }
    return hex && uwp;
}

// The columns of a T5 file and the lines before the first row; empty when
// the text is not of that format.
std::vector<TColumn> T5Columns(TSectorFileLines& lines, TSectorFormat format) {
    std::string_view header;
    if (!HeaderLines(lines, header)) return {};
    std::string headerText;
    if (!LineText(header, headerText)) return {};
    std::vector<TColumn> columns;
    if (format == TSectorFormat::T5Tab) {
        if (headerText.find('\t') == std::string::npos) return {};
        columns = TabColumns(headerText);
    } else {
        std::string_view dashes;
        if (headerText.rfind("Hex", 0) != 0 || !lines.Next(dashes)) return {};
        columns = DashColumns(headerText, dashes);
    }
    if (!NamesHexAndUWP(columns)) return {};
    return columns;
}

std::string ErrorAt(std::size_t line, const char* reason) {
    return "Error at Line " + std::to_string(line) + " " + reason;
}

}  // namespace

const char* BaseCodeDescription(char letter) {
    if (letter < 'A' || letter > 'Z') return "";
    return kBaseCodes[letter - 'A'].Description;
}

std::int32_t BaseCodeFlags(char letter) {
    if (letter < 'A' || letter > 'Z') return 0;
    return kBaseCodes[letter - 'A'].Flags;
}

const char* T5FieldName(TT5Field field) {
    return field >= 0 && field < tfCount ? kFieldNames[field] : "";
}

TT5Field T5FieldOfHeading(std::string_view heading) {
    for (int f = 0; f < tfCount; ++f)
        if (heading == kFieldNames[f]) return static_cast<TT5Field>(f);
    static constexpr std::pair<std::string_view, TT5Field> kShort[] = {
        {"B", tfBases}, {"Z", tfZone}, {"A", tfAllegiance}, {"Stellar", tfStars}, {"N", tfNobility},
    };
    for (const auto& [name, field] : kShort)
        if (heading == name) return field;
    return tfCount;
}

TSectorFormat DetectSectorFormat(std::string_view text) {
    {
        TSectorFileLines lines(text);
        std::string_view line;
        while (lines.Next(line))
            if (line == kSectorFileRuler) return TSectorFormat::Classic;
    }
    for (TSectorFormat format : {TSectorFormat::T5Tab, TSectorFormat::T5Column}) {
        TSectorFileLines lines(text);
        if (!T5Columns(lines, format).empty()) return format;
    }
    return TSectorFormat::Unknown;
}

TT5Rows ReadT5Rows(std::string_view text, TSectorFormat format) {
    TT5Rows out;
    TSectorFileLines lines(text);
    const std::vector<TColumn> columns = T5Columns(lines, format);
    if (columns.empty()) return out;
    // Each row keeps a field for every column: a file of thousands of columns
    // would take memory out of all proportion to its size.
    if (columns.size() > kMaxT5Columns) {
        out.Refused = "The file has " + std::to_string(columns.size()) + " columns; at most " +
                      std::to_string(kMaxT5Columns) + " are read";
        return out;
    }
    // A row must reach the hex and UWP columns; the columns after the last
    // one it reaches are empty.
    std::size_t needed = 0;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].Field == tfHex || columns[i].Field == tfUWP) needed = i + 1;

    std::string_view raw;
    std::string line;
    std::vector<std::string_view> values;
    while (lines.Next(raw)) {
        // Comments come before the header only: a row may begin with "#".
        if (Trim(raw).empty()) continue;
        if (!LineText(raw, line)) {
            out.Errors.emplace_back(lines.Number(), ErrorAt(lines.Number(), "Not Windows-1252 Text"));
            continue;
        }
        TT5Row row;
        row.Line = lines.Number();
        if (format == TSectorFormat::T5Tab) {
            values = SplitTabs(line);
        } else {
            values.clear();
            for (const TColumn& c : columns)
                if (c.Start < line.size()) values.push_back(std::string_view(line).substr(c.Start, c.End - c.Start));
        }
        if (values.size() < needed) {
            out.Errors.emplace_back(row.Line, ErrorAt(row.Line, "Incomplete Data"));
            continue;
        }
        if (values.size() > columns.size() &&
            std::any_of(values.begin() + static_cast<std::ptrdiff_t>(columns.size()), values.end(),
                        [](std::string_view v) { return !Trim(v).empty(); })) {
            out.Errors.emplace_back(row.Line, ErrorAt(row.Line, "Too Many Fields"));
            continue;
        }
        for (std::size_t i = 0; i < columns.size() && i < values.size(); ++i)
            SetField(row, columns[i].Field, columns[i].Heading, values[i]);
        out.Rows.push_back(std::move(row));
    }
    return out;
}
