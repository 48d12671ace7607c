// hexlane-tool eval: compile and evaluate one formula.
// hexlane-tool query: run the star query on a map and list the systems left visible.

#include "Command.h"
#include "ToolMap.h"

#include "Codepage.h"
#include "DefineSector.h"
#include "DefineStar.h"
#include "DefineUniverse.h"
#include "FC.h"
#include "FCLib.h"
#include "OpenMap.h"
#include "StarQuery.h"

#include <charconv>
#include <cstdio>
#include <iostream>

namespace {

bool ParseValue(const std::string& text, long double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto r = std::from_chars(first, last, value);
    return r.ec == std::errc() && r.ptr == last;
}

int Eval(const tool::Args& args) {
    if (args.empty()) return tool::UsageError("eval");
    std::vector<long double> x;
    for (std::size_t i = 1; i < args.size(); ++i) {
        long double v = 0;
        if (!ParseValue(args[i], v)) return tool::Fail("Not a number: " + args[i]);
        x.push_back(v);
    }
    TFormulaLib lib;
    TFormulaCompilerE formula;
    formula.SetLib(&lib);
    std::string source;
    if (!tool::ToMapText(args[0], source)) return 1;
    const int code = formula.Compile(source);
    if (code != 0) return tool::Fail(FormulaErrorMessage(code));
    try {
        const long double r = formula.Evaluate(std::span<const long double>(x.data(), x.size()));
        std::printf("%.21Lg\n", r);
    } catch (const std::exception& e) {
        return tool::Fail(e.what());
    }
    return 0;
}

int Query(tool::Args args) {
    TStarQueryScope scope;
    std::vector<std::string> sectors = tool::TakeRepeated(args, "--sector");
    std::vector<std::string> subsectors = tool::TakeRepeated(args, "--subsector");
    scope.VisibleSystemsOnly = tool::TakeFlag(args, "--visible-only");
    if (args.size() != 2) return tool::UsageError("query");

    std::unique_ptr<TUniverse> map = tool::OpenForTool(args[0]);
    if (!map) return 1;
    TUniverse& universe = *map;

    if (sectors.empty()) {
        // As when the dialog is shown: every sector of the universe.
        if (TSectors* all = universe.Sectors())
            for (TSector* s : all->ChildrenOf<TSector>()) scope.SectorsToQuery.push_back(s->Name1);
    } else {
        for (const auto& s : sectors) {
            if (!tool::ToMapText(s, scope.SectorsToQuery.emplace_back())) return 1;
        }
    }
    for (const auto& s : subsectors) {
        if (!tool::ToMapText(s, scope.SubsectorsToQuery.emplace_back())) return 1;
    }
    if (scope.SectorsToQuery.size() == 1 && subsectors.empty()) {
        // As after clicking the one sector's entry: its sixteen subsectors
        // (also for a map of one sector queried without --sector, which
        // would otherwise match nothing).
        const TSector* found = nullptr;
        if (TSectors* all = universe.Sectors())
            for (TSector* s : all->ChildrenOf<TSector>())
                if (s->Name1 == scope.SectorsToQuery[0]) {
                    found = s;
                    break;
                }
        if (!found) return tool::Fail("Invalid Sector Pointer");
        scope.SubsectorsToQuery.assign(found->SSName.begin(), found->SSName.end());
    }

    TStarQuery query;
    std::string formula;
    if (!tool::ToMapText(args[1], formula)) return 1;
    const TStarQueryResult result = query.Run(universe, formula, scope);
    if (!result.Ok()) return tool::Fail(result.Message);
    universe.ForEachStar([](const TStar& star) {
        if (star.Visible) std::cout << hexlane::Cp1252ToUtf8(star.Name1) << '\n';
    });
    return 0;
}

tool::RegisterCommand evalCommand("eval", "eval FORMULA [X0 X1 ...]", Eval);
tool::RegisterCommand queryCommand(
    "query", "query MAP FORMULA [--sector NAME]... [--subsector NAME]... [--visible-only]",
    [](const tool::Args& a) { return Query(a); });

}  // namespace
