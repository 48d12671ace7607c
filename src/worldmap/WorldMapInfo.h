#pragma once
// What the world map dialog derives from a star system and shows in text:
// water and ice shares, the world's diameter and map size, the position under
// the pointer, the proposed picture file name. Plain values in, text out.

#include <string>

namespace worldmap {

inline constexpr const char* kRingWorldRefusal = "Unable to create maps for Ring Worlds or Asteroid Belts";
inline constexpr const char* kSmallWorldNotice = "Assuming a 500 mi diameter world";
inline constexpr const char* kMapRoutineError = "Error in Map Routine";
inline constexpr const char* kGreedyMessage =
    "Boy, are you greedy!\r\n\r\nYou shall see something here in the Fullness of Time";

// Share of water: 10 per hydrographics step plus a random digit (0-9) that
// the caller draws from the editor's general random generator.
int WaterPercent(int hydroIndex, int randomDigit);

// Share of each pole under ice: a tenth of the land share, rounded down
// (0 or below for a world of 100 percent water or more).
int IcePercent(int waterPercent);

// The world's diameter from its size index (PSIndex): no map for rings and
// asteroid belts, 500 miles assumed for size "S", else 1000 miles a step.
struct WorldDiameter {
    bool Mappable = false;  // false: show Message and do not open the dialog
    int Miles = 0;
    std::string Message;    // shown before the dialog opens; empty for none
};
WorldDiameter DiameterForSize(int psIndex);

// A number rounded to a whole one with thousands grouped ("###,###,##0").
std::string FormatGrouped(double value);

// "Width = 15,708 miles" and "Height = 11,781 miles" for a 5000-mile world.
std::string WidthText(int diameterMiles);
std::string HeightText(int diameterMiles);

// Read-outs for the pointer over picture pixel x or y of the 640 x 480 map:
// "1h 30' " at x = 360, "-1h -30' " at x = 280; degrees the same way.
std::string LongitudeText(int pixelX);
std::string LatitudeText(int pixelY);

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

// The file name proposed for saving or loading a system's picture: its name
// with every "/" turned into "_", and ".bmp".
std::string ProposedPictureName(const std::string& systemName);

}  // namespace worldmap
