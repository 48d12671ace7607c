#include "MapSnapshot.h"

#include "ObjectStream.h"
#include "Parallel.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace hexlane {

namespace {

// Children per run: small enough that one edited star costs a few kilobytes,
// large enough that a sector of 1,280 stars holds few pointers.
constexpr std::size_t kRunLength = 16;

const std::string kSignature = "TPF0";

// What a piece costs beside its bytes: the allocation and the shared count,
// about a pointer's worth per place that holds it.
constexpr std::size_t kPieceOverhead = 64, kPointer = sizeof(SnapshotBytes);

// The earlier piece each new object is compared with: first the unused one
// with the same head bytes (the same object, wherever it moved), then, for
// an object whose head changed (renamed, excluded from display), the unused
// one at its place.
template <class Piece>
std::vector<std::shared_ptr<const Piece>> MatchEarlier(const std::vector<std::string>& heads,
                                                       const std::vector<std::shared_ptr<const Piece>>* earlier) {
    std::vector<std::shared_ptr<const Piece>> match(heads.size());
    if (!earlier) return match;
    std::unordered_multimap<std::string_view, std::size_t> byHead;
    for (std::size_t i = 0; i < earlier->size(); ++i) byHead.emplace(std::string_view(*(*earlier)[i]->Head), i);
    std::vector<bool> used(earlier->size());
    for (std::size_t i = 0; i < heads.size(); ++i)
        if (const auto it = byHead.find(std::string_view(heads[i])); it != byHead.end()) {
            match[i] = (*earlier)[it->second];
            used[it->second] = true;
            byHead.erase(it);
        }
    for (std::size_t i = 0; i < heads.size() && i < earlier->size(); ++i)
        if (!match[i] && !used[i]) {
            match[i] = (*earlier)[i];
            used[i] = true;
        }
    return match;
}

// The heads of an object's children.
std::vector<std::string> ChildHeads(const TManager& object) {
    std::vector<std::string> heads(object.ChildCount());
    for (std::size_t i = 0; i < heads.size(); ++i) WriteObjectHead(*object.Child(i), heads[i]);
    return heads;
}

class SnapshotWriter {
public:
    std::size_t added = 0;

    // The earlier piece when its bytes equal `bytes`, else a new piece.
    SnapshotBytes Keep(const std::string& bytes, const SnapshotBytes* earlier) {
        if (earlier && *earlier && **earlier == bytes) return *earlier;
        auto piece = std::make_shared<const std::string>(bytes);
        added += piece->capacity() + kPieceOverhead;
        return piece;
    }

    std::shared_ptr<const SnapshotItem> Item(const TManager& object, const std::string& head,
                                             const std::shared_ptr<const SnapshotItem>& earlier) {
        auto item = std::make_shared<SnapshotItem>();
        item->Head = Keep(head, earlier ? &earlier->Head : nullptr);
        bool allShared = earlier != nullptr;
        const auto& children = object.Children();
        // Runs end where a child's bytes say (or at a cap), so that adding or
        // removing a child changes only the run that holds it, not all runs
        // after it.
        std::unordered_map<std::string_view, const SnapshotBytes*> earlierRuns;
        std::size_t run = 0, inRun = 0;
        scratch_.clear();
        for (std::size_t i = 0; i < children.size(); ++i) {
            const std::size_t start = scratch_.size();
            WriteObjectRecord(*children[i], scratch_);
            ++inRun;
            const std::size_t hash =
                std::hash<std::string_view>{}(std::string_view(scratch_).substr(start));
            if (i + 1 < children.size() && hash % kRunLength != 0 && inRun < 4 * kRunLength) continue;
            const SnapshotBytes* before = earlier && run < earlier->Runs.size() ? &earlier->Runs[run] : nullptr;
            if (earlier && (!before || **before != scratch_)) {
                if (earlierRuns.empty())
                    for (const SnapshotBytes& r : earlier->Runs) earlierRuns.emplace(std::string_view(*r), &r);
                const auto it = earlierRuns.find(std::string_view(scratch_));
                before = it != earlierRuns.end() ? it->second : nullptr;
                allShared = false;
            }
            item->Runs.push_back(Keep(scratch_, before));
            allShared = allShared && before && item->Runs.back() == *before;
            scratch_.clear();
            inRun = 0;
            ++run;
        }
        if (allShared && earlier->Runs.size() == item->Runs.size() && item->Head == earlier->Head) return earlier;
        added += sizeof(SnapshotItem) + item->Runs.size() * kPointer + kPieceOverhead;
        return item;
    }

private:
    std::string scratch_;
};

bool SameBytes(const SnapshotBytes& a, const SnapshotBytes& b) { return a == b || *a == *b; }

bool SameItem(const SnapshotItem& a, const SnapshotItem& b) {
    if (&a == &b) return true;
    if (!SameBytes(a.Head, b.Head) || a.Runs.size() != b.Runs.size()) return false;
    for (std::size_t i = 0; i < a.Runs.size(); ++i)
        if (!SameBytes(a.Runs[i], b.Runs[i])) return false;
    return true;
}

bool SameContainer(const SnapshotContainer& a, const SnapshotContainer& b) {
    if (&a == &b) return true;
    if (!SameBytes(a.Head, b.Head) || a.Items.size() != b.Items.size()) return false;
    for (std::size_t i = 0; i < a.Items.size(); ++i)
        if (!SameItem(*a.Items[i], *b.Items[i])) return false;
    return true;
}

std::string ObjectBytes(const SnapshotBytes& head, const std::vector<SnapshotBytes>& runs = {}) {
    std::size_t size = kSignature.size() + head->size() + 1;
    for (const auto& run : runs) size += run->size();
    std::string bytes;
    bytes.reserve(size);
    bytes += kSignature;
    bytes += *head;
    for (const auto& run : runs) bytes += *run;
    bytes.push_back('\0');
    return bytes;
}

// The stars of a sector that was read again are visible as the stars of the
// same name were in the sector it replaces, when that sector was excluded
// from display alike; otherwise as the sector's exclusion says.
void CarryVisible(TSector& sector, const TSector* before) {
    std::unordered_map<std::string, bool> visible;
    if (before && before->ExcludeFromDisplay() == sector.ExcludeFromDisplay())
        for (const TStar* star : before->Stars()) visible.emplace(star->Name1, star->Visible);
    for (TStar* star : sector.Stars()) {
        const auto it = visible.find(star->Name1);
        star->Visible = it != visible.end() ? it->second : !sector.ExcludeFromDisplay();
    }
}

void CarryViewState(const TUniverse& from, TUniverse& to) {
    to.UseAltTL = from.UseAltTL;
    to.MajorVersion = from.MajorVersion;
    to.MinorVersion = from.MinorVersion;
    to.BugFixVersion = from.BugFixVersion;
    to.ShowNames = from.ShowNames;
    to.ShowStarports = from.ShowStarports;
    to.ShowSystemContents = from.ShowSystemContents;
    to.ShowRoutes = from.ShowRoutes;
    to.ShowSectorLines = from.ShowSectorLines;
    to.ShowSubsectorLines = from.ShowSubsectorLines;
    to.ShowAllegianceColors = from.ShowAllegianceColors;
    to.ShowBorders = from.ShowBorders;
    to.ShowAllInfo = from.ShowAllInfo;
    to.UseSectorHexAddressing = from.UseSectorHexAddressing;
    to.AutoRefresh = from.AutoRefresh;
    to.VoyageLine = from.VoyageLine;
    to.SetHexSize(from.HexSize);
    to.ManagerRequiresSaving = from.ManagerRequiresSaving;
    to.SetManagerFileName(from.ManagerFileName());
    to.SetManagerOpenDialogName(from.ManagerOpenDialogName());
    to.SetManagerSaveDialogName(from.ManagerSaveDialogName());
}

}  // namespace

std::shared_ptr<const MapSnapshot> TakeSnapshot(const TUniverse& universe, const MapSnapshot* previous) {
    return TakeSnapshot(universe, previous, nullptr);
}

SnapshotPieces PiecesOf(const TUniverse& universe, const MapSnapshot& snapshot) {
    SnapshotPieces pieces;
    if (snapshot.Containers.size() != universe.ChildCount()) return pieces;
    for (std::size_t c = 0; c < universe.ChildCount(); ++c)
        if (snapshot.Containers[c]->Items.size() != universe.Child(c)->ChildCount()) return pieces;
    for (std::size_t c = 0; c < universe.ChildCount(); ++c) {
        const TManager& container = *universe.Child(c);
        for (std::size_t i = 0; i < container.ChildCount(); ++i)
            pieces.emplace(container.Child(i), snapshot.Containers[c]->Items[i]);
    }
    return pieces;
}

std::shared_ptr<const MapSnapshot> TakeSnapshot(const TUniverse& universe, const MapSnapshot* previous,
                                                const SnapshotPieces* unchanged) {
    SnapshotWriter writer;
    auto snapshot = std::make_shared<MapSnapshot>();
    std::string head;
    WriteObjectHead(universe, head);
    snapshot->Head = writer.Keep(head, previous ? &previous->Head : nullptr);

    const std::vector<std::string> containerHeads = ChildHeads(universe);
    const auto containers = MatchEarlier(containerHeads, previous ? &previous->Containers : nullptr);
    for (std::size_t c = 0; c < universe.ChildCount(); ++c) {
        const TManager& child = *universe.Child(c);
        const std::shared_ptr<const SnapshotContainer>& earlier = containers[c];
        auto container = std::make_shared<SnapshotContainer>();
        container->Head = writer.Keep(containerHeads[c], earlier ? &earlier->Head : nullptr);
        const std::vector<std::string> heads = ChildHeads(child);
        const auto items = MatchEarlier(heads, earlier ? &earlier->Items : nullptr);
        bool allShared = earlier && container->Head == earlier->Head && earlier->Items.size() == child.ChildCount();
        container->Items.resize(child.ChildCount());
        // Writing every system is most of the time a snapshot takes: a large
        // container is written by several threads, each taking a run of its
        // objects with a writer of its own.
        const std::size_t count = child.ChildCount();
        // Objects the change left alone keep their pieces; only the others
        // are written.
        std::vector<std::size_t> toWrite;
        for (std::size_t i = 0; i < count; ++i) {
            if (unchanged) {
                const auto it = unchanged->find(child.Child(i));
                if (it != unchanged->end() && *it->second->Head == heads[i]) {
                    container->Items[i] = it->second;
                    continue;
                }
            }
            toWrite.push_back(i);
        }
        const std::size_t writes = toWrite.size();
        const unsigned threads = hexlane::PartCount(writes, 64, 4);
        std::vector<SnapshotWriter> writers(threads);
        // A failure (out of memory) in any writer reaches the caller.
        hexlane::RunParts(threads, [&](unsigned t) {
            for (std::size_t k = writes * t / threads; k < writes * (t + 1) / threads; ++k) {
                const std::size_t i = toWrite[k];
                container->Items[i] = writers[t].Item(*child.Child(i), heads[i], items[i]);
            }
        });
        for (const SnapshotWriter& w : writers) writer.added += w.added;
        for (std::size_t i = 0; allShared && i < count; ++i) allShared = container->Items[i] == earlier->Items[i];
        if (allShared) {
            snapshot->Containers.push_back(earlier);
        } else {
            writer.added += sizeof(SnapshotContainer) + container->Items.size() * kPointer + kPieceOverhead;
            snapshot->Containers.push_back(std::move(container));
        }
    }
    snapshot->AddedBytes = writer.added + sizeof(MapSnapshot) + snapshot->Containers.size() * kPointer;
    return snapshot;
}

bool SameState(const MapSnapshot& a, const MapSnapshot& b) {
    if (&a == &b) return true;
    if (!SameBytes(a.Head, b.Head) || a.Containers.size() != b.Containers.size()) return false;
    for (std::size_t i = 0; i < a.Containers.size(); ++i)
        if (!SameContainer(*a.Containers[i], *b.Containers[i])) return false;
    return true;
}

std::string SnapshotStream(const MapSnapshot& snapshot) {
    std::string bytes = kSignature + *snapshot.Head;
    for (const auto& container : snapshot.Containers) {
        bytes += *container->Head;
        for (const auto& item : container->Items) {
            bytes += *item->Head;
            for (const auto& run : item->Runs) bytes += *run;
            bytes.push_back('\0');
        }
        bytes.push_back('\0');
    }
    bytes.push_back('\0');
    return bytes;
}

std::size_t SnapshotMemory(const std::vector<const MapSnapshot*>& snapshots) {
    std::unordered_set<const void*> seen;
    std::size_t total = 0;
    auto bytes = [&](const SnapshotBytes& piece) {
        if (seen.insert(piece.get()).second) total += piece->capacity() + kPieceOverhead;
    };
    for (const MapSnapshot* snapshot : snapshots) {
        if (!seen.insert(snapshot).second) continue;
        total += sizeof(MapSnapshot) + snapshot->Containers.size() * kPointer;
        bytes(snapshot->Head);
        for (const auto& container : snapshot->Containers) {
            if (!seen.insert(container.get()).second) continue;
            total += sizeof(SnapshotContainer) + container->Items.size() * kPointer + kPieceOverhead;
            bytes(container->Head);
            for (const auto& item : container->Items) {
                if (!seen.insert(item.get()).second) continue;
                total += sizeof(SnapshotItem) + item->Runs.size() * kPointer + kPieceOverhead;
                bytes(item->Head);
                for (const auto& run : item->Runs) bytes(run);
            }
        }
    }
    return total;
}

std::unique_ptr<TUniverse> RestoreSnapshot(TUniverse& live, const MapSnapshot& liveShot, const MapSnapshot& target) {
    // Which live object each piece of the live snapshot stands for (only
    // when the snapshot matches the live tree's shape).
    std::unordered_map<const void*, TManager*> objectOf;
    bool aligned = liveShot.Containers.size() == live.ChildCount();
    for (std::size_t i = 0; aligned && i < live.ChildCount(); ++i)
        aligned = liveShot.Containers[i]->Items.size() == live.Child(i)->ChildCount();
    if (aligned)
        for (std::size_t i = 0; i < live.ChildCount(); ++i) {
            objectOf.emplace(liveShot.Containers[i].get(), live.Child(i));
            for (std::size_t j = 0; j < live.Child(i)->ChildCount(); ++j)
                objectOf.emplace(liveShot.Containers[i]->Items[j].get(), live.Child(i)->Child(j));
        }
    auto take = [&](const void* piece) -> TManager* {
        const auto it = objectOf.find(piece);
        if (it == objectOf.end()) return nullptr;
        TManager* object = it->second;
        objectOf.erase(it);
        return object;
    };

    // First everything that must be read, so that a bad piece leaves the
    // live universe untouched; then the moves.
    // The pieces are this program's own bytes: a property they leave out
    // held its default (a map file read leaves it at zero instead).
    auto read = [](const std::string& bytes) { return ReadObjectStream(bytes, /*absentIsDefault=*/true); };
    std::unique_ptr<TManager> root = read(ObjectBytes(target.Head));
    if (!dynamic_cast<TUniverse*>(root.get())) return nullptr;
    std::unique_ptr<TUniverse> universe(static_cast<TUniverse*>(root.release()));

    struct Part {
        TManager* moved = nullptr;
        std::unique_ptr<TManager> read;
    };
    struct ContainerPlan {
        Part self;
        std::vector<Part> items;
    };
    std::vector<ContainerPlan> plan(target.Containers.size());
    std::vector<TSector*> reread;
    for (std::size_t i = 0; i < target.Containers.size(); ++i) {
        const SnapshotContainer& container = *target.Containers[i];
        if ((plan[i].self.moved = take(&container))) continue;
        if (!(plan[i].self.read = read(ObjectBytes(container.Head)))) return nullptr;
        for (const auto& item : container.Items) {
            Part part;
            if (!(part.moved = take(item.get()))) {
                if (!(part.read = read(ObjectBytes(item->Head, item->Runs)))) return nullptr;
                if (auto* sector = As<TSector>(part.read.get())) reread.push_back(sector);
            }
            plan[i].items.push_back(std::move(part));
        }
    }

    // Stars read again take their visibility from the sector of that name
    // that the live universe still holds.
    std::unordered_map<std::string, const TSector*> liveSectors;
    if (const TSectors* sectors = live.Sectors())
        for (const TSector* sector : sectors->ChildrenOf<TSector>()) liveSectors.emplace(sector->Name1, sector);
    for (TSector* sector : reread) {
        const auto it = liveSectors.find(sector->Name1);
        CarryVisible(*sector, it != liveSectors.end() ? it->second : nullptr);
    }

    auto adopt = [](TManager& owner, Part& part) {
        if (part.moved)
            owner.Adopt(part.moved->Owner()->Release(part.moved));
        else
            owner.Adopt(std::move(part.read));
    };
    for (ContainerPlan& container : plan) {
        TManager* owner = container.self.moved;
        if (!owner) owner = container.self.read.get();
        for (Part& item : container.items) adopt(*owner, item);
        adopt(*universe, container.self);
    }
    CarryViewState(live, *universe);
    universe->ComputeExtent();
    universe->MapDirty = true;
    return universe;
}

}  // namespace hexlane
