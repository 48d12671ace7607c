#pragma once
// Voyage planner: the best itinerary for a ship between two systems of the
// map in memory, counting jump fuel, refuelling (bought at starports or
// skimmed from gas giants and water), credits, days, waypoints visited in
// order and systems to avoid as intermediate stops.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TStar;
class TUniverse;

namespace hexlane::voyage {

enum class FuelSource : std::uint8_t { None, Refined, Unrefined, Gas, Water };

// Bits of the sources a user allows.
constexpr unsigned SourceBit(FuelSource s) { return 1u << static_cast<unsigned>(s); }
constexpr unsigned kAllSources = SourceBit(FuelSource::Refined) | SourceBit(FuelSource::Unrefined) |
                                 SourceBit(FuelSource::Gas) | SourceBit(FuelSource::Water);

// "refined", "unrefined", "gas", "water"; empty for None.
const char* SourceName(FuelSource s);
// The source named so (case-insensitive); None when the name is not one.
FuelSource SourceFromName(const std::string& name);

// The totals an objective orders, each a strict order of totals:
// Jumps (jumps, parsecs, cost), Parsecs (parsecs, jumps, cost),
// Cost (cost, jumps, parsecs), Days (days, cost, parsecs).
enum class Objective : std::uint8_t { Jumps, Parsecs, Cost, Days };
const char* ObjectiveName(Objective o);  // "jumps", "parsecs", "cost", "days"
bool ObjectiveFromName(const std::string& name, Objective& out);

struct Ship {
    std::string Name;
    int Hull = 200;     // tons; one parsec of fuel is a tenth of it
    int Jump = 1;       // longest jump in parsecs, 1-6
    int Tank = 1;       // parsecs of fuel the tank holds, 1-12
    int FuelNow = 1;    // parsecs in the tank at the start, 0-Tank
};

// What a system offers a ship that stops there, as bits of FuelSource.
unsigned SourcesOffered(const TStar& star);
// Berthing at the system's starport (A 1000, B 500, C 100, D 10, else 0).
int BerthingFee(const TStar& star);
// Credits for `parsecs` of fuel from a source for a hull of `hull` tons,
// berthing not included (refined Cr500 a ton, unrefined Cr100, else free).
long long FuelPrice(FuelSource s, int hull, int parsecs);

struct VoyageRequest {
    const TStar* From = nullptr;
    const TStar* To = nullptr;
    std::vector<const TStar*> Via;  // waypoints, in the order they are visited
    Ship Vessel;
    unsigned Sources = kAllSources;
    bool AvoidAmber = false, AvoidRed = false;
    std::vector<std::string> AvoidAllegiances{};  // allegiance names or import codes
    std::vector<const TStar*> AvoidSystems{};
    Objective By = Objective::Jumps;
};

struct Totals {
    long long Jumps = 0, Parsecs = 0, Cost = 0, Days = 0;
    bool operator==(const Totals&) const = default;
};

// One stop of an itinerary, from the start to the destination.
struct VoyageStop {
    const TStar* Star = nullptr;
    int Parsecs = 0;                       // length of the jump that reached it (0 at the start)
    FuelSource Refuel = FuelSource::None;  // source of the fuel bought here
    int Bought = 0;                        // parsecs of fuel taken on
    long long Cost = 0;                    // credits paid here (fuel and berthing)
    int Fuel = 0;                          // parsecs in the tank on leaving (on arrival at the end)
    long long Day = 0;                     // day of arrival (the start is day 0)
};

struct VoyagePlan {
    bool Found = false;
    std::vector<VoyageStop> Stops;
    Totals Total;
    // With no route: the system that could not be reached (the destination,
    // or the first waypoint out of reach), and the system nearest to it that
    // the ship can reach, with their distance.
    const TStar* Unreached = nullptr;
    const TStar* Nearest = nullptr;
    int NearestDistance = 0;
    std::string Message;  // why the request was refused or no route was found

    // The stops' map-wide hex coordinates (HexX, HexY), start to end, for
    // drawing the itinerary as a line over the map.
    std::vector<std::pair<int, int>> HexPath() const;
};

// True when some allegiance of the map, or some system's allegiance, is
// named `text` or has `text` as its import code.
bool AllegianceKnown(const TUniverse& universe, const std::string& text);

// The totals of an itinerary's stops, summed as the plan counts them.
Totals SumStops(const std::vector<VoyageStop>& stops);

// Finds the optimum itinerary. Needs current distance coordinates
// (ComputeExtent). A request out of range (no systems, jump not 1-6, tank
// not 1-12, fuel not 0-tank, hull under 1) gives no plan and a message.
VoyagePlan PlanVoyage(const TUniverse& universe, const VoyageRequest& request);

}  // namespace hexlane::voyage
