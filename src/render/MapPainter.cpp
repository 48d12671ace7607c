#include "MapPainter.h"

#include "DefineUniverse.h"
#include "MapStyle.h"
#include "MapText.h"
#include "Palette.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace hexlane::render {

namespace {

QRectF EllipseRect(const Box& b) {
    return QRectF(b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top);
}

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

}  // namespace

MapPainter::MapPainter(MapLayout layout)
    : layout_(std::move(layout)),
      m_(layout_.Frame.M),
      textFont_(MapFont(m_.FontSize > 0 ? m_.FontSize : 7, true)),
      numberFont_(MapFont(10, true)) {
    const QFontMetricsF text(textFont_), number(numberFont_);
    textHeight_ = text.height();
    textAscent_ = text.ascent();
    textMaxWidth_ = text.maxWidth();
    numberHeight_ = number.height();
    numberAscent_ = number.ascent();
    const double textReach = m_.DotsOnly() ? 0 : textHeight_;
    reachX_ = std::max(m_.W, m_.R + m_.D) + 2;
    reachUp_ = std::max<double>({double(m_.H), double(m_.R + m_.D), m_.Rise + textReach}) + 2;
    reachDown_ = std::max<double>({double(m_.H), 6.0 * m_.D, m_.D + textReach}) + 2;
}

MapPainter MapPainter::ForHexSize(const TUniverse& universe, int hexSize) {
    return MapPainter(LayoutMap(universe, LevelForHexSize(hexSize)));
}

void MapPainter::Paint(QPainter& p, const QRectF& area) const {
    if (area.isEmpty()) return;
    p.save();
    p.setClipRect(QRectF(QPointF(0, 0), area.size()), Qt::IntersectClip);
    p.fillRect(QRectF(QPointF(0, 0), area.size()), QColor(kInkWhite));
    p.translate(-area.topLeft());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (layout_.Frame.HasExtent()) {
        const QRect inner = area.toAlignedRect();
        PaintGrid(p, inner);
        for (const StarPlacement& s : layout_.Stars)
            if (StarReaches(s, area)) PaintStar(p, s);
        PaintLines(p);
    }
    p.restore();
}

void MapPainter::PaintText(QPainter& p, QPointF centreTop, const QString& text, const QFont& font, QRgb ink) const {
    if (text.isEmpty()) return;
    const bool number = &font == &numberFont_;
    const QFontMetricsF fm(font);
    const double width = fm.horizontalAdvance(text);
    const double left = centreTop.x() - width / 2;
    // Text stands on a white box, as in the raster picture.
    p.fillRect(QRectF(left, centreTop.y(), width, number ? numberHeight_ : textHeight_), QColor(kInkWhite));
    p.setFont(font);
    p.setPen(QColor(ink));
    p.drawText(QPointF(left, centreTop.y() + (number ? numberAscent_ : textAscent_)), text);
}

void MapPainter::PaintGrid(QPainter& p, const QRect& inner) const {
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
    p.setPen(QPen(QColor(kInkSilver), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawLines(lines.data(), static_cast<int>(lines.size()));
    if (!m_.HexNumbers()) return;
    for (int c = span.First.x(); c <= span.Last.x(); ++c)
        for (int r = span.First.y(); r <= span.Last.y(); ++r) {
            const QPoint centre = CellCentre(f, c, r);
            const QString label = QString::fromLatin1(CellHexNumber(f, c, r, layout_.Show.SectorHexAddressing));
            PaintText(p, QPointF(centre.x(), HexNumberOrigin(m_, centre, 0).y()), label, numberFont_, kInkBlack);
        }
}

bool MapPainter::StarReaches(const StarPlacement& s, const QRectF& area) const {
    const double cx = s.Centre.x(), cy = s.Centre.y();
    if (cy + reachDown_ < area.top() || cy - reachUp_ > area.bottom()) return false;
    if (cx + reachX_ >= area.left() && cx - reachX_ <= area.right()) return true;
    if (m_.DotsOnly() || !(layout_.Show.Names || layout_.Show.Starports)) return false;
    // Only a name or a starport text could still reach the area: a bound on
    // their width from the longest text.
    const std::size_t chars = std::max(s.Star->Name1.size(), s.Star->Starport.size());
    const double bound = static_cast<double>(chars) * textMaxWidth_ / 2 + 1;
    return cx + bound >= area.left() && cx - bound <= area.right();
}

void MapPainter::PaintStar(QPainter& p, const StarPlacement& s) const {
    const TStar& star = *s.Star;
    const QPoint centre = s.Centre;
    if (layout_.Show.AllegianceColors) {
        const TUniverse* u = star.Universe();
        if (const TAllegiance* a = u ? u->FindAllegiance(star.Allegiance) : nullptr) {
            const auto outline = HexOutline(m_, centre);
            p.setPen(QPen(QColor(kInkSilver), 1.0));
            p.setBrush(QBrush(QColor(MapColourToRgb(a->Color)), HatchFor(a->Style)));
            p.drawPolygon(outline.data(), 6);
        }
    }
    if (m_.HexNumbers()) {
        const QString label = QString::fromLatin1(StarHexNumber(star, layout_.Show.SectorHexAddressing));
        PaintText(p, QPointF(centre.x(), HexNumberOrigin(m_, centre, 0).y()), label, numberFont_, kInkBlack);
    }
    if (m_.DotsOnly()) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(kInkBlack));
        p.drawEllipse(EllipseRect(SystemDotBox(centre)));
        return;
    }
    PaintSizedSystem(p, star, centre);
}

void MapPainter::PaintSizedSystem(QPainter& p, const TStar& star, QPoint centre) const {
    if (star.TravelZoneCode == tzcAmber) {
        p.setPen(QPen(QColor(kInkYellow), 1.0));
        p.setBrush(QColor(kInkYellow));
        p.drawEllipse(EllipseRect(TravelZoneBox(m_, centre)));
    } else if (star.TravelZoneCode == tzcRed) {
        p.setPen(QPen(QColor(kInkRed), 1.0));
        p.setBrush(QColor(kInkWhite));
        p.drawEllipse(EllipseRect(TravelZoneBox(m_, centre)));
    }
    if (layout_.Show.SystemContents) {
        p.setPen(QPen(QColor(kInkBlack), 1.0));
        p.setBrush(QColor(kInkWhite));
        for (const Box& b : ContentMarkerBoxes(m_, centre, star.SystemContent)) p.drawEllipse(EllipseRect(b));
    }
    const QColor world(star.HydroIndex() > 3 ? kInkBlue : kInkBlack);
    p.setPen(Qt::NoPen);
    p.setBrush(world);
    if (star.PSUPCCode() != '0') {
        p.drawEllipse(EllipseRect(WorldBox(m_, centre)));
    } else {
        for (const Box& b : BeltDotBoxes(m_, centre)) p.drawEllipse(EllipseRect(b));
    }
    if (layout_.Show.Names)
        PaintText(p, QPointF(centre.x(), NameOrigin(m_, centre, 0).y()), NameText(star), textFont_,
                  star.Visited ? kInkBlue : kInkBlack);
    if (layout_.Show.Starports)
        PaintText(p, QPointF(centre.x(), StarportOrigin(m_, centre, 0).y()), MapText(star.Starport), textFont_,
                  kInkBlack);
}

void MapPainter::PaintLines(QPainter& p) const {
    p.setBrush(Qt::NoBrush);
    if (layout_.Show.Routes) {
        for (const LegPlacement& leg : layout_.Legs) {
            QPen pen(QColor(leg.TrueColour), leg.Width, PenStyleFor(leg.Style), Qt::FlatCap);
            p.setPen(pen);
            p.drawLine(leg.From, leg.To);
        }
    }
    auto boundaries = [&](const std::vector<QLine>& lines, QRgb ink) {
        p.setPen(QPen(QColor(ink), 1.0));
        p.drawLines(lines.data(), static_cast<int>(lines.size()));
    };
    if (layout_.Show.SubsectorLines) boundaries(SubsectorLines(layout_.Frame), kInkBlue);
    if (layout_.Show.SectorLines) boundaries(SectorLines(layout_.Frame), kInkRed);
}

}  // namespace hexlane::render
