#pragma once
// MapSnapshot: the stored state of a universe as object-stream bytes, kept in
// pieces (the universe's own record, each container's own record, each object
// below a container with its descendants in short runs) so that the snapshots
// taken before and after a command share every piece the command left alone.
// Undo and redo keep one snapshot per state and rebuild the universe from it.

#include "DefineUniverse.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace hexlane {

using SnapshotBytes = std::shared_ptr<const std::string>;

// One object below a container (a sector, a route, an allegiance): the head
// of its record and the records of its children, a few children per run.
struct SnapshotItem {
    SnapshotBytes Head;
    std::vector<SnapshotBytes> Runs;
};

// One child of the universe (the route, sector and allegiance containers).
struct SnapshotContainer {
    SnapshotBytes Head;
    std::vector<std::shared_ptr<const SnapshotItem>> Items;
};

struct MapSnapshot {
    SnapshotBytes Head;  // the universe's own record, no children
    std::vector<std::shared_ptr<const SnapshotContainer>> Containers;
    // Memory of what this snapshot holds that the one it was taken after
    // did not (all of it without an earlier one), as SnapshotMemory counts.
    std::size_t AddedBytes = 0;
};

// Takes the snapshot of `universe`, sharing every piece whose bytes equal a
// piece of `previous` (may be null) at the same place: same container, an
// object whose head bytes are the same, the same run of its children.
std::shared_ptr<const MapSnapshot> TakeSnapshot(const TUniverse& universe, const MapSnapshot* previous);

// The piece of a snapshot that stands for each object just below one of the
// universe's containers (sectors, routes, allegiances).
using SnapshotPieces = std::unordered_map<const TManager*, std::shared_ptr<const SnapshotItem>>;

// The pieces of `snapshot`, which must have been taken of `universe` as it
// is now; empty when their shapes differ.
SnapshotPieces PiecesOf(const TUniverse& universe, const MapSnapshot& snapshot);

// As above, after a change that left the objects of `unchanged` alone: each
// of them keeps its piece without being written again (when its head bytes
// are still those of the piece), so that the snapshot costs what the change
// touched. The objects must be the same ones the pieces were taken of.
std::shared_ptr<const MapSnapshot> TakeSnapshot(const TUniverse& universe, const MapSnapshot* previous,
                                                const SnapshotPieces* unchanged);

// True when both hold the same stored state (the same bytes).
bool SameState(const MapSnapshot& a, const MapSnapshot& b);

// The whole object stream of the snapshot: the bytes a save would write.
std::string SnapshotStream(const MapSnapshot& snapshot);

// Memory held by these snapshots together, each shared piece counted once.
std::size_t SnapshotMemory(const std::vector<const MapSnapshot*>& snapshots);

// Builds the universe of `target`. `liveShot` must be a snapshot of `live`
// as it is now: each object of `live` whose piece `target` shares moves into
// the result unchanged (its unstored state too), the others are read from
// `target`'s bytes. The result carries `live`'s view state (toggles, zoom,
// switches), its stars are visible as they were (re-read ones by name, or as
// their sector's exclusion says), the extent is computed and MapDirty set.
// Null when a piece cannot be read (`live` is then left as it was).
std::unique_ptr<TUniverse> RestoreSnapshot(TUniverse& live, const MapSnapshot& liveShot, const MapSnapshot& target);

}  // namespace hexlane
