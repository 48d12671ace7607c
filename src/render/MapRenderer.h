#pragma once
// MapRenderer draws any rectangle of the hex map picture's display list in
// the 16 colours of the palette. Every rectangle,
// drawn alone, equals the same part of the whole picture pixel for pixel:
// each piece is drawn with a margin wider than any hex or system symbol and
// only its inside is kept, hatch patterns are aligned to the picture's
// origin, text is drawn without antialiasing, every colour is reduced to the
// 16-colour palette first, and long lines are computed from their own end
// points (LineRaster). So the map view can draw tiles and a bitmap can be
// written band by band.

#include "MapLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

class QPainter;
class TUniverse;

namespace hexlane::render {

class MapRenderer {
public:
    // Lays the universe out (LayoutMap: sets every star's picture position)
    // and keeps the layout. The universe must not change while the renderer
    // is in use. Needs a QGuiApplication (fonts).
    explicit MapRenderer(TUniverse& universe);
    explicit MapRenderer(MapLayout layout);

    const MapLayout& Layout() const { return layout_; }
    QSize PictureSize() const { return layout_.Size; }

    // The rectangle of the picture as a Format_RGB32 image of the rectangle's
    // size; every pixel is a palette colour, pixels outside the picture white.
    QImage Render(const QRect& rect) const;
    // Draws the rectangle of the picture with its top-left corner at `target`.
    void Draw(QPainter& painter, const QRect& rect, QPoint target = {}) const;
    // The rectangle as palette indices, one byte per pixel, rows `stride`
    // bytes apart. A scratch image kept between calls of the same size saves
    // allocating the working image each time. A rectangle whose working image
    // would exceed `scratchBytes` is drawn in slices side by side.
    void RenderIndices(const QRect& rect, std::uint8_t* indices, int stride, QImage* scratch = nullptr,
                       std::int64_t scratchBytes = std::int64_t(32) << 20) const;

    // Extra pixels drawn on each side of a piece.
    int MarginX() const { return marginX_; }
    int MarginY() const { return marginY_; }

private:
    // Draws rect with the margins around it into image (reallocated when its
    // size differs); rect's corner lands at (marginX_, marginY_).
    void RenderInto(QImage& image, const QRect& rect) const;
    // Draws every shape that may reach `inner` into the image, whose top-left
    // pixel is picture point `origin`.
    void DrawList(QImage& image, QPoint origin, const QRect& inner) const;
    void DrawGrid(QPainter& p, const QRect& inner, const Shape& grid) const;
    void DrawShape(QPainter& p, const Shape& s) const;
    bool TextTouches(const Shape& s, const QRect& inner) const;
    void DrawText(QPainter& p, const Shape& s, const QString& text) const;

    MapLayout layout_;
    HexMetrics m_;
    std::vector<QFont> fonts_;  // the list's fonts, drawn without antialiasing
    std::vector<QFontMetrics> metrics_;
    int charWidth_ = 0, textHeight_ = 0;  // the widest character and the highest line of the fonts
    int extentX_ = 0, extentUp_ = 0, extentDown_ = 0;  // reach of a system's shapes around its centre
    int marginX_ = 0, marginY_ = 0;
};

}  // namespace hexlane::render
