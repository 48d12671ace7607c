#include "PolityRegions.h"

#include "RegionGrid.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <deque>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace regions {

namespace {

constexpr int kMaxReach = 4;
constexpr int kErosionPasses = 2;
// Hexes this far out cannot overflow any arithmetic of the computation.
constexpr int kCoordinateLimit = 1 << 28;

// True when the claim (dist, surplus, polity) beats the cell's present one:
// the nearer claim wins, then the one with more reach to spare, then the
// polity listed first.
bool Beats(const RegionCell& c, int dist, int surplus, int polity) {
    if (dist != c.Dist) return dist < c.Dist;
    if (surplus != c.Surplus) return surplus > c.Surplus;
    return c.Polity < 0 || polity < c.Polity;
}

void Claim(RegionGrid& grid, const std::vector<SystemSite>& systems) {
    // Every tile a claim can reach exists before any cell is written, so no
    // cell moves while it is held.
    for (const SystemSite& s : systems)
        for (int dx : {-kMaxReach, kMaxReach})
            for (int dy : {-kMaxReach - 2, kMaxReach + 2}) grid.At(Hex{s.At.X + dx, s.At.Y + dy}, true);
    for (const SystemSite& s : systems) grid.At(s.At, true);
    // A system's own hex is its polity's; the first system listed on a hex keeps it.
    for (const SystemSite& s : systems) {
        RegionCell* c = grid.At(s.At);
        if (!c || c->System >= 0) continue;
        *c = RegionCell{s.Polity, s.Polity, 0, 255};
    }
    for (const SystemSite& s : systems) {
        Hex origin;
        RegionCell* tile = grid.TileOf(s.At, origin);
        if (!tile) continue;
        ForEachWithin(s.At, s.Reach, [&](Hex h, int d) {
            // Most claims lie within the system's own tile.
            const int lx = h.X - origin.X, ly = h.Y - origin.Y;
            RegionCell* c = (lx >= 0 && lx < RegionGrid::kW && ly >= 0 && ly < RegionGrid::kH)
                                ? tile + lx * RegionGrid::kH + ly
                                : grid.At(h);
            if (!c || c->System >= 0) return;
            const int surplus = s.Reach - d;
            if (Beats(*c, d, surplus, s.Polity))
                *c = RegionCell{s.Polity, -1, static_cast<std::uint8_t>(d), static_cast<std::uint8_t>(surplus)};
        });
    }
}

// Bit i set when the neighbour across side i belongs to the same polity.
unsigned SameMask(RegionGrid& grid, std::size_t t, int i, int polity) {
    unsigned mask = 0;
    for (int s = 0; s < 6; ++s) {
        const RegionCell* n = grid.NeighbourOf(t, i, s);
        if (n && n->Polity == polity) mask |= 1u << s;
    }
    return mask;
}

// Tips: hexes held with at most two touching neighbours of their own polity.
// A system's hex and the ring around it stay, which keeps every pair of
// systems 2 parsecs apart joined wherever a free hex between them was won.
void Erode(RegionGrid& grid) {
    std::vector<RegionCell*> drop;
    for (int pass = 0; pass < kErosionPasses; ++pass) {
        drop.clear();
        for (std::size_t t = 0; t < grid.TileCount(); ++t) {
            RegionCell* tile = grid.Tile(t);
            for (int i = 0; i < RegionGrid::kCells; ++i) {
                const RegionCell& c = tile[i];
                if (c.Polity < 0 || c.System >= 0 || c.Dist <= 1) continue;
                const unsigned m = SameMask(grid, t, i, c.Polity);
                const int n = std::popcount(m);
                const bool tip = n <= 1 || (n == 2 && ((m & (m >> 1)) || m == 0b100001u));
                if (tip) drop.push_back(&tile[i]);
            }
        }
        for (RegionCell* c : drop) *c = RegionCell{};
        if (drop.empty()) break;
    }
}

// A free hex between hexes of one polity (on opposite sides, or closed in on
// four sides) joins that polity when one of its systems is within reach.
void Bridge(RegionGrid& grid) {
    struct Fill {
        RegionCell* Cell;
        int Polity, Dist;
    };
    std::vector<Fill> fills;
    for (std::size_t t = 0; t < grid.TileCount(); ++t) {
        RegionCell* tile = grid.Tile(t);
        for (int i = 0; i < RegionGrid::kCells; ++i) {
            if (tile[i].Polity >= 0) continue;
            int best = -1, bestCount = 0;
            for (int s = 0; s < 6; ++s) {
                const RegionCell* n = grid.NeighbourOf(t, i, s);
                if (!n || n->Polity < 0) continue;
                const unsigned m = SameMask(grid, t, i, n->Polity);
                const int count = std::popcount(m);
                const bool gap = count >= 4 || (m & (m >> 3) & 0b111u);
                if (gap && (count > bestCount || (count == bestCount && n->Polity < best))) {
                    best = n->Polity;
                    bestCount = count;
                }
            }
            if (best < 0) continue;
            int nearest = kMaxReach + 1;
            ForEachWithin(grid.HexOf(t, i), kMaxReach, [&](Hex h, int d) {
                const RegionCell* c = grid.At(h);
                if (c && c->System == best && d < nearest) nearest = d;
            });
            if (nearest <= kMaxReach) fills.push_back({&tile[i], best, nearest});
        }
    }
    for (const Fill& f : fills) *f.Cell = RegionCell{f.Polity, -1, static_cast<std::uint8_t>(f.Dist), 0};
}

// One loop of a piece's outline from a boundary edge, on the grid: a side of
// a hex is on the edge when its Boundary bit is set.
std::vector<HexEdge> TraceLoop(RegionGrid& grid, RegionCell* cell, Hex hex, int side) {
    std::vector<HexEdge> loop;
    const Hex startHex = hex;
    const int startSide = side;
    do {
        loop.push_back(HexEdge{hex, side});
        cell->Traced |= static_cast<std::uint8_t>(1u << side);
        // Around the edge's clockwise end meet the hex, the outside hex across
        // the edge and the hex across the next side.
        const int next = (side + 1) % 6;
        if ((cell->Boundary >> next) & 1) {
            side = next;
        } else {
            hex = Neighbour(hex, next);
            cell = grid.At(hex);
            side = (side + 5) % 6;
        }
    } while (!(hex == startHex && side == startSide));
    return loop;
}

// Splits every polity's hexes into connected pieces, dropping pieces that
// hold none of its systems, and traces each piece's outline on the grid.
std::vector<std::vector<RegionPiece>> Pieces(RegionGrid& grid, int polityCount) {
    std::vector<std::vector<RegionPiece>> out(static_cast<std::size_t>(std::max(polityCount, 0)));
    std::vector<RegionCell*> stack;
    std::vector<std::pair<Hex, RegionCell*>> cells;
    std::int32_t nextPiece = 0;
    for (std::size_t t = 0; t < grid.TileCount(); ++t) {
        for (int i = 0; i < RegionGrid::kCells; ++i) {
            RegionCell& start = grid.Tile(t)[i];
            if (start.Polity < 0 || start.Piece >= 0) continue;
            const int polity = start.Polity;
            const std::int32_t id = nextPiece++;
            bool hasSystem = false;
            cells.clear();
            start.Piece = id;
            stack.assign(1, &start);
            while (!stack.empty()) {
                RegionCell* c = stack.back();
                stack.pop_back();
                const auto [ct, ci] = grid.Place(c);
                cells.emplace_back(grid.HexOf(ct, ci), c);
                hasSystem = hasSystem || c->System == polity;
                c->Boundary = 0;
                for (int s = 0; s < 6; ++s) {
                    RegionCell* n = grid.NeighbourOf(ct, ci, s);
                    if (!n || n->Polity != polity) {
                        c->Boundary |= static_cast<std::uint8_t>(1u << s);
                        continue;
                    }
                    if (n->Piece >= 0) continue;
                    n->Piece = id;
                    stack.push_back(n);
                }
            }
            if (!hasSystem || polity >= polityCount) continue;
            RegionPiece piece;
            // The outer edge starts at the top of the uppermost hex of the
            // leftmost column, which open space bounds above and to the left.
            auto first = std::min_element(cells.begin(), cells.end(),
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
            piece.Outlines.push_back(TraceLoop(grid, first->second, first->first, 0));
            for (const auto& [h, c] : cells)
                for (unsigned open = static_cast<unsigned>(c->Boundary & ~c->Traced); open; open &= open - 1)
                    if ((c->Boundary & ~c->Traced) >> std::countr_zero(open) & 1)
                        piece.Outlines.push_back(TraceLoop(grid, c, h, std::countr_zero(open)));
            piece.Hexes.reserve(cells.size());
            for (const auto& hc : cells) piece.Hexes.push_back(hc.first);
            std::sort(piece.Hexes.begin(), piece.Hexes.end());
            out[static_cast<std::size_t>(polity)].push_back(std::move(piece));
        }
    }
    for (auto& pieces : out)
        std::sort(pieces.begin(), pieces.end(),
                  [](const RegionPiece& a, const RegionPiece& b) { return a.Hexes.front() < b.Hexes.front(); });
    return out;
}

}  // namespace

std::vector<std::vector<RegionPiece>> ComputePieces(const RegionInput& input) {
    std::vector<SystemSite> systems;
    systems.reserve(input.Systems.size());
    for (const SystemSite& s : input.Systems) {
        if (s.Polity < 0 || s.Polity >= input.PolityCount) continue;
        if (std::abs(s.At.X) > kCoordinateLimit || std::abs(s.At.Y) > kCoordinateLimit) continue;
        SystemSite c = s;
        c.Reach = std::clamp(c.Reach, 1, kMaxReach);
        systems.push_back(c);
    }
    RegionGrid grid(input.Sectors);
    Claim(grid, systems);
    Erode(grid);
    Bridge(grid);
    return Pieces(grid, input.PolityCount);
}

int StarportReach(std::string_view starport) {
    switch (starport.empty() ? ' ' : starport.front()) {
        case 'A': return 4;
        case 'B': return 3;
        case 'C': return 2;
        default: return 1;
    }
}

std::size_t PolityRegion::HexCount() const {
    std::size_t n = 0;
    for (const RegionPiece& p : Pieces) n += p.Hexes.size();
    return n;
}

Hex LabelAnchor(const std::vector<Hex>& piece) {
    if (piece.empty()) return Hex{};
    std::unordered_map<std::uint64_t, int> depth;
    depth.reserve(piece.size() * 2);
    for (const Hex& h : piece) depth.emplace(Key(h), 0);
    // Depth: 1 on the edge, growing inwards.
    std::deque<Hex> queue;
    for (const Hex& h : piece)
        for (int s = 0; s < 6; ++s)
            if (!depth.count(Key(Neighbour(h, s)))) {
                depth[Key(h)] = 1;
                queue.push_back(h);
                break;
            }
    while (!queue.empty()) {
        const Hex h = queue.front();
        queue.pop_front();
        const int d = depth[Key(h)];
        for (int s = 0; s < 6; ++s) {
            auto it = depth.find(Key(Neighbour(h, s)));
            if (it != depth.end() && it->second == 0) {
                it->second = d + 1;
                queue.push_back(Neighbour(h, s));
            }
        }
    }
    // Picture position of a hex centre (flat-topped hexes, odd columns higher).
    auto px = [](Hex h) { return 1.5 * h.X; };
    auto py = [](Hex h) { return std::sqrt(3.0) * (h.Y + ((h.X & 1) ? 0.0 : 0.5)); };
    double cx = 0, cy = 0;
    for (const Hex& h : piece) cx += px(h), cy += py(h);
    cx /= static_cast<double>(piece.size());
    cy /= static_cast<double>(piece.size());
    Hex best = piece.front();
    int bestDepth = -1;
    double bestDist = std::numeric_limits<double>::max();
    for (const Hex& h : piece) {
        const int d = depth[Key(h)];
        const double dist = (px(h) - cx) * (px(h) - cx) + (py(h) - cy) * (py(h) - cy);
        if (d > bestDepth || (d == bestDepth && dist < bestDist)) {
            best = h;
            bestDepth = d;
            bestDist = dist;
        }
    }
    return best;
}

}  // namespace regions
