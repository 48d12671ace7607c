#include "ImportSec.h"

#include "FileIO.h"

#include "DefineUniverse.h"
#include "ImportT5.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Characters `width` long from 1-based column `from`, clipped to the line.
std::string_view Columns(std::string_view line, std::size_t from, std::size_t width) {
    if (from - 1 >= line.size()) return {};
    return line.substr(from - 1, width);
}

TSector* FindEmptySector(const TUniverse& universe, const std::string& name) {
    if (TSectors* sectors = universe.Sectors())
        for (TSector* s : sectors->ChildrenOf<TSector>())
            if (s->Name1 == name && !s->HasStars()) return s;
    return nullptr;
}

// The record of one system line (at least kMinSystemLineLength long).
TSystemRecord RecordOfLine(std::string_view line, std::size_t number) {
    TSystemRecord r;
    r.Line = number;
    std::string_view name = Columns(line, 1, 14);
    r.Name = std::string(name.substr(0, name.find_last_not_of(' ') + 1));
    r.Hex = std::string(Columns(line, 15, 4));
    r.Starport = std::string(Columns(line, 20, 1));
    r.UPC = std::string(Columns(line, 21, 6));
    r.TechLevel = std::string(Columns(line, 28, 1));
    r.Bases = BaseCodeFlags(line[30]);
    r.Zone = line[48];
    r.PBG = std::string(Columns(line, 52, 3));
    r.AllegianceCode = std::string(Columns(line, 56, 2));
    r.Stellar = std::string(Columns(line, 59, 16));
    return r;
}

TSectorImportResult NothingToDo() {
    TSectorImportResult result;
    result.Status = TSectorImportResult::TStatus::NothingToDo;
    result.Message = "Nothing to do.";
    return result;
}

TSectorImportResult InvalidSector() {
    TSectorImportResult result;
    result.Status = TSectorImportResult::TStatus::InvalidSector;
    result.Message = "Invalid Sector Pointer";
    return result;
}

}  // namespace

TSectorImportResult ImportSectorText(TUniverse& universe, TSector& sector, std::string_view text) {
    std::vector<TSystemRecord> records;
    std::vector<std::pair<std::size_t, std::string>> messages;

    TSectorFileLines lines(text);
    std::string_view line;
    bool ruler = false;
    while (lines.Next(line)) {
        if (line == kSectorFileRuler) {
            ruler = true;
            break;
        }
    }
    // A file without the ruler may be in one of the T5 formats.
    if (!ruler) {
        const TSectorFormat format = DetectSectorFormat(text);
        if (format != TSectorFormat::T5Tab && format != TSectorFormat::T5Column) return NothingToDo();
        std::string refused;
        if (!T5Records(text, format, records, messages, refused)) {
            TSectorImportResult result;
            result.Status = TSectorImportResult::TStatus::FileError;
            result.Message = std::move(refused);
            return result;
        }
        if (records.empty() && messages.empty()) return NothingToDo();
        return BuildStars(universe, sector, records, std::move(messages), kT5RecordRules);
    }

    while (lines.Next(line)) {
        const std::size_t number = lines.Number();
        if (line.size() < kMinSystemLineLength)
            messages.emplace_back(number, "Error at Line " + std::to_string(number) + " Incomplete Data");
        else
            records.push_back(RecordOfLine(line, number));
    }
    if (records.empty() && messages.empty()) return NothingToDo();
    return BuildStars(universe, sector, records, std::move(messages), TRecordRules{});
}

TSectorImportResult ImportSectorText(TUniverse& universe, const std::string& sectorName, std::string_view text) {
    TSector* sector = FindEmptySector(universe, sectorName);
    if (!sector) return InvalidSector();
    return ImportSectorText(universe, *sector, text);
}

TSectorImportResult ImportSectorFile(TUniverse& universe, const std::string& sectorName,
                                     const std::string& fileName) {
    TSector* sector = FindEmptySector(universe, sectorName);
    if (!sector) return InvalidSector();
    return ImportSectorFile(universe, *sector, fileName);
}

TSectorImportResult ImportSectorFile(TUniverse& universe, TSector& sector, const std::string& fileName) {
    TSectorImportResult result;
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
    return ImportSectorText(universe, sector, text);
}
