#pragma once
// The window side of "Export Sector File...": the choice of the file (its
// extension gives the format), the writing under the busy cursor, and the
// systems the export had to shorten in the message window.

#include <QString>

class TSector;
class TUniverse;

namespace hexlane::ui {

class Activity;
class Prompter;
class TfMergeErrors;

// The save chooser's filter: the three formats and all files.
QString SectorExportFilter();

// Asks for the file, proposing the sector's name + ".tab" in `folder`, and
// writes the sector there; `folder` becomes the chosen file's folder. Errors
// go to the prompter, shortened systems to the message window. True when a
// file was written.
bool ExportSector(const TUniverse& universe, const TSector& sector, Prompter& prompter, TfMergeErrors& messages,
                  Activity* activity, QString& folder);

}  // namespace hexlane::ui
