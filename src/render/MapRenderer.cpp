#include "MapRenderer.h"

#include "MapStyle.h"
#include "Palette.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cstring>

namespace hexlane::render {

namespace {

const QRgb kWhite = kInkWhite;
const QRgb kBlack = kInkBlack;

// A cosmetic pen: one pixel wide whatever the transformation.
QPen Pen(QRgb colour) {
    QPen pen{QColor(colour)};
    pen.setWidth(0);
    return pen;
}

// Palette indices of pixels by the top three bits of each channel, which
// tell the 16 colours apart; a pixel that is not exactly the colour found
// is looked up in full.
class PixelIndexer {
public:
    PixelIndexer() : colours_(Palette()) {
        byKey_.fill(pcWhite);
        for (int i = 0; i < kPaletteSize; ++i) byKey_[Key(colours_[static_cast<std::size_t>(i)])] = static_cast<std::uint8_t>(i);
    }
    // A row of pixels, without a branch on their colours; any pixel off the
    // palette sends the row through the full lookup.
    void Row(const QRgb* pixels, int width, std::uint8_t* out) const {
        QRgb off = 0;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t i = byKey_[Key(pixels[x])];
            off |= (colours_[i] ^ pixels[x]) & 0xFFFFFF;
            out[x] = i;
        }
        if (off != 0)
            for (int x = 0; x < width; ++x) out[x] = static_cast<std::uint8_t>(PixelPaletteIndex(pixels[x]));
    }

private:
    static std::size_t Key(QRgb c) { return ((c >> 15) & 0x1C0) | ((c >> 10) & 0x38) | ((c >> 5) & 0x7); }
    std::array<QRgb, kPaletteSize> colours_;
    std::array<std::uint8_t, 512> byKey_{};
};

void Ellipse(QPainter& p, const Box& b) {
    p.drawEllipse(QRect(b.Left, b.Top, b.Right - b.Left - 1, b.Bottom - b.Top - 1));
}

}  // namespace

MapRenderer::MapRenderer(TUniverse& universe) : MapRenderer(LayoutMap(universe)) {}

MapRenderer::MapRenderer(MapLayout layout) : layout_(std::move(layout)), m_(layout_.Frame.M) {
    int textHeight = 0;
    for (const FontSpec& wanted : layout_.Picture.Fonts) {
        QFont font = MapFont(wanted.Points, false);
        font.setBold(wanted.Bold);
        fonts_.push_back(font);
        metrics_.emplace_back(font);
        charWidth_ = std::max(charWidth_, metrics_.back().maxWidth());
        textHeight_ = std::max(textHeight_, metrics_.back().height());
    }
    if (!fonts_.empty() && !m_.DotsOnly()) textHeight = metrics_.front().height();
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

void MapRenderer::RenderIndices(const QRect& rect, std::uint8_t* indices, int stride, QImage* scratch,
                                std::int64_t scratchBytes) const {
    if (rect.isEmpty()) return;
    QImage local;
    QImage& full = scratch ? *scratch : local;
    static const PixelIndexer indexer;
    // Slices of one width (the last one moved back to end at the rectangle's
    // edge), so one working image serves them all; each is drawn alone, as
    // any piece of the picture can be, with its own margins.
    const std::int64_t columnBytes = (static_cast<std::int64_t>(rect.height()) + 2 * marginY_) * 4;
    const std::int64_t fits = scratchBytes / columnBytes - 2 * marginX_;
    const int sliceWidth = static_cast<int>(std::clamp<std::int64_t>(fits, std::min(rect.width(), 4 * marginX_ + 64), rect.width()));
    for (int left = 0; left < rect.width(); left += sliceWidth) {
        const int from = std::min(left, rect.width() - sliceWidth);
        RenderInto(full, QRect(rect.x() + from, rect.y(), sliceWidth, rect.height()));
        for (int y = 0; y < rect.height(); ++y) {
            std::uint8_t* out = indices + static_cast<std::ptrdiff_t>(y) * stride + from;
            if (full.isNull()) {
                std::memset(out, pcWhite, static_cast<std::size_t>(sliceWidth));
                continue;
            }
            const auto* src = reinterpret_cast<const QRgb*>(full.constScanLine(marginY_ + y)) + marginX_;
            indexer.Row(src, sliceWidth, out);
        }
    }
}

void MapRenderer::RenderInto(QImage& image, const QRect& rect) const {
    const QSize size(rect.width() + 2 * marginX_, rect.height() + 2 * marginY_);
    if (image.size() != size || image.format() != QImage::Format_RGB32) {
        image = QImage();  // the old one goes first: never both at once
        image = QImage(size, QImage::Format_RGB32);
    }
    if (image.isNull()) return;
    image.fill(kWhite);
    const QPoint origin(rect.x() - marginX_, rect.y() - marginY_);  // picture point of the image's corner
    const QRect picture(QPoint(0, 0), layout_.Size);
    if (layout_.Frame.HasExtent()) DrawList(image, origin, rect);
    // The picture ends at its own size; around it everything is white.
    const QRect inside = picture.translated(-origin).intersected(image.rect());
    if (inside != image.rect()) {
        QPainter p(&image);
        const QRegion outside = QRegion(image.rect()).subtracted(QRegion(inside));
        for (const QRect& r : outside) p.fillRect(r, QColor(kWhite));
    }
}

void MapRenderer::DrawList(QImage& image, QPoint origin, const QRect& inner) const {
    const DisplayList& list = layout_.Picture;
    // QPainter draws the areas and texts; lines go straight into the pixels
    // (LineRaster), with the painter ended in between.
    QPainter p;
    auto paint = [&] {
        if (p.isActive()) return;
        p.begin(&image);
        p.translate(-origin);
        // Hatches follow the brush origin through the translation, so they
        // line up with the picture's own origin in every piece.
        p.setBrushOrigin(0, 0);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
    };
    PixelWindow window;
    auto pixels = [&]() -> PixelWindow& {
        if (p.isActive()) p.end();
        window.Bits = reinterpret_cast<std::uint32_t*>(image.bits());
        window.Stride = static_cast<int>(image.bytesPerLine() / 4);
        window.Width = image.width();
        window.Height = image.height();
        window.OriginX = origin.x();
        window.OriginY = origin.y();
        return window;
    };
    for (const std::uint32_t index : list.GroupsNear(inner)) {
        const ShapeGroup& g = list.Groups[index];
        const bool whole = g.Always || Overlap(g.Reach, inner);
        if (!whole && !TextsMayReach(g, inner, charWidth_, textHeight_)) continue;
        for (std::uint32_t i = g.First; i < g.End; ++i) {
            const Shape& s = list.Shapes[i];
            switch (s.Kind) {
            case ShapeKind::Grid:
                paint();
                DrawGrid(p, inner, s);
                break;
            case ShapeKind::Text:
                if (!whole && !TextTouches(s, inner)) break;
                paint();
                DrawText(p, s, list.TextOf(s));
                break;
            case ShapeKind::Line:
                DrawLine(pixels(), s.A.x(), s.A.y(), s.B.x(), s.B.y(), s.Pen.Palette, s.Width, s.Style);
                break;
            case ShapeKind::Polyline:
                for (std::uint32_t k = s.First; k + 1 < s.First + s.Count; ++k) {
                    const QPoint a = list.Points[k], b = list.Points[k + 1];
                    DrawLine(pixels(), a.x(), a.y(), b.x(), b.y(), s.Pen.Palette, s.Width, s.Style);
                }
                break;
            default:
                if (!whole) break;
                paint();
                DrawShape(p, s);
            }
        }
    }
}

void MapRenderer::DrawShape(QPainter& p, const Shape& s) const {
    const DisplayList& list = layout_.Picture;
    p.setPen(Pen(s.Pen.Palette));
    p.setBrush(s.Fill ? QBrush(QColor(s.Brush.Palette), static_cast<Qt::BrushStyle>(s.Fill)) : QBrush(Qt::NoBrush));
    switch (s.Kind) {
    case ShapeKind::Hex: {
        const auto outline = HexOutline(m_, s.A);
        p.drawPolygon(outline.data(), 6);
        break;
    }
    case ShapeKind::Ellipse: Ellipse(p, Box{s.A.x(), s.A.y(), s.B.x(), s.B.y()}); break;
    case ShapeKind::Ellipses:
        for (std::uint32_t i = 0; i < s.Count; ++i) Ellipse(p, EllipseBox(list, s, i));
        break;
    case ShapeKind::Polygon: p.drawPolygon(list.Points.data() + s.First, static_cast<int>(s.Count)); break;
    default: break;
    }
}

bool MapRenderer::TextTouches(const Shape& s, const QRect& inner) const {
    const QFontMetrics& fm = metrics_[s.Font];
    if (s.A.y() + fm.height() < inner.top() || s.A.y() > inner.bottom() + 1) return false;
    // An upper bound first: measuring every name would cost more than drawing.
    const int cx = s.A.x(), slack = 2;
    const int bound = static_cast<int>(s.Count) * fm.maxWidth() / 2 + 1 + slack;
    if (cx + bound < inner.left() || cx - bound > inner.right()) return false;
    const int width = fm.horizontalAdvance(layout_.Picture.TextOf(s));
    return cx - width / 2 - slack <= inner.right() && cx - width / 2 + width + slack > inner.left();
}

void MapRenderer::DrawText(QPainter& p, const Shape& s, const QString& text) const {
    const QFontMetrics& fm = metrics_[s.Font];
    const int width = fm.horizontalAdvance(text);
    if (width <= 0) return;
    const QPoint topLeft(s.A.x() - width / 2, s.A.y());
    p.fillRect(QRect(topLeft, QSize(width, fm.height())), QColor(kWhite));
    if (p.font() != fonts_[s.Font]) p.setFont(fonts_[s.Font]);
    p.setPen(QColor(s.Pen.Palette));
    p.drawText(QPoint(topLeft.x(), topLeft.y() + fm.ascent()), text);
}

void MapRenderer::DrawGrid(QPainter& p, const QRect& inner, const Shape& grid) const {
    const MapFrame& f = layout_.Frame;
    const CellSpan span = CellsReaching(f, inner);
    if (span.Empty()) return;
    const int H = m_.H, W = m_.W;
    Shape number;
    number.Kind = ShapeKind::Text;
    number.Font = grid.Font;
    number.Pen = Ink::Both(kBlack);
    for (int c = span.First.x(); c <= span.Last.x(); ++c) {
        for (int r = span.First.y(); r <= span.Last.y(); ++r) {
            const QPoint centre = CellCentre(f, c, r);
            if (!QRect(centre.x() - W, centre.y() - H, 2 * W + 1, 2 * H + 1).intersects(inner)) continue;
            const auto outline = HexOutline(m_, centre);
            p.setPen(Pen(grid.Pen.Palette));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(outline.data(), static_cast<int>(outline.size()));
            if (grid.Numbers) {
                number.A = QPoint(centre.x(), HexNumberOrigin(m_, centre, 0).y());
                DrawText(p, number, QString::fromLatin1(CellHexNumber(f, c, r, grid.SectorAddressing)));
            }
        }
    }
}

}  // namespace hexlane::render
