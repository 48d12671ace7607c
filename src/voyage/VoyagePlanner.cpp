#include "VoyagePlanner.h"

#include "DefineUniverse.h"
#include "PathSearch.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <limits>
#include <queue>
#include <unordered_set>

namespace hexlane::voyage {

const char* SourceName(FuelSource s) {
    switch (s) {
        case FuelSource::Refined: return "refined";
        case FuelSource::Unrefined: return "unrefined";
        case FuelSource::Gas: return "gas";
        case FuelSource::Water: return "water";
        default: return "";
    }
}

FuelSource SourceFromName(const std::string& name) {
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (FuelSource s : {FuelSource::Refined, FuelSource::Unrefined, FuelSource::Gas, FuelSource::Water})
        if (lower == SourceName(s)) return s;
    return FuelSource::None;
}

const char* ObjectiveName(Objective o) {
    switch (o) {
        case Objective::Parsecs: return "parsecs";
        case Objective::Cost: return "cost";
        case Objective::Days: return "days";
        default: return "jumps";
    }
}

bool ObjectiveFromName(const std::string& name, Objective& out) {
    for (Objective o : {Objective::Jumps, Objective::Parsecs, Objective::Cost, Objective::Days})
        if (name == ObjectiveName(o)) {
            out = o;
            return true;
        }
    return false;
}

namespace {

char CodeAt(const std::string_view code, std::size_t i) {
    return i < code.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(code[i]))) : '\0';
}

char StarportCode(const TStar& star) {
    return CodeAt(star.Starport.view(), 0);
}

}  // namespace

unsigned SourcesOffered(const TStar& star) {
    unsigned offered = 0;
    const char port = StarportCode(star);
    if (port == 'A' || port == 'B') offered |= SourceBit(FuelSource::Refined);
    if (port >= 'A' && port <= 'D') offered |= SourceBit(FuelSource::Unrefined);
    if (star.SystemContent & 0x80) offered |= SourceBit(FuelSource::Gas);
    // Water: hydrographics above 0 (any digit but 0, or a letter) and an
    // atmosphere of 2-9 or D-F. Other characters ("?", "-") offer nothing.
    const std::string_view upc = star.UPC.view();
    const char atmosphere = CodeAt(upc, 1), hydro = CodeAt(upc, 2);
    const bool wet = (hydro >= '1' && hydro <= '9') || (hydro >= 'A' && hydro <= 'Z');
    const bool air = (atmosphere >= '2' && atmosphere <= '9') || (atmosphere >= 'D' && atmosphere <= 'F');
    if (wet && air) offered |= SourceBit(FuelSource::Water);
    return offered;
}

int BerthingFee(const TStar& star) {
    switch (StarportCode(star)) {
        case 'A': return 1000;
        case 'B': return 500;
        case 'C': return 100;
        case 'D': return 10;
        default: return 0;
    }
}

long long FuelPrice(FuelSource s, int hull, int parsecs) {
    // A parsec is hull / 10 tons: Cr500 a ton is 50 x hull a parsec.
    if (s == FuelSource::Refined) return 50LL * hull * parsecs;
    if (s == FuelSource::Unrefined) return 10LL * hull * parsecs;
    return 0;
}

std::vector<std::pair<int, int>> VoyagePlan::HexPath() const {
    std::vector<std::pair<int, int>> path;
    for (const VoyageStop& stop : Stops) path.emplace_back(stop.Star->HexX, stop.Star->HexY);
    return path;
}

bool AllegianceKnown(const TUniverse& universe, const std::string& text) {
    if (TAllegiances* list = universe.Allegiances())
        for (TAllegiance* a : list->ChildrenOf<TAllegiance>())
            if (a->Name1 == text || (!a->ImportCode.empty() && a->ImportCode == text)) return true;
    bool used = false;
    universe.ForEachStar([&](const TStar& star) { used = used || star.Allegiance.view() == text; });
    return used;
}

Totals SumStops(const std::vector<VoyageStop>& stops) {
    Totals t;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (i > 0) {
            ++t.Jumps;
            t.Parsecs += stops[i].Parsecs;
            t.Days += 7;
        }
        t.Cost += stops[i].Cost;
        if (stops[i].Refuel == FuelSource::Gas || stops[i].Refuel == FuelSource::Water) ++t.Days;
    }
    return t;
}

namespace {

// A cost vector packed into one 128-bit number whose order is the
// objective's order of totals. Each total has its own bit field wide enough
// that sums never carry into the next, so adding two packed vectors packs
// their sum. Jumps, parsecs and days take 32 bits, credits 64.
using Key = unsigned __int128;
constexpr Key kUnreached = ~Key(0);

Key Pack(Objective by, unsigned long long jumps, unsigned long long parsecs, unsigned long long cost,
         unsigned long long days) {
    switch (by) {
        case Objective::Jumps: return (Key(jumps) << 96) | (Key(parsecs) << 64) | Key(cost);
        case Objective::Parsecs: return (Key(parsecs) << 96) | (Key(jumps) << 64) | Key(cost);
        case Objective::Cost: return (Key(cost) << 64) | (Key(jumps) << 32) | Key(parsecs);
        case Objective::Days: return (Key(days) << 96) | (Key(cost) << 32) | Key(parsecs);
    }
    return 0;
}

constexpr std::uint32_t kNone = UINT32_MAX;
constexpr std::uint32_t kDepartedBit = 0x80000000u;

// How a system refuels a ship under the objective: one source, with a
// fixed part (berthing, or the day spent skimming) and a part per parsec.
struct Refuelling {
    FuelSource Source = FuelSource::None;
    Key Fixed = 0, PerParsec = 0;
    long long FixedCredits = 0, CreditsPerParsec = 0;
};

// The source a stop should use. The choice cannot change what follows the
// stop (the same fuel leaves the same system), so the source whose own
// totals come first under the objective is the right one: skimming is free
// and takes a day; starport fuel costs credits and no time, unrefined always
// less than refined.
Refuelling ChooseSource(const TStar& star, unsigned allowed, int hull, Objective by) {
    const unsigned offered = SourcesOffered(star) & allowed;
    Refuelling port, skim;
    for (FuelSource s : {FuelSource::Unrefined, FuelSource::Refined})
        if (offered & SourceBit(s)) {
            port.Source = s;
            port.FixedCredits = BerthingFee(star);
            port.CreditsPerParsec = FuelPrice(s, hull, 1);
            port.Fixed = Pack(by, 0, 0, static_cast<unsigned long long>(port.FixedCredits), 0);
            port.PerParsec = Pack(by, 0, 0, static_cast<unsigned long long>(port.CreditsPerParsec), 0);
            break;
        }
    for (FuelSource s : {FuelSource::Gas, FuelSource::Water})
        if (offered & SourceBit(s)) {
            skim.Source = s;
            skim.Fixed = Pack(by, 0, 0, 0, 1);
            break;
        }
    if (port.Source == FuelSource::None) return skim;
    if (skim.Source == FuelSource::None) return port;
    return by == Objective::Days ? port : skim;
}

std::string HexText(const TStar& star) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d", star.SectorHexColumn(), star.SectorHexRow());
    return text;
}

std::string Label(const TStar& star) {
    return star.Name1 + " (" + star.SectorName() + " " + HexText(star) + ")";
}

}  // namespace

VoyagePlan PlanVoyage(const TUniverse& universe, const VoyageRequest& r) {
    VoyagePlan plan;
    const Ship& ship = r.Vessel;
    if (!r.From || !r.To || std::find(r.Via.begin(), r.Via.end(), nullptr) != r.Via.end()) {
        plan.Message = "A system of the voyage is missing.";
        return plan;
    }
    if (ship.Jump < 1 || ship.Jump > 6) plan.Message = "The jump rating must be 1 to 6.";
    else if (ship.Tank < 1 || ship.Tank > 12) plan.Message = "The tank must hold 1 to 12 parsecs of fuel.";
    else if (ship.FuelNow < 0 || ship.FuelNow > ship.Tank)
        plan.Message = "The fuel in the tank must be 0 to the tank's size.";
    else if (ship.Hull < 1 || ship.Hull > 1000000) plan.Message = "The hull must be 1 to 1,000,000 tons.";
    if (!plan.Message.empty()) return plan;

    // The systems, in map order, and their links within jump range.
    TPathSearchState graph;
    std::uint32_t start = kNone, dest = kNone;
    std::vector<std::uint32_t> via(r.Via.size(), kNone);
    universe.ForEachStar([&](const TStar& star) {
        const auto index = static_cast<std::uint32_t>(graph.PathNodes.size());
        if (&star == r.From) start = index;
        if (&star == r.To) dest = index;
        for (std::size_t i = 0; i < via.size(); ++i)
            if (&star == r.Via[i]) via[i] = index;
        graph.PathNodes.push_back({&star, star.DistX, star.DistZ});
    });
    if (start == kNone || dest == kNone || std::find(via.begin(), via.end(), kNone) != via.end()) {
        plan.Message = "A system of the voyage is not on the map.";
        return plan;
    }
    hexlane::BuildPathLinks(graph, ship.Jump);
    const std::vector<TNode>& nodes = graph.PathNodes;
    const std::size_t n = nodes.size();

    // Systems the ship may not stop at: avoided ones, except the start, the
    // destination and the waypoints, which are never avoided.
    std::vector<std::uint8_t> blocked(n, 0);
    {
        std::unordered_set<std::string> allegiances;
        if (TAllegiances* list = universe.Allegiances())
            for (TAllegiance* a : list->ChildrenOf<TAllegiance>())
                for (const std::string& text : r.AvoidAllegiances)
                    if (a->Name1 == text || (!a->ImportCode.empty() && a->ImportCode == text))
                        allegiances.insert(a->Name1);
        allegiances.insert(r.AvoidAllegiances.begin(), r.AvoidAllegiances.end());
        const std::unordered_set<const TStar*> systems(r.AvoidSystems.begin(), r.AvoidSystems.end());
        for (std::size_t i = 0; i < n; ++i) {
            const TStar& star = *nodes[i].Star;
            blocked[i] = (r.AvoidAmber && star.TravelZoneCode == tzcAmber) ||
                         (r.AvoidRed && star.TravelZoneCode == tzcRed) || systems.count(&star) ||
                         (!allegiances.empty() && allegiances.count(std::string(star.Allegiance.view())));
        }
        blocked[start] = blocked[dest] = 0;
        for (std::uint32_t v : via) blocked[v] = 0;
    }

    std::vector<Refuelling> refuel(n);
    for (std::size_t i = 0; i < n; ++i) refuel[i] = ChooseSource(*nodes[i].Star, r.Sources, ship.Hull, r.By);

    // States: (waypoints visited, system, fuel in the tank), once on arrival
    // (before refuelling) and once on departure (after it).
    const std::size_t layers = via.size() + 1;
    const std::uint32_t levels = static_cast<std::uint32_t>(ship.Tank) + 1;
    const std::size_t stateCount = layers * n * levels;
    if (stateCount >= kDepartedBit) {
        plan.Message = "The voyage has too many waypoints for this map.";
        return plan;
    }
    auto advance = [&](std::size_t w, std::uint32_t system) {
        while (w < via.size() && via[w] == system) ++w;
        return w;
    };
    std::vector<Key> bestArrived(stateCount, kUnreached), bestDeparted(stateCount, kUnreached);
    std::vector<std::uint32_t> predArrived(stateCount, kNone), predDeparted(stateCount, kNone);
    // Per (waypoints, system): the most fuel of a state already settled. A
    // state with no more fuel, settled later, can be no better: fuel in the
    // tank never costs anything to keep.
    std::vector<std::int8_t> settledArrived(layers * n, -1), settledDeparted(layers * n, -1);

    struct Entry {
        Key key;
        std::uint32_t state;  // kDepartedBit marks a departure
        bool operator>(const Entry& o) const { return key != o.key ? key > o.key : state > o.state; }
    };
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    auto stateOf = [&](std::size_t w, std::uint32_t system, std::uint32_t fuel) {
        return static_cast<std::uint32_t>((w * n + system) * levels + fuel);
    };
    auto relaxDeparture = [&](std::uint32_t state, Key key, std::uint32_t from) {
        if (key < bestDeparted[state]) {
            bestDeparted[state] = key;
            predDeparted[state] = from;
            queue.push({key, state | kDepartedBit});
        }
    };
    std::vector<Key> jumpKey(static_cast<std::size_t>(ship.Jump) + 1);
    for (int d = 0; d <= ship.Jump; ++d)
        jumpKey[d] = Pack(r.By, 1, static_cast<unsigned long long>(d), 0, 7);

    const std::uint32_t first = stateOf(advance(0, start), start, static_cast<std::uint32_t>(ship.FuelNow));
    bestArrived[first] = 0;
    queue.push({0, first});
    std::uint32_t goal = kNone;
    while (!queue.empty()) {
        const Entry e = queue.top();
        queue.pop();
        const bool departed = e.state & kDepartedBit;
        const std::uint32_t state = e.state & ~kDepartedBit;
        const std::uint32_t fuel = state % levels;
        const std::size_t place = state / levels;  // w * n + system
        const auto system = static_cast<std::uint32_t>(place % n);
        const std::size_t w = place / n;
        if (departed) {
            if (e.key != bestDeparted[state] || settledDeparted[place] >= static_cast<int>(fuel)) continue;
            settledDeparted[place] = static_cast<std::int8_t>(fuel);
            for (const TLinkEnd* l = graph.LinksBegin(system); l != graph.LinksEnd(system); ++l) {
                if (static_cast<std::uint32_t>(l->Length) > fuel || blocked[l->To]) continue;
                const std::uint32_t left = fuel - static_cast<std::uint32_t>(l->Length);
                const std::size_t w2 = advance(w, l->To);
                if (settledArrived[w2 * n + l->To] >= static_cast<int>(left)) continue;
                const std::uint32_t next = stateOf(w2, l->To, left);
                const Key key = e.key + jumpKey[l->Length];
                if (key < bestArrived[next]) {
                    bestArrived[next] = key;
                    predArrived[next] = state;
                    queue.push({key, next});
                }
            }
        } else {
            if (e.key != bestArrived[state] || settledArrived[place] >= static_cast<int>(fuel)) continue;
            settledArrived[place] = static_cast<std::int8_t>(fuel);
            if (system == dest && w == via.size()) {
                goal = state;
                break;
            }
            relaxDeparture(state, e.key, state);
            const Refuelling& how = refuel[system];
            if (how.Source != FuelSource::None)
                for (std::uint32_t to = fuel + 1; to < levels; ++to)
                    relaxDeparture(state + (to - fuel), e.key + how.Fixed + how.PerParsec * (to - fuel), state);
        }
    }

    if (goal == kNone) {
        // The furthest waypoint stage reached, and the system of that stage
        // nearest to the system the ship could not reach.
        std::size_t stage = 0;
        for (std::size_t p = 0; p < settledArrived.size(); ++p)
            if (settledArrived[p] >= 0) stage = std::max(stage, p / n);
        const std::uint32_t target = stage < via.size() ? via[stage] : dest;
        std::uint32_t nearest = start;
        int best = std::numeric_limits<int>::max();
        for (std::uint32_t s = 0; s < n; ++s)
            if (settledArrived[stage * n + s] >= 0) {
                const int d = TUniverse::HexDistance(nodes[s].X, nodes[s].Z, nodes[target].X, nodes[target].Z);
                if (d < best) best = d, nearest = s;
            }
        plan.Unreached = nodes[target].Star;
        plan.Nearest = nodes[nearest].Star;
        plan.NearestDistance = best;
        plan.Message = "No route to " + Label(*plan.Unreached) + ". The nearest system the ship can reach is " +
                       Label(*plan.Nearest) + ", " + std::to_string(best) + " parsecs from it.";
        return plan;
    }

    // The states from the start to the goal: arrival, departure, arrival, ...
    std::vector<std::uint32_t> chain;
    for (std::uint32_t s = goal; s != kNone;) {
        chain.push_back(s);
        const std::uint32_t departure = predArrived[s];
        if (departure == kNone) break;
        chain.push_back(departure);
        s = predDeparted[departure];
    }
    std::reverse(chain.begin(), chain.end());
    long long day = 0;
    for (std::size_t i = 0; i < chain.size(); i += 2) {
        VoyageStop stop;
        const std::uint32_t system = static_cast<std::uint32_t>(chain[i] / levels % n);
        const int arrivedWith = static_cast<int>(chain[i] % levels);
        stop.Star = nodes[system].Star;
        if (i > 0) {
            const std::uint32_t from = static_cast<std::uint32_t>(chain[i - 1] / levels % n);
            stop.Parsecs =
                TUniverse::HexDistance(nodes[from].X, nodes[from].Z, nodes[system].X, nodes[system].Z);
            day += 7;
        }
        stop.Day = day;
        stop.Fuel = arrivedWith;
        if (i + 1 < chain.size()) {
            stop.Fuel = static_cast<int>(chain[i + 1] % levels);
            stop.Bought = stop.Fuel - arrivedWith;
            if (stop.Bought > 0) {
                const Refuelling& how = refuel[system];
                stop.Refuel = how.Source;
                stop.Cost = how.FixedCredits + how.CreditsPerParsec * stop.Bought;
                if (how.Source == FuelSource::Gas || how.Source == FuelSource::Water) ++day;
            }
        }
        plan.Stops.push_back(stop);
    }
    plan.Found = true;
    plan.Total = SumStops(plan.Stops);
    return plan;
}

}  // namespace hexlane::voyage
