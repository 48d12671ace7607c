#pragma once
// Selected save: writes a chosen part of the universe in memory (shown
// sectors with the systems that pass the star filters, allegiances, routes
// that pass the route filters) to a new map file. The universe in memory is
// not changed.

#include <memory>
#include <string>

class TUniverse;

// The options of the "Selected Save" dialog; all start checked. An option
// under an unchecked group has no effect (the dialog also unchecks it).
struct TSelectedSaveOptions {
    bool SectorInformation = true;  // "Sector/Subsector Information"
    // "Visible" under the sectors. Sectors excluded from display are never
    // written, so this option does not change what is written.
    bool SectorVisible = true;
    bool Stars = true;             // "Stars"
    bool StarVisible = true;       // "Visible" under the stars
    bool StarVisited = true;       // "Visited"
    bool StarMapped = true;        // "Mapped World"
    bool StarUserSurveyed = true;  // "User Surveyed"
    bool Allegiances = true;       // "Allegiances (if used by a saved star then saved anyway)"
    bool Routes = true;            // "Routes"
    bool RouteVisible = true;      // "Visible" under the routes
    bool RouteUserDefined = true;  // "User Defined"
};

// The universe that a selected save writes: routes, sectors and allegiances
// containers filled by the options, the alternate tech-level table of
// `universe`, and the editor's map-format version.
std::unique_ptr<TUniverse> BuildSelectedUniverse(TUniverse& universe, const TSelectedSaveOptions& options);

// Builds the selected universe and writes it to `fileName` (nothing is written
// for an empty name: the choice of file was cancelled). False with the save
// failure in `message` when the file cannot be written.
bool SelectedSave(TUniverse& universe, const TSelectedSaveOptions& options, const std::string& fileName,
                  std::string& message);
