#pragma once
// The operations behind the navigation and path search dialogs: systems within
// a radius, restricting the map to a list of systems, the path dialog's early
// refusals, and turning a path into a route.

#include "DefineUniverse.h"

#include <string>
#include <vector>

namespace hexlane {

// Names of every star (map order) within `radius` parsecs of the origin,
// the origin included.
std::vector<std::string> SystemsWithinRadius(const TUniverse& universe, const TStar& origin, int radius);

// Shows only the named systems (the first star of each name): clears every
// Visible flag, sets those found, ComputeExtent, MapDirty. With no names it
// changes nothing and returns "Nothing to Do"; otherwise an empty text.
std::string PlotTheseSystemsOnly(TUniverse& universe, const std::vector<std::string>& names);

// The path dialog's refusals before a search: the jump drive message for a
// range below 1, the trivial-solution message when the destination is within
// range; empty when a search is needed.
std::string PathSearchRefusal(const TStar& origin, const TStar& destination, int jumpRange);

struct CreateRouteResult {
    TRoute* Route = nullptr;  // the new route (also when stopped at a missing star)
    std::string Message;      // empty on success
};

// Makes a route from a path search result (two names per jump): ShowRoute and
// User set, legs named routeName + " - " + k. Refuses an empty result ("No
// Route to Plot") and an empty name ("Invalid Path Name"); stops at a missing
// star ("Invalid pointer for Start/End Legs") keeping what was made. Whenever
// a route was made the universe is marked changed, MapDirty and ShowRoutes set.
CreateRouteResult CreateRouteFromPath(TUniverse& universe, const std::vector<std::string>& names,
                                      const std::string& routeName);

}  // namespace hexlane
