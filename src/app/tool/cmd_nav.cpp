// Navigation commands: path (jump path search) and radius.

#include "Command.h"
#include "ToolMap.h"

#include "Navigation.h"

#include <iostream>

namespace {

// Looks a system up by its command-line name; prints the dialogs' message when
// it is not there.
TStar* Lookup(const TUniverse& u, const std::string& utf8Name) {
    std::string name;
    if (!tool::ToMapText(utf8Name, name)) return nullptr;
    TStar* star = u.FindStar(name);
    if (!star) tool::Fail("Invalid Star Pointer");
    return star;
}

struct PathOptions {
    std::string map, origin, destination;
    int jump = 0;
    bool byTime = false, visibleOnly = false;
};

int RunPath(const PathOptions& o) {
    auto u = tool::OpenForTool(o.map);
    if (!u) return 1;
    TStar* origin = Lookup(*u, o.origin);
    if (!origin) return 1;
    TStar* destination = Lookup(*u, o.destination);
    if (!destination) return 1;
    const std::string refusal = hexlane::PathSearchRefusal(*origin, *destination, o.jump);
    if (!refusal.empty()) return tool::Fail(refusal);
    const FindPathResult r = u->FindPath(*origin, *destination, o.jump, o.visibleOnly, !o.byTime);
    if (r.Names.empty()) return tool::Fail("Path not found");
    for (const std::string& line : r.LegLines) std::cout << tool::ToUtf8(line) << '\n';
    std::cout << "Number of Jumps = " << r.LegLines.size() << '\n';
    return 0;
}

tool::RegisterCommand pathCmd("path", "path MAP ORIGIN DESTINATION --jump N [--time] [--visible-only]",
                              "Finds a jump path between two systems.", [](CLI::App& app) {
                                  auto o = std::make_shared<PathOptions>();
                                  tool::AddFile(app, "MAP", o->map, "the map file");
                                  app.add_option("ORIGIN", o->origin, "the system to start from")->required();
                                  app.add_option("DESTINATION", o->destination, "the system to reach")->required();
                                  // The path dialog's jump range: 0-20 (0 is refused with the
                                  // dialog's own message).
                                  app.add_option("--jump", o->jump, "the ship's jump range in parsecs")
                                      ->required()
                                      ->check(CLI::Range(0, 20));
                                  app.add_flag("--time", o->byTime,
                                               "shortest time instead of shortest distance: each jump costs "
                                               "the part of the jump range it leaves unused, so the path "
                                               "favours full-range jumps");
                                  app.add_flag("--visible-only", o->visibleOnly, "only through visible systems");
                                  return [o] { return RunPath(*o); };
                              });

struct RadiusOptions {
    std::string map, origin;
    int radius = 0;
};

tool::RegisterCommand radiusCmd("radius", "radius MAP ORIGIN R", "Lists the systems within R parsecs of ORIGIN.",
                                [](CLI::App& app) {
                                    auto o = std::make_shared<RadiusOptions>();
                                    tool::AddFile(app, "MAP", o->map, "the map file");
                                    app.add_option("ORIGIN", o->origin, "the system at the centre")->required();
                                    app.add_option("R", o->radius, "the radius in parsecs (the dialog's 1-32767)")
                                        ->required()
                                        ->check(CLI::Range(0, 32767));
                                    return [o] {
                                        if (o->radius < 1) return tool::Fail("Please enter a value greater than 0.");
                                        auto u = tool::OpenForTool(o->map);
                                        if (!u) return 1;
                                        TStar* origin = Lookup(*u, o->origin);
                                        if (!origin) return 1;
                                        for (const std::string& name :
                                             hexlane::SystemsWithinRadius(*u, *origin, o->radius))
                                            std::cout << tool::ToUtf8(name) << '\n';
                                        return 0;
                                    };
                                });

}  // namespace
