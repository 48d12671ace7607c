// Import, merge and editing commands: add-sector, import-sec, merge, overlay,
// selected-save, and set-allegiance, add-route, set-alt-tl for what only the
// editor's dialogs set otherwise. Each reads MAP as the editor opens it and
// writes it back in place (or to -o OUT.map); messages are printed as UTF-8.

#include "Command.h"
#include "ToolMap.h"

#include "Codepage.h"
#include "DefineUniverse.h"
#include "ImportSec.h"
#include "MergeErrors.h"
#include "OpenMap.h"
#include "Properties.h"
#include "SelectedSave.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <iostream>

namespace {

using tool::ParseInt;

// The editor's texts put their line breaks as CR LF; a terminal wants LF.
std::string ConsoleText(const std::string& mapText) {
    std::string out = hexlane::Cp1252ToUtf8(mapText);
    for (std::size_t at; (at = out.find("\r\n")) != std::string::npos;) out.erase(at, 1);
    return out;
}

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) std::cout << ConsoleText(line) << '\n';
}

// Opens a map as the editor does; when `allowNew` and the file does not exist,
// a new universe. Null after the failure was reported.
std::unique_ptr<TUniverse> Open(const std::string& path, bool allowNew) {
    std::error_code ec;
    if (allowNew && !std::filesystem::exists(path, ec)) {
        auto u = TUniverse::CreateNew();
        u->ManagerVersion = kMapFormatVersion;
        return u;
    }
    return tool::OpenForTool(path);
}

int Save(TUniverse& universe, const std::string& path) {
    std::string message;
    if (!universe.SaveToFile(path, message)) return tool::Fail(message);
    return 0;
}

// A colour: a named colour (clRed), #RRGGBB, or the stored value 0x00BBGGRR
// as a decimal or 0x hexadecimal number.
bool ParseColour(const std::string& text, std::int32_t& value) {
    if (IdentToColour(text, value)) return true;
    auto hex = [](const std::string& digits, std::uint32_t& v) {
        if (digits.empty() || digits.size() > 8) return false;
        const auto [ptr, error] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
        return error == std::errc() && ptr == digits.data() + digits.size();
    };
    std::uint32_t v = 0;
    if (text.size() == 7 && text[0] == '#') {
        if (!hex(text.substr(1), v)) return false;
        value = static_cast<std::int32_t>(((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF));
        return true;
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        if (!hex(text.substr(2), v)) return false;
        value = static_cast<std::int32_t>(v);
        return true;
    }
    int n = 0;
    if (!ParseInt(text, n)) return false;
    value = n;
    return true;
}

// A hatch style: bsSolid ... bsDiagCross, the dialog's words (Solid ...
// DiagCross), or 0-7.
bool ParseStyle(const std::string& text, TBrushStyle& style) {
    static const std::array<const char*, 8> words = {"Solid",  "Clear",     "Horizontal", "Vertical",
                                                     "FDiagonal", "BDiagonal", "Cross",   "DiagCross"};
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (SameText(text, words[i]) || SameText(text, std::string("bs") + words[i])) {
            style = static_cast<TBrushStyle>(i);
            return true;
        }
    }
    int n = 0;
    if (!ParseInt(text, n) || n < 0 || n > 7) return false;
    style = static_cast<TBrushStyle>(n);
    return true;
}

// ---- add-sector ----

int RunAddSector(const tool::Args& in) {
    tool::Args args = in;
    std::string out;
    const bool toOther = tool::TakeOption(args, "-o", out);
    if (args.size() != 4) return tool::UsageError("add-sector");
    std::string name;
    if (!tool::ToMapText(args[1], name)) return 1;
    int x = 0, y = 0;
    if (!ParseInt(args[2], x) || !ParseInt(args[3], y) || x < 1 || x > 16 || y < 1 || y > 9)
        return tool::Fail("the sector position must be X 1-16 and Y 1-9");
    if (name.empty()) return tool::Fail("All fields must be completed");

    auto universe = Open(args[0], true);
    if (!universe) return 1;
    for (TSector* s : universe->Sectors()->ChildrenOf<TSector>())
        if (s->SectorCoordsX == x && s->SectorCoordsY == y)
            return tool::Fail("sector position " + args[2] + ", " + args[3] + " already holds the sector " +
                              hexlane::Cp1252ToUtf8(s->Name1));

    TSector* sector = universe->Sectors()->Create<TSector>();
    sector->Name1 = name;
    sector->SectorCoordsX = x;
    sector->SectorCoordsY = y;
    // The sector dialog's default names: letters counted across the rows of
    // subsectors (a-d the first row, e-h the second ...).
    for (int c = 1; c <= 4; ++c)
        for (int r = 1; r <= 4; ++r) sector->SubsectorName(c, r) = std::string(1, static_cast<char>('a' + (r - 1) * 4 + (c - 1)));
    MarkChanged(*universe);
    return Save(*universe, toOther ? out : args[0]);
}

// ---- import-sec ----

int RunImportSec(const tool::Args& in) {
    tool::Args args = in;
    std::string out;
    const bool toOther = tool::TakeOption(args, "-o", out);
    if (args.size() != 3) return tool::UsageError("import-sec");
    std::string sector;
    if (!tool::ToMapText(args[1], sector)) return 1;
    auto universe = Open(args[0], false);
    if (!universe) return 1;
    TSectorImportResult result = ImportSectorFile(*universe, sector, args[2]);
    if (!result.Ok()) return tool::Fail(result.Message);
    PrintLines(result.Lines);
    return Save(*universe, toOther ? out : args[0]);
}

// ---- merge, overlay ----

int RunCombine(const tool::Args& in, const std::string& command, bool overlay) {
    tool::Args args = in;
    std::string out;
    const bool toOther = tool::TakeOption(args, "-o", out);
    if (args.size() != 2) return tool::UsageError(command);
    auto universe = Open(args[0], false);
    if (!universe) return 1;
    TCombineResult result = overlay ? OverlayMapFile(*universe, args[1]) : MergeMapFile(*universe, args[1]);
    if (result.Status != TCombineResult::TStatus::Done)
        return tool::Fail(result.Message.empty() ? "Error Creating Filestream" : result.Message);
    PrintLines(result.Lines);
    return Save(*universe, toOther ? out : args[0]);
}

// ---- selected-save ----

int RunSelectedSave(const tool::Args& in) {
    tool::Args args = in;
    TSelectedSaveOptions o;
    struct Flag {
        const char* name;
        bool* option;
    };
    const Flag flags[] = {
        {"--no-sectors", &o.SectorInformation}, {"--no-sector-visible", &o.SectorVisible},
        {"--no-stars", &o.Stars},                {"--no-star-visible", &o.StarVisible},
        {"--no-visited", &o.StarVisited},        {"--no-mapped", &o.StarMapped},
        {"--no-user-surveyed", &o.StarUserSurveyed}, {"--no-allegiances", &o.Allegiances},
        {"--no-routes", &o.Routes},              {"--no-route-visible", &o.RouteVisible},
        {"--no-user-defined", &o.RouteUserDefined},
    };
    for (const Flag& f : flags)
        if (tool::TakeFlag(args, f.name)) *f.option = false;
    if (args.size() != 2) return tool::UsageError("selected-save");
    auto universe = Open(args[0], false);
    if (!universe) return 1;
    std::string message;
    if (!SelectedSave(*universe, o, args[1], message)) return tool::Fail(message);
    return 0;
}

// ---- set-allegiance ----

int RunSetAllegiance(const tool::Args& in) {
    tool::Args args = in;
    std::string out, code, colour, style, notes;
    const bool toOther = tool::TakeOption(args, "-o", out);
    const bool hasCode = tool::TakeOption(args, "--code", code);
    const bool hasColour = tool::TakeOption(args, "--color", colour);
    const bool hasStyle = tool::TakeOption(args, "--style", style);
    const bool hasNotes = tool::TakeOption(args, "--notes", notes);
    if (args.size() != 2) return tool::UsageError("set-allegiance");
    std::string name;
    if (!tool::ToMapText(args[1], name)) return 1;
    std::string mapCode, mapNotes;
    if (hasCode && !tool::ToMapText(code, mapCode)) return 1;
    if (hasNotes && !tool::ToMapText(notes, mapNotes)) return 1;
    std::int32_t colourValue = 0;
    if (hasColour && !ParseColour(colour, colourValue)) return tool::Fail("not a colour: " + colour);
    TBrushStyle styleValue = bsSolid;
    if (hasStyle && !ParseStyle(style, styleValue)) return tool::Fail("not a hatch style: " + style);

    auto universe = Open(args[0], false);
    if (!universe) return 1;
    TAllegiance* allegiance = universe->FindAllegiance(name);
    const std::string newCode = hasCode ? mapCode : allegiance ? allegiance->ImportCode : std::string();
    // The allegiance dialog's checks, in its order.
    if (const TAllegiance* other = universe->FindAllegianceByImportCode(newCode); other && other != allegiance)
        return tool::Fail(ConsoleText("An Allegiance with this Import Code already exits.\r\nPlease select a different Code."));
    if (newCode.empty() || newCode.size() == 3 || newCode.size() > 4)
        return tool::Fail("Allegiance Import Codes must be one, two or four characters in Length.");
    if (!allegiance) {
        allegiance = universe->Allegiances()->Create<TAllegiance>();
        allegiance->Name1 = name;
    }
    allegiance->ImportCode = newCode;
    if (hasColour) allegiance->Color = colourValue;
    if (hasStyle) allegiance->Style = styleValue;
    if (hasNotes) allegiance->Notes = mapNotes;
    MarkChanged(*universe);
    universe->MapDirty = true;
    return Save(*universe, toOther ? out : args[0]);
}

// ---- add-route ----

int RunAddRoute(const tool::Args& in) {
    tool::Args args = in;
    std::string out, colour, lineType, thickness;
    const bool toOther = tool::TakeOption(args, "-o", out);
    const bool hasColour = tool::TakeOption(args, "--color", colour);
    const bool hasType = tool::TakeOption(args, "--line-type", lineType);
    const bool hasThickness = tool::TakeOption(args, "--thickness", thickness);
    const bool hidden = tool::TakeFlag(args, "--hidden");
    if (args.size() < 4) return tool::UsageError("add-route");
    std::int32_t colourValue = 0;
    if (hasColour && !ParseColour(colour, colourValue)) return tool::Fail("not a colour: " + colour);
    int typeValue = 0, thicknessValue = 1;
    if (hasType && (!ParseInt(lineType, typeValue) || typeValue < 0 || typeValue > 4))
        return tool::Fail("the line type must be 0-4 (Solid, Dash, Dot, Dash Dot, Dash Dot Dot)");
    if (hasThickness && (!ParseInt(thickness, thicknessValue) || thicknessValue < 1 || thicknessValue > 5))
        return tool::Fail("the thickness must be 1-5");
    std::string name;
    if (!tool::ToMapText(args[1], name)) return 1;
    std::vector<std::string> stars;
    for (std::size_t i = 2; i < args.size(); ++i) {
        std::string star;
        if (!tool::ToMapText(args[i], star)) return 1;
        stars.push_back(star);
    }

    auto universe = Open(args[0], false);
    if (!universe) return 1;
    if (universe->FindRoute(name)) return tool::Fail("This Route already exists.  Please select another name.");
    for (const std::string& star : stars)
        if (!universe->FindStar(star)) return tool::Fail("Invalid pointer for Start/End Legs");
    TRoute* route = universe->Routes()->Create<TRoute>();
    route->Name1 = name;
    route->User = true;
    route->ShowRoute = !hidden;
    route->Color = colourValue;
    route->LineType = static_cast<std::uint8_t>(typeValue);
    route->LineThickness = static_cast<std::uint8_t>(thicknessValue);
    for (std::size_t i = 0; i + 1 < stars.size(); ++i) {
        TRouteLeg* leg = route->Create<TRouteLeg>();
        leg->Name1 = stars[i] + " - " + stars[i + 1];
        leg->SStarName = stars[i];
        leg->EStarName = stars[i + 1];
    }
    MarkChanged(*universe);
    universe->MapDirty = true;
    return Save(*universe, toOther ? out : args[0]);
}

// ---- set-alt-tl ----

int RunSetAltTL(const tool::Args& in) {
    tool::Args args = in;
    std::string out;
    const bool toOther = tool::TakeOption(args, "-o", out);
    const bool defaults = tool::TakeFlag(args, "--defaults");
    struct Level {
        int index;
        int value;
        std::string description;
    };
    std::vector<Level> levels;
    static const std::string codes = "0123456789ABCDEFG";
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] != "--level") {
            ++i;
            continue;
        }
        if (i + 3 >= args.size()) return tool::UsageError("set-alt-tl");
        Level level{};
        const std::string& code = args[i + 1];
        if (code.size() != 1 || codes.find(code[0]) == std::string::npos)
            return tool::Fail("the tech level code must be one of 0-9, A-G: " + code);
        level.index = static_cast<int>(codes.find(code[0]));
        if (!ParseInt(args[i + 2], level.value) || level.value < 0 || level.value > 16)
            return tool::Fail("the alternate value must be 0-16: " + args[i + 2]);
        if (!tool::ToMapText(args[i + 3], level.description)) return 1;
        levels.push_back(level);
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 4);
    }
    if (args.size() != 1) return tool::UsageError("set-alt-tl");

    auto universe = Open(args[0], false);
    if (!universe) return 1;
    std::array<std::string, 17> desc = universe->TLAltDesc;
    std::array<std::int32_t, 17> value = universe->TLAltValue;
    if (defaults) {
        // The dialog's Defaults: the standard texts, each level its own value.
        const bool savedAlt = universe->UseAltTL;
        universe->UseAltTL = false;
        for (int i = 0; i < 17; ++i) {
            desc[static_cast<std::size_t>(i)] = universe->TechLevelText(i);
            value[static_cast<std::size_t>(i)] = i;
        }
        universe->UseAltTL = savedAlt;
    }
    for (const Level& level : levels) {
        desc[static_cast<std::size_t>(level.index)] = level.description;
        value[static_cast<std::size_t>(level.index)] = level.value;
    }
    // The dialog's checks on OK.
    for (const std::string& d : desc)
        if (d.empty()) return tool::Fail("All Fields must be filled in.");
    for (std::size_t i = 0; i + 1 < value.size(); ++i)
        if (value[i] > value[i + 1]) return tool::Fail("Tech Levels must be in order");
    universe->TLAltDesc = desc;
    universe->TLAltValue = value;
    MarkChanged(*universe);
    return Save(*universe, toOther ? out : args[0]);
}

tool::RegisterCommand addSectorCmd("add-sector", "add-sector MAP NAME X Y [-o OUT.map]", RunAddSector);
tool::RegisterCommand importSecCmd("import-sec", "import-sec MAP SECTOR FILE.sec [-o OUT.map]", RunImportSec);
tool::RegisterCommand mergeCmd("merge", "merge MAP OTHER.map [-o OUT.map]",
                               [](const tool::Args& a) { return RunCombine(a, "merge", false); });
tool::RegisterCommand overlayCmd("overlay", "overlay MAP OTHER.map [-o OUT.map]",
                                 [](const tool::Args& a) { return RunCombine(a, "overlay", true); });
tool::RegisterCommand selectedSaveCmd(
    "selected-save",
    "selected-save MAP OUT.map [--no-sectors] [--no-sector-visible] [--no-stars] [--no-star-visible] "
    "[--no-visited] [--no-mapped] [--no-user-surveyed] [--no-allegiances] [--no-routes] "
    "[--no-route-visible] [--no-user-defined]",
    RunSelectedSave);
tool::RegisterCommand setAllegianceCmd(
    "set-allegiance",
    "set-allegiance MAP NAME [--code XX] [--color clName|#RRGGBB|0xBBGGRR] [--style Solid|Clear|Horizontal|"
    "Vertical|FDiagonal|BDiagonal|Cross|DiagCross] [--notes TEXT] [-o OUT.map]",
    RunSetAllegiance);
tool::RegisterCommand addRouteCmd(
    "add-route",
    "add-route MAP NAME STAR STAR [STAR...] [--color C] [--line-type 0-4] [--thickness 1-5] [--hidden] "
    "[-o OUT.map]",
    RunAddRoute);
tool::RegisterCommand setAltTLCmd(
    "set-alt-tl", "set-alt-tl MAP [--defaults] [--level CODE VALUE DESCRIPTION]... [-o OUT.map]", RunSetAltTL);

}  // namespace

