#include "SelectedSave.h"

#include "CopyProperties.h"
#include "DefineUniverse.h"

#include <unordered_set>

namespace {

bool StarPasses(const TStar& star, const TSelectedSaveOptions& o) {
    return (star.Visible && o.StarVisible) || (star.Visited && o.StarVisited) ||
           (star.UserSurveyed && o.StarUserSurveyed) || (star.MapIndex > 0 && o.StarMapped);
}

bool RoutePasses(const TRoute& route, const TSelectedSaveOptions& o) {
    return (route.User && o.RouteUserDefined) || (route.ShowRoute && o.RouteVisible);
}

}  // namespace

std::unique_ptr<TUniverse> BuildSelectedUniverse(TUniverse& universe, const TSelectedSaveOptions& o) {
    std::unique_ptr<TUniverse> out = TUniverse::CreateNew();
    out->TLAltDesc = universe.TLAltDesc;
    out->TLAltValue = universe.TLAltValue;
    out->ManagerVersion = kMapFormatVersion;

    std::unordered_set<std::string> usedAllegiances;
    if (o.SectorInformation && universe.Sectors()) {
        for (TSector* sector : universe.Sectors()->ChildrenOf<TSector>()) {
            if (sector->ExcludeFromDisplay()) continue;
            TSector* copy = out->Sectors()->Create<TSector>();
            CopyOwnProperties(*sector, *copy);
            if (!o.Stars) continue;
            for (TStar* star : sector->ChildrenOf<TStar>()) {
                if (!StarPasses(*star, o)) continue;
                CloneObject(copy, *star);
                usedAllegiances.insert(star->Allegiance);
            }
        }
    }

    if (universe.Allegiances())
        for (TAllegiance* a : universe.Allegiances()->ChildrenOf<TAllegiance>())
            if (o.Allegiances || usedAllegiances.count(a->Name1)) CloneObject(out->Allegiances(), *a);

    if (o.Routes && universe.Routes())
        for (TRoute* route : universe.Routes()->ChildrenOf<TRoute>())
            if (RoutePasses(*route, o)) CloneObject(out->Routes(), *route);
    return out;
}

bool SelectedSave(TUniverse& universe, const TSelectedSaveOptions& options, const std::string& fileName,
                  std::string& message) {
    message.clear();
    if (fileName.empty()) return true;
    std::unique_ptr<TUniverse> selected = BuildSelectedUniverse(universe, options);
    return selected->SaveToFile(fileName, message);
}
