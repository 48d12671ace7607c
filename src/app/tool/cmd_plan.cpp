// Voyage planning: plan (the best itinerary for a ship, with fuel,
// refuelling, credits and days).

#include "Command.h"
#include "ToolMap.h"

#include "VoyagePlanner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace {

using namespace hexlane::voyage;

struct PlanOptions {
    std::string map, from, to;
    int jump = 0, tank = 0, fuelNow = -1, tons = 200;
    std::vector<std::string> refuel{"refined", "unrefined", "gas", "water"};
    std::vector<std::string> avoidZones, avoidAllegiances, avoid, via;
    std::string by = "jumps";
    bool json = false;
    CLI::Option* tankOption = nullptr;
    CLI::Option* fuelNowOption = nullptr;
};

// Finds a system as `path` does (the first of that name in map order).
bool Resolve(const TUniverse& u, const std::string& utf8Name, const TStar*& star) {
    std::string name;
    if (!tool::ToMapText(utf8Name, name)) return false;
    star = u.FindStar(name);
    if (!star) tool::Fail("No system is named \"" + utf8Name + "\".");
    return star != nullptr;
}

std::string HexOf(const TStar& s) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d", s.SectorHexColumn(), s.SectorHexRow());
    return text;
}

// Tons of fuel for `parsecs` parsecs: a tenth of the hull each, so at most
// one decimal.
std::string Tons(int hull, int parsecs) {
    const long long tenths = static_cast<long long>(hull) * parsecs;
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10) text += "." + std::to_string(tenths % 10);
    return text;
}

// Characters of a UTF-8 text, for lining up columns.
std::size_t Width(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void PrintTable(const VoyagePlan& plan, int hull) {
    std::vector<std::vector<std::string>> rows{{"Stop", "Sector", "Hex", "Parsecs", "Refuel", "Tons", "Credits", "Day"}};
    for (const VoyageStop& s : plan.Stops)
        rows.push_back({tool::ToUtf8(s.Star->Name1), tool::ToUtf8(s.Star->SectorName()), HexOf(*s.Star),
                        std::to_string(s.Parsecs), s.Bought ? SourceName(s.Refuel) : "-",
                        s.Bought ? Tons(hull, s.Bought) : "-", std::to_string(s.Cost), std::to_string(s.Day)});
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], Width(row[c]));
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string pad(widths[c] - Width(row[c]), ' ');
            // Names and codes to the left, numbers to the right.
            const bool number = c == 3 || c >= 5;
            line += (c ? "  " : "") + (number ? pad + row[c] : row[c] + (c + 1 < row.size() ? pad : ""));
        }
        std::cout << line << '\n';
    }
    const Totals& t = plan.Total;
    std::cout << "Total: " << t.Jumps << " jumps, " << t.Parsecs << " parsecs, Cr" << t.Cost << ", " << t.Days
              << " days\n";
}

void PrintJson(const VoyagePlan& plan) {
    nlohmann::ordered_json out;
    out["jumps"] = plan.Total.Jumps;
    out["parsecs"] = plan.Total.Parsecs;
    out["cost"] = plan.Total.Cost;
    out["days"] = plan.Total.Days;
    out["stops"] = nlohmann::ordered_json::array();
    for (const VoyageStop& s : plan.Stops) {
        nlohmann::ordered_json stop;
        stop["name"] = tool::ToUtf8(s.Star->Name1);
        stop["sector"] = tool::ToUtf8(s.Star->SectorName());
        stop["hex"] = HexOf(*s.Star);
        stop["refuel"] = s.Bought ? nlohmann::ordered_json(SourceName(s.Refuel)) : nlohmann::ordered_json();
        stop["bought"] = s.Bought;
        stop["cost"] = s.Cost;
        stop["fuel"] = s.Fuel;
        out["stops"].push_back(std::move(stop));
    }
    std::cout << out.dump() << '\n';
}

int RunPlan(const PlanOptions& o) {
    VoyageRequest r;
    r.Vessel.Jump = o.jump;
    r.Vessel.Tank = o.tankOption->count() ? o.tank : o.jump;
    r.Vessel.FuelNow = o.fuelNowOption->count() ? o.fuelNow : r.Vessel.Tank;
    r.Vessel.Hull = o.tons;
    if (r.Vessel.FuelNow > r.Vessel.Tank)
        return tool::UsageFail("plan", "--fuel-now: the tank holds only " + std::to_string(r.Vessel.Tank) + " parsecs");
    r.Sources = 0;
    for (const std::string& name : o.refuel) r.Sources |= SourceBit(SourceFromName(name));
    r.Sources &= kAllSources;
    for (const std::string& zone : o.avoidZones) (zone == "red" ? r.AvoidRed : r.AvoidAmber) = true;
    ObjectiveFromName(o.by, r.By);

    auto u = tool::OpenForTool(o.map);
    if (!u) return 1;
    if (!Resolve(*u, o.from, r.From) || !Resolve(*u, o.to, r.To)) return 1;
    for (const std::string& name : o.via)
        if (!Resolve(*u, name, r.Via.emplace_back())) return 1;
    for (const std::string& name : o.avoid)
        if (!Resolve(*u, name, r.AvoidSystems.emplace_back())) return 1;
    for (const std::string& text : o.avoidAllegiances) {
        std::string code;
        if (!tool::ToMapText(text, code)) return 1;
        if (!AllegianceKnown(*u, code)) return tool::Fail("No allegiance has the name or code \"" + text + "\".");
        r.AvoidAllegiances.push_back(code);
    }
    const VoyagePlan plan = PlanVoyage(*u, r);
    if (!plan.Found) return tool::Fail(tool::ToUtf8(plan.Message));
    if (o.json) PrintJson(plan);
    else PrintTable(plan, r.Vessel.Hull);
    return 0;
}

tool::RegisterCommand planCmd(
    "plan",
    "plan MAP FROM TO --jump J [--fuel C] [--fuel-now F] [--tons H] [--refuel refined,unrefined,gas,water] "
    "[--avoid-zone amber,red] [--avoid-allegiance CODE]... [--avoid NAME]... [--via NAME]... "
    "[--by jumps|parsecs|cost|days] [--json]",
    "Plans a voyage for a ship: jumps, fuel and refuelling, credits and days.", [](CLI::App& app) {
        auto o = std::make_shared<PlanOptions>();
        tool::AddFile(app, "MAP", o->map, "the map file");
        app.add_option("FROM", o->from, "the system to start from")->required();
        app.add_option("TO", o->to, "the system to reach")->required();
        app.add_option("--jump", o->jump, "the ship's jump rating in parsecs")->required()->check(CLI::Range(1, 6));
        o->tankOption = app.add_option("--fuel", o->tank, "parsecs of jump fuel the tank holds (default: the jump)")
                            ->check(CLI::Range(1, 12));
        o->fuelNowOption = app.add_option("--fuel-now", o->fuelNow, "parsecs of fuel in the tank at the start "
                                                                    "(default: a full tank)")
                               ->check(CLI::Range(0, 12));
        app.add_option("--tons", o->tons, "the hull in tons (default 200)")->check(CLI::Range(1, 1000000));
        app.add_option("--refuel", o->refuel, "fuel sources allowed (default: all)")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->delimiter(',')
            ->check(CLI::IsMember({"refined", "unrefined", "gas", "water"}));
        app.add_option("--avoid-zone", o->avoidZones, "travel zones not to stop in")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->delimiter(',')
            ->check(CLI::IsMember({"amber", "red"}));
        app.add_option("--avoid-allegiance", o->avoidAllegiances, "an allegiance (name or code) not to stop in")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        app.add_option("--avoid", o->avoid, "a system not to stop at")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        app.add_option("--via", o->via, "a system to visit on the way, in the order given")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        app.add_option("--by", o->by, "what to minimise first (default jumps)")
            ->check(CLI::IsMember({"jumps", "parsecs", "cost", "days"}));
        app.add_flag("--json", o->json, "one JSON object instead of a table");
        return [o] { return RunPlan(*o); };
    });

}  // namespace
