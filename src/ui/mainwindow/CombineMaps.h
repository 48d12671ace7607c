#pragma once
// The window side of the "Merge Maps" and "Overlay Maps" commands: the
// confirmation, the choice of the second map, the work under the busy cursor,
// the version refusal of a merge, and the duplicates in the message window.

#include <QString>

#include <functional>

class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;
class TfMergeErrors;

enum class CombineKind { Merge, Overlay };

// The confirmation each command asks first.
QString CombineQuestion(CombineKind kind);

// Runs the command on the universe in memory. `mapFile` is the file of the map
// in memory (empty when it has none): the map-file chooser proposes its folder
// without a file name, and choosing that file itself is refused with "This is
// the map in memory."; the main window's own file name is not touched.
// `refresh` is called once the universe has been changed, before anything else
// is shown (the views may hold objects the overlay replaced): the main window
// redraws the map and rebuilds its tree.
// False when nothing was changed: the confirmation was answered No, the map in
// memory was chosen, or a merge refused a map older than format 4.5. Otherwise
// the universe is marked changed and dirty, even when no file was chosen or read.
bool CombineMaps(CombineKind kind, TUniverse& memory, Prompter& prompter, TfMergeErrors& messages,
                 Activity* activity, const QString& mapFile, const std::function<void()>& refresh);

}  // namespace hexlane::ui
