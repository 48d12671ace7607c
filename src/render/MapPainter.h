#pragma once
// MapPainter draws the hex map picture's display list with QPainter
// primitives on any paint device (printer, PDF, image) at any scale: the same
// list as the raster renderer, so every star, hex corner and line end lies
// where the raster picture has it, scaled; but in the shapes' true colours,
// antialiased, with text kept as text. What is drawn follows the
// zoom level of the layout (10, 30 or 90 pixels per hex); a picture of
// another hex size uses the layout of LevelForHexSize and a scale.

#include "MapLayout.h"

#include <QFont>
#include <QPolygonF>
#include <QRectF>

#include <vector>

class QPainter;
class TUniverse;

namespace hexlane::render {

class MapPainter {
public:
    // Keeps a layout made at a zoom level's hex size.
    explicit MapPainter(MapLayout layout);
    // The layout of the zoom level whose rules a picture of `hexSize` pixels
    // per hex follows; the universe's star positions are left alone.
    static MapPainter ForHexSize(const TUniverse& universe, int hexSize);

    const MapLayout& Layout() const { return layout_; }
    // Hex size of the layout: one layout pixel is 1/LevelHexSize() of a hex.
    int LevelHexSize() const { return layout_.Frame.M.S; }
    // The picture's size in layout pixels.
    QSize PictureSize() const { return layout_.Size; }

    // Draws `area` of the picture (in layout pixels) with its top-left corner
    // at the painter's origin, one layout pixel to one unit of the painter's
    // coordinates; nothing outside the area is touched. Scale the painter
    // first for another size.
    void Paint(QPainter& painter, const QRectF& area) const { Paint(painter, area, {}); }
    // The same, drawing only inside `exact` (an outline in layout pixels, see
    // ExactPart.h) when it is not empty: texts that belong outside it are
    // left out altogether.
    void Paint(QPainter& painter, const QRectF& area, const QPolygonF& exact) const;

private:
    void PaintGrid(QPainter& p, const QRect& inner, const Shape& grid, const QPolygonF& exact) const;
    void PaintShape(QPainter& p, const Shape& s) const;
    bool TextReaches(const Shape& s, const QRectF& area) const;
    void PaintText(QPainter& p, const Shape& s, const QString& text) const;

    MapLayout layout_;
    HexMetrics m_;
    std::vector<QFont> fonts_;
    std::vector<double> heights_, ascents_, maxWidths_;
    int charWidth_ = 0, textHeight_ = 0;  // the widest character and the highest line of the fonts
};

}  // namespace hexlane::render
