#pragma once
// Map-wide hex arithmetic for regions: neighbours, distance, the hexes within
// a range, and the outline of a set of hexes as ordered hex edges.
//
// Hexes are addressed by map-wide column X and row Y. Odd columns stand half
// a hex higher than even ones, so hex (1,1) touches (2,1) but not (2,2).
// The six sides of a hex are numbered clockwise from the top:
// 0 top, 1 upper right, 2 lower right, 3 bottom, 4 lower left, 5 upper left.

#include <compare>
#include <cstdint>
#include <vector>

namespace regions {

struct Hex {
    int X = 0, Y = 0;
    auto operator<=>(const Hex&) const = default;  // column first, then row
};

// One side of a hex; the edge between Cell and its neighbour on that side.
struct HexEdge {
    Hex Cell;
    int Side = 0;
    bool operator==(const HexEdge&) const = default;
};

constexpr int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The neighbour of a hex across the given side (0-5).
inline Hex Neighbour(Hex h, int side) {
    // Column and row steps per side, for odd and for even columns.
    static constexpr int kOdd[6][2] = {{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}};
    static constexpr int kEven[6][2] = {{0, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    const int(&step)[2] = (h.X & 1) ? kOdd[side] : kEven[side];
    return Hex{h.X + step[0], h.Y + step[1]};
}

// Hex distance in parsecs between two map-wide hexes.
int Distance(Hex a, Hex b);

// Calls fn(hex, distance) for every hex within `range` of the centre.
template <class F>
void ForEachWithin(Hex centre, int range, F&& fn) {
    const int z0 = centre.Y + FloorDiv(centre.X, 2);
    for (int dx = -range; dx <= range; ++dx) {
        const int x = centre.X + dx;
        const int zLow = dx >= 0 ? -(range - dx) : -range;
        const int zHigh = dx >= 0 ? range : range + dx;
        const int shift = FloorDiv(x, 2);
        const int adx = dx < 0 ? -dx : dx;
        for (int dz = zLow; dz <= zHigh; ++dz) {
            const int adz = dz < 0 ? -dz : dz;
            const int d = dx == 0 ? adz : ((dz == 0 || (dx > 0) == (dz > 0)) ? (adx > adz ? adx : adz) : adx + adz);
            fn(Hex{x, z0 + dz - shift}, d);
        }
    }
}

// A 64-bit key of a hex, for hash sets and maps.
inline std::uint64_t Key(Hex h) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(h.X)) << 32) | static_cast<std::uint32_t>(h.Y);
}

// The connected pieces of a set of hexes (any order, duplicates allowed),
// each sorted by column then row; pieces ordered by their first hex.
std::vector<std::vector<Hex>> ConnectedPieces(std::vector<Hex> hexes);

// The outline of one connected piece (hexes sorted by column then row): the
// first loop is the outer edge, clockwise, starting with the top side of the
// uppermost hex of the leftmost column; further loops are the edges of holes.
std::vector<std::vector<HexEdge>> TraceOutline(const std::vector<Hex>& sortedPiece);

// The hexes along an edge loop, in its order, each run of one hex named once.
std::vector<Hex> HexesAlong(const std::vector<HexEdge>& loop);

}  // namespace regions
