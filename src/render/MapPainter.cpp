#include "MapPainter.h"

#include "ExactPart.h"
#include "MapStyle.h"
#include "Palette.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace hexlane::render {

namespace {

Qt::PenStyle PenStyleFor(LineStyle style) {
    switch (style) {
    case LineStyle::Solid: return Qt::SolidLine;
    case LineStyle::Dash: return Qt::DashLine;
    case LineStyle::Dot: return Qt::DotLine;
    case LineStyle::DashDot: return Qt::DashDotLine;
    case LineStyle::DashDotDot: return Qt::DashDotDotLine;
    }
    return Qt::SolidLine;
}

QColor ColourOf(QRgb c) {
    return QColor::fromRgba(c);
}

QBrush BrushOf(const Shape& s) {
    return s.Fill ? QBrush(ColourOf(s.Brush.True), static_cast<Qt::BrushStyle>(s.Fill)) : QBrush(Qt::NoBrush);
}

QPen LinePen(const Shape& s) {
    return QPen(ColourOf(s.Pen.True), s.Width, PenStyleFor(s.Style), Qt::FlatCap);
}

// The outline of a hex, ellipse or polygon: its width and dashes; a dotted
// outline in round dots.
QPen RimPen(const Shape& s) {
    QPen pen(ColourOf(s.Pen.True), s.Width, PenStyleFor(s.Style));
    if (s.Style == LineStyle::Dot) {
        pen.setCapStyle(Qt::RoundCap);
        pen.setDashPattern({0.01, 2.2});
    }
    return pen;
}

}  // namespace

MapPainter::MapPainter(MapLayout layout) : layout_(std::move(layout)), m_(layout_.Frame.M) {
    for (const FontSpec& wanted : layout_.Picture.Fonts) {
        QFont font = MapFont(wanted.Points, true);
        font.setBold(wanted.Bold);
        const QFontMetricsF fm(font);
        fonts_.push_back(font);
        heights_.push_back(fm.height());
        ascents_.push_back(fm.ascent());
        maxWidths_.push_back(fm.maxWidth());
        charWidth_ = std::max(charWidth_, static_cast<int>(std::ceil(fm.maxWidth())));
        textHeight_ = std::max(textHeight_, static_cast<int>(std::ceil(fm.height())));
    }
}

MapPainter MapPainter::ForHexSize(const TUniverse& universe, int hexSize) {
    return MapPainter(LayoutMap(universe, LevelForHexSize(hexSize)));
}

void MapPainter::Paint(QPainter& p, const QRectF& area, const QPolygonF& exact) const {
    if (area.isEmpty()) return;
    p.save();
    p.setClipRect(QRectF(QPointF(0, 0), area.size()), Qt::IntersectClip);
    p.fillRect(QRectF(QPointF(0, 0), area.size()), QColor(kInkWhite));
    p.translate(-area.topLeft());
    if (!exact.isEmpty()) {
        QPainterPath outline;
        outline.addPolygon(exact);
        outline.closeSubpath();
        p.setClipPath(outline, Qt::IntersectClip);
    }
    const auto belongs = [&](const Shape& s) {
        return exact.isEmpty() || TextBelongsInside(exact, QRectF(s.A.x() - 1, s.A.y(), 2, heights_[s.Font]));
    };
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const DisplayList& list = layout_.Picture;
    const QRect inner = area.toAlignedRect();
    const QRect near = inner.adjusted(-2, -2, 2, 2);
    for (const ShapeGroup& g : list.Groups) {
        const bool whole = g.Always || Overlap(g.Reach, near);
        if (!whole && !TextsMayReach(g, near, charWidth_, textHeight_)) continue;
        for (std::uint32_t i = g.First; i < g.End; ++i) {
            const Shape& s = list.Shapes[i];
            if (s.Kind == ShapeKind::Text) {
                if ((whole || TextReaches(s, area)) && belongs(s)) PaintText(p, s, list.TextOf(s));
            } else if (s.Kind == ShapeKind::Grid) {
                PaintGrid(p, inner, s, exact);
            } else if (whole) {
                PaintShape(p, s);
            }
        }
    }
    p.restore();
}

void MapPainter::PaintShape(QPainter& p, const Shape& s) const {
    const DisplayList& list = layout_.Picture;
    switch (s.Kind) {
    case ShapeKind::Hex: {
        const auto outline = HexOutline(m_, s.A);
        p.setPen(RimPen(s));
        p.setBrush(BrushOf(s));
        p.drawPolygon(outline.data(), 6);
        break;
    }
    case ShapeKind::Ellipse:
        // A disc of one colour is its box filled; a rim is stroked on the box.
        if (IsDisc(s))
            p.setPen(Qt::NoPen);
        else
            p.setPen(RimPen(s));
        p.setBrush(BrushOf(s));
        p.drawEllipse(QRectF(QPointF(s.A), QPointF(s.B)));
        break;
    case ShapeKind::Ellipses:
        p.setPen(IsDisc(s) ? QPen(Qt::NoPen) : RimPen(s));
        p.setBrush(BrushOf(s));
        for (std::uint32_t i = 0; i < s.Count; ++i) {
            const Box b = EllipseBox(list, s, i);
            p.drawEllipse(QRectF(b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top));
        }
        break;
    case ShapeKind::Line:
        p.setPen(LinePen(s));
        p.drawLine(s.A, s.B);
        break;
    case ShapeKind::Polyline:
        p.setPen(LinePen(s));
        p.drawPolyline(list.Points.data() + s.First, static_cast<int>(s.Count));
        break;
    case ShapeKind::Polygon:
        p.setPen(RimPen(s));
        p.setBrush(BrushOf(s));
        p.drawPolygon(list.Points.data() + s.First, static_cast<int>(s.Count));
        break;
    default: break;
    }
}

bool MapPainter::TextReaches(const Shape& s, const QRectF& area) const {
    const double top = s.A.y(), bottom = top + heights_[s.Font];
    if (bottom + 2 < area.top() || top - 2 > area.bottom()) return false;
    // A bound on its width from the widest character (the whole width either
    // way for text that is not centred).
    const double bound = static_cast<double>(s.Count) * maxWidths_[s.Font] / (s.B.x() == kTextCentred ? 2 : 1) + 2;
    return s.A.x() + bound >= area.left() && s.A.x() - bound <= area.right();
}

void MapPainter::PaintText(QPainter& p, const Shape& s, const QString& text) const {
    if (text.isEmpty()) return;
    const QFont& font = fonts_[s.Font];
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    const double left = s.B.x() == kTextLeft ? s.A.x() : s.A.x() - width / 2;
    // Text stands on a white box, as in the raster picture, or on its own.
    const QRgb box = s.Fill ? s.Brush.True : kInkWhite;
    if (qAlpha(box) != 0) p.fillRect(QRectF(left, s.A.y(), width, heights_[s.Font]), ColourOf(box));
    p.setFont(font);
    p.setPen(ColourOf(s.Pen.True));
    p.drawText(QPointF(left, s.A.y() + ascents_[s.Font]), text);
}

void MapPainter::PaintGrid(QPainter& p, const QRect& inner, const Shape& grid, const QPolygonF& exact) const {
    const MapFrame& f = layout_.Frame;
    const CellSpan span = CellsReaching(f, inner);
    if (span.Empty()) return;
    // Every hex's own outline, as the raster picture draws it (neighbouring
    // outlines do not quite coincide at integer sizes), as separate lines:
    // one long path of all outlines would be stroked many times slower.
    std::vector<QLine> lines;
    lines.reserve(static_cast<std::size_t>(span.Last.x() - span.First.x() + 1) *
                  static_cast<std::size_t>(span.Last.y() - span.First.y() + 1) * 6);
    for (int c = span.First.x(); c <= span.Last.x(); ++c)
        for (int r = span.First.y(); r <= span.Last.y(); ++r) {
            const auto o = HexOutline(m_, CellCentre(f, c, r));
            for (std::size_t i = 0; i + 1 < o.size(); ++i) lines.emplace_back(o[i], o[i + 1]);
        }
    p.setPen(QPen(QColor(grid.Pen.True), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLines(lines.data(), static_cast<int>(lines.size()));
    if (!grid.Numbers) return;
    ForEachCellNumber(layout_.Picture, grid, span,
                      [&](const Shape& text, const QString& label) {
                          if (exact.isEmpty() ||
                              TextBelongsInside(exact, QRectF(text.A.x() - 1, text.A.y(), 2, heights_[text.Font])))
                              PaintText(p, text, label);
                      });
}

}  // namespace hexlane::render
