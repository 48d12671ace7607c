#pragma once
// Merge and overlay: combine a second, loaded universe with the universe in
// memory, container by container, and report the loaded objects that have a
// namesake in memory ("Star : Nova", "Sector : Alpha" ...) as message lines.
//
// Rules shared by both:
// - A loaded sector whose name a sector in memory has is combined into that
//   sector (the first of the name): its stars go there, each keeping its hex
//   (its subsector name becomes the memory sector's name for the same
//   subsector); the sector in memory keeps its own position, names and flags.
//   Otherwise the loaded sector is added with its stars.
// - A loaded route whose name a route in memory has is combined the same way
//   with its legs; otherwise it is added with its legs. A leg's namesake is a
//   leg of the same name in the route it is combined into (leg names are
//   only meaningful within their route).
// - A star's namesake is any star in memory of the same name.
// - A loaded allegiance with a namesake is reported; otherwise it is added.
// - Namesakes are looked for among the objects that were in memory when the
//   operation started, never among objects it added.
// Merge: every loaded object that has a namesake is reported and left out;
// nothing in memory is changed or deleted.
// Overlay: a loaded star or leg replaces its namesake (the one in memory is
// deleted, the loaded one is added); an allegiance gives its colour, style,
// import code and notes to its namesake; a combined sector or route is
// reported and keeps its own properties.
// Every loaded object ends up added, combined or reported. Stars that arrive
// are made visible. Afterwards the extent is recomputed and the universe is
// marked changed and dirty. The universe keeps one container of each kind.

#include <memory>
#include <string>
#include <vector>

class TUniverse;

// The message a merge gives for a second map older than format 4.5.
inline constexpr const char* kMergeNeedsResave =
    "This map must first be opened and then re-saved so the latest format is available.";

// A second map read for merge or overlay.
struct TSecondMap {
    std::unique_ptr<TUniverse> Universe;  // null when the file could not be read
    std::string Message;                  // the load failure, for a message box
    // Lines for objects of an old map that its upgrade could not place.
    std::vector<std::string> NotPlaced;
};

// Reads a map file for merge or overlay. The universe keeps the format version
// the file has; a map from before the containers existed is moved into
// containers. A map without its three containers fails with "Corrupt Map file.".
TSecondMap LoadSecondMap(const std::string& fileName);

struct TCombineResult {
    enum class TStatus {
        Done,         // combined (or, for the file operations, nothing to combine)
        NotRead,      // the second map was not read; Message holds the load failure
        NeedsResave,  // merge refused a map older than 4.5; nothing changed
    };
    TStatus Status = TStatus::Done;
    std::string Message;             // for a message box: the load failure or kMergeNeedsResave
    std::vector<std::string> Lines;  // message window lines
};

// Merges `loaded` into `memory`. A second map older than 4.5 is refused with
// kMergeNeedsResave and nothing changes. What is combined leaves `loaded`.
TCombineResult MergeUniverse(TUniverse& memory, TUniverse& loaded);

// Overlays `loaded` onto `memory` (no version check). What is combined leaves
// `loaded`.
TCombineResult OverlayUniverse(TUniverse& memory, TUniverse& loaded);

// The commands after the user chose the second map (an empty name: the choice
// was cancelled). A map that is not read combines nothing, but the universe is
// marked changed all the same, as after a cancelled choice; only a merge
// refused for the version leaves it untouched.
TCombineResult MergeMapFile(TUniverse& memory, const std::string& fileName);
TCombineResult OverlayMapFile(TUniverse& memory, const std::string& fileName);

// Recomputes the extent and marks the universe changed and dirty (the end of
// both commands).
void FinishCombine(TUniverse& memory);
