#pragma once
// The window side of "Import Sector Metadata..." and "Export Sector
// Metadata...": the choice of the file, the work under the busy cursor, and
// what was skipped in the message window.

#include <QString>

class TSector;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;
class TfMergeErrors;

// Asks for a metadata file in `folder` and reads it into the sector; a
// malformed file is an error and changes nothing. True when the map changed.
bool ImportSectorMetadataFile(TUniverse& universe, TSector& sector, Prompter& prompter, TfMergeErrors& messages,
                              Activity* activity, QString& folder);

// Asks for the file, proposing the sector's name + ".xml" in `folder`, and
// writes the sector's metadata with the borders computed for the map. True
// when a file was written.
bool ExportSectorMetadataFile(const TUniverse& universe, const TSector& sector, Prompter& prompter, Activity* activity,
                              QString& folder);

}  // namespace hexlane::ui
