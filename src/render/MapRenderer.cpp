#include "MapRenderer.h"

#include "DefineUniverse.h"
#include "MapStyle.h"
#include "MapText.h"
#include "Palette.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace hexlane::render {

namespace {

const QRgb kWhite = kInkWhite;
const QRgb kSilver = kInkSilver;
const QRgb kYellow = kInkYellow;
const QRgb kRed = kInkRed;
const QRgb kBlue = kInkBlue;
const QRgb kBlack = kInkBlack;

// A cosmetic pen: one pixel wide whatever the transformation.
QPen Pen(QRgb colour) {
    QPen pen{QColor(colour)};
    pen.setWidth(0);
    return pen;
}

void Ellipse(QPainter& p, const Box& b) {
    p.drawEllipse(QRect(b.Left, b.Top, b.Right - b.Left - 1, b.Bottom - b.Top - 1));
}

}  // namespace

MapRenderer::MapRenderer(TUniverse& universe) : MapRenderer(LayoutMap(universe)) {}

MapRenderer::MapRenderer(MapLayout layout)
    : layout_(std::move(layout)),
      m_(layout_.Frame.M),
      textFont_(MapFont(m_.FontSize > 0 ? m_.FontSize : 7, false)),
      numberFont_(MapFont(10, false)),
      textMetrics_(textFont_),
      numberMetrics_(numberFont_) {
    const int textHeight = m_.DotsOnly() ? 0 : textMetrics_.height();
    extentX_ = std::max(m_.W, m_.R + m_.D) + 1;
    extentUp_ = std::max({m_.H, m_.R + m_.D, m_.Rise}) + 1;
    extentDown_ = std::max({m_.H, 6 * m_.D, m_.D + textHeight}) + 1;
    // A shape that touches a piece lies wholly inside the piece and its
    // margin, so nothing that reaches the piece is cut by the image's edge.
    marginX_ = 2 * extentX_ + 2;
    marginY_ = extentUp_ + extentDown_ + 2;
}

QImage MapRenderer::Render(const QRect& rect) const {
    if (rect.isEmpty()) return {};
    auto* full = new QImage;
    RenderInto(*full, rect);
    if (full->isNull()) {
        delete full;
        return {};
    }
    // The inside of the drawn image, without copying it: the image returned
    // keeps the whole buffer alive.
    const qsizetype bpl = full->bytesPerLine();
    uchar* inside = full->bits() + marginY_ * bpl + static_cast<qsizetype>(marginX_) * 4;
    return QImage(
        inside, rect.width(), rect.height(), bpl, QImage::Format_RGB32,
        [](void* image) { delete static_cast<QImage*>(image); }, full);
}

void MapRenderer::Draw(QPainter& painter, const QRect& rect, QPoint target) const {
    QImage full;
    RenderInto(full, rect);
    if (!full.isNull()) painter.drawImage(target, full, QRect(marginX_, marginY_, rect.width(), rect.height()));
}

void MapRenderer::RenderIndices(const QRect& rect, std::uint8_t* indices, int stride, QImage* scratch) const {
    QImage local;
    QImage& full = scratch ? *scratch : local;
    RenderInto(full, rect);
    for (int y = 0; y < rect.height(); ++y) {
        std::uint8_t* out = indices + static_cast<std::ptrdiff_t>(y) * stride;
        if (full.isNull()) {
            std::memset(out, pcWhite, static_cast<std::size_t>(rect.width()));
            continue;
        }
        const auto* src = reinterpret_cast<const QRgb*>(full.constScanLine(marginY_ + y)) + marginX_;
        QRgb last = kWhite;
        std::uint8_t lastIndex = pcWhite;
        for (int x = 0; x < rect.width(); ++x) {
            if (src[x] != last) {
                last = src[x];
                lastIndex = static_cast<std::uint8_t>(PixelPaletteIndex(last));
            }
            out[x] = lastIndex;
        }
    }
}

void MapRenderer::RenderInto(QImage& image, const QRect& rect) const {
    const QSize size(rect.width() + 2 * marginX_, rect.height() + 2 * marginY_);
    if (image.size() != size || image.format() != QImage::Format_RGB32) image = QImage(size, QImage::Format_RGB32);
    if (image.isNull()) return;
    image.fill(kWhite);
    const QPoint origin(rect.x() - marginX_, rect.y() - marginY_);  // picture point of the image's corner
    const QRect picture(QPoint(0, 0), layout_.Size);
    if (layout_.Frame.HasExtent()) {
        QPainter p(&image);
        p.translate(-origin);
        // Hatches follow the brush origin through the translation, so they
        // line up with the picture's own origin in every piece.
        p.setBrushOrigin(0, 0);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        DrawGrid(p, rect);
        DrawStars(p, rect);
        p.end();
        DrawLines(image, origin);
    }
    // The picture ends at its own size; around it everything is white.
    const QRect inside = picture.translated(-origin).intersected(image.rect());
    if (inside != image.rect()) {
        QPainter p(&image);
        const QRegion outside = QRegion(image.rect()).subtracted(QRegion(inside));
        for (const QRect& r : outside) p.fillRect(r, QColor(kWhite));
    }
}

void MapRenderer::DrawText(QPainter& p, QPoint topLeft, const QString& text, int width, const QFontMetrics& fm,
                           QRgb ink) const {
    if (width <= 0) return;
    p.fillRect(QRect(topLeft, QSize(width, fm.height())), QColor(kWhite));
    p.setPen(QColor(ink));
    p.drawText(QPoint(topLeft.x(), topLeft.y() + fm.ascent()), text);
}

void MapRenderer::DrawGrid(QPainter& p, const QRect& inner) const {
    const MapFrame& f = layout_.Frame;
    const CellSpan span = CellsReaching(f, inner);
    if (span.Empty()) return;
    const int H = m_.H, W = m_.W;

    p.setPen(Pen(kSilver));
    p.setBrush(Qt::NoBrush);
    p.setFont(numberFont_);
    for (int c = span.First.x(); c <= span.Last.x(); ++c) {
        for (int r = span.First.y(); r <= span.Last.y(); ++r) {
            const QPoint centre = CellCentre(f, c, r);
            if (!QRect(centre.x() - W, centre.y() - H, 2 * W + 1, 2 * H + 1).intersects(inner)) continue;
            const auto outline = HexOutline(m_, centre);
            p.drawPolyline(outline.data(), static_cast<int>(outline.size()));
            if (m_.HexNumbers()) {
                const QString label = QString::fromLatin1(CellHexNumber(f, c, r, layout_.Show.SectorHexAddressing));
                const int width = numberMetrics_.horizontalAdvance(label);
                DrawText(p, HexNumberOrigin(m_, centre, width), label, width, numberMetrics_, kBlack);
                p.setPen(Pen(kSilver));
            }
        }
    }
}

bool MapRenderer::StarTouches(const StarPlacement& s, const QRect& inner) const {
    const int cx = s.Centre.x(), cy = s.Centre.y();
    if (cy + extentDown_ < inner.top() || cy - extentUp_ > inner.bottom()) return false;
    if (cx + extentX_ >= inner.left() && cx - extentX_ <= inner.right()) return true;
    if (m_.DotsOnly()) return false;
    // Only a name or a starport text could still reach the piece.
    const TStar& star = *s.Star;
    auto reaches = [&](const std::string& raw, bool isName) {
        if (raw.empty()) return false;
        // An upper bound first: measuring every name would cost more than drawing.
        const int bound = static_cast<int>(raw.size()) * textMetrics_.maxWidth() / 2 + 1;
        if (cx + bound < inner.left() || cx - bound > inner.right()) return false;
        const int width = textMetrics_.horizontalAdvance(isName ? NameText(star) : MapText(raw));
        return cx - width / 2 <= inner.right() && cx - width / 2 + width > inner.left();
    };
    if (layout_.Show.Names && reaches(star.Name1, true)) return true;
    return layout_.Show.Starports && reaches(star.Starport, false);
}

void MapRenderer::DrawStars(QPainter& p, const QRect& inner) const {
    p.setFont(textFont_);
    for (const StarPlacement& s : layout_.Stars)
        if (StarTouches(s, inner)) DrawStar(p, s);
}

void MapRenderer::DrawStar(QPainter& p, const StarPlacement& s) const {
    const TStar& star = *s.Star;
    const QPoint centre = s.Centre;
    if (layout_.Show.AllegianceColors) {
        // A star whose Allegiance names no existing allegiance gets no fill
        // of its own: its hex stays as the grid drew it.
        const TUniverse* u = star.Universe();
        if (const TAllegiance* a = u ? u->FindAllegiance(star.Allegiance) : nullptr) {
            const auto outline = HexOutline(m_, centre);
            p.setPen(Pen(kSilver));
            p.setBrush(QBrush(QColor(MapColourOnPalette(a->Color)), HatchFor(a->Style)));
            p.drawPolygon(outline.data(), 6);
        }
    }
    if (m_.HexNumbers()) {
        const QString label = QString::fromLatin1(StarHexNumber(star, layout_.Show.SectorHexAddressing));
        const int width = numberMetrics_.horizontalAdvance(label);
        p.setFont(numberFont_);
        DrawText(p, HexNumberOrigin(m_, centre, width), label, width, numberMetrics_, kBlack);
        p.setFont(textFont_);
    }
    if (m_.DotsOnly()) {
        p.setPen(Pen(kBlack));
        p.setBrush(QColor(kBlack));
        Ellipse(p, SystemDotBox(centre));
        return;
    }
    DrawSizedSystem(p, star, centre);
}

void MapRenderer::DrawSizedSystem(QPainter& p, const TStar& star, QPoint centre) const {
    if (star.TravelZoneCode == tzcAmber) {
        p.setPen(Pen(kYellow));
        p.setBrush(QColor(kYellow));
        Ellipse(p, TravelZoneBox(m_, centre));
    } else if (star.TravelZoneCode == tzcRed) {
        p.setPen(Pen(kRed));
        p.setBrush(QColor(kWhite));
        Ellipse(p, TravelZoneBox(m_, centre));
    }
    if (layout_.Show.SystemContents) {
        p.setPen(Pen(kBlack));
        p.setBrush(QColor(kWhite));
        for (const Box& b : ContentMarkerBoxes(m_, centre, star.SystemContent)) Ellipse(p, b);
    }
    const QRgb world = star.HydroIndex() > 3 ? kBlue : kBlack;
    p.setPen(Pen(world));
    p.setBrush(QColor(world));
    if (star.PSUPCCode() != '0') {
        Ellipse(p, WorldBox(m_, centre));
    } else {
        for (const Box& b : BeltDotBoxes(m_, centre)) Ellipse(p, b);
    }
    if (layout_.Show.Names) {
        const QString name = NameText(star);
        const int width = textMetrics_.horizontalAdvance(name);
        DrawText(p, NameOrigin(m_, centre, width), name, width, textMetrics_, star.Visited ? kBlue : kBlack);
    }
    if (layout_.Show.Starports) {
        const QString port = MapText(star.Starport);
        const int width = textMetrics_.horizontalAdvance(port);
        DrawText(p, StarportOrigin(m_, centre, width), port, width, textMetrics_, kBlack);
    }
}

void MapRenderer::DrawLines(QImage& image, QPoint origin) const {
    PixelWindow window;
    window.Bits = reinterpret_cast<std::uint32_t*>(image.bits());
    window.Stride = static_cast<int>(image.bytesPerLine() / 4);
    window.Width = image.width();
    window.Height = image.height();
    window.OriginX = origin.x();
    window.OriginY = origin.y();
    if (layout_.Show.Routes)
        for (const LegPlacement& leg : layout_.Legs)
            DrawLine(window, leg.From.x(), leg.From.y(), leg.To.x(), leg.To.y(), leg.Colour, leg.Width, leg.Style);
    if (layout_.Show.SubsectorLines)
        for (const QLine& l : SubsectorLines(layout_.Frame))
            DrawLine(window, l.x1(), l.y1(), l.x2(), l.y2(), kBlue, 1, LineStyle::Solid);
    if (layout_.Show.SectorLines)
        for (const QLine& l : SectorLines(layout_.Frame))
            DrawLine(window, l.x1(), l.y1(), l.x2(), l.y2(), kRed, 1, LineStyle::Solid);
}

}  // namespace hexlane::render
