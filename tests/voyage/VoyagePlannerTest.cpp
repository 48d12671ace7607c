#include "DefineUniverse.h"
#include "TestUtil.h"
#include "VoyagePlanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <random>

using namespace hexlane::voyage;
using testutil::AddSector;
using testutil::AddStar;

namespace {

// ---- an independent reading of the rules, for checking plans ----

bool Offers(const TStar& s, FuelSource source) {
    const char port = s.Starport.empty() ? '\0' : s.Starport[0];
    const char atm = s.UPC.size() > 1 ? s.UPC[1] : '\0', hyd = s.UPC.size() > 2 ? s.UPC[2] : '\0';
    switch (source) {
        case FuelSource::Refined: return port == 'A' || port == 'B';
        case FuelSource::Unrefined: return port && std::strchr("ABCD", port);
        case FuelSource::Gas: return (s.SystemContent & 0x80) != 0;
        case FuelSource::Water: return hyd && atm && std::strchr("123456789A", hyd) && std::strchr("23456789DEF", atm);
        default: return false;
    }
}

long long StopCost(const TStar& s, FuelSource source, int hull, int parsecs) {
    const double tons = hull * parsecs / 10.0;
    const long long berth = s.Starport == "A" ? 1000 : s.Starport == "B" ? 500 : s.Starport == "C" ? 100 : 10;
    if (source == FuelSource::Refined) return static_cast<long long>(tons * 500) + berth;
    if (source == FuelSource::Unrefined) return static_cast<long long>(tons * 100) + berth;
    return 0;
}

std::array<long long, 3> Order(Objective by, const Totals& t) {
    switch (by) {
        case Objective::Jumps: return {t.Jumps, t.Parsecs, t.Cost};
        case Objective::Parsecs: return {t.Parsecs, t.Jumps, t.Cost};
        case Objective::Cost: return {t.Cost, t.Jumps, t.Parsecs};
        default: return {t.Days, t.Cost, t.Parsecs};
    }
}

int Distance(const TStar* a, const TStar* b) { return TUniverse::StarDistance(a, b); }

bool Exempt(const VoyageRequest& r, const TStar* s) {
    return s == r.From || s == r.To || std::count(r.Via.begin(), r.Via.end(), s);
}

bool Avoided(const TUniverse& u, const VoyageRequest& r, const TStar* s) {
    if (Exempt(r, s)) return false;
    if ((r.AvoidAmber && s->TravelZoneCode == tzcAmber) || (r.AvoidRed && s->TravelZoneCode == tzcRed)) return true;
    if (std::count(r.AvoidSystems.begin(), r.AvoidSystems.end(), s)) return true;
    for (const std::string& a : r.AvoidAllegiances) {
        if (s->Allegiance == a) return true;
        const TAllegiance* al = u.FindAllegiance(s->Allegiance.view());
        if (al && al->ImportCode == a) return true;
    }
    return false;
}

// Checks every rule on an itinerary; returns what is wrong, or "".
std::string Infeasible(const TUniverse& u, const VoyageRequest& r, const VoyagePlan& p) {
    const auto& s = p.Stops;
    const Ship& ship = r.Vessel;
    if (s.empty() || s.front().Star != r.From || s.back().Star != r.To) return "ends";
    int fuel = ship.FuelNow;
    long long day = 0, skims = 0, cost = 0;
    std::size_t w = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const VoyageStop& stop = s[i];
        if (i > 0) {
            const int d = Distance(s[i - 1].Star, stop.Star);
            if (d != stop.Parsecs || d > ship.Jump || d > fuel) return "leg " + std::to_string(i);
            fuel -= d;
            day += 7;
            if (i + 1 < s.size() && Avoided(u, r, stop.Star)) return "avoided stop " + std::to_string(i);
        }
        if (stop.Day != day) return "day " + std::to_string(i);
        while (w < r.Via.size() && r.Via[w] == stop.Star) ++w;
        const bool last = i + 1 == s.size();
        if (stop.Bought != stop.Fuel - fuel || stop.Fuel > ship.Tank || stop.Bought < 0 ||
            (last && stop.Bought != 0))
            return "fuel " + std::to_string(i);
        if (stop.Bought == 0 ? stop.Refuel != FuelSource::None || stop.Cost != 0
                             : !Offers(*stop.Star, stop.Refuel) || !(r.Sources & SourceBit(stop.Refuel)) ||
                                   stop.Cost != StopCost(*stop.Star, stop.Refuel, ship.Hull, stop.Bought))
            return "refuel " + std::to_string(i);
        if (stop.Refuel == FuelSource::Gas || stop.Refuel == FuelSource::Water) ++day, ++skims;
        cost += stop.Cost;
        fuel = stop.Fuel;
    }
    if (w != r.Via.size()) return "waypoints";
    const auto jumps = static_cast<long long>(s.size()) - 1;
    long long parsecs = 0;
    for (const VoyageStop& stop : s) parsecs += stop.Parsecs;
    if (!(p.Total == Totals{jumps, parsecs, cost, jumps * 7 + skims})) return "totals";
    return "";
}

// Optimum totals by trying every refuelling choice (every allowed source,
// every amount) at every stop, relaxing until nothing improves. Waypoints may
// be counted or passed by. Also gives the systems reachable on the way to the
// first waypoint or, without waypoints, the destination.
struct BruteForce {
    std::optional<Totals> best;
    std::vector<const TStar*> reachable;

    BruteForce(const TUniverse& u, const VoyageRequest& r) {
        std::vector<const TStar*> stars;
        u.ForEachStar([&](const TStar& s) { stars.push_back(&s); });
        const Ship& ship = r.Vessel;
        const std::size_t W = r.Via.size(), n = stars.size(), levels = ship.Tank + 1;
        std::vector<std::optional<Totals>> value((W + 1) * n * levels);
        auto at = [&](std::size_t w, std::size_t s, int f) -> std::optional<Totals>& {
            return value[(w * n + s) * levels + f];
        };
        auto arrive = [&](std::size_t w, std::size_t s, int f, const Totals& t) {
            bool changed = false;
            for (;;) {
                auto& v = at(w, s, f);
                if (!v || Order(r.By, t) < Order(r.By, *v)) v = t, changed = true;
                if (w < W && r.Via[w] == stars[s]) ++w;
                else return changed;
            }
        };
        const std::size_t start = std::find(stars.begin(), stars.end(), r.From) - stars.begin();
        arrive(0, start, ship.FuelNow, Totals{});
        for (bool changed = true; changed;) {
            changed = false;
            for (std::size_t w = 0; w <= W; ++w)
                for (std::size_t s = 0; s < n; ++s)
                    for (int f = 0; f <= ship.Tank; ++f) {
                        if (!at(w, s, f)) continue;
                        const Totals base = *at(w, s, f);
                        for (FuelSource src : {FuelSource::None, FuelSource::Refined, FuelSource::Unrefined,
                                               FuelSource::Gas, FuelSource::Water}) {
                            if (src != FuelSource::None && (!Offers(*stars[s], src) || !(r.Sources & SourceBit(src))))
                                continue;
                            for (int k = src == FuelSource::None ? 0 : 1; f + k <= ship.Tank; ++k) {
                                Totals t = base;
                                t.Cost += src == FuelSource::None ? 0 : StopCost(*stars[s], src, ship.Hull, k);
                                t.Days += src == FuelSource::Gas || src == FuelSource::Water;
                                for (std::size_t to = 0; to < n; ++to) {
                                    const int d = Distance(stars[s], stars[to]);
                                    if (to == s || d > ship.Jump || d > f + k || Avoided(u, r, stars[to])) continue;
                                    Totals next = t;
                                    next.Jumps += 1, next.Parsecs += d, next.Days += 7;
                                    changed |= arrive(w, to, f + k - d, next);
                                }
                                if (src == FuelSource::None) break;
                            }
                        }
                    }
        }
        const std::size_t dest = std::find(stars.begin(), stars.end(), r.To) - stars.begin();
        for (int f = 0; f <= ship.Tank; ++f)
            if (auto& v = at(W, dest, f); v && (!best || Order(r.By, *v) < Order(r.By, *best))) best = v;
        for (std::size_t s = 0; s < n; ++s)
            for (int f = 0; f <= ship.Tank; ++f)
                if (at(0, s, f)) {
                    reachable.push_back(stars[s]);
                    break;
                }
    }
};

// A random small map: up to a dozen systems in a 7 x 7 patch of one sector,
// with random starports, gas giants, atmospheres, hydrographics, zones and
// allegiances.
struct RandomMap {
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    std::vector<TStar*> stars;

    explicit RandomMap(std::mt19937& rng) {
        TSector* sector = AddSector(*u, "Test", 0, 0);
        for (auto [name, code] : {std::pair{"Alpha League", "AL"}, std::pair{"Beta Union", "BU"}}) {
            TAllegiance* a = u->Allegiances()->Create<TAllegiance>();
            a->Name1 = name;
            a->ImportCode = code;
        }
        std::vector<std::pair<int, int>> hexes;
        for (int c = 1; c <= 7; ++c)
            for (int row = 1; row <= 7; ++row) hexes.emplace_back(c, row);
        std::shuffle(hexes.begin(), hexes.end(), rng);
        const int count = 5 + static_cast<int>(rng() % 8);
        auto pick = [&](const char* options) { return options[rng() % std::strlen(options)]; };
        for (int i = 0; i < count; ++i) {
            TStar* s = AddStar(*sector, "S" + std::to_string(i), hexes[i].first, hexes[i].second,
                               std::string{pick("5"), pick("0123DEF?"), pick("001A?"), '5', '5', '5'});
            s->Starport = std::string(1, pick("ABCDEX?"));
            s->SystemContent = rng() % 3 == 0 ? 0x80 : 0;
            s->TravelZoneCode = static_cast<TTravelZoneCode>(rng() % 4);
            s->Allegiance = rng() % 3 == 0 ? "Alpha League" : rng() % 2 ? "Beta Union" : "Independent";
            stars.push_back(s);
        }
        u->ComputeExtent();
    }
};

VoyageRequest RandomRequest(std::mt19937& rng, const RandomMap& m) {
    auto star = [&] { return m.stars[rng() % m.stars.size()]; };
    VoyageRequest r;
    r.From = star();
    r.To = star();
    for (unsigned i = rng() % 3; i > 0; --i) r.Via.push_back(star());
    r.Vessel.Jump = 1 + static_cast<int>(rng() % 3);
    r.Vessel.Tank = r.Vessel.Jump + static_cast<int>(rng() % 3);
    r.Vessel.FuelNow = static_cast<int>(rng() % (r.Vessel.Tank + 1));
    r.Vessel.Hull = 100 + 5 * static_cast<int>(rng() % 60);
    r.Sources = rng() % 4 ? kAllSources : static_cast<unsigned>(rng()) & kAllSources;
    r.AvoidAmber = rng() % 4 == 0;
    r.AvoidRed = rng() % 4 == 0;
    if (rng() % 5 == 0) r.AvoidAllegiances.push_back(rng() % 2 ? "AL" : "Beta Union");
    if (rng() % 4 == 0) r.AvoidSystems.push_back(star());
    return r;
}

}  // namespace

TEST(VoyagePlanner, SourcesAndFeesFollowTheCodes) {
    struct Case {
        const char* port;
        const char* upc;
        int content;
        unsigned offered;
        int berth;
    };
    constexpr unsigned R = SourceBit(FuelSource::Refined), U = SourceBit(FuelSource::Unrefined),
                       G = SourceBit(FuelSource::Gas), W = SourceBit(FuelSource::Water);
    const Case cases[] = {
        {"A", "500555", 0, R | U, 1000}, {"B", "525555", 0x80, R | U | G | W, 500},
        {"C", "5A1555", 0, U, 100},      {"D", "5FA555", 0, U | W, 10},
        {"E", "565555", 0x80, G | W, 0},     {"X", "5C9555", 0, 0, 0},
        {"?", "5?5555", 0, 0, 0},        {"A", "55?555", 0x7F, R | U, 1000},
        {"b", "515555", 0, R | U, 500}, {"", "5", 0, 0, 0},
    };
    auto u = TUniverse::CreateNew();
    TSector* sector = AddSector(*u, "Test", 0, 0);
    for (const Case& c : cases) {
        TStar* s = AddStar(*sector, "S", 1, 1, c.upc);
        s->Starport = c.port;
        s->SystemContent = c.content;
        EXPECT_EQ(SourcesOffered(*s), c.offered) << c.port << " " << c.upc;
        EXPECT_EQ(BerthingFee(*s), c.berth) << c.port;
    }
    EXPECT_EQ(FuelPrice(FuelSource::Refined, 200, 3), 30000);  // 60 tons at Cr500
    EXPECT_EQ(FuelPrice(FuelSource::Unrefined, 150, 1), 1500);  // 15 tons at Cr100
    EXPECT_EQ(FuelPrice(FuelSource::Gas, 200, 6), 0);
}

TEST(VoyagePlanner, RefuelsWhereTheObjectiveWantsIt) {
    // A - B - C - D along one row, two parsecs apart; jump 2, tank 2, no fuel
    // at the start. A sells fuel at a class C port; B has a gas giant and a
    // class A port; C has nothing.
    auto u = TUniverse::CreateNew();
    TSector* sector = AddSector(*u, "Test", 0, 0);
    TStar* a = AddStar(*sector, "A", 1, 1, "500555");
    TStar* b = AddStar(*sector, "B", 3, 1, "500555");
    TStar* c = AddStar(*sector, "C", 5, 1, "500555");
    TStar* d = AddStar(*sector, "D", 7, 1, "500555");
    a->Starport = "C";
    b->SystemContent = 0x80;
    c->Starport = "X";
    u->ComputeExtent();
    VoyageRequest r{a, c, {}, Ship{"Far Trader", 200, 2, 2, 0}};
    VoyagePlan p = PlanVoyage(*u, r);
    ASSERT_TRUE(p.Found) << p.Message;
    ASSERT_EQ(p.Stops.size(), 3u);
    EXPECT_EQ(p.Stops[0].Refuel, FuelSource::Unrefined);
    EXPECT_EQ(p.Stops[0].Cost, 4100);  // 40 tons at Cr100 and Cr100 berthing
    EXPECT_EQ(p.Stops[1].Refuel, FuelSource::Gas);  // free beats credits
    EXPECT_EQ(p.Total, (Totals{2, 4, 4100, 15}));
    r.By = Objective::Days;  // a day saved is worth the credits
    p = PlanVoyage(*u, r);
    EXPECT_EQ(p.Stops[1].Refuel, FuelSource::Unrefined);
    EXPECT_EQ(p.Total, (Totals{2, 4, 4100 + 5000, 14}));
    EXPECT_EQ(p.HexPath().size(), 3u);

    // Avoiding B leaves no way past the gap: C is out of reach, and A is
    // the nearest system the ship reaches.
    r.AvoidSystems = {b};
    p = PlanVoyage(*u, r);
    EXPECT_FALSE(p.Found);
    EXPECT_EQ(p.Unreached, c);
    EXPECT_EQ(p.Nearest, a);
    EXPECT_EQ(p.NearestDistance, 4);
    // A waypoint is never avoided, and a destination is no stop: with a
    // bigger tank, filled at B, D is reached with an empty one through C,
    // which sells nothing.
    r.Via = {b};
    r.To = d;
    r.Vessel.Tank = 4;
    p = PlanVoyage(*u, r);
    ASSERT_TRUE(p.Found);
    EXPECT_EQ(p.Stops.back().Fuel, 0);
    EXPECT_EQ(Infeasible(*u, r, p), "");
}

TEST(VoyagePlanner, RefusesRequestsOutOfRange) {
    auto u = TUniverse::CreateNew();
    TStar* a = AddStar(*AddSector(*u, "Test", 0, 0), "A", 1, 1);
    u->ComputeExtent();
    for (Ship ship : {Ship{"", 200, 0, 1, 1}, Ship{"", 200, 7, 7, 7}, Ship{"", 200, 2, 13, 0},
                      Ship{"", 200, 2, 0, 0}, Ship{"", 200, 2, 4, 5}, Ship{"", 0, 2, 2, 2},
                      Ship{"", 200, 2, 2, -1}}) {
        const VoyagePlan p = PlanVoyage(*u, VoyageRequest{a, a, {}, ship});
        EXPECT_FALSE(p.Found);
        EXPECT_FALSE(p.Message.empty());
    }
    EXPECT_TRUE(PlanVoyage(*u, VoyageRequest{a, a, {}, Ship{"", 200, 2, 2, 2}}).Found);
}

TEST(VoyagePlanner, MatchesExhaustiveSearchOnRandomMaps) {
    std::mt19937 rng(20261209);
    int found = 0, missing = 0;
    for (int round = 0; round < 400; ++round) {
        RandomMap m(rng);
        VoyageRequest r = RandomRequest(rng, m);
        for (Objective by : {Objective::Jumps, Objective::Parsecs, Objective::Cost, Objective::Days}) {
            r.By = by;
            const VoyagePlan p = PlanVoyage(*m.u, r);
            const BruteForce brute(*m.u, r);
            SCOPED_TRACE("round " + std::to_string(round) + " by " + ObjectiveName(by));
            ASSERT_EQ(p.Found, brute.best.has_value()) << p.Message;
            if (!p.Found) {
                ++missing;
                ASSERT_FALSE(p.Message.empty());
                if (r.Via.empty()) {  // the nearest system is one the ship can reach, none nearer
                    EXPECT_TRUE(std::count(brute.reachable.begin(), brute.reachable.end(), p.Nearest));
                    for (const TStar* s : brute.reachable) EXPECT_GE(Distance(s, r.To), p.NearestDistance);
                }
                continue;
            }
            ++found;
            EXPECT_EQ(Order(by, p.Total), Order(by, *brute.best));
            EXPECT_EQ(Infeasible(*m.u, r, p), "");
        }
    }
    EXPECT_GT(found, 600);  // both outcomes are well represented
    EXPECT_GT(missing, 100);
}
