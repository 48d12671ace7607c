#include "MergeErrors.h"

#include "DefineUniverse.h"
#include "OpenMap.h"
#include "Properties.h"

#include <new>
#include <unordered_map>

namespace {

enum class TMode { Merge, Overlay };

const std::string kNotPlaced = "Not placed : ";

// "Star : Nova": the class name without its leading T, then the name.
std::string DuplicateLine(const TManager& object) {
    const std::string_view cls = object.Class().Name;
    return std::string(cls.substr(1)) + " : " + object.Name1;
}

template <class C>
C* EnsureContainer(TUniverse& universe, C* existing) {
    return existing ? existing : universe.Create<C>();
}

// Objects of one name in memory, in memory order; an overlay uses them up
// from the front, one per loaded namesake.
template <class T>
struct TNamesakes {
    std::vector<T*> Objects;
    std::size_t Next = 0;
    bool Empty() const { return Next >= Objects.size(); }
};

template <class T>
std::unordered_map<std::string, TNamesakes<T>> IndexChildren(const TManager& parent) {
    std::unordered_map<std::string, TNamesakes<T>> index;
    for (T* child : parent.ChildrenOf<T>()) index[child->Name1].Objects.push_back(child);
    return index;
}

// Combines one loaded universe into the universe in memory. The name indexes
// are taken from memory before anything is added, so loaded objects are only
// ever compared with what memory held at the start.
class TCombiner {
public:
    TCombiner(TUniverse& memory, TMode mode)
        : mode_(mode),
          routes_(EnsureContainer(memory, memory.Routes())),
          sectors_(EnsureContainer(memory, memory.Sectors())),
          allegiances_(EnsureContainer(memory, memory.Allegiances())) {
        for (TSector* s : sectors_->ChildrenOf<TSector>()) {
            sectorByName_.emplace(s->Name1, s);  // the first of a name stays
            for (TStar* star : s->ChildrenOf<TStar>()) starsByName_[star->Name1].Objects.push_back(star);
        }
        for (TRoute* r : routes_->ChildrenOf<TRoute>()) routeByName_.emplace(r->Name1, r);
        for (TAllegiance* a : allegiances_->ChildrenOf<TAllegiance>()) allegianceByName_.emplace(a->Name1, a);
    }

    std::vector<std::string> Lines;

    void Run(TUniverse& loaded) {
        // Every container of the loaded map, in file order, so the lines come
        // in the order of the loaded objects.
        for (TManager* container : Snapshot(loaded)) {
            if (auto* routes = dynamic_cast<TRoutes*>(container)) {
                ReportStrays<TRoute>(*routes);
                for (TRoute* r : routes->ChildrenOf<TRoute>()) AddRoute(*r);
            } else if (auto* sectors = dynamic_cast<TSectors*>(container)) {
                ReportStrays<TSector>(*sectors);
                for (TSector* s : sectors->ChildrenOf<TSector>()) AddSector(*s);
            } else if (auto* allegiances = dynamic_cast<TAllegiances*>(container)) {
                ReportStrays<TAllegiance>(*allegiances);
                for (TAllegiance* a : allegiances->ChildrenOf<TAllegiance>()) AddAllegiance(*a);
            } else {
                Lines.push_back(kNotPlaced + DuplicateLine(*container));
            }
        }
    }

private:
    // A hand-made or damaged map may hold objects where no container of
    // their kind is (a star directly in the sectors container, a leg in the
    // routes container). They cannot be placed; name them rather than let
    // them vanish with the loaded map.
    template <class T>
    void ReportStrays(const TManager& parent) {
        for (const auto& child : parent.Children())
            if (!dynamic_cast<const T*>(child.get())) Lines.push_back(kNotPlaced + DuplicateLine(*child));
    }

    static std::vector<TManager*> Snapshot(const TManager& parent) {
        std::vector<TManager*> out;
        for (const auto& c : parent.Children()) out.push_back(c.get());
        return out;
    }

    // Moves an object from its loaded owner to a new owner in memory.
    template <class T>
    static void Move(T& object, TManager& to) {
        to.Adopt(object.Owner()->Release(&object));
    }

    // Reports a namesake; in an overlay the first remaining one in memory is
    // deleted. True when the loaded object is to be added.
    template <class T>
    bool Accept(const T& loaded, std::unordered_map<std::string, TNamesakes<T>>& index) {
        auto it = index.find(loaded.Name1);
        if (it == index.end() || it->second.Empty()) return true;
        Lines.push_back(DuplicateLine(loaded));
        if (mode_ == TMode::Merge) return false;
        TManager::Destroy(it->second.Objects[it->second.Next++]);
        return true;
    }

    void AddSector(TSector& loaded) {
        TSector* target = nullptr;
        if (auto it = sectorByName_.find(loaded.Name1); it != sectorByName_.end()) {
            Lines.push_back(DuplicateLine(loaded));
            target = it->second;
        }
        const bool combined = target != nullptr;
        if (combined) ReportStrays<TStar>(loaded);
        if (!combined) {
            Move(loaded, *sectors_);
            target = &loaded;
        }
        for (TStar* star : loaded.ChildrenOf<TStar>()) {
            star->Visible = true;
            if (!Accept(*star, starsByName_)) {
                // A skipped star must not arrive with a sector that was moved whole.
                if (!combined) TManager::Destroy(star);
                continue;
            }
            if (combined) {
                // Keep the star's hex: its subsector under the target's name for it.
                if (const int k = loaded.FindSubsector(star->SubSectorName))
                    star->SubSectorName = target->SSName[static_cast<std::size_t>(k - 1)];
                Move(*star, *target);
            }
        }
    }

    void AddRoute(TRoute& loaded) {
        TRoute* target = nullptr;
        if (auto it = routeByName_.find(loaded.Name1); it != routeByName_.end()) {
            Lines.push_back(DuplicateLine(loaded));
            target = it->second;
        }
        if (!target) {
            Move(loaded, *routes_);
            return;
        }
        ReportStrays<TRouteLeg>(loaded);
        auto legs = legsByRoute_.find(target);
        if (legs == legsByRoute_.end()) legs = legsByRoute_.emplace(target, IndexChildren<TRouteLeg>(*target)).first;
        for (TRouteLeg* leg : loaded.ChildrenOf<TRouteLeg>())
            if (Accept(*leg, legs->second)) Move(*leg, *target);
    }

    void AddAllegiance(TAllegiance& loaded) {
        auto it = allegianceByName_.find(loaded.Name1);
        if (it == allegianceByName_.end()) {
            Move(loaded, *allegiances_);
            return;
        }
        Lines.push_back(DuplicateLine(loaded));
        if (mode_ == TMode::Overlay) {
            TAllegiance& kept = *it->second;
            kept.Color = loaded.Color;
            kept.Style = loaded.Style;
            kept.ImportCode = loaded.ImportCode;
            kept.Notes = loaded.Notes;
        }
    }

    TMode mode_;
    TRoutes* routes_;
    TSectors* sectors_;
    TAllegiances* allegiances_;
    std::unordered_map<std::string, TSector*> sectorByName_;
    std::unordered_map<std::string, TRoute*> routeByName_;
    std::unordered_map<std::string, TAllegiance*> allegianceByName_;
    std::unordered_map<std::string, TNamesakes<TStar>> starsByName_;
    // Legs of the routes in memory that loaded routes were combined into,
    // indexed when the first loaded route reaches them.
    std::unordered_map<const TRoute*, std::unordered_map<std::string, TNamesakes<TRouteLeg>>> legsByRoute_;
};

TCombineResult Combine(TUniverse& memory, TUniverse& loaded, TMode mode) {
    TCombiner combiner(memory, mode);
    combiner.Run(loaded);
    FinishCombine(memory);
    TCombineResult result;
    result.Lines = std::move(combiner.Lines);
    return result;
}

TCombineResult CombineFile(TUniverse& memory, const std::string& fileName, TMode mode) {
    TCombineResult result;
    TSecondMap second;
    if (!fileName.empty()) second = LoadSecondMap(fileName);
    if (!second.Universe) {
        result.Status = TCombineResult::TStatus::NotRead;
        result.Message = second.Message;
        FinishCombine(memory);
        return result;
    }
    result = mode == TMode::Merge ? MergeUniverse(memory, *second.Universe)
                                  : OverlayUniverse(memory, *second.Universe);
    if (result.Status == TCombineResult::TStatus::Done)
        result.Lines.insert(result.Lines.begin(), second.NotPlaced.begin(), second.NotPlaced.end());
    return result;
}

}  // namespace

static TSecondMap ReadSecondMap(const std::string& fileName);

TSecondMap LoadSecondMap(const std::string& fileName) {
    try {
        return ReadSecondMap(fileName);
    } catch (const std::bad_alloc&) {
        TSecondMap result;
        result.Message = kNotEnoughMemoryToOpen;
        return result;
    }
}

static TSecondMap ReadSecondMap(const std::string& fileName) {
    TSecondMap result;
    auto universe = std::make_unique<TUniverse>();
    if (!universe->LoadFromFile(fileName, result.Message)) return result;
    if (universe->IsOlderThan(kMapFormatVersion) && NeedsFlatMapUpgrade(*universe))
        for (const std::string& line : UpgradeFlatMap(*universe))
            result.NotPlaced.push_back("Not placed by the upgrade : " + line);
    if (!universe->HasContainers()) {
        result.Message = "Corrupt Map file.";
        result.NotPlaced.clear();
        return result;
    }
    result.Universe = std::move(universe);
    return result;
}

TCombineResult MergeUniverse(TUniverse& memory, TUniverse& loaded) {
    if (loaded.IsOlderThan(4.5)) {
        TCombineResult refused;
        refused.Status = TCombineResult::TStatus::NeedsResave;
        refused.Message = kMergeNeedsResave;
        return refused;
    }
    return Combine(memory, loaded, TMode::Merge);
}

TCombineResult OverlayUniverse(TUniverse& memory, TUniverse& loaded) {
    return Combine(memory, loaded, TMode::Overlay);
}

TCombineResult MergeMapFile(TUniverse& memory, const std::string& fileName) {
    return CombineFile(memory, fileName, TMode::Merge);
}

TCombineResult OverlayMapFile(TUniverse& memory, const std::string& fileName) {
    return CombineFile(memory, fileName, TMode::Overlay);
}

void FinishCombine(TUniverse& memory) {
    memory.ComputeExtent();
    memory.MapDirty = true;
    MarkChanged(memory);
}
