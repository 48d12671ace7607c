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

struct AddSectorOptions {
    std::string map, name, out;
    int x = 0, y = 0;
};

int RunAddSector(const AddSectorOptions& o) {
    std::string name;
    if (!tool::ToMapName(o.name, name)) return 1;
    const int x = o.x, y = o.y;
    if (name.empty()) return tool::Fail("All fields must be completed");

    auto universe = Open(o.map, true);
    if (!universe) return 1;
    // Every --sector and SECTOR argument names one sector: the name must be free.
    if (universe->FindSector(name)) return tool::Fail("a sector named " + hexlane::Cp1252ToUtf8(name) + " already exists");
    for (TSector* s : universe->Sectors()->ChildrenOf<TSector>())
        if (s->SectorCoordsX == x && s->SectorCoordsY == y)
            return tool::Fail("sector position " + std::to_string(x) + ", " + std::to_string(y) +
                              " already holds the sector " +
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
    return Save(*universe, o.out.empty() ? o.map : o.out);
}

// ---- import-sec ----

struct ImportSecOptions {
    std::string map, sector, file, out;
};

int RunImportSec(const ImportSecOptions& o) {
    std::string sector;
    if (!tool::ToMapText(o.sector, sector)) return 1;
    auto universe = Open(o.map, false);
    if (!universe) return 1;
    // The first sector of the name, as for every sector argument; it must be empty.
    TSector* target = universe->FindSector(sector);
    if (!target) return tool::Fail("Invalid Sector Pointer");
    if (target->HasStars()) return tool::Fail("the sector " + o.sector + " already holds systems");
    TSectorImportResult result = ImportSectorFile(*universe, *target, o.file);
    if (!result.Ok()) return tool::Fail(result.Message);
    PrintLines(result.Lines);
    if (const int status = Save(*universe, o.out.empty() ? o.map : o.out)) return status;
    std::cout << "Imported " << result.StarsImported << " of " << result.StarsImported + result.RowsRefused
              << " systems\n";
    // The good rows are imported and saved; refused rows still make it a failure.
    return result.RowsRefused > 0 ? 1 : 0;
}

// ---- merge, overlay ----

struct CombineOptions {
    std::string map, other, out;
};

int RunCombine(const CombineOptions& o, bool overlay) {
    auto universe = Open(o.map, false);
    if (!universe) return 1;
    TCombineResult result = overlay ? OverlayMapFile(*universe, o.other) : MergeMapFile(*universe, o.other);
    if (result.Status != TCombineResult::TStatus::Done)
        return tool::Fail(result.Message.empty() ? "Error Creating Filestream" : result.Message);
    PrintLines(result.Lines);
    return Save(*universe, o.out.empty() ? o.map : o.out);
}

// ---- selected-save ----

struct SelectedSaveOptions {
    std::string map, out;
    TSelectedSaveOptions what;
};

// The selected-save dialog's check boxes, each cleared by its --no- flag.
void AddSelectedSaveFlags(CLI::App& app, TSelectedSaveOptions& o) {
    struct Flag {
        const char* name;
        bool* option;
        const char* caption;
    };
    const Flag flags[] = {
        {"--no-sectors", &o.SectorInformation, "Sector/Subsector Information"},
        {"--no-sector-visible", &o.SectorVisible, "Visible (sectors)"},
        {"--no-stars", &o.Stars, "Stars"},
        {"--no-star-visible", &o.StarVisible, "Visible (stars)"},
        {"--no-visited", &o.StarVisited, "Visited"},
        {"--no-mapped", &o.StarMapped, "Mapped World"},
        {"--no-user-surveyed", &o.StarUserSurveyed, "User Surveyed"},
        {"--no-allegiances", &o.Allegiances, "Allegiances"},
        {"--no-routes", &o.Routes, "Routes"},
        {"--no-route-visible", &o.RouteVisible, "Visible (routes)"},
        {"--no-user-defined", &o.RouteUserDefined, "User Defined"},
    };
    for (const Flag& f : flags) {
        bool* option = f.option;
        app.add_flag_callback(f.name, [option] { *option = false; }, std::string("clear \"") + f.caption + "\"");
    }
}

int RunSelectedSave(const SelectedSaveOptions& o) {
    auto universe = Open(o.map, false);
    if (!universe) return 1;
    std::string message;
    if (!SelectedSave(*universe, o.what, o.out, message)) return tool::Fail(message);
    return 0;
}

// ---- set-allegiance ----

// Validators that refuse what ParseColour and ParseStyle do not take.
const CLI::Validator IsColour(
    [](const std::string& text) {
        std::int32_t v = 0;
        return ParseColour(text, v) ? std::string() : "not a colour: " + text;
    },
    "COLOUR");
const CLI::Validator IsStyle(
    [](const std::string& text) {
        TBrushStyle v = bsSolid;
        return ParseStyle(text, v) ? std::string() : "not a hatch style: " + text;
    },
    "STYLE");

struct SetAllegianceOptions {
    std::string map, name, out, code, colour, style, notes;
    bool hasCode = false, hasColour = false, hasStyle = false, hasNotes = false;
};

int RunSetAllegiance(const SetAllegianceOptions& o) {
    const bool hasCode = o.hasCode, hasColour = o.hasColour, hasStyle = o.hasStyle, hasNotes = o.hasNotes;
    std::string name;
    if (!tool::ToMapName(o.name, name)) return 1;
    std::string mapCode, mapNotes;
    if (hasCode && !tool::ToMapName(o.code, mapCode)) return 1;
    if (hasNotes && !tool::ToMapText(o.notes, mapNotes)) return 1;
    std::int32_t colourValue = 0;
    if (hasColour) ParseColour(o.colour, colourValue);
    TBrushStyle styleValue = bsSolid;
    if (hasStyle) ParseStyle(o.style, styleValue);

    auto universe = Open(o.map, false);
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
    return Save(*universe, o.out.empty() ? o.map : o.out);
}

// ---- add-route ----

struct AddRouteOptions {
    std::string map, name, out, colour;
    std::vector<std::string> stars;
    int lineType = 0, thickness = 1;
    bool hidden = false;
};

int RunAddRoute(const AddRouteOptions& o) {
    std::int32_t colourValue = 0;
    if (!o.colour.empty()) ParseColour(o.colour, colourValue);
    const int typeValue = o.lineType, thicknessValue = o.thickness;
    const bool hidden = o.hidden;
    std::string name;
    if (!tool::ToMapName(o.name, name)) return 1;
    std::vector<std::string> stars;
    for (const std::string& text : o.stars) {
        std::string star;
        if (!tool::ToMapText(text, star)) return 1;
        stars.push_back(star);
    }

    auto universe = Open(o.map, false);
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
    return Save(*universe, o.out.empty() ? o.map : o.out);
}

// ---- set-alt-tl ----

struct SetAltTLOptions {
    std::string map, out;
    bool defaults = false;
    std::vector<std::string> levelArgs;  // CODE VALUE DESCRIPTION for each --level
};

const std::string kTechLevelCodes = "0123456789ABCDEFG";

int RunSetAltTL(const SetAltTLOptions& o) {
    const bool defaults = o.defaults;
    struct Level {
        int index;
        int value;
        std::string description;
    };
    std::vector<Level> levels;
    for (std::size_t i = 0; i + 2 < o.levelArgs.size(); i += 3) {
        Level level{};
        const std::string& code = o.levelArgs[i];
        if (code.size() != 1 || kTechLevelCodes.find(code[0]) == std::string::npos)
            return tool::UsageFail("set-alt-tl", "--level: the tech level code must be one of 0-9, A-G: " + code);
        level.index = static_cast<int>(kTechLevelCodes.find(code[0]));
        if (!ParseInt(o.levelArgs[i + 1], level.value) || level.value < 0 || level.value > 16)
            return tool::UsageFail("set-alt-tl", "--level: the alternate value must be 0-16: " + o.levelArgs[i + 1]);
        if (!tool::ToMapText(o.levelArgs[i + 2], level.description)) return 1;
        levels.push_back(level);
    }

    auto universe = Open(o.map, false);
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
    return Save(*universe, o.out.empty() ? o.map : o.out);
}

tool::RegisterCommand addSectorCmd(
    "add-sector", "add-sector MAP NAME X Y [-o OUT.map]",
    "Adds a sector at a position of the universe (a new map when MAP does not exist).", [](CLI::App& app) {
        auto o = std::make_shared<AddSectorOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("NAME", o->name, "the sector's name (no other sector may have it)")->required();
        app.add_option("X", o->x, "the sector's column 1-16")->required()->check(CLI::Range(1, 16));
        app.add_option("Y", o->y, "the sector's row 1-9")->required()->check(CLI::Range(1, 9));
        tool::AddOutput(app, o->out);
        return [o] { return RunAddSector(*o); };
    });

tool::RegisterCommand importSecCmd("import-sec", "import-sec MAP SECTOR FILE.sec [-o OUT.map]",
                                   "Imports a sector file into a sector of the map; exits 1 when a row was refused.", [](CLI::App& app) {
                                       auto o = std::make_shared<ImportSecOptions>();
                                       tool::AddFile(app, "MAP", o->map, "the map file");
                                       app.add_option("SECTOR", o->sector,
                                                      "the sector's name (the first sector of that name in map "
                                                      "order; it must hold no systems)")
                                           ->required();
                                       tool::AddFile(app, "FILE.sec", o->file, "the sector file");
                                       tool::AddOutput(app, o->out);
                                       return [o] { return RunImportSec(*o); };
                                   });

tool::SetupFn CombineSetup(bool overlay) {
    return [overlay](CLI::App& app) -> tool::Runner {
        auto o = std::make_shared<CombineOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        tool::AddFile(app, "OTHER.map", o->other, "the map whose contents are added");
        tool::AddOutput(app, o->out);
        return [o, overlay] { return RunCombine(*o, overlay); };
    };
}
tool::RegisterCommand mergeCmd("merge", "merge MAP OTHER.map [-o OUT.map]", "Merges another map into the map.",
                               CombineSetup(false));
tool::RegisterCommand overlayCmd("overlay", "overlay MAP OTHER.map [-o OUT.map]",
                                 "Overlays another map on the map.", CombineSetup(true));

tool::RegisterCommand selectedSaveCmd(
    "selected-save",
    "selected-save MAP OUT.map [--no-sectors] [--no-sector-visible] [--no-stars] [--no-star-visible] "
    "[--no-visited] [--no-mapped] [--no-user-surveyed] [--no-allegiances] [--no-routes] "
    "[--no-route-visible] [--no-user-defined]",
    "Saves the selected parts of a map as a new map.", [](CLI::App& app) {
        auto o = std::make_shared<SelectedSaveOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        tool::AddFile(app, "OUT.map", o->out, "the map file to write");
        AddSelectedSaveFlags(app, o->what);
        return [o] { return RunSelectedSave(*o); };
    });

tool::RegisterCommand setAllegianceCmd(
    "set-allegiance",
    "set-allegiance MAP NAME [--code XX] [--color clName|#RRGGBB|0xBBGGRR] [--style Solid|Clear|Horizontal|"
    "Vertical|FDiagonal|BDiagonal|Cross|DiagCross] [--notes TEXT] [-o OUT.map]",
    "Adds or changes an allegiance.", [](CLI::App& app) {
        auto o = std::make_shared<SetAllegianceOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("NAME", o->name, "the allegiance's name")->required();
        app.add_option("--code", o->code, "the one- or two-character import code");
        app.add_option("--color", o->colour, "the colour")->check(IsColour);
        app.add_option("--style", o->style, "the hatch style")->check(IsStyle);
        app.add_option("--notes", o->notes, "the notes");
        tool::AddOutput(app, o->out);
        app.final_callback([&app, o] {
            o->hasCode = app.count("--code") > 0;
            o->hasColour = app.count("--color") > 0;
            o->hasStyle = app.count("--style") > 0;
            o->hasNotes = app.count("--notes") > 0;
        });
        return [o] { return RunSetAllegiance(*o); };
    });

tool::RegisterCommand addRouteCmd(
    "add-route",
    "add-route MAP NAME STAR STAR [STAR...] [--color C] [--line-type 0-4] [--thickness 1-5] [--hidden] "
    "[-o OUT.map]",
    "Adds a user route through the named systems.", [](CLI::App& app) {
        auto o = std::make_shared<AddRouteOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("NAME", o->name, "the route's name")->required();
        app.add_option("STAR", o->stars, "the systems in order (at least two)")->required()->expected(2, -1);
        app.add_option("--color", o->colour, "the colour")->check(IsColour);
        app.add_option("--line-type", o->lineType, "0-4: Solid, Dash, Dot, Dash Dot, Dash Dot Dot")
            ->check(CLI::Range(0, 4));
        app.add_option("--thickness", o->thickness, "1-5")->check(CLI::Range(1, 5));
        app.add_flag("--hidden", o->hidden, "the route is not shown");
        tool::AddOutput(app, o->out);
        return [o] { return RunAddRoute(*o); };
    });

tool::RegisterCommand setAltTLCmd(
    "set-alt-tl", "set-alt-tl MAP [--defaults] [--level CODE VALUE DESCRIPTION]... [-o OUT.map]",
    "Sets the alternate tech levels.", [](CLI::App& app) {
        auto o = std::make_shared<SetAltTLOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_flag("--defaults", o->defaults, "start from the standard texts and values");
        app.add_option("--level", o->levelArgs, "a tech level's code (0-9, A-G), value (0-16) and text")
            ->type_size(3)
            ->allow_extra_args(false);
        tool::AddOutput(app, o->out);
        return [o] { return RunSetAltTL(*o); };
    });

}  // namespace

