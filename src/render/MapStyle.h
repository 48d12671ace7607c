#pragma once
// What the raster renderer and the vector painter draw alike: the map's ink
// colours, the map font, hatch styles of allegiance fills and the text of a
// star's name as drawn.

#include "DefineRoute.h"

#include <QFont>
#include <QRgb>
#include <QString>

class TStar;

namespace hexlane::render {

inline constexpr QRgb kInkWhite = 0xFFFFFFFF;
inline constexpr QRgb kInkSilver = 0xFFC0C0C0;
inline constexpr QRgb kInkYellow = 0xFFFFFF00;
inline constexpr QRgb kInkRed = 0xFFFF0000;
inline constexpr QRgb kInkBlue = 0xFF0000FF;
inline constexpr QRgb kInkBlack = 0xFF000000;

// "Arial" at the pixel height of a size in points on a 96 dots-per-inch canvas.
QFont MapFont(int points, bool antialiased);

// The Qt brush pattern of an allegiance's fill style.
Qt::BrushStyle HatchFor(TBrushStyle style);

// The name as drawn: a subsector capital's in capitals (ASCII letters).
QString NameText(const TStar& star);

}  // namespace hexlane::render
