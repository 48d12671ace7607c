#pragma once
// The map picture as a list of inked shapes, built once by the layout and
// drawn by thin backends: the 16-colour raster (screen tiles, bitmaps, PNG at
// the zoom levels), QPainter (print, PDF, PNG at other sizes) and the
// streaming SVG writer. Every shape carries both its palette ink (for the
// 16-colour pictures) and its true colour (for the others), so a backend
// decides nothing about what is drawn, only how. A different look of the map
// is a different list, never a different backend; a new layer (borders, a
// voyage, a selection) is added once, here.
//
// Fields a kind does not use carry these meanings (their defaults draw as
// the 16-colour pictures do, and only the print look sets them):
// - Hex, Ellipse, Ellipses, Polygon: Width is the rim's pen width and Style
//   its dash pattern.
// - Text: Fill and Brush are its backing box: Fill 0 a white box, else a box
//   in Brush (none when Brush is fully transparent); B.x() is its anchor,
//   kTextCentred (A.x the middle) or kTextLeft (A.x its left end).
// - True colours may be translucent (alpha below 255); the 16-colour
//   pictures ignore the alpha.
//
// Shapes are drawn in list order. Shapes are grouped (the grid, one group
// per system, the lines): a backend skips a group whose reach misses the part
// it draws, and then the group's shapes one by one.

#include "LineRaster.h"
#include "MapGeometry.h"

#include <QRgb>
#include <QSize>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace hexlane::render {

// A colour in both forms: the palette colour of the 16-colour pictures and
// the true colour of the others.
struct Ink {
    QRgb Palette = 0xFF000000;
    QRgb True = 0xFF000000;
    static constexpr Ink Both(QRgb c) { return {c, c}; }
    friend bool operator==(const Ink&, const Ink&) = default;
};

enum class ShapeKind : std::uint8_t {
    Grid,      // every grid cell's outline (and hex number) that reaches the part drawn
    Hex,       // one hex outline around A, filled with Brush in the pattern Fill
    Ellipse,   // inscribed in the box A (top-left) .. B (bottom-right, exclusive)
    Ellipses,  // Count such boxes of one ink, corners in pairs from Points[First]
    Text,      // centred on A.x, its top at A.y, on a white box
    Line,      // from A to B, both ends included
    Polyline,  // Count points from Points[First]
    Polygon,   // the same points closed, filled with Brush in the pattern Fill
};

// Text anchors (Shape::B.x() of a text).
inline constexpr int kTextCentred = 0, kTextLeft = 1;

// A font of the list: the map font at a point size.
struct FontSpec {
    int Points = 7;
    bool Bold = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct Shape {
    ShapeKind Kind = ShapeKind::Line;
    std::uint8_t Fill = 0;       // Qt::BrushStyle of Hex, Ellipse, Polygon (0: none)
    LineStyle Style = LineStyle::Solid;  // one byte (LineRaster.h)
    std::uint8_t Font = 0;       // Text: index into DisplayList::Fonts; Grid: the hex numbers' font
    std::uint16_t Width = 1;     // pen width of lines, in pixels
    bool Numbers = false;        // Grid: hex numbers in every cell
    bool SectorAddressing = false;  // Grid: sector-relative hex numbers
    Ink Pen, Brush;
    QPoint A, B;
    std::uint32_t First = 0, Count = 0;  // Text: characters; Polyline, Polygon: points; Ellipses: boxes
};

// Shapes [First, End) of the list, all within Reach (in picture pixels);
// text shapes may reach further, and are tested one by one.
struct ShapeGroup {
    QRect Reach;
    QRect TextAnchors;            // the anchors of its texts
    std::uint32_t TextChars = 0;  // characters of its longest text
    std::uint32_t First = 0, End = 0;
    bool HasText = false;
    bool Always = false;  // the grid and the lines: never skipped whole
};

// Whether two non-empty rectangles share a pixel (inline, for culling).
inline bool Overlap(const QRect& a, const QRect& b) {
    return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() && b.top() <= a.bottom();
}

// Whether a group's texts may reach `area`, for fonts at most `charWidth`
// wide a character and `height` high: a quick bound before each text.
inline bool TextsMayReach(const ShapeGroup& g, const QRect& area, int charWidth, int height) {
    if (!g.HasText) return false;
    const int half = static_cast<int>(g.TextChars) * charWidth / 2 + 3;
    return Overlap(g.TextAnchors.adjusted(-half, -3, half, height + 3), area);
}

class DisplayList {
public:
    MapFrame Frame;          // the hex geometry (the grid shape draws from it)
    QSize Size{300, 300};    // the picture, white outside what is drawn
    std::vector<FontSpec> Fonts;
    std::vector<Shape> Shapes;
    std::vector<ShapeGroup> Groups;
    std::vector<QPoint> Points;
    std::vector<QChar> Chars;  // the characters of every text, one after the other

    const HexMetrics& M() const { return Frame.M; }
    // The characters of a text shape, without copying them.
    QString TextOf(const Shape& s) const {
        return QString::fromRawData(Chars.data() + s.First, static_cast<qsizetype>(s.Count));
    }
    std::uint8_t AddFont(FontSpec font);

    // ---- building: open a group, add its shapes, close it ----
    void BeginGroup(bool always = false);
    void EndGroup();
    void AddGrid(Ink pen, bool numbers, bool sectorAddressing, std::uint8_t font);
    void AddHex(QPoint centre, Ink pen, Ink brush, int fill);
    void AddEllipse(const Box& box, Ink pen, Ink brush);
    void AddEllipses(const Box* boxes, int count, Ink pen, Ink brush);
    void AddText(QPoint topCentre, const QString& text, std::uint8_t font, Ink ink);
    // The same for a map string (Windows-1252), in capitals (ASCII letters)
    // when asked.
    void AddText(QPoint topCentre, std::string_view cp1252, bool capitals, std::uint8_t font, Ink ink);
    void AddLine(QPoint from, QPoint to, Ink pen, int width, LineStyle style);
    void AddPolyline(const std::vector<QPoint>& points, Ink pen, int width, LineStyle style);
    void AddPolygon(const std::vector<QPoint>& points, Ink pen, Ink brush, int fill);

    // ---- finding the groups of a part ----
    // Indexes the groups by bands of rows once the list is complete; text
    // reaches at most twice the largest font's pixel height below its anchor.
    void IndexBands();
    // The groups that may reach `area`, in list order (all of them before
    // IndexBands).
    std::vector<std::uint32_t> GroupsNear(const QRect& area) const;

private:
    static constexpr int kBandRows = 256;
    std::vector<std::uint32_t> bandStart_, bandGroups_;  // group indices of band b: [bandStart_[b], bandStart_[b + 1])

    // Widens the open group's reach to r (inline: this runs for every shape).
    void Extend(const QRect& r) {
        QRect& reach = Groups.back().Reach;
        if (reach.isNull()) {
            reach = r;
            return;
        }
        reach.setCoords(std::min(reach.left(), r.left()), std::min(reach.top(), r.top()),
                        std::max(reach.right(), r.right()), std::max(reach.bottom(), r.bottom()));
    }
    void AddTextShape(QPoint topCentre, std::size_t first, std::uint8_t font, Ink ink);
};

// The hex number of each cell of `span` as a text shape of the grid's font,
// column by column: fn(const Shape& text, const QString& label).
template <class Fn>
void ForEachCellNumber(const DisplayList& list, const Shape& grid, const CellSpan& span, Fn fn) {
    Shape number;
    number.Kind = ShapeKind::Text;
    number.Font = grid.Font;
    number.Pen = Ink::Both(0xFF000000);
    for (int c = span.First.x(); c <= span.Last.x(); ++c)
        for (int r = span.First.y(); r <= span.Last.y(); ++r) {
            const QPoint centre = CellCentre(list.Frame, c, r);
            number.A = QPoint(centre.x(), HexNumberOrigin(list.M(), centre, 0).y());
            fn(static_cast<const Shape&>(number),
               QString::fromLatin1(CellHexNumber(list.Frame, c, r, grid.SectorAddressing)));
        }
}

// Box i of an Ellipses shape.
inline Box EllipseBox(const DisplayList& list, const Shape& s, std::uint32_t i) {
    const QPoint a = list.Points[s.First + 2 * i], b = list.Points[s.First + 2 * i + 1];
    return Box{a.x(), a.y(), b.x(), b.y()};
}

// Whether an ellipse is a filled disc of one colour (no separate rim).
inline bool IsDisc(const Shape& s) {
    return s.Fill != 0 && s.Pen == s.Brush;
}

}  // namespace hexlane::render
