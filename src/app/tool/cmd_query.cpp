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
#include "Properties.h"
#include "StarQuery.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <set>

namespace {

bool ParseValue(const std::string& text, long double& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    const auto r = std::from_chars(first, last, value);
    if (r.ptr != last || first == last) return false;
    if (r.ec == std::errc()) return true;
    if (r.ec != std::errc::result_out_of_range) return false;
    // A well-formed number beyond the range: the nearest value, subnormal
    // (or zero) when tiny and infinite when huge, as a literal in a formula.
    value = std::strtold(std::string(first, last).c_str(), nullptr);
    return true;
}

struct EvalOptions {
    std::string formula;
    std::vector<std::string> values;
};

int Eval(const EvalOptions& o) {
    std::vector<long double> x;
    for (const std::string& text : o.values) {
        long double v = 0;
        if (!ParseValue(text, v)) return tool::Fail("Not a number: " + text);
        // nan and inf compare and round inconsistently in the engine.
        if (!std::isfinite(v)) return tool::Fail("Not a finite number: " + text);
        x.push_back(v);
    }
    TFormulaLib lib;
    TFormulaCompilerE formula;
    formula.SetLib(&lib);
    std::string source;
    if (!tool::ToMapText(o.formula, source)) return 1;
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

struct QueryOptions {
    std::string map, formula;
    std::vector<std::string> sectors, subsectors;
    bool visibleOnly = false;
};

int Query(const QueryOptions& o) {
    TStarQueryScope scope;
    const std::vector<std::string>& sectors = o.sectors;
    const std::vector<std::string>& subsectors = o.subsectors;
    scope.VisibleSystemsOnly = o.visibleOnly;

    std::unique_ptr<TUniverse> map = tool::OpenForTool(o.map);
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
    // Each --sector means one sector, the first of its name in map order (the
    // first of a name that matches only without regard to case else).
    std::set<const TSector*> chosen;
    if (TSectors* all = universe.Sectors())
        for (const std::string& name : scope.SectorsToQuery) {
            const TSector* exact = universe.FindSector(name);
            const TSector* loose = nullptr;
            for (TSector* s : all->ChildrenOf<TSector>())
                if (!loose && SameText(s->Name1, name)) loose = s;
            if (exact || loose) chosen.insert(exact ? exact : loose);
        }
    if (scope.SectorsToQuery.size() == 1 && subsectors.empty()) {
        // As after clicking the one sector's entry: its sixteen subsectors
        // (also for a map of one sector queried without --sector, which
        // would otherwise match nothing).
        const TSector* found = universe.FindSector(scope.SectorsToQuery[0]);
        if (!found) return tool::Fail("Invalid Sector Pointer");
        scope.SubsectorsToQuery.assign(found->SSName.begin(), found->SSName.end());
    }

    TStarQuery query;
    std::string formula;
    if (!tool::ToMapText(o.formula, formula)) return 1;
    const TStarQueryResult result = query.Run(universe, formula, scope);
    if (!result.Ok()) return tool::Fail(result.Message);
    // A namesake of a chosen sector is queried by the name too; it is not listed.
    universe.ForEachStar([&](const TStar& star) {
        if (star.Visible && (sectors.empty() || chosen.count(star.Sector())))
            std::cout << hexlane::Cp1252ToUtf8(star.Name1) << '\n';
    });
    return 0;
}

tool::RegisterCommand evalCommand("eval", "eval FORMULA [X0 X1 ...]",
                                  "Compiles a formula and prints its value for the parameters %0, %1 ...",
                                  [](CLI::App& app) {
                                      auto o = std::make_shared<EvalOptions>();
                                      app.add_option("FORMULA", o->formula, "the formula")->required();
                                      app.add_option("X", o->values, "the values of %0, %1 ...");
                                      return [o] { return Eval(*o); };
                                  });
tool::RegisterCommand queryCommand(
    "query", "query MAP FORMULA [--sector NAME]... [--subsector NAME]... [--visible-only]",
    "Runs the star query and lists the systems left visible.", [](CLI::App& app) {
        auto o = std::make_shared<QueryOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("FORMULA", o->formula, "the query formula")->required();
        // One name per --sector / --subsector; the options may be repeated.
        app.add_option("--sector", o->sectors,
                       "a sector to query (default all): the first sector of that name in map order")->allow_extra_args(false);
        app.add_option("--subsector", o->subsectors, "a subsector to query")->allow_extra_args(false);
        app.add_flag("--visible-only", o->visibleOnly, "only systems visible now");
        return [o] { return Query(*o); };
    });

}  // namespace
