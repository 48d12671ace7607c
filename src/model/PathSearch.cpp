#include "PathSearch.h"

#include "DefineUniverse.h"
#include "Parallel.h"

#include <algorithm>
#include <cstdint>

const std::string& TNode::Name1() const {
    return Star->Name1;
}

namespace hexlane {

namespace {

long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

void BuildPathLinksAllPairs(TPathSearchState& s, int jumpRange) {
    // The links as the plain definition gives them: every pair i < j within
    // range, in order of (i, j); each node then lists them in that order.
    struct Pair {
        std::uint32_t A, B;
        int Length;
    };
    std::vector<Pair> pairs;
    const std::size_t n = s.PathNodes.size();
    for (std::size_t i = 0; i + 1 < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            const TNode& a = s.PathNodes[i];
            const TNode& b = s.PathNodes[j];
            const int d = TUniverse::HexDistance(a.X, a.Z, b.X, b.Z);
            if (d <= jumpRange)
                pairs.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j), d});
        }
    s.LinkStart.assign(n + 1, 0);
    for (const Pair& p : pairs) {
        ++s.LinkStart[p.A + 1];
        ++s.LinkStart[p.B + 1];
    }
    for (std::size_t i = 0; i < n; ++i) s.LinkStart[i + 1] += s.LinkStart[i];
    s.Links.assign(pairs.size() * 2, {});
    std::vector<std::uint32_t> fill(s.LinkStart.begin(), s.LinkStart.end() - (n > 0 ? 1 : 0));
    for (const Pair& p : pairs) {
        s.Links[fill[p.A]++] = {p.B, p.Length};
        s.Links[fill[p.B]++] = {p.A, p.Length};
    }
    s.LinkRange = jumpRange;
}

void BuildPathLinks(TPathSearchState& s, int jumpRange, unsigned threadCount) {
    const std::size_t n = s.PathNodes.size();
    s.Links.clear();
    s.LinkStart.assign(n + 1, 0);
    s.LinkRange = jumpRange;
    if (jumpRange < 0 || n < 2) return;

    // A jump of at most R parsecs changes X and Z by at most R each, so with
    // square buckets at least R + 1 wide, a node's partners lie in the 3 x 3
    // buckets around its own. The buckets form a dense grid over the nodes'
    // extent, made coarser when needed so it has no more cells than about
    // four per node.
    long long minX = s.PathNodes[0].X, maxX = minX, minZ = s.PathNodes[0].Z, maxZ = minZ;
    for (const TNode& node : s.PathNodes) {
        minX = std::min<long long>(minX, node.X);
        maxX = std::max<long long>(maxX, node.X);
        minZ = std::min<long long>(minZ, node.Z);
        maxZ = std::max<long long>(maxZ, node.Z);
    }
    long long cell = static_cast<long long>(jumpRange) + 1;
    const long long maxCells = 4 * static_cast<long long>(n) + 64;
    while (((maxX - minX) / cell + 1) * ((maxZ - minZ) / cell + 1) > maxCells) cell *= 2;
    const long long width = (maxX - minX) / cell + 1;
    const long long height = (maxZ - minZ) / cell + 1;

    // Bucket contents, bucket by bucket, each in ascending node order, with
    // the coordinates beside the index so a scan reads one contiguous run.
    struct Member {
        std::uint32_t Index;
        int X;
        int Z;
    };
    std::vector<std::uint32_t> bucketOf(n);
    std::vector<std::uint32_t> first(static_cast<std::size_t>(width * height) + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const long long bx = FloorDiv(s.PathNodes[i].X - minX, cell);
        const long long bz = FloorDiv(s.PathNodes[i].Z - minZ, cell);
        bucketOf[i] = static_cast<std::uint32_t>(bx * height + bz);
        ++first[bucketOf[i] + 1];
    }
    for (std::size_t b = 0; b + 1 < first.size(); ++b) first[b + 1] += first[b];
    std::vector<Member> members(n);
    {
        std::vector<std::uint32_t> fill(first.begin(), first.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            members[fill[bucketOf[i]]++] = {static_cast<std::uint32_t>(i), s.PathNodes[i].X, s.PathNodes[i].Z};
    }

    // The links from the nodes [begin, end) to higher nodes, appended to `out`
    // node by node, each node's in ascending order of the other node;
    // counts[i - begin] gets their number.
    auto linksOf = [&](std::size_t begin, std::size_t end, std::vector<TLinkEnd>& out,
                       std::vector<std::uint32_t>& counts) {
        std::vector<TLinkEnd> partners;
        counts.assign(end - begin, 0);
        for (std::size_t i = begin; i < end; ++i) {
            const TNode& a = s.PathNodes[i];
            const long long ax = a.X, az = a.Z;
            const long long bx = bucketOf[i] / height, bz = bucketOf[i] % height;
            partners.clear();
            for (long long x = std::max(0LL, bx - 1); x <= std::min(width - 1, bx + 1); ++x) {
                for (long long z = std::max(0LL, bz - 1); z <= std::min(height - 1, bz + 1); ++z) {
                    const std::size_t b = static_cast<std::size_t>(x * height + z);
                    const Member* bucketBegin = members.data() + first[b];
                    const Member* bucketEnd = members.data() + first[b + 1];
                    const Member* p = std::upper_bound(bucketBegin, bucketEnd,
                                                       static_cast<std::uint32_t>(i),
                                                       [](std::uint32_t v, const Member& m) { return v < m.Index; });
                    for (; p != bucketEnd; ++p) {
                        if (p->X - ax > jumpRange || ax - p->X > jumpRange || p->Z - az > jumpRange ||
                            az - p->Z > jumpRange)
                            continue;  // out of range on one axis already
                        const int d = TUniverse::HexDistance(a.X, a.Z, p->X, p->Z);
                        if (d <= jumpRange) partners.push_back({p->Index, d});
                    }
                }
            }
            std::sort(partners.begin(), partners.end(),
                      [](const TLinkEnd& l, const TLinkEnd& r) { return l.To < r.To; });
            out.insert(out.end(), partners.begin(), partners.end());
            counts[i - begin] = static_cast<std::uint32_t>(partners.size());
        }
    };

    // Large graphs are built by several threads, each taking a run of nodes;
    // the runs are joined in node order, so the lists are the same.
    const unsigned threads = threadCount ? threadCount : hexlane::PartCount(n, 20000, 4);
    struct Part {
        std::vector<TLinkEnd> Links;
        std::vector<std::uint32_t> Counts;
    };
    std::vector<Part> parts(threads);
    hexlane::RunParts(threads, [&](unsigned t) {
        linksOf(n * t / threads, n * (t + 1) / threads, parts[t].Links, parts[t].Counts);
    });

    // Each node lists first its links from lower nodes, in the order of those
    // nodes, then its links to higher ones.
    std::vector<std::uint32_t> lower(n, 0), upper(n, 0);
    {
        std::size_t i = 0;
        for (const Part& part : parts) {
            std::size_t k = 0;
            for (std::uint32_t count : part.Counts) {
                upper[i] = count;
                for (std::uint32_t c = 0; c < count; ++c) ++lower[part.Links[k++].To];
                ++i;
            }
        }
    }
    for (std::size_t i = 0; i < n; ++i) s.LinkStart[i + 1] = s.LinkStart[i] + lower[i] + upper[i];
    s.Links.resize(s.LinkStart[n]);
    std::vector<std::uint32_t> fill(s.LinkStart.begin(), s.LinkStart.end() - 1);
    std::size_t i = 0;
    for (const Part& part : parts) {
        const TLinkEnd* link = part.Links.data();
        for (std::uint32_t count : part.Counts) {
            std::copy(link, link + count, s.Links.begin() + s.LinkStart[i] + lower[i]);
            for (std::uint32_t c = 0; c < count; ++c, ++link)
                s.Links[fill[link->To]++] = {static_cast<std::uint32_t>(i), link->Length};
            ++i;
        }
    }
}

}  // namespace hexlane

FindPathResult TUniverse::FindPath(const TStar& origin, const TStar& destination, int jumpRange, bool visibleOnly,
                                   bool byDistance) {
    TPathSearchState& s = Path;
    std::vector<TNode> nodes;
    nodes.reserve(s.PathNodes.size());
    std::uint32_t start = TNode::kNone, end = TNode::kNone;
    ForEachStar([&](TStar& star) {
        if (visibleOnly && !star.Visible) return;
        if (&star == &origin) start = static_cast<std::uint32_t>(nodes.size());
        if (&star == &destination) end = static_cast<std::uint32_t>(nodes.size());
        TNode& node = nodes.emplace_back();
        node.Star = &star;
        node.X = star.DistX;
        node.Z = star.DistZ;
    });
    // The links depend only on the nodes' places and the range: while those
    // are the same as last time (a second search on an unchanged map), the
    // links built then still hold.
    const bool samePlaces =
        jumpRange == s.LinkRange && s.LinkStart.size() == nodes.size() + 1 &&
        std::equal(nodes.begin(), nodes.end(), s.PathNodes.begin(), s.PathNodes.end(),
                   [](const TNode& a, const TNode& b) { return a.X == b.X && a.Z == b.Z; });
    s.PathNodes = std::move(nodes);
    s.PathStart = start;
    s.PathEnd = end;
    if (!samePlaces) hexlane::BuildPathLinks(s, jumpRange);

    // First in, first out, label correcting: a node may be queued again when a
    // cheaper way to it turns up; only a strictly lower cost replaces the way
    // a node was reached. A node is queued at most once at a time, so a ring
    // of one place per node holds the queue.
    const std::size_t count = s.PathNodes.size();
    s.Prev.assign(count, TNode::kNone);
    s.Dist.assign(count, 32767);
    s.State.assign(count, 0);
    std::uint32_t* prev = s.Prev.data();
    int* dist = s.Dist.data();
    std::uint8_t* state = s.State.data();
    if (start != TNode::kNone) {
        std::vector<std::uint32_t> ring(count);
        std::size_t head = 0, queued = 1;
        ring[0] = start;
        dist[start] = 0;
        state[start] = 1;
        while (queued > 0) {
            const std::uint32_t u = ring[head];
            head = head + 1 == ring.size() ? 0 : head + 1;
            --queued;
            state[u] = 2;
            const long long du = dist[u];
            for (const TLinkEnd* e = s.LinksBegin(u); e != s.LinksEnd(u); ++e) {
                const std::uint32_t v = e->To;
                const long long c = du + TPathSearchState::Cost(e->Length, jumpRange, byDistance);
                if (dist[v] > c) {
                    dist[v] = static_cast<int>(c);
                    prev[v] = u;
                    if (state[v] != 1) {
                        std::size_t tail = head + queued;
                        if (tail >= ring.size()) tail -= ring.size();
                        ring[tail] = v;
                        ++queued;
                        state[v] = 1;
                    }
                }
            }
        }
    }

    // The path's links, each as (lower node, higher node), in the graph's link
    // order.
    const std::vector<TNode>& n = s.PathNodes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> onPath;
    if (start != TNode::kNone && end != TNode::kNone) {
        s.PathCost = 0;
        for (std::uint32_t v = end; prev[v] != TNode::kNone && v != start; v = prev[v]) {
            const std::uint32_t u = prev[v];
            onPath.emplace_back(std::min(u, v), std::max(u, v));
            s.PathCost += TPathSearchState::Cost(HexDistance(n[u].X, n[u].Z, n[v].X, n[v].Z), jumpRange, byDistance);
        }
        std::sort(onPath.begin(), onPath.end());
    }

    FindPathResult result;
    for (const auto& [a, b] : onPath) {
        result.Stars.push_back(n[a].Star);
        result.Stars.push_back(n[b].Star);
        result.Names.push_back(n[a].Name1());
        result.Names.push_back(n[b].Name1());
        result.LegLines.push_back(n[a].Name1() + " <-> " + n[b].Name1());
    }
    return result;
}
