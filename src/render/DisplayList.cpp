#include "DisplayList.h"

#include "Codepage.h"

#include <algorithm>
#include <climits>

namespace hexlane::render {

namespace {

QRect Around(const std::vector<QPoint>& points, std::size_t first, std::size_t count, int pad) {
    if (count == 0) return {};
    int l = points[first].x(), r = l, t = points[first].y(), b = t;
    for (std::size_t i = first + 1; i < first + count; ++i) {
        l = std::min(l, points[i].x());
        r = std::max(r, points[i].x());
        t = std::min(t, points[i].y());
        b = std::max(b, points[i].y());
    }
    return QRect(QPoint(l - pad, t - pad), QPoint(r + pad, b + pad));
}

// A new shape at the end of the list, built in place.
Shape& Make(std::vector<Shape>& shapes, ShapeKind kind, Ink pen, Ink brush = {}, int fill = 0) {
    Shape& s = shapes.emplace_back();
    s.Kind = kind;
    s.Pen = pen;
    s.Brush = brush;
    s.Fill = static_cast<std::uint8_t>(fill);
    return s;
}

}  // namespace

std::uint8_t DisplayList::AddFont(FontSpec font) {
    for (std::size_t i = 0; i < Fonts.size(); ++i)
        if (Fonts[i] == font) return static_cast<std::uint8_t>(i);
    Fonts.push_back(font);
    return static_cast<std::uint8_t>(Fonts.size() - 1);
}

void DisplayList::BeginGroup(bool always) {
    // A list that grows is indexed again when complete.
    bandStart_.clear();
    bandGroups_.clear();
    ShapeGroup g;
    g.First = g.End = static_cast<std::uint32_t>(Shapes.size());
    g.Always = always;
    Groups.push_back(g);
}

void DisplayList::EndGroup() {
    Groups.back().End = static_cast<std::uint32_t>(Shapes.size());
}

void DisplayList::AddGrid(Ink pen, bool numbers, bool sectorAddressing, std::uint8_t font) {
    Shape& s = Make(Shapes, ShapeKind::Grid, pen);
    s.Numbers = numbers;
    s.SectorAddressing = sectorAddressing;
    s.Font = font;
    Extend(QRect(QPoint(0, 0), Size));
}

void DisplayList::AddHex(QPoint centre, Ink pen, Ink brush, int fill) {
    Shape& s = Make(Shapes, ShapeKind::Hex, pen, brush, fill);
    s.A = centre;
    const HexMetrics& m = Frame.M;
    Extend(QRect(centre.x() - m.W - 1, centre.y() - m.H - 1, 2 * m.W + 3, 2 * m.H + 3));
}

void DisplayList::AddEllipse(const Box& box, Ink pen, Ink brush) {
    Shape& s = Make(Shapes, ShapeKind::Ellipse, pen, brush, Qt::SolidPattern);
    s.A = QPoint(box.Left, box.Top);
    s.B = QPoint(box.Right, box.Bottom);
    Extend(QRect(QPoint(box.Left - 1, box.Top - 1), QPoint(box.Right + 1, box.Bottom + 1)));
}

void DisplayList::AddEllipses(const Box* boxes, int count, Ink pen, Ink brush) {
    if (count <= 0) return;
    Shape& s = Make(Shapes, ShapeKind::Ellipses, pen, brush, Qt::SolidPattern);
    s.First = static_cast<std::uint32_t>(Points.size());
    s.Count = static_cast<std::uint32_t>(count);
    // Room grows as the vector grows, by doubling, never just to fit.
    const std::size_t needed = Points.size() + 2 * static_cast<std::size_t>(count);
    if (needed > Points.capacity()) Points.reserve(std::max(needed, 2 * Points.capacity()));
    int l = boxes[0].Left, t = boxes[0].Top, r = boxes[0].Right, b = boxes[0].Bottom;
    for (int i = 0; i < count; ++i) {
        const Box& box = boxes[i];
        Points.emplace_back(box.Left, box.Top);
        Points.emplace_back(box.Right, box.Bottom);
        l = std::min(l, box.Left);
        t = std::min(t, box.Top);
        r = std::max(r, box.Right);
        b = std::max(b, box.Bottom);
    }
    Extend(QRect(QPoint(l - 1, t - 1), QPoint(r + 1, b + 1)));
}

void DisplayList::AddText(QPoint topCentre, const QString& text, std::uint8_t font, Ink ink) {
    if (text.isEmpty()) return;
    const std::size_t first = Chars.size();
    Chars.insert(Chars.end(), text.begin(), text.end());
    AddTextShape(topCentre, first, font, ink);
}

void DisplayList::AddText(QPoint topCentre, std::string_view cp1252, bool capitals, std::uint8_t font, Ink ink) {
    if (cp1252.empty()) return;
    const std::size_t first = Chars.size();
    Chars.resize(first + cp1252.size());
    QChar* out = Chars.data() + first;
    for (const char c : cp1252) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t u = byte;
        if (byte >= 0x80)
            u = static_cast<char16_t>(hexlane::Cp1252ToUnicode(byte));
        else if (capitals && byte >= 'a' && byte <= 'z')
            u = static_cast<char16_t>(byte - 'a' + 'A');
        *out++ = QChar(u);
    }
    AddTextShape(topCentre, first, font, ink);
}

void DisplayList::AddTextShape(QPoint topCentre, std::size_t first, std::uint8_t font, Ink ink) {
    Shape& s = Shapes.emplace_back();
    s.Kind = ShapeKind::Text;
    s.A = topCentre;
    s.Pen = ink;
    s.Font = font;
    s.First = static_cast<std::uint32_t>(first);
    s.Count = static_cast<std::uint32_t>(Chars.size() - first);
    ShapeGroup& g = Groups.back();
    g.HasText = true;
    if (g.TextAnchors.isNull())
        g.TextAnchors = QRect(topCentre, topCentre);
    else
        g.TextAnchors.setCoords(std::min(g.TextAnchors.left(), topCentre.x()), std::min(g.TextAnchors.top(), topCentre.y()),
                                std::max(g.TextAnchors.right(), topCentre.x()), std::max(g.TextAnchors.bottom(), topCentre.y()));
    g.TextChars = std::max(g.TextChars, s.Count);
}

void DisplayList::AddLine(QPoint from, QPoint to, Ink pen, int width, LineStyle style) {
    Shape& s = Make(Shapes, ShapeKind::Line, pen);
    s.A = from;
    s.B = to;
    s.Width = static_cast<std::uint16_t>(std::clamp(width, 1, 0xFFFF));
    s.Style = style;
    const int pad = s.Width + 1;
    Extend(QRect(QPoint(std::min(from.x(), to.x()) - pad, std::min(from.y(), to.y()) - pad),
                 QPoint(std::max(from.x(), to.x()) + pad, std::max(from.y(), to.y()) + pad)));
}

void DisplayList::AddPolyline(const std::vector<QPoint>& points, Ink pen, int width, LineStyle style) {
    if (points.empty()) return;
    Shape& s = Make(Shapes, ShapeKind::Polyline, pen);
    s.Width = static_cast<std::uint16_t>(std::clamp(width, 1, 0xFFFF));
    s.Style = style;
    s.First = static_cast<std::uint32_t>(Points.size());
    s.Count = static_cast<std::uint32_t>(points.size());
    Points.insert(Points.end(), points.begin(), points.end());
    Extend(Around(Points, s.First, s.Count, s.Width + 1));
}

void DisplayList::AddPolygon(const std::vector<QPoint>& points, Ink pen, Ink brush, int fill) {
    if (points.empty()) return;
    Shape& s = Make(Shapes, ShapeKind::Polygon, pen, brush, fill);
    s.First = static_cast<std::uint32_t>(Points.size());
    s.Count = static_cast<std::uint32_t>(points.size());
    Points.insert(Points.end(), points.begin(), points.end());
    Extend(Around(Points, s.First, s.Count, 2));
}

void DisplayList::IndexBands() {
    int fontPixels = 0;
    for (const FontSpec& f : Fonts) fontPixels = std::max(fontPixels, FontPixelSize(f.Points));
    const int bands = std::max(1, (Size.height() + kBandRows - 1) / kBandRows);
    auto bandOf = [bands](int y) { return std::clamp(y / kBandRows, 0, bands - 1); };
    // The rows a group may touch: its shapes, and its texts below their anchors.
    auto span = [&](const ShapeGroup& g, int& first, int& last) {
        int top = g.Reach.isNull() ? INT32_MAX : g.Reach.top(), bottom = g.Reach.isNull() ? INT32_MIN : g.Reach.bottom();
        if (g.HasText) {
            top = std::min(top, g.TextAnchors.top() - 3);
            bottom = std::max(bottom, g.TextAnchors.bottom() + 2 * fontPixels + 3);
        }
        if (top > bottom) return false;
        first = g.Always ? 0 : bandOf(top);
        last = g.Always ? bands - 1 : bandOf(bottom);
        return true;
    };
    bandStart_.assign(static_cast<std::size_t>(bands) + 1, 0);
    int first = 0, last = 0;
    for (const ShapeGroup& g : Groups)
        if (span(g, first, last))
            for (int b = first; b <= last; ++b) ++bandStart_[static_cast<std::size_t>(b) + 1];
    for (std::size_t b = 1; b < bandStart_.size(); ++b) bandStart_[b] += bandStart_[b - 1];
    bandGroups_.resize(bandStart_.back());
    std::vector<std::uint32_t> fill(bandStart_.begin(), bandStart_.end() - 1);
    for (std::uint32_t i = 0; i < Groups.size(); ++i)
        if (span(Groups[i], first, last))
            for (int b = first; b <= last; ++b) bandGroups_[fill[static_cast<std::size_t>(b)]++] = i;
}

std::vector<std::uint32_t> DisplayList::GroupsNear(const QRect& area) const {
    std::vector<std::uint32_t> out;
    if (bandStart_.empty()) {
        out.resize(Groups.size());
        for (std::uint32_t i = 0; i < out.size(); ++i) out[i] = i;
        return out;
    }
    const int bands = static_cast<int>(bandStart_.size()) - 1;
    const int first = std::clamp(area.top() / kBandRows - (area.top() < 0), 0, bands - 1);
    const int last = std::clamp(area.bottom() / kBandRows, 0, bands - 1);
    for (int b = first; b <= last; ++b)
        out.insert(out.end(), bandGroups_.begin() + bandStart_[static_cast<std::size_t>(b)],
                   bandGroups_.begin() + bandStart_[static_cast<std::size_t>(b) + 1]);
    // Each band is in list order; several bands are merged back into it.
    if (first != last) {
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }
    return out;
}

}  // namespace hexlane::render
