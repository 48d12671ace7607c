#include "Navigation.h"

namespace hexlane {

std::vector<std::string> SystemsWithinRadius(const TUniverse& universe, const TStar& origin, int radius) {
    std::vector<std::string> names;
    universe.ForEachStar([&](TStar& s) {
        if (TUniverse::StarDistance(&origin, &s) <= radius) names.push_back(s.Name1);
    });
    return names;
}

std::string PlotTheseSystemsOnly(TUniverse& universe, const std::vector<std::string>& names) {
    if (names.empty()) return "Nothing to Do";
    universe.ForEachStar([](TStar& s) { s.Visible = false; });
    for (const std::string& name : names)
        if (TStar* s = universe.FindStar(name)) s->Visible = true;
    universe.ComputeExtent();
    universe.MapDirty = true;
    return {};
}

std::string PathSearchRefusal(const TStar& origin, const TStar& destination, int jumpRange) {
    if (jumpRange < 1) return "There is nothing in range of this rustbucket.  Try putting in a Jump Drive.";
    if (TUniverse::StarDistance(&origin, &destination) <= jumpRange)
        return "This is a trivial solution.  The Destination is within your ship's jump range.";
    return {};
}

CreateRouteResult CreateRouteFromPath(TUniverse& universe, const std::vector<std::string>& names,
                                      const std::string& routeName) {
    CreateRouteResult result;
    if (names.empty()) {
        result.Message = "No Route to Plot";
        return result;
    }
    if (routeName.empty()) {
        result.Message = "Invalid Path Name";
        return result;
    }
    TRoutes* routes = universe.Routes();
    if (!routes) {
        result.Message = "No Route to Plot";
        return result;
    }
    TRoute* route = routes->Create<TRoute>();
    route->Name1 = routeName;
    route->ShowRoute = true;
    route->User = true;
    result.Route = route;
    for (std::size_t k = 0; 2 * k + 1 < names.size(); ++k) {
        const TStar* from = universe.FindStar(names[2 * k]);
        const TStar* to = universe.FindStar(names[2 * k + 1]);
        if (!from || !to) {
            result.Message = "Invalid pointer for Start/End Legs";
            break;
        }
        TRouteLeg* leg = route->Create<TRouteLeg>();
        leg->SStarName = from->Name1;
        leg->EStarName = to->Name1;
        leg->Name1 = routeName + " - " + std::to_string(k);
    }
    // The route exists even when a star was missing, so the map has changed.
    universe.ShowRoutes = true;
    universe.ManagerRequiresSaving = true;
    universe.MapDirty = true;
    return result;
}

}  // namespace hexlane
