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

tool::RegisterCommand pathCmd(
    "path", "path MAP ORIGIN DESTINATION --jump N [--time] [--visible-only]", [](const tool::Args& in) {
        tool::Args args = in;
        const bool byTime = tool::TakeFlag(args, "--time");
        const bool visibleOnly = tool::TakeFlag(args, "--visible-only");
        std::string jumpText;
        int jump = 0;
        if (!tool::TakeOption(args, "--jump", jumpText) || !tool::ParseInt(jumpText, jump) || args.size() != 3)
            return tool::UsageError("path");
        auto u = tool::OpenForTool(args[0]);
        if (!u) return 1;
        TStar* origin = Lookup(*u, args[1]);
        if (!origin) return 1;
        TStar* destination = Lookup(*u, args[2]);
        if (!destination) return 1;
        const std::string refusal = hexlane::PathSearchRefusal(*origin, *destination, jump);
        if (!refusal.empty()) return tool::Fail(refusal);
        const FindPathResult r = u->FindPath(*origin, *destination, jump, visibleOnly, !byTime);
        if (r.Names.empty()) return tool::Fail("Path not found");
        for (const std::string& line : r.LegLines) std::cout << tool::ToUtf8(line) << '\n';
        std::cout << "Number of Jumps = " << r.LegLines.size() << '\n';
        return 0;
    });

tool::RegisterCommand radiusCmd("radius", "radius MAP ORIGIN R", [](const tool::Args& args) {
    int radius = 0;
    if (args.size() != 3 || !tool::ParseInt(args[2], radius)) return tool::UsageError("radius");
    if (radius < 1) return tool::Fail("Please enter a value greater than 0.");
    auto u = tool::OpenForTool(args[0]);
    if (!u) return 1;
    TStar* origin = Lookup(*u, args[1]);
    if (!origin) return 1;
    for (const std::string& name : hexlane::SystemsWithinRadius(*u, *origin, radius))
        std::cout << tool::ToUtf8(name) << '\n';
    return 0;
});

}  // namespace
