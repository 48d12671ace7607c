#include "PathSearch.h"

#include "DefineUniverse.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>

namespace hexlane {

namespace {

int Cost(int d, int jumpRange, bool byDistance) {
    return byDistance ? d : jumpRange - d;
}

// Gives every node its Links: taking the links in list order, (i, j)
// ascending, lists each node's links by the other node's index (first those
// from lower nodes, then those to higher ones).
void WireNodeLinks(TPathSearchState& s) {
    const std::size_t n = s.PathNodes.size();
    std::vector<std::uint32_t>& start = s.Scratch.First;
    start.assign(n + 1, 0);
    for (const TLink& l : s.PathLinks) {
        ++start[static_cast<std::size_t>(l.A - s.PathNodes.data()) + 1];
        ++start[static_cast<std::size_t>(l.B - s.PathNodes.data()) + 1];
    }
    for (std::size_t i = 0; i < n; ++i) start[i + 1] += start[i];
    s.LinkRefs.assign(s.PathLinks.size() * 2, nullptr);
    std::vector<std::uint32_t>& fill = s.Scratch.Fill;
    fill.assign(start.begin(), start.end() - 1);
    for (TLink& l : s.PathLinks) {
        s.LinkRefs[fill[static_cast<std::size_t>(l.A - s.PathNodes.data())]++] = &l;
        s.LinkRefs[fill[static_cast<std::size_t>(l.B - s.PathNodes.data())]++] = &l;
    }
    for (std::size_t i = 0; i < n; ++i)
        s.PathNodes[i].Links = std::span<TLink* const>(s.LinkRefs.data() + start[i], start[i + 1] - start[i]);
}

long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

void BuildPathLinksAllPairs(TPathSearchState& s, int jumpRange, bool byDistance) {
    s.PathLinks.clear();
    const std::size_t n = s.PathNodes.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        TNode* a = &s.PathNodes[i];
        for (std::size_t j = i + 1; j < n; ++j) {
            TNode* b = &s.PathNodes[j];
            const int d = TUniverse::HexDistance(a->X, a->Z, b->X, b->Z);
            if (d <= jumpRange) s.PathLinks.push_back({a, b, Cost(d, jumpRange, byDistance), false});
        }
    }
    WireNodeLinks(s);
}

void BuildPathLinks(TPathSearchState& s, int jumpRange, bool byDistance, unsigned threadCount) {
    s.PathLinks.clear();
    const std::size_t n = s.PathNodes.size();
    if (jumpRange < 0 || n < 2) {
        WireNodeLinks(s);
        return;
    }
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

    // Bucket contents, bucket by bucket, each in ascending node order.
    std::vector<std::uint32_t>& bucketOf = s.Scratch.BucketOf;
    bucketOf.resize(n);
    std::vector<std::uint32_t>& first = s.Scratch.First;
    first.assign(static_cast<std::size_t>(width * height) + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
        const long long bx = FloorDiv(s.PathNodes[i].X - minX, cell);
        const long long bz = FloorDiv(s.PathNodes[i].Z - minZ, cell);
        bucketOf[i] = static_cast<std::uint32_t>(bx * height + bz);
        ++first[bucketOf[i] + 1];
    }
    for (std::size_t b = 0; b + 1 < first.size(); ++b) first[b + 1] += first[b];
    // Each bucket's members with their coordinates side by side, so a scan
    // reads one contiguous run instead of visiting the large node records.
    using Member = TPathScratch::Member;
    std::vector<Member>& members = s.Scratch.Members;
    members.resize(n);
    {
        std::vector<std::uint32_t>& fill = s.Scratch.Fill;
        fill.assign(first.begin(), first.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            members[fill[bucketOf[i]]++] = {static_cast<std::uint32_t>(i), s.PathNodes[i].X, s.PathNodes[i].Z};
    }

    // The links of the nodes [begin, end), in list order, appended to out.
    auto linksOf = [&](std::size_t begin, std::size_t end, std::vector<TLink>& out,
                       std::vector<std::pair<std::uint32_t, int>>& partners) {  // (j, distance)
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
                    const Member* p = std::upper_bound(bucketBegin, bucketEnd, static_cast<std::uint32_t>(i),
                                                       [](std::uint32_t v, const Member& m) { return v < m.Index; });
                    for (; p != bucketEnd; ++p) {
                        if (p->X - ax > jumpRange || ax - p->X > jumpRange || p->Z - az > jumpRange ||
                            az - p->Z > jumpRange)
                            continue;  // out of range on one axis already
                        const int d = TUniverse::HexDistance(a.X, a.Z, p->X, p->Z);
                        if (d <= jumpRange) partners.emplace_back(p->Index, d);
                    }
                }
            }
            std::sort(partners.begin(), partners.end());
            for (const auto& [j, d] : partners)
                out.push_back({&s.PathNodes[i], &s.PathNodes[j], Cost(d, jumpRange, byDistance), false});
        }
    };

    // Large graphs are built by several threads, each taking a run of nodes;
    // the runs' links are joined in node order, so the list is the same.
    const unsigned threads = std::max(
        1u, threadCount ? threadCount : n < 20000 ? 1u : std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    std::vector<TPathScratch::Part>& parts = s.Scratch.Parts;
    if (parts.size() < threads - 1) parts.resize(threads - 1);
    std::vector<std::exception_ptr> failures(threads - 1);
    {
        std::vector<std::jthread> workers;
        for (unsigned t = 1; t < threads; ++t)
            workers.emplace_back([&, t] {
                try {
                    TPathScratch::Part& part = parts[t - 1];
                    part.Links.clear();
                    linksOf(n * t / threads, n * (t + 1) / threads, part.Links, part.Partners);
                } catch (...) {
                    failures[t - 1] = std::current_exception();
                }
            });
        linksOf(0, n / threads, s.PathLinks, s.Scratch.Partners);
    }
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
    for (unsigned t = 1; t < threads; ++t)
        s.PathLinks.insert(s.PathLinks.end(), parts[t - 1].Links.begin(), parts[t - 1].Links.end());
    WireNodeLinks(s);
}

}  // namespace hexlane

FindPathResult TUniverse::FindPath(const TStar& origin, const TStar& destination, int jumpRange, bool visibleOnly,
                                   bool byDistance) {
    const std::string originName = origin.Name1;
    const std::string destinationName = destination.Name1;

    TPathSearchState& s = Path;
    s.PathLinks.clear();
    s.LinkRefs.clear();
    s.PathNodes.clear();
    s.PathStart = nullptr;
    s.PathEnd = nullptr;

    std::size_t start = SIZE_MAX, end = SIZE_MAX;
    ForEachStar([&](TStar& star) {
        if (visibleOnly && !star.Visible) return;
        if (star.Name1 == originName) start = s.PathNodes.size();
        if (star.Name1 == destinationName) end = s.PathNodes.size();
        TNode& node = s.PathNodes.emplace_back();
        node.Name1 = star.Name1;
        node.X = star.DistX;
        node.Z = star.DistZ;
    });
    // The nodes are complete: from here on their addresses stay put.
    if (start != SIZE_MAX) s.PathStart = &s.PathNodes[start];
    if (end != SIZE_MAX) s.PathEnd = &s.PathNodes[end];
    hexlane::BuildPathLinks(s, jumpRange, byDistance);

    if (s.PathStart) {
        for (TNode& n : s.PathNodes) {
            n.Prev = nullptr;
            n.Dist = 32767;
            n.State = 0;
        }
        // First in, first out. A node is queued at most once at a time, so a
        // ring of one place per node holds the queue.
        std::vector<TNode*>& ring = s.Scratch.Queue;
        ring.resize(s.PathNodes.size());
        std::size_t head = 0, count = 1;
        ring[0] = s.PathStart;
        s.PathStart->Dist = 0;
        s.PathStart->State = 1;
        while (count > 0) {
            TNode* u = ring[head];
            head = head + 1 == ring.size() ? 0 : head + 1;
            --count;
            u->State = 2;
            for (TLink* link : u->Links) {
                TNode* v = link->Other(u);
                const int c = u->Dist + link->Cost;
                if (v->Dist > c) {
                    v->Dist = c;
                    v->Prev = link;
                    if (v->State != 1) {
                        std::size_t tail = head + count;
                        if (tail >= ring.size()) tail -= ring.size();
                        ring[tail] = v;
                        ++count;
                        v->State = 1;
                    }
                }
            }
        }
    }

    for (TLink& l : s.PathLinks) l.OnPath = false;
    if (s.PathStart && s.PathEnd) {
        s.PathCost = 0;
        for (TNode* v = s.PathEnd; v->Prev && v != s.PathStart; v = v->Prev->Other(v)) {
            v->Prev->OnPath = true;
            s.PathCost += v->Prev->Cost;
        }
    }

    FindPathResult result;
    for (const TLink& l : s.PathLinks) {
        if (!l.OnPath) continue;
        result.Names.push_back(l.A->Name1);
        result.Names.push_back(l.B->Name1);
        result.LegLines.push_back(l.A->Name1 + " <-> " + l.B->Name1);
    }
    return result;
}
