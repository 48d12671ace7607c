#include "SvgWriter.h"

#include "ExactPart.h"
#include "MapStyle.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace hexlane::render {

namespace {

// Numbers as SVG wants them: no exponent, no needless digits.
std::string Num(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.3f", v);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Colour(QRgb c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
    return buffer;
}

// The opacity attribute of a translucent colour (none for an opaque one).
std::string Opacity(const char* attribute, QRgb c) {
    if (qAlpha(c) == 255) return {};
    return std::string(" ") + attribute + "=\"" + Num(qAlpha(c) / 255.0) + "\"";
}

// Text content or an attribute value: UTF-8 with the XML specials escaped
// and control characters (not allowed in XML) as spaces.
std::string Escaped(const QString& text) {
    std::string out;
    for (char c : text.toUtf8().toStdString()) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += (static_cast<unsigned char>(c) < 0x20) ? ' ' : c;
        }
    }
    return out;
}

// The dash pattern of a line style in multiples of the pen's width, as Qt
// draws them.
std::string Dashes(LineStyle style, int width) {
    std::vector<int> units;
    switch (style) {
    case LineStyle::Solid: return {};
    case LineStyle::Dash: units = {4, 2}; break;
    case LineStyle::Dot: units = {1, 2}; break;
    case LineStyle::DashDot: units = {4, 2, 1, 2}; break;
    case LineStyle::DashDotDot: units = {4, 2, 1, 2, 1, 2}; break;
    }
    std::string out = " stroke-dasharray=\"";
    for (std::size_t i = 0; i < units.size(); ++i) out += (i ? "," : "") + std::to_string(units[i] * width);
    return out + "\"";
}

class Svg {
public:
    Svg(const DisplayList& list, std::FILE* out, double scale) : list_(list), out_(out), scale_(scale) {
        for (const FontSpec& wanted : list.Fonts) {
            QFont font = MapFont(wanted.Points, true);
            font.setBold(wanted.Bold);
            metrics_.emplace_back(font);
            pixels_.push_back(FontPixelSize(wanted.Points));
            CharWidth = std::max(CharWidth, static_cast<int>(std::ceil(metrics_.back().maxWidth())));
            TextHeight = std::max(TextHeight, static_cast<int>(std::ceil(metrics_.back().height())));
        }
    }

    int CharWidth = 0, TextHeight = 0;  // the widest character and the highest line of the fonts

    // Texts left out of an exact part: those of the hexes outside it.
    QPolygonF Exact;
    bool Belongs(const Shape& s) const {
        return Exact.isEmpty() ||
               TextBelongsInside(Exact, QRectF(s.A.x() - 1, s.A.y(), 2, metrics_[s.Font].height()));
    }

    void Put(const std::string& s) { std::fwrite(s.data(), 1, s.size(), out_); }
    bool Good() const { return std::ferror(out_) == 0; }

    bool TextReaches(const Shape& s, const QRectF& area) const {
        const QFontMetricsF& fm = metrics_[s.Font];
        if (s.A.y() + fm.height() + 2 < area.top() || s.A.y() - 2 > area.bottom()) return false;
        const double bound = static_cast<double>(s.Count) * fm.maxWidth() / (s.B.x() == kTextCentred ? 2 : 1) + 2;
        return s.A.x() + bound >= area.left() && s.A.x() - bound <= area.right();
    }

    void Text(const Shape& s, const QString& text) {
        const QFontMetricsF& fm = metrics_[s.Font];
        const double width = fm.horizontalAdvance(text);
        const double left = s.B.x() == kTextLeft ? s.A.x() : s.A.x() - width / 2;
        // Text stands on a white box, as in the raster picture, or on its own.
        const QRgb box = s.Fill ? s.Brush.True : kInkWhite;
        if (qAlpha(box) != 0)
            Put("<rect x=\"" + Num(left) + "\" y=\"" + Num(s.A.y()) + "\" width=\"" + Num(width) + "\" height=\"" +
                Num(fm.height()) + "\" fill=\"" + Colour(box) + "\"" + Opacity("fill-opacity", box) + "/>\n");
        Put("<text x=\"" + Num(left) + "\" y=\"" + Num(s.A.y() + fm.ascent()) + "\" font-family=\"Arial\" font-size=\"" +
            std::to_string(pixels_[s.Font]) + "px\"" + (list_.Fonts[s.Font].Bold ? " font-weight=\"bold\"" : "") +
            " fill=\"" + Colour(s.Pen.True) + "\"" + Opacity("fill-opacity", s.Pen.True) + ">" + Escaped(text) +
            "</text>\n");
    }

    // The fill attribute of a shape: a colour, a hatch pattern (defined at
    // its first use) or none.
    std::string Fill(const Shape& s) {
        const auto style = static_cast<Qt::BrushStyle>(s.Fill);
        if (style == Qt::NoBrush) return "none";
        if (style == Qt::SolidPattern) return Colour(s.Brush.True);
        const std::string id = "hatch" + std::to_string(s.Fill) + Colour(s.Brush.True).substr(1);
        if (patterns_.insert(id).second) {
            // Hatches keep their spacing in output pixels at any scale, as
            // QPainter draws them: lines one pixel wide, four apart.
            const std::string n = Num(4 / scale_), half = Num(0.5 / scale_);
            const std::string ink = "stroke=\"" + Colour(s.Brush.True) + "\" stroke-width=\"" + Num(1 / scale_) + "\"";
            std::string lines;
            if (style == Qt::HorPattern || style == Qt::CrossPattern)
                lines += "<line x1=\"0\" y1=\"" + half + "\" x2=\"" + n + "\" y2=\"" + half + "\" " + ink + "/>";
            if (style == Qt::VerPattern || style == Qt::CrossPattern)
                lines += "<line x1=\"" + half + "\" y1=\"0\" x2=\"" + half + "\" y2=\"" + n + "\" " + ink + "/>";
            if (style == Qt::FDiagPattern || style == Qt::DiagCrossPattern)
                lines += "<line x1=\"0\" y1=\"0\" x2=\"" + n + "\" y2=\"" + n + "\" " + ink + "/>";
            if (style == Qt::BDiagPattern || style == Qt::DiagCrossPattern)
                lines += "<line x1=\"" + n + "\" y1=\"0\" x2=\"0\" y2=\"" + n + "\" " + ink + "/>";
            Put("<defs><pattern id=\"" + id + "\" patternUnits=\"userSpaceOnUse\" width=\"" + n + "\" height=\"" + n +
                "\">" + lines + "</pattern></defs>\n");
        }
        return "url(#" + id + ")";
    }

    static std::string Points(const QPoint* p, std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i) out += (i ? " " : "") + std::to_string(p[i].x()) + "," + std::to_string(p[i].y());
        return out;
    }

    void Draw(const Shape& s) {
        switch (s.Kind) {
        case ShapeKind::Hex: {
            const auto o = HexOutline(list_.M(), s.A);
            Put("<polygon points=\"" + Points(o.data(), 6) + "\" fill=\"" + Fill(s) + "\"" + Rim(s) + "/>\n");
            break;
        }
        case ShapeKind::Ellipse: Ellipse(s, Box{s.A.x(), s.A.y(), s.B.x(), s.B.y()}); break;
        case ShapeKind::Ellipses:
            for (std::uint32_t i = 0; i < s.Count; ++i) Ellipse(s, EllipseBox(list_, s, i));
            break;
        case ShapeKind::Line:
            Put("<line x1=\"" + std::to_string(s.A.x()) + "\" y1=\"" + std::to_string(s.A.y()) + "\" x2=\"" +
                std::to_string(s.B.x()) + "\" y2=\"" + std::to_string(s.B.y()) + "\"" + Stroke(s) + "/>\n");
            break;
        case ShapeKind::Polyline:
            Put("<polyline points=\"" + Points(list_.Points.data() + s.First, s.Count) + "\" fill=\"none\"" +
                Stroke(s) + "/>\n");
            break;
        case ShapeKind::Polygon:
            Put("<polygon points=\"" + Points(list_.Points.data() + s.First, s.Count) + "\" fill=\"" + Fill(s) + "\"" +
                Rim(s) + "/>\n");
            break;
        default: break;
        }
    }

    void Ellipse(const Shape& s, const Box& b) {
        const std::string rim = IsDisc(s) ? Opacity("fill-opacity", s.Brush.True) : Rim(s);
        Put("<ellipse cx=\"" + Num((b.Left + b.Right) / 2.0) + "\" cy=\"" + Num((b.Top + b.Bottom) / 2.0) + "\" rx=\"" +
            Num((b.Right - b.Left) / 2.0) + "\" ry=\"" + Num((b.Bottom - b.Top) / 2.0) + "\" fill=\"" + Fill(s) + "\"" + rim +
            "/>\n");
    }

    std::string Stroke(const Shape& s) const {
        return " stroke=\"" + Colour(s.Pen.True) + "\" stroke-width=\"" + std::to_string(s.Width) +
               "\" stroke-linecap=\"butt\"" + Dashes(s.Style, s.Width) + Opacity("stroke-opacity", s.Pen.True);
    }

    // The outline of a hex, ellipse or polygon, after its fill's opacity.
    static std::string Rim(const Shape& s) {
        const std::string fill = s.Fill == Qt::SolidPattern ? Opacity("fill-opacity", s.Brush.True) : std::string();
        // A dotted outline in round dots, as the painter draws it.
        const std::string dashes = s.Style == LineStyle::Dot ? " stroke-dasharray=\"" + Num(0.01 * s.Width) + "," +
                                                                   Num(2.2 * s.Width) + "\" stroke-linecap=\"round\""
                                                             : Dashes(s.Style, s.Width);
        return fill + " stroke=\"" + Colour(s.Pen.True) + "\" stroke-width=\"" + std::to_string(s.Width) + "\"" +
               dashes + Opacity("stroke-opacity", s.Pen.True);
    }

    void Grid(const Shape& grid, const QRectF& area) {
        const MapFrame& f = list_.Frame;
        const CellSpan span = CellsReaching(f, area.toAlignedRect());
        if (span.Empty()) return;
        // One path a column: each hex's own outline, as the raster draws it.
        for (int c = span.First.x(); c <= span.Last.x(); ++c) {
            std::string d;
            for (int r = span.First.y(); r <= span.Last.y(); ++r) {
                const auto o = HexOutline(list_.M(), CellCentre(f, c, r));
                d += "M" + Points(o.data(), 1);
                for (std::size_t i = 1; i < o.size(); ++i) d += " L" + Points(o.data() + i, 1);
            }
            Put("<path d=\"" + d + "\" fill=\"none\" stroke=\"" + Colour(grid.Pen.True) + "\" stroke-width=\"1\"/>\n");
        }
        if (!grid.Numbers) return;
        ForEachCellNumber(list_, grid, span, [&](const Shape& text, const QString& label) {
            if (Belongs(text)) Text(text, label);
        });
    }

private:
    const DisplayList& list_;
    std::FILE* out_;
    double scale_;  // output pixels per pixel of the list
    std::vector<QFontMetricsF> metrics_;
    std::vector<int> pixels_;
    std::set<std::string> patterns_;
};

}  // namespace

bool WriteSvg(const DisplayList& list, std::FILE* out, const QRect& region, double scale, const QString& title,
              const ProgressFn& progress, const QPolygonF& exact, double pixelsPerInch) {
    Svg svg(list, out, scale);
    svg.Exact = exact;
    const std::string w = std::to_string(region.width()), h = std::to_string(region.height());
    // Pixels are 1/96 inch in SVG; another density gives the size on paper.
    const bool physical = pixelsPerInch > 0 && std::abs(pixelsPerInch - 96) > 1e-9;
    const std::string width = physical ? Num(region.width() / pixelsPerInch * 25.4) + "mm" : w,
                      height = physical ? Num(region.height() / pixelsPerInch * 25.4) + "mm" : h;
    svg.Put("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width + "\" height=\"" + height +
            "\" viewBox=\"0 0 " + w + " " + h + "\">\n");
    if (!title.isEmpty()) svg.Put("<title>" + Escaped(title) + "</title>\n");
    svg.Put("<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n");
    // The part drawn, in pixels of the list's own size.
    const QRectF area(region.x() / scale, region.y() / scale, region.width() / scale, region.height() / scale);
    std::string clip;
    if (!exact.isEmpty()) {
        std::string points;
        for (const QPointF& p : exact) points += (points.empty() ? "" : " ") + Num(p.x()) + "," + Num(p.y());
        svg.Put("<defs><clipPath id=\"part\"><polygon points=\"" + points + "\"/></clipPath></defs>\n");
        clip = "<g clip-path=\"url(#part)\">\n";
    }
    svg.Put("<g transform=\"scale(" + Num(scale) + ") translate(" + Num(-area.x()) + "," + Num(-area.y()) +
            ")\" stroke-linejoin=\"miter\">\n" + clip);
    const QRect near = area.toAlignedRect().adjusted(-2, -2, 2, 2);
    const int total = static_cast<int>(list.Groups.size());
    int done = 0;
    for (const ShapeGroup& g : list.Groups) {
        if (++done % 4096 == 0) {
            if (!svg.Good()) return false;
            if (progress && !progress(done, total)) return false;
        }
        const bool whole = g.Always || Overlap(g.Reach, near);
        if (!whole && !TextsMayReach(g, near, svg.CharWidth, svg.TextHeight)) continue;
        for (std::uint32_t i = g.First; i < g.End; ++i) {
            const Shape& s = list.Shapes[i];
            if (s.Kind == ShapeKind::Text) {
                if ((whole || svg.TextReaches(s, area)) && svg.Belongs(s)) svg.Text(s, list.TextOf(s));
            } else if (s.Kind == ShapeKind::Grid) {
                svg.Grid(s, area);
            } else if (whole) {
                svg.Draw(s);
            }
        }
    }
    svg.Put(std::string(exact.isEmpty() ? "" : "</g>\n") + "</g>\n</svg>\n");
    if (progress && !progress(total, total)) return false;
    return svg.Good();
}

}  // namespace hexlane::render
