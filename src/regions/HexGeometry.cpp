#include "HexGeometry.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace regions {

namespace {

std::uint64_t EdgeKey(const HexEdge& e) { return Key(e.Cell) * 8 + static_cast<std::uint64_t>(e.Side); }

// Traces the loops of a piece: inside(hex) tells membership, used(edge) and
// markUsed(edge) keep the sides already traced.
template <class Inside, class Used, class MarkUsed>
std::vector<std::vector<HexEdge>> TraceOutlineWith(const std::vector<Hex>& sortedPiece, Inside&& inside, Used&& used,
                                                   MarkUsed&& markUsed) {
    std::vector<std::vector<HexEdge>> loops;
    auto trace = [&](HexEdge start) {
        std::vector<HexEdge> loop;
        HexEdge e = start;
        do {
            loop.push_back(e);
            markUsed(e);
            // Around the edge's clockwise end meet the hex, the outside hex
            // across the edge and the hex across the next side.
            const int next = (e.Side + 1) % 6;
            const Hex n = Neighbour(e.Cell, next);
            if (inside(n)) e = HexEdge{n, (e.Side + 5) % 6};
            else e = HexEdge{e.Cell, next};
        } while (!(e == start));
        loops.push_back(std::move(loop));
    };
    if (sortedPiece.empty()) return loops;
    // The uppermost hex of the leftmost column has open space above it and to
    // its left, so its top side lies on the outer edge.
    trace(HexEdge{sortedPiece.front(), 0});
    for (const Hex& h : sortedPiece)
        for (int s = 0; s < 6; ++s) {
            const HexEdge e{h, s};
            if (!used(e) && !inside(Neighbour(h, s))) trace(e);
        }
    return loops;
}

}  // namespace

int Distance(Hex a, Hex b) {
    const long long dx = static_cast<long long>(b.X) - a.X;
    const long long dz = (static_cast<long long>(b.Y) + FloorDiv(b.X, 2)) - (static_cast<long long>(a.Y) + FloorDiv(a.X, 2));
    const long long ax = dx < 0 ? -dx : dx, az = dz < 0 ? -dz : dz;
    long long d = ax + az;
    if (dx == 0) d = az;
    else if (dz == 0 || (dx > 0) == (dz > 0)) d = std::max(ax, az);
    return d > 2147483647 ? 2147483647 : static_cast<int>(d);
}

std::vector<std::vector<Hex>> ConnectedPieces(std::vector<Hex> hexes) {
    std::sort(hexes.begin(), hexes.end());
    hexes.erase(std::unique(hexes.begin(), hexes.end()), hexes.end());
    std::unordered_map<std::uint64_t, std::size_t> index;
    index.reserve(hexes.size() * 2);
    for (std::size_t i = 0; i < hexes.size(); ++i) index.emplace(Key(hexes[i]), i);
    std::vector<char> seen(hexes.size(), 0);
    std::vector<std::vector<Hex>> pieces;
    std::vector<std::size_t> stack;
    for (std::size_t i = 0; i < hexes.size(); ++i) {
        if (seen[i]) continue;
        std::vector<Hex> piece;
        seen[i] = 1;
        stack.push_back(i);
        while (!stack.empty()) {
            const Hex h = hexes[stack.back()];
            stack.pop_back();
            piece.push_back(h);
            for (int s = 0; s < 6; ++s) {
                auto it = index.find(Key(Neighbour(h, s)));
                if (it != index.end() && !seen[it->second]) {
                    seen[it->second] = 1;
                    stack.push_back(it->second);
                }
            }
        }
        std::sort(piece.begin(), piece.end());
        pieces.push_back(std::move(piece));
    }
    return pieces;  // sorted input: each piece starts at its smallest hex, in order
}

std::vector<std::vector<HexEdge>> TraceOutline(const std::vector<Hex>& piece) {
    std::unordered_set<std::uint64_t> inside, used;
    inside.reserve(piece.size() * 2);
    for (const Hex& h : piece) inside.insert(Key(h));
    return TraceOutlineWith(
        piece, [&](Hex h) { return inside.count(Key(h)) != 0; },
        [&](const HexEdge& e) { return used.count(EdgeKey(e)) != 0; }, [&](const HexEdge& e) { used.insert(EdgeKey(e)); });
}

std::vector<Hex> HexesAlong(const std::vector<HexEdge>& loop) {
    std::vector<Hex> out;
    for (const HexEdge& e : loop)
        if (out.empty() || !(out.back() == e.Cell)) out.push_back(e.Cell);
    while (out.size() > 1 && out.back() == out.front()) out.pop_back();
    return out;
}

}  // namespace regions
