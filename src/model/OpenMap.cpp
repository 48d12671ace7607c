#include "OpenMap.h"

#include "Properties.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_map>
#include <unordered_set>

namespace {

bool IsFlatClass(const TManager& m) {
    return dynamic_cast<const TRoute*>(&m) || dynamic_cast<const TRouteLeg*>(&m) ||
           dynamic_cast<const TSector*>(&m) || dynamic_cast<const TStar*>(&m) ||
           dynamic_cast<const TAllegiance*>(&m);
}

template <class T>
T* ContainerOf(TUniverse& u) {
    std::vector<T*> found = u.ChildrenOf<T>();
    return found.empty() ? u.Create<T>() : found.back();
}

std::string ClassLine(const TManager& m) {
    std::string cls(m.Class().Name);
    return cls.substr(1) + " : " + m.Name1;
}

}  // namespace

bool NeedsFlatMapUpgrade(const TUniverse& universe) {
    if (universe.ManagerVersion >= 4.5) return false;
    for (const auto& c : universe.Children())
        if (IsFlatClass(*c)) return true;
    return false;
}

std::vector<std::string> UpgradeFlatMap(TUniverse& u) {
    TRoutes* routes = ContainerOf<TRoutes>(u);
    TSectors* sectors = ContainerOf<TSectors>(u);
    TAllegiances* allegiances = ContainerOf<TAllegiances>(u);

    std::vector<TManager*> flat;
    for (const auto& c : u.Children()) flat.push_back(c.get());

    // The legs of each group name and the stars of each sector name, in child
    // order, so each route and sector finds its members without a pass over
    // the whole map.
    std::unordered_map<std::string, std::vector<TRouteLeg*>> legsOf;
    std::unordered_map<std::string, std::vector<TStar*>> starsOf;
    for (TManager* obj : flat) {
        if (auto* leg = dynamic_cast<TRouteLeg*>(obj)) legsOf[leg->GroupName].push_back(leg);
        else if (auto* star = dynamic_cast<TStar*>(obj)) starsOf[star->SectorName()].push_back(star);
    }

    std::unordered_set<const TManager*> placed;
    for (TManager* obj : flat) {
        if (auto* route = dynamic_cast<TRoute*>(obj)) {
            TManager* copy = CloneObject(routes, *route);
            placed.insert(route);
            if (auto it = legsOf.find(route->Name1); it != legsOf.end())
                for (TRouteLeg* leg : it->second) {
                    CloneObject(copy, *leg);
                    placed.insert(leg);
                }
        } else if (auto* sector = dynamic_cast<TSector*>(obj)) {
            TManager* copy = CloneObject(sectors, *sector);
            placed.insert(sector);
            if (auto it = starsOf.find(sector->Name1); it != starsOf.end())
                for (TStar* star : it->second) {
                    CloneObject(copy, *star);
                    placed.insert(star);
                }
        } else if (auto* allegiance = dynamic_cast<TAllegiance*>(obj)) {
            CloneObject(allegiances, *allegiance);
            placed.insert(allegiance);
        }
    }

    std::vector<std::string> dropped;
    for (TManager* obj : flat)
        if (IsFlatClass(*obj) && !placed.contains(obj)) dropped.push_back(ClassLine(*obj));

    u.DestroyChildrenIf(IsFlatClass);
    return dropped;
}

namespace {

OpenMapResult ReadAndPrepare(const std::string& fileName, const std::function<void(int)>& progress) {
    OpenMapResult result;
    std::unique_ptr<TUniverse> u = TUniverse::CreateNew();
    if (!u->LoadFromFile(fileName, result.Message)) return result;
    if (u->IsOlderThan(kMapFormatVersion) && NeedsFlatMapUpgrade(*u)) result.Dropped = UpgradeFlatMap(*u);
    u->ManagerVersion = kMapFormatVersion;
    u->UseAltTL = false;  // a working switch, even if a file names it
    if (!u->HasContainers()) {
        result.Message = "Corrupt Map file.";
        return result;
    }
    const std::vector<TSector*> sectors = u->Sectors()->ChildrenOf<TSector>();
    for (std::size_t i = 0; i < sectors.size(); ++i) {
        if (progress)
            progress(static_cast<int>(std::nearbyint(static_cast<double>(i + 1) / sectors.size() * 100.0)));
        for (const auto& c : sectors[i]->Children())
            if (auto* star = dynamic_cast<TStar*>(c.get())) star->Visible = true;
    }
    u->ComputeExtent();
    u->AutoRefresh = true;
    u->SetHexSize(30);
    u->MapDirty = true;
    result.Universe = std::move(u);
    return result;
}

}  // namespace

OpenMapResult OpenMap(const std::string& fileName, const std::function<void(int)>& progress) {
    try {
        return ReadAndPrepare(fileName, progress);
    } catch (const std::bad_alloc&) {
        // The half-built universe is gone by now; the caller keeps its map.
        OpenMapResult result;
        result.Message = kNotEnoughMemoryToOpen;
        return result;
    }
}

