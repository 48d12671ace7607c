// The region rules on small made-up maps: who wins a hex, how far claims go,
// gaps and edges, and the hard bounds every computed region keeps.

#include "PolityRegions.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace regions;

namespace {

// Owner of every hex in the result (-1 for none).
std::map<Hex, int> Owners(const std::vector<std::vector<RegionPiece>>& out) {
    std::map<Hex, int> owner;
    for (std::size_t p = 0; p < out.size(); ++p)
        for (const RegionPiece& piece : out[p])
            for (const Hex& h : piece.Hexes) {
                EXPECT_FALSE(owner.count(h)) << "hex " << h.X << "," << h.Y << " in two regions";
                owner[h] = static_cast<int>(p);
            }
    return owner;
}

int PieceOf(const std::vector<RegionPiece>& pieces, Hex h) {
    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (std::binary_search(pieces[i].Hexes.begin(), pieces[i].Hexes.end(), h)) return static_cast<int>(i);
    return -1;
}

bool OnMap(const RegionInput& in, Hex h) {
    const std::pair<int, int> sector{FloorDiv(h.X - 1, 32) + 1, FloorDiv(h.Y - 1, 40) + 1};
    return in.Sectors.empty() || std::find(in.Sectors.begin(), in.Sectors.end(), sector) != in.Sectors.end();
}

// The bounds every region must keep, whatever the heuristic chose.
void ExpectHardRules(const RegionInput& in, const std::vector<std::vector<RegionPiece>>& out) {
    const auto owner = Owners(out);
    std::map<Hex, int> systemAt;
    for (const SystemSite& s : in.Systems) systemAt.emplace(s.At, s.Polity);
    for (const auto& [h, p] : systemAt) EXPECT_EQ(owner.count(h) ? owner.at(h) : -1, p) << h.X << "," << h.Y;
    for (const auto& [h, p] : owner) {
        int nearest = 99;
        for (const SystemSite& s : in.Systems)
            if (s.Polity == p) nearest = std::min(nearest, Distance(h, s.At));
        EXPECT_LE(nearest, 4) << h.X << "," << h.Y;
    }
    for (const SystemSite& a : in.Systems)
        for (const SystemSite& b : in.Systems) {
            if (a.Polity != b.Polity || Distance(a.At, b.At) != 2) continue;
            const auto& pieces = out[static_cast<std::size_t>(a.Polity)];
            if (PieceOf(pieces, a.At) == PieceOf(pieces, b.At)) continue;
            // Split: every free hex between them must touch another polity's system.
            ForEachWithin(a.At, 1, [&](Hex h, int) {
                if (Distance(h, b.At) != 1 || systemAt.count(h) || !OnMap(in, h)) return;
                bool touches = false;
                for (int s = 0; s < 6; ++s) {
                    auto it = systemAt.find(Neighbour(h, s));
                    touches = touches || (it != systemAt.end() && it->second != a.Polity);
                }
                EXPECT_TRUE(touches) << "systems " << a.At.X << "," << a.At.Y << " and " << b.At.X << "," << b.At.Y;
            });
        }
}

struct Case {
    const char* name;
    std::vector<SystemSite> systems;
    std::vector<std::pair<int, int>> sectors;
    std::vector<std::pair<Hex, int>> expectOwner;  // -1: nobody
    int expectPieces0 = -1;                        // pieces of polity 0, -1: not checked
    int expectHexes0 = -1;                         // hexes of polity 0, -1: not checked
};

}  // namespace

TEST(RegionRules, SmallMapsFollowTheClaimRules) {
    const std::vector<Case> cases = {
        {"an A port alone claims the full four-parsec hexagon", {{{10, 10}, 0, 4}}, {}, {{{10, 14}, 0}, {{10, 15}, -1}}, 1, 61},
        {"reach follows the starport", {{{10, 10}, 0, 2}}, {}, {{{10, 12}, 0}, {{10, 13}, -1}}, 1, 19},
        {"a one-hex gap between D ports is bridged",
         {{{5, 5}, 0, 1}, {{5, 9}, 0, 1}}, {}, {{{5, 7}, 0}, {{5, 6}, 0}, {{5, 8}, 0}}, 1, -1},
        {"the nearer claim wins a contested hex",
         {{{5, 10}, 0, 4}, {{9, 10}, 1, 4}}, {}, {{{6, 10}, 0}, {{8, 10}, 1}, {{7, 10}, 0}}, 1, -1},
        {"a better starport wins a tie",
         {{{5, 5}, 0, 1}, {{5, 7}, 1, 4}}, {}, {{{5, 6}, 1}}, -1, -1},
        {"two systems 2 apart may part where the hex between touches another polity",
         {{{5, 5}, 0, 1}, {{5, 7}, 0, 1}, {{6, 6}, 1, 4}, {{6, 7}, 1, 4}}, {}, {{{5, 6}, 1}}, -1, -1},
        {"a region runs on across a sector edge",
         {{{30, 20}, 0, 4}, {{31, 22}, 0, 4}}, {{1, 1}, {2, 1}}, {{{33, 20}, 0}, {{34, 21}, 0}}, 1, -1},
        {"a region stops where the map has no sector",
         {{{30, 20}, 0, 4}, {{31, 22}, 0, 4}}, {{1, 1}}, {{{32, 20}, 0}, {{33, 20}, -1}}, 1, -1},
        {"places far beyond any reach are ignored, not overflowed",
         {{{10, 10}, 0, 4}}, {{1, 1}, {2147483647, -2147483647 - 1}, {-2147483647 - 1, 5}},
         {{{10, 14}, 0}}, 1, 61},
        {"another polity's system is never inside",
         {{{10, 10}, 0, 4}, {{10, 12}, 1, 1}, {{10, 20}, 1, 1}}, {}, {{{10, 12}, 1}, {{10, 11}, 0}}, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegionInput in{c.systems, 2, c.sectors};
        const auto out = ComputePieces(in);
        ExpectHardRules(in, out);
        const auto owner = Owners(out);
        for (const auto& [h, p] : c.expectOwner)
            EXPECT_EQ(owner.count(h) ? owner.at(h) : -1, p) << "hex " << h.X << "," << h.Y;
        if (c.expectPieces0 >= 0) {
            EXPECT_EQ(static_cast<int>(out[0].size()), c.expectPieces0);
        }
        if (c.expectHexes0 >= 0) {
            std::size_t n = 0;
            for (const auto& piece : out[0]) n += piece.Hexes.size();
            EXPECT_EQ(static_cast<int>(n), c.expectHexes0);
        }
    }
}

TEST(RegionRules, CrowdedRandomMapsKeepEveryBoundAndAreDeterministic) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        RegionInput in;
        in.PolityCount = 4;
        in.Sectors = {{1, 1}, {2, 1}, {1, 2}, {2, 2}};
        std::map<Hex, bool> used;
        // Polities clustered in their own quarter, mixed along the seams.
        for (int i = 0; i < 260; ++i) {
            const int p = static_cast<int>(rng() % 4);
            const Hex h{static_cast<int>(1 + (p % 2) * 24 + rng() % 40), static_cast<int>(1 + (p / 2) * 30 + rng() % 50)};
            if (used[h]) continue;
            used[h] = true;
            in.Systems.push_back({h, p, static_cast<int>(1 + rng() % 4)});
        }
        const auto out = ComputePieces(in);
        ExpectHardRules(in, out);
        // Outlines traced on the working grid match those traced from the hexes alone.
        for (const auto& pieces : out)
            for (const RegionPiece& piece : pieces) {
                const auto loops = TraceOutline(piece.Hexes);
                ASSERT_EQ(piece.Outlines.size(), loops.size());
                EXPECT_EQ(piece.Outlines[0], loops[0]);
            }
        const auto again = ComputePieces(in);
        for (std::size_t p = 0; p < out.size(); ++p) {
            ASSERT_EQ(out[p].size(), again[p].size());
            for (std::size_t i = 0; i < out[p].size(); ++i) EXPECT_EQ(out[p][i].Hexes, again[p][i].Hexes);
        }
    }
}
