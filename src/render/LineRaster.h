#pragma once
// Straight lines drawn straight into 32-bit pixels. Every pixel of a line is
// computed from the line's own end points with integer arithmetic, so a line
// comes out the same in any window of the picture however much of it is cut
// off, with its dash pattern counted from its start point. Used for route
// legs and boundary lines, which run across the whole picture.

#include <cstdint>

namespace hexlane::render {

// A window onto the picture: picture pixel (x, y) is
// Bits[(y - OriginY) * Stride + (x - OriginX)] for OriginX <= x < OriginX + Width
// and OriginY <= y < OriginY + Height.
struct PixelWindow {
    std::uint32_t* Bits = nullptr;
    int Stride = 0;  // pixels per row
    int Width = 0, Height = 0;
    int OriginX = 0, OriginY = 0;
};

// The five pen styles of routes and legs ("Solid", "Dash", "Dot", "Dash Dot",
// "Dash Dot Dot").
enum class LineStyle : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot };
// Line type 0-4 of a route or leg; any other value draws solid.
LineStyle LineStyleFromType(int lineType);

// Draws the line from (x0, y0) to (x1, y1), both end points included, `width`
// pixels wide (below 1 draws 1). The dash lengths grow with the width.
void DrawLine(PixelWindow& window, int x0, int y0, int x1, int y1, std::uint32_t colour, int width,
              LineStyle style);

}  // namespace hexlane::render
