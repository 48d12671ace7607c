#include "VoyagePlanner.h"

#include "DefineUniverse.h"
#include "JumpNeighbours.h"

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

    // The systems, in map order, and the places of the voyage among them.
    std::vector<TNode> list;
    std::uint32_t start = kNone, dest = kNone;
    std::vector<std::uint32_t> via(r.Via.size(), kNone);
    universe.ForEachStar([&](const TStar& star) {
        const auto index = static_cast<std::uint32_t>(list.size());
        if (&star == r.From) start = index;
        if (&star == r.To) dest = index;
        for (std::size_t i = 0; i < via.size(); ++i)
            if (&star == r.Via[i]) via[i] = index;
        list.push_back({&star, star.DistX, star.DistZ});
    });
    if (start == kNone || dest == kNone || std::find(via.begin(), via.end(), kNone) != via.end()) {
        plan.Message = "A system of the voyage is not on the map.";
        return plan;
    }
    const JumpNeighbours neighbours(std::move(list), ship.Jump);
    const std::vector<TNode>& nodes = neighbours.Nodes();
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

    // A state is the ship leaving a stop: (waypoints visited, system, fuel in
    // the tank after refuelling). Reaching a stop relaxes every refuelling
    // there at once, so arrivals need no states of their own; the
    // destination, where the ship stops for good, is one goal.
    const std::size_t layers = via.size() + 1;
    const std::uint32_t levels = static_cast<std::uint32_t>(ship.Tank) + 1;
    const std::size_t stateCount = layers * n * levels;
    if (stateCount >= kNone) {
        plan.Message = "The voyage has too many waypoints for this map.";
        return plan;
    }
    auto advance = [&](std::size_t w, std::uint32_t system) {
        while (w < via.size() && via[w] == system) ++w;
        return w;
    };
    std::vector<Key> best(stateCount, kUnreached);
    std::vector<std::uint32_t> pred(stateCount, kNone);
    // Per (waypoints, system): the most fuel of a state already settled. A
    // state with no more fuel, settled later, can be no better: fuel in the
    // tank never costs anything to keep.
    std::vector<std::int8_t> settled(layers * n, -1);

    // The queue holds keys split in two halves, which keeps an entry at 24
    // bytes.
    struct Entry {
        std::uint64_t hi, lo;
        std::uint32_t state;
        bool operator>(const Entry& o) const {
            return hi != o.hi ? hi > o.hi : lo != o.lo ? lo > o.lo : state > o.state;
        }
    };
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    auto push = [&](Key key, std::uint32_t state) {
        queue.push({static_cast<std::uint64_t>(key >> 64), static_cast<std::uint64_t>(key), state});
    };
    std::vector<Key> jumpKey(static_cast<std::size_t>(ship.Jump) + 1);
    for (int d = 0; d <= ship.Jump; ++d) jumpKey[d] = Pack(r.By, 1, static_cast<unsigned long long>(d), 0, 7);

    // A stop reached with `fuel` at cost `key`: leaving with as much fuel
    // or, refuelled, with more. A departure is not queued when one with more
    // fuel from the same place already costs no more.
    auto reach = [&](std::size_t w, std::uint32_t system, std::uint32_t fuel, Key key, std::uint32_t from) {
        const std::size_t place = w * n + system;
        const Refuelling& how = refuel[system];
        const int top = how.Source == FuelSource::None ? static_cast<int>(fuel) : static_cast<int>(levels) - 1;
        const int lowest = std::max(static_cast<int>(fuel), settled[place] + 1);
        Key* bestHere = best.data() + place * levels;
        Key cheapestAbove = kUnreached;
        for (int to = static_cast<int>(levels) - 1; to > top; --to) cheapestAbove = std::min(cheapestAbove, bestHere[to]);
        for (int to = top; to >= lowest; --to) {
            const Key k = to == static_cast<int>(fuel) ? key : key + how.Fixed + how.PerParsec * (to - fuel);
            if (k < bestHere[to] && k < cheapestAbove) {
                bestHere[to] = k;
                const auto state = static_cast<std::uint32_t>(place * levels + to);
                pred[state] = from;
                push(k, state);
            }
            cheapestAbove = std::min(cheapestAbove, bestHere[to]);
        }
    };

    Key goalKey = kUnreached;
    std::uint32_t goalFrom = kNone;
    const std::size_t w0 = advance(0, start);
    if (start == dest && w0 == via.size()) goalKey = 0;  // already there
    else reach(w0, start, static_cast<std::uint32_t>(ship.FuelNow), 0, kNone);
    while (!queue.empty()) {
        const Entry e = queue.top();
        queue.pop();
        const Key key = (Key(e.hi) << 64) | e.lo;
        if (key >= goalKey) break;  // every further way costs at least as much
        const std::uint32_t state = e.state;
        const std::uint32_t fuel = state % levels;
        const std::size_t place = state / levels;  // w * n + system
        const auto system = static_cast<std::uint32_t>(place % n);
        const std::size_t w = place / n;
        if (key != best[state] || settled[place] >= static_cast<int>(fuel)) continue;
        settled[place] = static_cast<std::int8_t>(fuel);
        neighbours.ForEach(system, static_cast<int>(fuel), [&](std::uint32_t to, int parsecs) {
            if (blocked[to]) return;
            const std::size_t w2 = advance(w, to);
            const Key arrival = key + jumpKey[parsecs];
            const std::uint32_t left = fuel - static_cast<std::uint32_t>(parsecs);
            if (to == dest && w2 == via.size()) {
                if (arrival < goalKey) goalKey = arrival, goalFrom = state;
                return;
            }
            reach(w2, to, left, arrival, state);
        });
    }

    if (goalKey == kUnreached) {
        // The furthest waypoint stage reached, and the system of that stage
        // nearest to the system the ship could not reach.
        std::size_t stage = 0;
        for (std::size_t p = 0; p < settled.size(); ++p)
            if (settled[p] >= 0) stage = std::max(stage, p / n);
        const std::uint32_t target = stage < via.size() ? via[stage] : dest;
        std::uint32_t nearest = start;
        int closest = std::numeric_limits<int>::max();
        for (std::uint32_t s = 0; s < n; ++s)
            if (settled[stage * n + s] >= 0 || (stage == 0 && s == start)) {
                const int d = TUniverse::HexDistance(nodes[s].X, nodes[s].Z, nodes[target].X, nodes[target].Z);
                if (d < closest) closest = d, nearest = s;
            }
        plan.Unreached = nodes[target].Star;
        plan.Nearest = nodes[nearest].Star;
        plan.NearestDistance = closest;
        plan.Message = "No route to " + Label(*plan.Unreached) + ". The nearest system the ship can reach is " +
                       Label(*plan.Nearest) + ", " + std::to_string(closest) + " parsecs from it.";
        return plan;
    }

    // The departures from the start to the last stop before the goal.
    std::vector<std::uint32_t> chain;
    for (std::uint32_t s = goalFrom; s != kNone; s = pred[s]) chain.push_back(s);
    std::reverse(chain.begin(), chain.end());
    auto systemOf = [&](std::uint32_t state) { return static_cast<std::uint32_t>(state / levels % n); };
    auto parsecsBetween = [&](std::uint32_t a, std::uint32_t b) {
        return TUniverse::HexDistance(nodes[a].X, nodes[a].Z, nodes[b].X, nodes[b].Z);
    };
    long long day = 0;
    int fuel = ship.FuelNow;
    std::uint32_t previous = kNone;
    for (std::uint32_t state : chain) {
        VoyageStop stop;
        const std::uint32_t system = systemOf(state);
        stop.Star = nodes[system].Star;
        if (previous != kNone) {
            stop.Parsecs = parsecsBetween(previous, system);
            fuel -= stop.Parsecs;
            day += 7;
        }
        stop.Day = day;
        stop.Fuel = static_cast<int>(state % levels);
        stop.Bought = stop.Fuel - fuel;
        if (stop.Bought > 0) {
            const Refuelling& how = refuel[system];
            stop.Refuel = how.Source;
            stop.Cost = how.FixedCredits + how.CreditsPerParsec * stop.Bought;
            if (how.Source == FuelSource::Gas || how.Source == FuelSource::Water) ++day;
        }
        fuel = stop.Fuel;
        previous = system;
        plan.Stops.push_back(stop);
    }
    VoyageStop last;
    last.Star = nodes[dest].Star;
    if (previous != kNone) {
        last.Parsecs = parsecsBetween(previous, dest);
        last.Day = day + 7;
        last.Fuel = fuel - last.Parsecs;
    } else {
        last.Fuel = ship.FuelNow;
    }
    plan.Stops.push_back(last);
    plan.Found = true;
    plan.Total = SumStops(plan.Stops);
    return plan;
}

}  // namespace hexlane::voyage
