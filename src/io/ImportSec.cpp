#include "ImportSec.h"

#include "FileIO.h"

#include "DefineUniverse.h"
#include "ImportT5.h"
#include "SectorFormat.h"
#include "StarNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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

// Characters `width` long from 1-based column `from`, clipped to the line.
std::string_view Columns(std::string_view line, std::size_t from, std::size_t width) {
    if (from - 1 >= line.size()) return {};
    return line.substr(from - 1, width);
}

// A two-character field of decimal digits, or -1.
int TwoDigits(std::string_view field) {
    if (field.size() != 2) return -1;
    const char a = field[0], b = field[1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

// Splits the text into lines: a line ends at LF, a CR right before the LF
// belongs to the line end, and a last line without an end still counts.
class TLineReader {
public:
    explicit TLineReader(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = text_.find('\n', pos_);
        std::size_t next = end;
        if (end == std::string_view::npos) {
            end = text_.size();
            next = end;
        } else {
            ++next;
            if (end > pos_ && text_[end - 1] == '\r') --end;
        }
        line = text_.substr(pos_, end - pos_);
        pos_ = next;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

TSector* FindEmptySector(const TUniverse& universe, const std::string& name) {
    if (TSectors* sectors = universe.Sectors())
        for (TSector* s : sectors->ChildrenOf<TSector>())
            if (s->Name1 == name && !s->HasStars()) return s;
    return nullptr;
}

// Builds the star of one system line (at least kMinSystemLineLength long);
// null when its hex cannot be placed.
std::unique_ptr<TStar> ParseSystemLine(std::string_view line, const TSector& sector, const TUniverse& universe,
                                       TStarNames& names) {
    const int column = TwoDigits(Columns(line, 15, 2));
    const int row = TwoDigits(Columns(line, 17, 2));
    // A hex outside the sector has no subsector to lie in.
    if (column < 1 || column > 32 || row < 1 || row > 40) return nullptr;

    auto star = std::make_unique<TStar>();
    star->Visible = true;
    star->Spaceport = "Y";

    const int c = (column - 1) / 8 + 1;
    const int r = (row - 1) / 10 + 1;
    star->StarCoordsX = column - 8 * (c - 1);
    star->StarCoordsY = row - 10 * (r - 1);
    star->SubSectorName = sector.SSName[static_cast<std::size_t>(TSector::SubsectorIndex(c, r))];

    star->Starport = std::string(Columns(line, 20, 1));
    star->SetTechLevel(std::string(Columns(line, 28, 1)));
    star->UPC = std::string(Columns(line, 21, 6));

    std::string_view name = Columns(line, 1, 14);
    const std::size_t last = name.find_last_not_of(' ');
    const std::string base =
        last == std::string_view::npos ? "Star" + star->UPC : std::string(name.substr(0, last + 1));
    star->Name1 = names.Take(base);

    star->SystemContent = BaseCodeFlags(line[30]);
    if (line[52] != '0') star->SystemContent |= scPlanetoids;
    if (line[53] != '0') star->SystemContent |= scGasGiant;

    switch (line[48]) {
    case 'A': star->TravelZoneCode = tzcAmber; break;
    case 'R': star->TravelZoneCode = tzcRed; break;
    default: star->TravelZoneCode = tzcGreen; break;
    }

    const TAllegiance* allegiance = universe.FindAllegianceByImportCode(std::string(Columns(line, 56, 2)));
    star->Allegiance = allegiance ? allegiance->Name1 : "Unknown";

    star->SysData = std::string(Columns(line, 59, 16)) + "\r\nPBG : " + std::string(Columns(line, 52, 3));
    return star;
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

TSectorImportResult ImportSectorText(TUniverse& universe, const std::string& sectorName, std::string_view text) {
    TSectorImportResult result;
    TSector* sector = FindEmptySector(universe, sectorName);
    if (!sector) {
        result.Status = TSectorImportResult::TStatus::InvalidSector;
        result.Message = "Invalid Sector Pointer";
        return result;
    }

    TLineReader reader(text);
    std::string_view line;
    std::size_t lineNumber = 0;
    bool ruler = false;
    while (reader.Next(line)) {
        ++lineNumber;
        if (line == kSectorFileRuler) {
            ruler = true;
            break;
        }
    }
    // A file without the ruler may be in one of the T5 formats.
    if (!ruler) {
        const TSectorFormat format = DetectSectorFormat(text);
        if (format == TSectorFormat::T5Tab || format == TSectorFormat::T5Column)
            return ImportT5Text(universe, *sector, text, format);
    }
    std::string_view first;
    if (!ruler || !reader.Next(first)) {
        result.Status = TSectorImportResult::TStatus::NothingToDo;
        result.Message = "Nothing to do.";
        return result;
    }

    TStarNames names(universe);
    line = first;
    do {
        ++lineNumber;
        if (line.size() < kMinSystemLineLength) {
            result.Lines.push_back("Error at Line " + std::to_string(lineNumber) + " Incomplete Data");
            continue;
        }
        std::unique_ptr<TStar> star = ParseSystemLine(line, *sector, universe, names);
        if (!star) {
            result.Lines.push_back("Error at Line " + std::to_string(lineNumber));
            continue;
        }
        sector->Adopt(std::move(star));
        ++result.StarsImported;
    } while (reader.Next(line));

    universe.ComputeExtent();
    MarkChanged(universe);
    universe.MapDirty = true;
    return result;
}

TSectorImportResult ImportSectorFile(TUniverse& universe, const std::string& sectorName,
                                     const std::string& fileName) {
    TSectorImportResult result;
    if (!FindEmptySector(universe, sectorName)) {
        result.Status = TSectorImportResult::TStatus::InvalidSector;
        result.Message = "Invalid Sector Pointer";
        return result;
    }
    // Only a regular file is read: a pipe or a device could block or never end.
    hexlane::InputFile input(fileName);
    errno = 0;
    if (!input.Open()) {
        result.Status = TSectorImportResult::TStatus::FileError;
        result.Message = "Cannot open " + fileName + ": " + (errno ? std::strerror(errno) : "not a regular file");
        return result;
    }
    std::FILE* file = input.Handle();
    std::string text;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (failed) {
        result.Status = TSectorImportResult::TStatus::FileError;
        result.Message = "Cannot read " + fileName + ": " + std::strerror(error);
        return result;
    }
    return ImportSectorText(universe, sectorName, text);
}
