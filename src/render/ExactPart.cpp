#include "ExactPart.h"

#include <cmath>

namespace hexlane::render {

namespace {

// How far inside the rectangle a centre must lie: a neighbour's centre may
// sit exactly on its edge.
constexpr double kInside = 0.1;

bool Lower(int column) {
    return column % 2 != 0;  // odd columns stand half a hex lower
}

// The cell rows whose centres lie between top and bottom (in hexes).
void RowsInside(int column, double top, double bottom, int& first, int& last) {
    const double offset = Lower(column) ? 1.0 : 0.5;
    first = static_cast<int>(std::ceil(top + kInside - offset));
    last = static_cast<int>(std::floor(bottom - kInside - offset));
}

}  // namespace

QPolygonF ExactOutline(const MapFrame& frame, const QRectF& area) {
    const QSize cells = GridCells(frame);
    if (area.isEmpty() || cells.isEmpty()) return {};
    // Columns whose centres (c + 0.5) lie inside.
    const int c0 = std::max(0, static_cast<int>(std::ceil(area.left() + kInside - 0.5)));
    const int c1 = std::min(cells.width() - 1, static_cast<int>(std::floor(area.right() - kInside - 0.5)));
    if (c0 > c1) return {};
    int r0 = 0, r1 = -1;
    RowsInside(c0, area.top(), area.bottom(), r0, r1);
    for (int c = c0 + 1; c <= c1; ++c) {
        int first = 0, last = -1;
        RowsInside(c, area.top(), area.bottom(), first, last);
        if (first != r0 || last != r1) return {};
    }
    r0 = std::max(r0, 0);
    r1 = std::min(r1, cells.height() - 1);
    if (r0 > r1) return {};

    // The outline's corners: 0 top-left, 1 top-right, 2 right, 3 bottom-right,
    // 4 bottom-left, 5 left.
    auto at = [&frame](int c, int r, int corner) { return QPointF(HexOutline(frame.M, CellCentre(frame, c, r))[corner]); };
    QPolygonF out;
    for (int c = c0; c <= c1; ++c) {  // along the top, left to right
        out << at(c, r0, 0) << at(c, r0, 1);
        if (c < c1) out << (Lower(c + 1) ? at(c, r0, 2) : at(c + 1, r0, 5));
    }
    for (int r = r0; r <= r1; ++r) out << at(c1, r, 1) << at(c1, r, 2) << at(c1, r, 3);  // down the right side
    for (int c = c1; c >= c0; --c) {  // along the bottom, right to left
        out << at(c, r1, 3) << at(c, r1, 4);
        if (c > c0) out << (Lower(c - 1) ? at(c - 1, r1, 2) : at(c, r1, 5));
    }
    for (int r = r1; r >= r0; --r) out << at(c0, r, 4) << at(c0, r, 5) << at(c0, r, 0);  // up the left side
    return out;
}

bool TextBelongsInside(const QPolygonF& outline, const QRectF& box) {
    return outline.isEmpty() || outline.containsPoint(box.center(), Qt::OddEvenFill);
}

}  // namespace hexlane::render
