#pragma once
// The map window's zoom and display-toggle commands on the universe's view
// state. Each returns true when it changed something, so the caller knows to
// repaint the window.

class TUniverse;

namespace hexlane::render {

// Hex size 10 -> 30 -> 90. At 90 (and before a map is open, size 0) it does
// nothing at all.
bool ZoomIn(TUniverse& universe);
// Hex size 90 -> 30 -> 10. At 10 (and at 0) it does nothing at all.
bool ZoomOut(TUniverse& universe);

enum class DisplayToggle {
    Names,              // "Toggle System Names"
    Starports,          // "Toggle Starports"
    SystemContents,     // "Toggle System Contents"
    Routes,             // "Toggle Comm/Trade Routes"
    SectorLines,        // "Toggle Sector Lines"
    SubsectorLines,     // "Toggle Subsector Lines"
    AllegianceColors,   // "Toggle Allegiance Colors"
    AllInfo,            // "Toggle all System Information"
    Borders,            // "Toggle Polity Borders" (not one of all the information)
};

// Sets MapDirty and inverts the flag; AllInfo then copies the new ShowAllInfo
// into the seven other Show flags.
void Toggle(TUniverse& universe, DisplayToggle which);

}  // namespace hexlane::render
